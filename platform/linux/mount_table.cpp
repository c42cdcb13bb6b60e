#include "platform/linux/mount_table.h"

namespace calvora::platform::linux_os {
namespace {

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start < line.size()) {
        std::size_t end = line.find_first_of(" \t", start);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        if (end > start) {
            fields.push_back(line.substr(start, end - start));
        }
        start = end + 1;
    }
    return fields;
}

bool isOctal(char c) {
    return c >= '0' && c <= '7';
}

// The kernel writes blank, tab, newline and backslash in paths as \ooo.
std::string unescape(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
            isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            text.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                             (field[i + 3] - '0')));
            i += 3;
        } else {
            text.push_back(field[i]);
        }
    }
    return text;
}

template <typename Handle>
void forEachLine(std::string_view text, Handle handle) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        handle(text.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace

std::vector<MountEntry> parseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    forEachLine(text, [&](std::string_view line) {
        // id parent major:minor root mountpoint options [optional...] - fstype source superopts
        std::vector<std::string_view> fields = splitFields(line);
        std::size_t separator = 6;
        while (separator < fields.size() && fields[separator] != "-") {
            ++separator;
        }
        if (fields.size() < 6 || separator + 2 >= fields.size() ||
            fields[2].find(':') == std::string_view::npos || fields[4].empty() ||
            fields[4][0] != '/') {
            return;
        }
        MountEntry entry;
        entry.devNumber = std::string(fields[2]);
        entry.mountPoint = unescape(fields[4]);
        entry.fsType = unescape(fields[separator + 1]);
        entry.source = unescape(fields[separator + 2]);
        if (separator + 3 < fields.size()) {
            entry.superOptions = unescape(fields[separator + 3]);
        }
        mounts.push_back(std::move(entry));
    });
    return mounts;
}

std::vector<SwapEntry> parseSwaps(std::string_view text) {
    std::vector<SwapEntry> swaps;
    bool heading = true;
    forEachLine(text, [&](std::string_view line) {
        if (heading) {
            heading = false;
            return;
        }
        std::vector<std::string_view> fields = splitFields(line);
        if (fields.size() < 2 || fields[0].empty() || fields[0][0] != '/') {
            return;
        }
        swaps.push_back(SwapEntry{unescape(fields[0]), std::string(fields[1])});
    });
    return swaps;
}

bool isAtOrBelow(std::string_view path, std::string_view folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.remove_suffix(1);
    }
    if (folder == "/") {
        return !path.empty() && path[0] == '/';
    }
    if (path.substr(0, folder.size()) != folder) {
        return false;
    }
    return path.size() == folder.size() || path[folder.size()] == '/';
}

}  // namespace calvora::platform::linux_os
