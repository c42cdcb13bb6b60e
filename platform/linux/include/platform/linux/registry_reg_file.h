#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user_registry.h"

namespace calvora::platform::linux_os {

// One key of a registration file with its values, each value kept as its .reg text
// ("dword:0000002a" or "\"text\"").
struct RegKey {
    std::string path;  // e.g. "HKEY_CURRENT_USER\Software\DORVANTE\CLVRA"
    std::vector<std::pair<std::string, std::string>> values;
};

// Parses the text of a registration file (the "REGEDIT4" export format). Lines that are not
// understood are dropped.
std::vector<RegKey> parseRegFile(std::string_view text);
// Writes keys in the "REGEDIT4" export format with CR LF line ends.
std::string formatRegFile(const std::vector<RegKey>& keys);
// Value texts of the export format.
std::string regDwordText(std::uint32_t value);
std::string regStringText(std::string_view value);

// HKEY_CURRENT_USER kept in one registration file. Every change rewrites the file atomically.
class LinuxUserRegistry final : public UserRegistry {
public:
    explicit LinuxUserRegistry(std::string filePath);

    std::unique_ptr<UserRegistryKey> createKey(std::string_view path) override;

    const std::string& filePath() const { return m_filePath; }

private:
    std::string m_filePath;
};

}  // namespace calvora::platform::linux_os
