#include "drives/drive_text.h"

namespace calvora::drives {
namespace {

bool isUpperLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}

bool isLowerLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
}

}  // namespace

std::u16string applyTextCase(std::u16string text, TTextCase textCase) {
    for (char16_t& c : text) {
        if (textCase == tcLowerCase && isUpperLetter(c)) {
            c = static_cast<char16_t>(c + 0x20);
        } else if (textCase == tcUpperCase && isLowerLetter(c)) {
            c = static_cast<char16_t>(c - 0x20);
        }
    }
    return text;
}

std::u16string composeDriveText(char letter, const DriveTextOptions& options,
                                platform::Volumes& volumes, platform::DriveShell& shell) {
    const std::string root{letter, ':', '\\'};
    if (options.DisplaySysName) {
        return shell.displayName(root);
    }
    std::u16string text{static_cast<char16_t>(letter), u':', u' '};
    if (options.DisplayLabel && volumes.driveType(root) != platform::DriveTypeCode::Removable) {
        std::u16string label;
        const std::u16string wideRoot{static_cast<char16_t>(letter), u':', u'\\'};
        if (auto information = volumes.volumeInformation(wideRoot)) {
            label = information->volumeName;
        }
        if (options.DisplayBrackets) {
            text += u'[';
        }
        text += label;
        if (options.DisplayBrackets) {
            text += u']';
        }
    }
    return applyTextCase(std::move(text), options.TextCase);
}

}  // namespace calvora::drives
