#include "clvra_format/format_options.h"

#include <array>
#include <charconv>

#include "platform/ascii_case.h"

namespace calvora::tools {
namespace {

// Images larger than this are surely a typing error.
constexpr std::uint64_t kLargestImage = 1ull << 44;  // 16 TiB

struct FileSystemName {
    const char* name;
    std::uint8_t index;
};
constexpr std::array<FileSystemName, 4> kFileSystems{
    {{"NTFS", 0}, {"FAT", 1}, {"FAT32", 2}, {"EXFAT", 3}}};

std::optional<std::uint64_t> parseNumber(const std::string& text) {
    std::uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

const char* const kUsage =
    "usage: clvra-format [--fs NTFS|FAT|FAT32|EXFAT] [--label TEXT] [--quick]\n"
    "                    [--cluster BYTES] [--create SIZE] [--yes] [--allow-fixed] TARGET\n"
    "       clvra-format --list\n"
    "TARGET: a drive letter or root as listed (E, E:, E:\\), a block device, or an image\n"
    "file (--create 64M makes or resizes it first).\n";

std::optional<std::uint64_t> parseSize(const std::string& text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        ++digits;
    }
    std::optional<std::uint64_t> number = parseNumber(text.substr(0, digits));
    if (!number) {
        return std::nullopt;
    }
    const std::string suffix = platform::asciiUpperCase(text.substr(digits));
    int shift = -1;
    static constexpr std::array<std::pair<char, int>, 4> kUnits{
        {{'K', 10}, {'M', 20}, {'G', 30}, {'T', 40}}};
    if (suffix.empty() || suffix == "B") {
        shift = 0;
    } else {
        for (auto [unit, bits] : kUnits) {
            if (suffix == std::string(1, unit) || suffix == std::string(1, unit) + "B" ||
                suffix == std::string(1, unit) + "IB") {
                shift = bits;
            }
        }
    }
    if (shift < 0 || *number == 0 || *number > (kLargestImage >> shift)) {
        return std::nullopt;
    }
    return *number << shift;
}

char driveLetterOf(const std::string& target) {
    if (target.empty() || target.size() > 3) {
        return 0;
    }
    const char letter = platform::asciiUpper(target[0]);
    if (letter < 'A' || letter > 'Z') {
        return 0;
    }
    if (target.size() == 1 || (target.size() == 2 && target[1] == ':') ||
        (target.size() == 3 && target[1] == ':' && target[2] == '\\')) {
        return letter;
    }
    return 0;
}

ParseResult parseFormatOptions(const std::vector<std::string>& arguments) {
    ParseResult result;
    FormatOptions options;
    bool sawFormatOption = false;
    auto fail = [&](std::string error) {
        result.error = std::move(error);
        return result;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        std::optional<std::string> inlineValue;
        if (argument.starts_with("--") && argument.find('=') != std::string::npos) {
            inlineValue = argument.substr(argument.find('=') + 1);
            argument = argument.substr(0, argument.find('='));
        }
        auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) {
                return inlineValue;
            }
            if (i + 1 < arguments.size()) {
                return arguments[++i];
            }
            return std::nullopt;
        };
        auto flag = [&](bool& field) {
            if (inlineValue) {
                return false;
            }
            field = true;
            return true;
        };
        if (argument == "--list") {
            if (!flag(options.list))
                return fail("--list takes no value");
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--quick") {
            if (!flag(options.quick))
                return fail("--quick takes no value");
            sawFormatOption = true;
        } else if (argument == "--yes") {
            if (!flag(options.yes))
                return fail("--yes takes no value");
        } else if (argument == "--allow-fixed") {
            if (!flag(options.allowFixed))
                return fail("--allow-fixed takes no value");
        } else if (argument == "--fs") {
            std::optional<std::string> name = value();
            if (!name)
                return fail("--fs needs a file system");
            bool known = false;
            for (const FileSystemName& fs : kFileSystems) {
                if (platform::asciiUpperCase(*name) == fs.name) {
                    options.fileSystemIndex = fs.index;
                    known = true;
                }
            }
            if (!known)
                return fail("unknown file system \"" + *name + "\": NTFS, FAT, FAT32 or EXFAT");
            sawFormatOption = true;
        } else if (argument == "--label") {
            std::optional<std::string> label = value();
            if (!label)
                return fail("--label needs a text");
            options.label = *label;
            sawFormatOption = true;
        } else if (argument == "--cluster") {
            std::optional<std::string> text = value();
            std::optional<std::uint64_t> bytes = text ? parseSize(*text) : std::nullopt;
            // The sizes the format engine passes on; any other it would silently replace
            // with the library's own choice.
            if (!bytes || *bytes < 512 || *bytes > 65536 || (*bytes & (*bytes - 1)) != 0) {
                return fail("--cluster takes 512, 1024, 2048, 4096, 8192, 16384, 32768 or 65536");
            }
            options.clusterSize = static_cast<std::int32_t>(*bytes);
            sawFormatOption = true;
        } else if (argument == "--create") {
            std::optional<std::string> text = value();
            std::optional<std::uint64_t> bytes = text ? parseSize(*text) : std::nullopt;
            if (!bytes)
                return fail("--create needs a size such as 64M or 1G");
            options.createBytes = bytes;
            sawFormatOption = true;
        } else if (argument == "--") {
            if (i + 1 < arguments.size()) {
                if (!options.target.empty() || i + 2 < arguments.size()) {
                    return fail("only one TARGET");
                }
                options.target = arguments[i + 1];
            }
            break;
        } else if (argument.starts_with("-") && argument.size() > 1) {
            return fail("unknown option " + argument);
        } else {
            if (!options.target.empty())
                return fail("only one TARGET");
            options.target = argument;
        }
    }
    if (options.help) {
        result.options = options;
        return result;
    }
    if (options.list) {
        if (sawFormatOption || !options.target.empty() || options.yes || options.allowFixed) {
            return fail("--list takes no other options");
        }
    } else if (options.target.empty()) {
        return fail("no TARGET");
    } else if (options.createBytes && driveLetterOf(options.target) != 0) {
        return fail("--create makes an image file, not a drive");
    }
    result.options = options;
    return result;
}

}  // namespace calvora::tools
