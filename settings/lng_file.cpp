#include "settings/lng_file.h"
#include "platform/ascii_case.h"

#include <cstddef>

namespace calvora::settings {
namespace {

constexpr auto sameName = platform::equalsIgnoringAsciiCase;

std::string_view trim(std::string_view s) {
    auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
    };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Calls visit(lineNumber, trimmedLine) for each line that is not empty or a comment; stops
// when visit returns false.
template <typename Visit>
void forEachLine(std::string_view bytes, Visit visit) {
    int number = 0;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t nl = bytes.find('\n', pos);
        std::string_view line =
            bytes.substr(pos, nl == std::string_view::npos ? bytes.npos : nl - pos);
        pos = nl == std::string_view::npos ? bytes.size() : nl + 1;
        ++number;
        line = trim(line);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (!visit(number, line)) {
            return;
        }
    }
}

std::optional<std::string> unescape(std::string_view value, std::string& error) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c != '\\') {
            out.push_back(c);
            continue;
        }
        if (i + 1 >= value.size()) {
            error = "Invalid escape sequence at the end of the value";
            return std::nullopt;
        }
        char next = value[++i];
        if (next == 'n') {
            out.append("\r\n");
        } else if (next == 't') {
            out.push_back('\t');
        } else if (next == '\\') {
            out.push_back('\\');
        } else if (next >= '0' && next <= '9' && i + 1 < value.size() && value[i + 1] >= '0' &&
                   value[i + 1] <= '9') {
            out.push_back(static_cast<char>((next - '0') * 10 + (value[i + 1] - '0')));
            ++i;
        } else {
            error = std::string("Invalid escape sequence \"\\") + next + "\"";
            return std::nullopt;
        }
    }
    return out;
}

std::optional<int> entryNumber(std::string_view key) {
    if (key.empty() || key.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : key) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value > 0 ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

std::optional<std::uint16_t> parseLangId(std::string_view text) {
    text = trim(text);
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (char c : text) {
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        if (d < 0) {
            return std::nullopt;
        }
        value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(d);
    }
    if (value == 0 || value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

std::optional<std::uint16_t> languageFileLangId(std::string_view bytes) {
    std::optional<std::uint16_t> id;
    forEachLine(bytes, [&](int, std::string_view line) {
        if (line.front() == '[') {
            return false;
        }
        std::size_t eq = line.find('=');
        if (eq != std::string_view::npos && sameName(trim(line.substr(0, eq)), "LANGID")) {
            id = parseLangId(line.substr(eq + 1));
            return false;
        }
        return true;
    });
    return id;
}

LngParseResult parseLanguageFile(std::string_view bytes) {
    LngParseResult result;
    enum class Place { Header, Constants, Window } place = Place::Header;
    std::map<int, std::string>* window = nullptr;
    forEachLine(bytes, [&](int number, std::string_view line) {
        auto fail = [&](std::string message) {
            result.error = LngParseError{number, std::move(message)};
            return false;
        };
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) {
                return fail("Invalid section name \"" + std::string(line) + "\"");
            }
            std::string name(trim(line.substr(1, line.size() - 2)));
            if (sameName(name, "$CONSTANTS")) {
                place = Place::Constants;
            } else {
                place = Place::Window;
                window = &result.file.windows[name];
            }
            return true;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            return fail("\"=\" expected in \"" + std::string(line) + "\"");
        }
        std::string_view key = trim(line.substr(0, eq));
        std::string error;
        auto value = unescape(trim(line.substr(eq + 1)), error);
        if (!value) {
            return fail(error);
        }
        if (key.empty()) {
            return fail("Empty name before \"=\"");
        }
        switch (place) {
            case Place::Header:
                result.file.header[std::string(key)] = *value;
                break;
            case Place::Constants:
                result.file.constants[std::string(key)] = *value;
                break;
            case Place::Window: {
                auto entry = entryNumber(key);
                if (!entry) {
                    return fail("Invalid entry number \"" + std::string(key) + "\"");
                }
                (*window)[*entry] = *value;
                break;
            }
        }
        return true;
    });
    return result;
}

}  // namespace calvora::settings
