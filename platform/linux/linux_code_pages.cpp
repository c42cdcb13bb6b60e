#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/linux/iconv_text.h"
#include "platform/linux/linux_system.h"

namespace calvora::platform::linux_os {
namespace {

// Every character that cannot be converted becomes one replacement; where iconv does not know
// the code pages the text stays as it is.
std::string convert(const std::string& from, const std::string& to, std::string_view input,
                    SourceCharacters source, std::string_view replacement) {
    return iconvConvert(input, from, to, source, replacement).value_or(std::string(input));
}

bool isCentralEuropean(std::string_view language) {
    static constexpr std::string_view kLanguages[] = {"hu", "pl", "cs", "sk", "sl",
                                                      "hr", "ro", "sq", "bs"};
    for (std::string_view candidate : kLanguages) {
        if (language == candidate) {
            return true;
        }
    }
    return false;
}

}  // namespace

LinuxCodePages::LinuxCodePages(std::string ansiCodePage, std::string oemCodePage)
    : m_ansi(std::move(ansiCodePage)), m_oem(std::move(oemCodePage)) {}

LinuxCodePages LinuxCodePages::forUserLocale() {
    std::string_view locale;
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            locale = value;
            break;
        }
    }
    std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
    if (isCentralEuropean(language)) {
        return LinuxCodePages("CP1250", "CP852");
    }
    return LinuxCodePages("CP1252", "CP437");
}

std::string LinuxCodePages::oemToAnsi(std::string_view oem) {
    return convert(m_oem, m_ansi, oem, SourceCharacters::SingleBytes, "?");
}

std::u16string LinuxCodePages::ansiToUtf16(std::string_view ansi) {
    std::string bytes = convert(m_ansi, "UTF-16LE", ansi, SourceCharacters::SingleBytes,
                                std::string_view("?\0", 2));
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return text;
}

std::string LinuxCodePages::utf16ToAnsi(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return convert("UTF-16LE", m_ansi, bytes, SourceCharacters::Utf16Units, "?");
}

}  // namespace calvora::platform::linux_os
