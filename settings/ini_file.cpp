#include "settings/ini_file.h"

namespace calvora::settings {
namespace {

int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') {
        v = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        v = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        v = c - 'A' + 10;
    }
    return v < base ? v : -1;
}

}  // namespace

IniWriteError::IniWriteError(const std::string& fileName)
    : std::runtime_error("Unable to write to " + fileName) {}

std::int32_t strToIntDef(std::string_view text, std::int32_t defaultValue) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return defaultValue;
    }
    const std::uint64_t limit =
        base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t value = 0;
    for (char c : text) {
        int d = digitValue(c, base);
        if (d < 0) {
            return defaultValue;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
        if (value > limit) {
            return defaultValue;
        }
    }
    auto bits = static_cast<std::uint32_t>(value);
    if (negative) {
        bits = 0u - bits;
    }
    return static_cast<std::int32_t>(bits);
}

IniFile::IniFile(platform::Profile& profile, std::string fileName)
    : m_profile(profile), m_fileName(std::move(fileName)) {}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    return m_profile.getPrivateProfileString(section, key, defaultValue, m_fileName);
}

std::int32_t IniFile::readInteger(std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) const {
    return strToIntDef(readString(section, key, ""), defaultValue);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    if (!m_profile.writePrivateProfileString(section, key, value, m_fileName)) {
        throw IniWriteError(m_fileName);
    }
}

void IniFile::writeInteger(std::string_view section, std::string_view key, std::int32_t value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

}  // namespace calvora::settings
