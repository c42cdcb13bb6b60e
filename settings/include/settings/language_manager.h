#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_tree.h"
#include "platform/system_language.h"
#include "settings/lng_file.h"

namespace calvora::settings {

constexpr std::uint16_t kLangEnglishUs = 1033;
constexpr std::uint16_t kLangHungarian = 1038;

// A language file that could not be parsed when its language was set. what() is
// "Loading translations failed.\r\nLine <n>: <reason>".
class LanguageLoadError : public std::runtime_error {
public:
    LanguageLoadError(int line, const std::string& reason);
};

class LanguageManager;

// A window's language controller, told when the current language changes.
class LanguageSink {
public:
    virtual ~LanguageSink() = default;
    virtual void languageChanged(const LanguageManager& manager) = 0;
};

// The process's languages: entry 0 is the built-in English, entries 1... the language files in
// the order found; the current language and its constant table. The main window owns one and
// hands it to every controller.
class LanguageManager {
public:
    static constexpr std::size_t kMaxFileBytes = 1024 * 1024;

    LanguageManager(platform::FolderTree& tree, platform::SystemLanguage& language);

    // Registers the language files in folder whose names end in the mask's suffix ("*.lng"),
    // sub-folders never searched. A file without a usable LANGID is skipped, one for 1033 adds
    // nothing, and a LANGID seen before keeps its place while the later file supplies the texts.
    // Returns the number of files accepted.
    int scanForLangFiles(std::string_view folder, std::string_view mask);

    int languageCount() const;
    // The system's name of the entry's language, or its identifier in decimal.
    std::string languageName(int index) const;
    std::uint16_t languageId(int index) const;
    // 0 for 1033 and for an identifier without an entry.
    int indexOfLanguageId(std::uint16_t langId) const;
    const std::string& languageFile(int index) const;

    std::uint16_t currentLanguageId() const { return m_current; }
    // An identifier without an entry gives English. On a change the file is parsed (throwing
    // LanguageLoadError and changing nothing when it cannot be), the constants switch and every
    // registered controller re-translates its window at once.
    void setCurrentLanguageId(std::uint16_t langId);

    // The current language's text of a constant (ANSI bytes of that language); the English text
    // when the file has none; empty for an unknown name.
    std::string constantText(std::string_view name) const;
    // Text of the current language for the windows.
    std::u16string decodeText(std::string_view bytes) const;
    // The current language's texts of a window's entries (empty in English).
    const std::map<int, std::string>& windowTexts(std::string_view window) const;

    void addSink(LanguageSink* sink);
    void removeSink(LanguageSink* sink);

private:
    struct Entry {
        std::uint16_t langId;
        std::string file;
    };

    platform::FolderTree& m_tree;
    platform::SystemLanguage& m_language;
    std::vector<Entry> m_entries;
    std::uint16_t m_current = kLangEnglishUs;
    LanguageFile m_texts;
    std::vector<LanguageSink*> m_sinks;
};

}  // namespace calvora::settings
