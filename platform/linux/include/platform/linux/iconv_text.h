#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace calvora::platform::linux_os {

// What one character of the source is made of, so that an unconvertible or invalid one is
// skipped whole.
enum class SourceCharacters {
    SingleBytes,    // a single-byte code page
    Utf16Units,     // UTF-16LE, two bytes a unit
    Utf8Sequences,  // a byte and the continuation bytes after it
};

// Converts the whole text with iconv (names as iconv spells them). With a replacement, every
// unconvertible or invalid source character becomes it and the conversion goes on; without
// one, the first such character fails it. Empty when iconv knows no such code pages.
std::optional<std::string> iconvConvert(std::string_view text, const std::string& from,
                                        const std::string& to, SourceCharacters source,
                                        std::optional<std::string_view> replacement);

}  // namespace calvora::platform::linux_os
