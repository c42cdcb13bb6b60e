#pragma once

#include <string>
#include <string_view>

namespace calvora::platform {

// Conversions between the system's OEM and ANSI single-byte code pages and UTF-16.
// Characters that the target cannot hold become '?'.
class CodePages {
public:
    virtual ~CodePages() = default;

    // OemToCharBuffA.
    virtual std::string oemToAnsi(std::string_view oem) = 0;
    virtual std::u16string ansiToUtf16(std::string_view ansi) = 0;
    virtual std::string utf16ToAnsi(std::u16string_view text) = 0;
};

}  // namespace calvora::platform
