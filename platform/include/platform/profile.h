#pragma once

#include <string>
#include <string_view>

namespace calvora::platform {

// The profile functions on an INI file: sections and keys compare without regard to letter
// case, values are single-byte text in the ANSI code page, every call reaches the file at once
// (nothing is cached between calls), and the file is never held open.
class Profile {
public:
    virtual ~Profile() = default;

    // GetPrivateProfileStringA: the value of key in section, trimmed of blanks and of one pair of
    // enclosing quotes; defaultValue when the file, the section or the key is missing.
    virtual std::string getPrivateProfileString(std::string_view section, std::string_view key,
                                                std::string_view defaultValue,
                                                std::string_view fileName) = 0;
    // WritePrivateProfileStringA: sets key in section, adding the section and the key when they
    // are missing. Returns false when the file cannot be written; the file then keeps its
    // previous content in full.
    virtual bool writePrivateProfileString(std::string_view section, std::string_view key,
                                           std::string_view value, std::string_view fileName) = 0;
};

}  // namespace calvora::platform
