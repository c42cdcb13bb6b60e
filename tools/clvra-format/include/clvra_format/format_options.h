#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace calvora::tools {

// What the command line asks for.
struct FormatOptions {
    bool list = false;
    bool help = false;
    // The engine's file-system index: 0 NTFS, 1 FAT, 2 FAT32, 3 EXFAT.
    std::uint8_t fileSystemIndex = 2;
    std::string label;  // as typed, in the terminal's character set
    bool quick = false;
    std::int32_t clusterSize = 0;
    std::optional<std::uint64_t> createBytes;
    bool yes = false;
    bool allowFixed = false;
    std::string target;
};

struct ParseResult {
    std::optional<FormatOptions> options;
    std::string error;  // bad usage: what was wrong
};

ParseResult parseFormatOptions(const std::vector<std::string>& arguments);

// "64M", "1G", "512K", "4096", "1.5G" is refused: whole numbers with an optional binary suffix
// K, M, G or T (also KiB, MiB, ... and KB, MB, ...); empty when not a size.
std::optional<std::uint64_t> parseSize(const std::string& text);

// A drive letter or root as listed (E, e:, E:\); 0 when the text is none.
char driveLetterOf(const std::string& target);

extern const char* const kUsage;

}  // namespace calvora::tools
