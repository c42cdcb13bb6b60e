#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace calvora::platform::linux_os {

// One line of /proc/self/mountinfo.
struct MountEntry {
    // "8:17": the device number of the mounted file system (0:NN for network, RAM and
    // some multi-device file systems such as btrfs).
    std::string devNumber;
    std::string mountPoint;
    std::string fsType;
    // The mount source: "/dev/sdb1", "server:/export", "tmpfs".
    std::string source;
    std::string superOptions;
};

// One line of /proc/swaps.
struct SwapEntry {
    std::string path;
    // "partition" or "file".
    std::string type;
};

// Parses mountinfo text; lines that do not have the expected shape are skipped. The kernel's
// octal escapes (\040 for a blank) are decoded.
std::vector<MountEntry> parseMountInfo(std::string_view text);
// Parses /proc/swaps text (its heading line is skipped).
std::vector<SwapEntry> parseSwaps(std::string_view text);

// Whether the path lies at or below the folder, component-wise ("/media/a" is not below
// "/med").
bool isAtOrBelow(std::string_view path, std::string_view folder);

}  // namespace calvora::platform::linux_os
