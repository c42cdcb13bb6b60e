#pragma once

#include <cstddef>
#include <string>

#include "platform/profile.h"

namespace calvora::platform::linux_os {

// Profile functions on real INI files. Every write rewrites the file through a temporary file
// in the same folder, synchronised to disk and renamed over the old one, so a crash or a full
// disk leaves either the old or the new file, never a truncated one.
class LinuxProfile final : public Profile {
public:
    // Files larger than this are not read (the default applies) and never rewritten.
    static constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;

    std::string getPrivateProfileString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue,
                                        std::string_view fileName) override;
    bool writePrivateProfileString(std::string_view section, std::string_view key,
                                   std::string_view value, std::string_view fileName) override;
};

}  // namespace calvora::platform::linux_os
