#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/folder_tree.h"
#include "platform/instance_restart.h"
#include "platform/profile.h"
#include "platform/special_folders.h"
#include "platform/system_language.h"
#include "platform/user_registry.h"

namespace calvora::platform::fake {

// INI files in memory: file name -> section (lower case) -> key (lower case) -> value.
class FakeProfile final : public Profile {
public:
    std::map<std::string, std::map<std::string, std::map<std::string, std::string>>> files;
    std::set<std::string> readOnlyFiles;  // writes to these fail
    std::vector<std::string> writes;      // "file|section|key=value", in order

    std::string getPrivateProfileString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue,
                                        std::string_view fileName) override;
    bool writePrivateProfileString(std::string_view section, std::string_view key,
                                   std::string_view value, std::string_view fileName) override;
    // The stored value, or "<missing>".
    std::string value(const std::string& file, const std::string& section,
                      const std::string& key) const;
};

// HKEY_CURRENT_USER in memory: key path -> value name -> "dword:N" or "sz:text".
class FakeUserRegistry final : public UserRegistry {
public:
    std::map<std::string, std::map<std::string, std::string>> keys;
    bool failCreate = false;
    std::vector<std::string> writes;  // value names, in order

    std::unique_ptr<UserRegistryKey> createKey(std::string_view path) override;
};

class FakeSpecialFolders final : public SpecialFolders {
public:
    std::map<int, std::string> folders{{kCsidlAppData, "/home/user/.config"},
                                       {kCsidlPersonal, "/home/user/Documents"}};

    std::string folderPath(int csidl) override;
    char pathDelimiter() const override { return '/'; }
};

// A folder tree in memory; paths are compared as given.
class FakeFolderTree final : public FolderTree {
public:
    std::set<std::string> folders;
    std::map<std::string, std::string> files;  // path -> content
    std::set<std::string> refusedFolders;      // createFolder fails for these

    bool createFolder(std::string_view path) override;
    bool folderExists(std::string_view path) override;
    std::optional<std::string> findEntry(std::string_view folder, std::string_view name) override;
    std::vector<std::string> findFiles(std::string_view folder, std::string_view suffix) override;
    std::optional<std::string> readFile(std::string_view path, std::size_t maxBytes) override;
};

// Names for 1033, 1038 and 1031; decoding is Latin-1, except that Hungarian (1038) text maps the
// four Windows-1250 letters that Latin-1 lacks (o and u with double acute).
class FakeSystemLanguage final : public SystemLanguage {
public:
    std::uint16_t defaultLangId = 1033;
    std::map<std::uint16_t, std::string> names{
        {1033, "English (United States)"}, {1038, "Hungarian"}, {1031, "German (Germany)"}};

    std::uint16_t systemDefaultLangId() override { return defaultLangId; }
    std::string localeLanguageName(std::uint16_t langId) override;
    std::string verLanguageName(std::uint16_t langId) override;
    std::u16string decodeText(std::string_view text, std::uint16_t langId) override;
};

class FakeInstanceRestart final : public InstanceRestart {
public:
    int started = 0;
    bool startSucceeds = true;

    bool startNewInstance() override {
        ++started;
        return startSucceeds;
    }
    bool waitForPredecessor(std::chrono::milliseconds) override { return true; }
};

}  // namespace calvora::platform::fake
