#include "platform/linux/profile_ini_file.h"

#include "platform/linux/profile_atomic_file.h"
#include "platform/linux/profile_document.h"

namespace calvora::platform::linux_os {

std::string LinuxProfile::getPrivateProfileString(std::string_view section, std::string_view key,
                                                  std::string_view defaultValue,
                                                  std::string_view fileName) {
    FileText file = readSmallFile(std::string(fileName), kMaxFileBytes);
    if (file.outcome != ReadOutcome::Read) {
        return std::string(defaultValue);
    }
    auto value = findProfileValue(file.text, section, key);
    return value ? *value : std::string(defaultValue);
}

bool LinuxProfile::writePrivateProfileString(std::string_view section, std::string_view key,
                                             std::string_view value, std::string_view fileName) {
    const std::string path(fileName);
    FileText file = readSmallFile(path, kMaxFileBytes);
    if (file.outcome == ReadOutcome::Failed) {
        // Rewriting a file we could not read would lose its content.
        return false;
    }
    return writeFileAtomically(path, setProfileValue(file.text, section, key, value));
}

}  // namespace calvora::platform::linux_os
