#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace calvora::platform::linux_os {

// What libblkid finds on a volume.
struct ProbedFileSystem {
    std::string type;     // "vfat", "exfat", "ntfs", "ext4"
    std::string version;  // "FAT12", "FAT16", "FAT32" for vfat
    std::string label;    // UTF-8
};

// Probes a block device or image file. Opens without waiting for a medium, so an empty
// reader fails at once. Empty when nothing recognisable is there.
std::optional<ProbedFileSystem> probeFileSystem(const std::string& path);

// The name Windows reports: "FAT" for FAT12/16, "FAT32", "exFAT", "NTFS"; any other file
// system keeps its own name.
std::u16string windowsFileSystemName(const ProbedFileSystem& probed);

// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);

}  // namespace calvora::platform::linux_os
