#include "drives/drive_text.h"

namespace calvora::drives {

EntryLayout layoutEntry(const EntryRect& entry, bool displayIcons, TIconSize iconsSize) {
    EntryRect inner{entry.left + 2, entry.top + 1, entry.right, entry.bottom - 1};
    EntryLayout layout;
    int indent = 2;
    if (displayIcons) {
        const int size = iconsSize == isLarge ? 32 : 16;
        const int top = inner.top + (inner.bottom - inner.top - size) / 2;
        layout.hasIcon = true;
        layout.icon = {inner.left, top, inner.left + size, top + size};
        indent = iconsSize == isLarge ? 36 : 20;
    }
    layout.text = {inner.left + indent, inner.top, inner.right, inner.bottom};
    return layout;
}

int entryHeightFor(int currentHeight, int lineHeight, TIconSize iconsSize) {
    const int minimum = iconsSize == isLarge ? 34 : 18;
    return lineHeight < minimum ? minimum : currentHeight;
}

}  // namespace calvora::drives
