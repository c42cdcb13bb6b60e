#include "platform/linux/iconv_text.h"

#include <iconv.h>

#include <cerrno>

namespace calvora::platform::linux_os {
namespace {

std::size_t characterLength(std::string_view rest, SourceCharacters source) {
    std::size_t length = 1;
    switch (source) {
        case SourceCharacters::SingleBytes:
            break;
        case SourceCharacters::Utf16Units:
            length = 2;
            break;
        case SourceCharacters::Utf8Sequences:
            while (length < rest.size() &&
                   (static_cast<unsigned char>(rest[length]) & 0xC0) == 0x80) {
                ++length;
            }
            break;
    }
    return length < rest.size() ? length : rest.size();
}

}  // namespace

std::optional<std::string> iconvConvert(std::string_view text, const std::string& from,
                                        const std::string& to, SourceCharacters source,
                                        std::optional<std::string_view> replacement) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string output;
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char buffer[4096];
    bool ok = true;
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<std::size_t>(out - buffer));
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG) {
            continue;
        }
        // EILSEQ or EINVAL: a character that cannot be converted, or is cut off.
        if (!replacement) {
            ok = false;
            break;
        }
        const std::size_t skip = characterLength(std::string_view(in, inLeft), source);
        in += skip;
        inLeft -= skip;
        output.append(*replacement);
    }
    iconv_close(cd);
    if (!ok) {
        return std::nullopt;
    }
    return output;
}

}  // namespace calvora::platform::linux_os
