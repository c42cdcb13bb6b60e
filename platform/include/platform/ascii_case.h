#pragma once

#include <string>
#include <string_view>

// Names that Windows compares without regard to case (INI sections and keys, registry paths and
// values, file names, device instance names) ignore the case of the letters A to Z only.
namespace calvora::platform {

inline char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string asciiUpperCase(std::string text) {
    for (char& c : text) {
        c = asciiUpper(c);
    }
    return text;
}

inline std::string asciiLowerCase(std::string text) {
    for (char& c : text) {
        c = asciiLower(c);
    }
    return text;
}

inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

inline bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           equalsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace calvora::platform
