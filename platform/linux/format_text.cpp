#include "platform/linux/format_text.h"

#include <cstdint>

#include "platform/linux/iconv_text.h"

namespace calvora::platform::linux_os {
namespace {

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

}  // namespace

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::optional<std::string> convertExactly(std::string_view text, const std::string& from,
                                          const std::string& to) {
    return iconvConvert(text, from, to, SourceCharacters::Utf8Sequences, std::nullopt);
}

std::string utf8ToOem(std::string_view utf8, const std::string& oemCodePage) {
    std::optional<std::string> converted =
        iconvConvert(utf8, "UTF-8", oemCodePage, SourceCharacters::Utf8Sequences, "?");
    if (converted) {
        return *converted;
    }
    // No such code page: keep what is plain ASCII.
    std::string ascii;
    for (char c : utf8) {
        ascii.push_back(static_cast<unsigned char>(c) < 0x80 ? c : '?');
    }
    return ascii;
}

std::string convertLoosely(std::string_view text, const std::string& from, const std::string& to) {
    std::optional<std::string> converted =
        iconvConvert(text, from, to, SourceCharacters::Utf8Sequences, "?");
    return converted ? *converted : std::string(text);
}

int codePageNumber(const std::string& iconvName) {
    int number = 0;
    for (char c : iconvName) {
        if (c >= '0' && c <= '9') {
            number = number * 10 + (c - '0');
        } else if (number != 0) {
            break;
        }
    }
    return number;
}

}  // namespace calvora::platform::linux_os
