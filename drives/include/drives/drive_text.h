#pragma once

#include <string>

#include "drives/drive_types.h"
#include "platform/drive_shell.h"
#include "platform/volumes.h"

namespace calvora::drives {

struct DriveTextOptions {
    bool DisplaySysName = true;
    bool DisplayLabel = true;
    bool DisplayBrackets = true;
    TTextCase TextCase = tcLowerCase;
};

// The text drawn for the entry of a letter: the shell's display name, or the letter, ": " and
// (for drives that are not removable) the volume label, in the chosen case. Removable drives
// never have their label read: a card reader without a card would be asked for its medium.
std::u16string composeDriveText(char letter, const DriveTextOptions& options,
                                platform::Volumes& volumes, platform::DriveShell& shell);

// Lower or upper case for ASCII and the Latin-1 letters, as the ANSI code pages map them.
std::u16string applyTextCase(std::u16string text, TTextCase textCase);

}  // namespace calvora::drives
