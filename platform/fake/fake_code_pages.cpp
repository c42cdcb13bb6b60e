#include "platform/fake/fake_system.h"

namespace calvora::platform::fake {

std::string FakeCodePages::oemToAnsi(std::string_view oem) {
    std::string ansi;
    ansi.reserve(oem.size());
    for (char c : oem) {
        auto it = oemToAnsiTable.find(static_cast<unsigned char>(c));
        ansi.push_back(it == oemToAnsiTable.end() ? c : static_cast<char>(it->second));
    }
    return ansi;
}

std::u16string FakeCodePages::ansiToUtf16(std::string_view ansi) {
    std::u16string text;
    text.reserve(ansi.size());
    for (char c : ansi) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string FakeCodePages::utf16ToAnsi(std::u16string_view text) {
    std::string ansi;
    ansi.reserve(text.size());
    for (char16_t c : text) {
        ansi.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
    }
    return ansi;
}

}  // namespace calvora::platform::fake
