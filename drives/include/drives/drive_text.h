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

namespace calvora::drives {

struct EntryRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const EntryRect&) const = default;
};

// Where an entry's icon and text go inside its rectangle.
struct EntryLayout {
    bool hasIcon = false;
    EntryRect icon;
    EntryRect text;
};

// The icon's edge is 16 or 32 pixels; it sits 2 pixels in, vertically centred (rounded toward
// zero); the text follows the icon (20 or 36 pixels from its edge), or 2 pixels in without one.
EntryLayout layoutEntry(const EntryRect& entry, bool displayIcons, TIconSize iconsSize);

// The entry height for a font's line height (text height + 1): at least 18 for small icons
// and 34 for large ones; a larger line height leaves the current height as it is.
int entryHeightFor(int currentHeight, int lineHeight, TIconSize iconsSize);

}  // namespace calvora::drives
