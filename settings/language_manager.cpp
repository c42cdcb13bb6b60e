#include "settings/language_manager.h"
#include "platform/ascii_case.h"

#include <algorithm>

#include "settings/message_constants.h"

namespace calvora::settings {
namespace {

constexpr auto sameName = platform::equalsIgnoringAsciiCase;

const std::map<int, std::string> kNoTexts;

}  // namespace

LanguageLoadError::LanguageLoadError(int line, const std::string& reason)
    : std::runtime_error("Loading translations failed.\r\nLine " + std::to_string(line) + ": " +
                         reason) {}

LanguageManager::LanguageManager(platform::FolderTree& tree, platform::SystemLanguage& language)
    : m_tree(tree), m_language(language) {
    m_entries.push_back(Entry{kLangEnglishUs, {}});
}

int LanguageManager::scanForLangFiles(std::string_view folder, std::string_view mask) {
    std::string suffix(mask);
    if (!suffix.empty() && suffix.front() == '*') {
        suffix.erase(0, 1);
    }
    std::string base(folder);
    if (!base.empty() && base.back() != '/' && base.back() != '\\') {
        base.push_back('/');
    }
    int accepted = 0;
    for (const std::string& name : m_tree.findFiles(folder, suffix)) {
        std::string path = base + name;
        auto bytes = m_tree.readFile(path, kMaxFileBytes);
        if (!bytes) {
            continue;
        }
        auto langId = languageFileLangId(*bytes);
        if (!langId) {
            continue;
        }
        ++accepted;
        if (*langId == kLangEnglishUs) {
            continue;
        }
        auto same = std::find_if(m_entries.begin() + 1, m_entries.end(),
                                 [&](const Entry& e) { return e.langId == *langId; });
        if (same != m_entries.end()) {
            same->file = path;
        } else {
            m_entries.push_back(Entry{*langId, path});
        }
    }
    return accepted;
}

int LanguageManager::languageCount() const {
    return static_cast<int>(m_entries.size());
}

std::string LanguageManager::languageName(int index) const {
    std::uint16_t id = languageId(index);
    std::string name = m_language.localeLanguageName(id);
    return name.empty() ? std::to_string(id) : name;
}

std::uint16_t LanguageManager::languageId(int index) const {
    if (index < 0 || index >= languageCount()) {
        return kLangEnglishUs;
    }
    return m_entries[static_cast<std::size_t>(index)].langId;
}

int LanguageManager::indexOfLanguageId(std::uint16_t langId) const {
    for (int i = 0; i < languageCount(); ++i) {
        if (m_entries[static_cast<std::size_t>(i)].langId == langId) {
            return i;
        }
    }
    return 0;
}

const std::string& LanguageManager::languageFile(int index) const {
    return m_entries[static_cast<std::size_t>(std::clamp(index, 0, languageCount() - 1))].file;
}

void LanguageManager::setCurrentLanguageId(std::uint16_t langId) {
    int index = indexOfLanguageId(langId);
    std::uint16_t target = m_entries[static_cast<std::size_t>(index)].langId;
    if (target == m_current) {
        return;
    }
    LanguageFile texts;
    if (index > 0) {
        const std::string& path = m_entries[static_cast<std::size_t>(index)].file;
        auto bytes = m_tree.readFile(path, kMaxFileBytes);
        if (!bytes) {
            throw LanguageLoadError(0, "Cannot read " + path);
        }
        LngParseResult parsed = parseLanguageFile(*bytes);
        if (parsed.error) {
            throw LanguageLoadError(parsed.error->line, parsed.error->message);
        }
        texts = std::move(parsed.file);
    }
    m_texts = std::move(texts);
    m_current = target;
    std::vector<LanguageSink*> sinks = m_sinks;
    for (LanguageSink* sink : sinks) {
        sink->languageChanged(*this);
    }
}

std::string LanguageManager::constantText(std::string_view name) const {
    for (const auto& [key, text] : m_texts.constants) {
        if (sameName(key, name)) {
            return text;
        }
    }
    for (const MessageConstant& constant : messageConstants()) {
        if (constant.name == name) {
            return std::string(constant.english);
        }
    }
    return {};
}

std::u16string LanguageManager::decodeText(std::string_view bytes) const {
    return m_language.decodeText(bytes, m_current);
}

const std::map<int, std::string>& LanguageManager::windowTexts(std::string_view window) const {
    for (const auto& [name, texts] : m_texts.windows) {
        if (sameName(name, window)) {
            return texts;
        }
    }
    return kNoTexts;
}

void LanguageManager::addSink(LanguageSink* sink) {
    m_sinks.push_back(sink);
}

void LanguageManager::removeSink(LanguageSink* sink) {
    m_sinks.erase(std::remove(m_sinks.begin(), m_sinks.end(), sink), m_sinks.end());
}

}  // namespace calvora::settings
