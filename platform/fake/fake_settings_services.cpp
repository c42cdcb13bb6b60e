#include "platform/fake/fake_settings_services.h"

#include <algorithm>

namespace calvora::platform::fake {
namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return out;
}

class FakeKey final : public UserRegistryKey {
public:
    FakeKey(FakeUserRegistry& registry, std::string path)
        : m_registry(registry), m_path(std::move(path)) {}
    bool setDword(std::string_view name, std::uint32_t value) override {
        m_registry.keys[m_path][std::string(name)] = "dword:" + std::to_string(value);
        m_registry.writes.emplace_back(name);
        return true;
    }
    bool setString(std::string_view name, std::string_view value) override {
        m_registry.keys[m_path][std::string(name)] = "sz:" + std::string(value);
        m_registry.writes.emplace_back(name);
        return true;
    }

private:
    FakeUserRegistry& m_registry;
    std::string m_path;
};

}  // namespace

std::string FakeProfile::getPrivateProfileString(std::string_view section, std::string_view key,
                                                 std::string_view defaultValue,
                                                 std::string_view fileName) {
    auto file = files.find(std::string(fileName));
    if (file == files.end()) {
        return std::string(defaultValue);
    }
    auto sec = file->second.find(lowered(section));
    if (sec == file->second.end()) {
        return std::string(defaultValue);
    }
    auto entry = sec->second.find(lowered(key));
    return entry == sec->second.end() ? std::string(defaultValue) : entry->second;
}

bool FakeProfile::writePrivateProfileString(std::string_view section, std::string_view key,
                                            std::string_view value, std::string_view fileName) {
    std::string file(fileName);
    if (readOnlyFiles.count(file) != 0) {
        return false;
    }
    files[file][lowered(section)][lowered(key)] = std::string(value);
    writes.push_back(file + "|" + std::string(section) + "|" + std::string(key) + "=" +
                     std::string(value));
    return true;
}

std::string FakeProfile::value(const std::string& file, const std::string& section,
                               const std::string& key) const {
    auto f = files.find(file);
    if (f == files.end()) {
        return "<missing>";
    }
    auto s = f->second.find(lowered(section));
    if (s == f->second.end()) {
        return "<missing>";
    }
    auto k = s->second.find(lowered(key));
    return k == s->second.end() ? "<missing>" : k->second;
}

std::unique_ptr<UserRegistryKey> FakeUserRegistry::createKey(std::string_view path) {
    if (failCreate) {
        return nullptr;
    }
    keys[std::string(path)];
    return std::make_unique<FakeKey>(*this, std::string(path));
}

std::string FakeSpecialFolders::folderPath(int csidl) {
    auto it = folders.find(csidl);
    return it == folders.end() ? std::string() : it->second;
}

bool FakeFolderTree::createFolder(std::string_view path) {
    std::string p(path);
    if (refusedFolders.count(p) != 0) {
        return false;
    }
    folders.insert(p);
    return true;
}

bool FakeFolderTree::folderExists(std::string_view path) {
    return folders.count(std::string(path)) != 0;
}

std::optional<std::string> FakeFolderTree::findEntry(std::string_view folder,
                                                     std::string_view name) {
    std::string prefix(folder);
    if (!prefix.empty() && prefix.back() != '/') {
        prefix.push_back('/');
    }
    std::optional<std::string> found;
    auto consider = [&](const std::string& path) {
        if (path.rfind(prefix, 0) != 0 || path.find('/', prefix.size()) != std::string::npos) {
            return;
        }
        std::string entry = path.substr(prefix.size());
        if (entry == name) {
            found = entry;
        } else if (!found && lowered(entry) == lowered(name)) {
            found = entry;
        }
    };
    for (const std::string& f : folders) {
        consider(f);
    }
    for (const auto& [path, content] : files) {
        consider(path);
    }
    return found;
}

std::vector<std::string> FakeFolderTree::findFiles(std::string_view folder,
                                                   std::string_view suffix) {
    std::string prefix(folder);
    if (!prefix.empty() && prefix.back() != '/') {
        prefix.push_back('/');
    }
    std::vector<std::string> names;
    for (const auto& [path, content] : files) {
        if (path.rfind(prefix, 0) != 0 || path.find('/', prefix.size()) != std::string::npos) {
            continue;
        }
        std::string name = path.substr(prefix.size());
        if (name.size() >= suffix.size() &&
            lowered(name.substr(name.size() - suffix.size())) == lowered(suffix)) {
            names.push_back(name);
        }
    }
    return names;
}

std::optional<std::string> FakeFolderTree::readFile(std::string_view path, std::size_t maxBytes) {
    auto it = files.find(std::string(path));
    if (it == files.end() || it->second.size() > maxBytes) {
        return std::nullopt;
    }
    return it->second;
}

std::string FakeSystemLanguage::localeLanguageName(std::uint16_t langId) {
    auto it = names.find(langId);
    return it == names.end() ? std::string() : it->second;
}

std::string FakeSystemLanguage::verLanguageName(std::uint16_t langId) {
    return localeLanguageName(langId);
}

std::u16string FakeSystemLanguage::decodeText(std::string_view text, std::uint16_t langId) {
    std::u16string out;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        char16_t unit = byte;
        if (langId == 1038) {
            switch (byte) {
                case 0xF5:
                    unit = u'\u0151';
                    break;
                case 0xFB:
                    unit = u'\u0171';
                    break;
                case 0xD5:
                    unit = u'\u0150';
                    break;
                case 0xDB:
                    unit = u'\u0170';
                    break;
                default:
                    break;
            }
        }
        out.push_back(unit);
    }
    return out;
}

}  // namespace calvora::platform::fake
