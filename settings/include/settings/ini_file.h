#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/profile.h"

namespace calvora::settings {

// A write the operating system refused; what() is "Unable to write to <file name>".
class IniWriteError : public std::runtime_error {
public:
    explicit IniWriteError(const std::string& fileName);
};

// The integer of text, or defaultValue when text is not a 32-bit number. A text of more than two
// characters that starts with "0x" or "0X" is hexadecimal, as is one that starts with "$";
// hexadecimal values up to FFFFFFFF wrap to negative numbers.
std::int32_t strToIntDef(std::string_view text, std::int32_t defaultValue);

// One INI file read and written key by key through the profile functions; nothing is cached,
// so every write reaches the file at once.
class IniFile {
public:
    IniFile(platform::Profile& profile, std::string fileName);

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    std::int32_t readInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;
    // An integer: non-zero is true; text that is not a number gives defaultValue.
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Each throws IniWriteError when the write is refused.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, std::int32_t value);
    // "1" or "0".
    void writeBool(std::string_view section, std::string_view key, bool value);

    const std::string& fileName() const { return m_fileName; }

private:
    platform::Profile& m_profile;
    std::string m_fileName;
};

}  // namespace calvora::settings
