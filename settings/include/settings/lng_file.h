#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace calvora::settings {

// The content of a language file ("*.lng"): header parameters, the "$CONSTANTS" section and
// one section of entry-numbered texts per window. Texts are the file's bytes, unescaped.
struct LanguageFile {
    std::map<std::string, std::string> header;
    std::map<std::string, std::string> constants;
    std::map<std::string, std::map<int, std::string>> windows;  // section name as written
};

struct LngParseError {
    int line = 0;
    std::string message;
};

struct LngParseResult {
    LanguageFile file;
    std::optional<LngParseError> error;  // parsing stops at the first error
};

// Lines are trimmed; empty lines and ";" comments are skipped; "key=value" before the first
// section are header parameters; "[name]" opens a section ("$CONSTANTS" in any letter case holds
// constants); inside a window section keys are positive entry numbers. Values know the escapes
// \n (CR LF), \t, \\ and a backslash with two decimal digits (that character code).
LngParseResult parseLanguageFile(std::string_view bytes);

// The language identifier of a LANGID text: decimal, or hexadecimal after "$". Empty when it is
// not a number, zero, or beyond 16 bits.
std::optional<std::uint16_t> parseLangId(std::string_view text);

// The file's LANGID header parameter, read without parsing the sections; empty when the file
// is not a language file.
std::optional<std::uint16_t> languageFileLangId(std::string_view bytes);

}  // namespace calvora::settings
