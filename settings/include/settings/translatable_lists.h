#pragma once

#include <span>
#include <string_view>

namespace calvora::settings {

// One translatable property of a window: the entry number that language files use, the Qt
// object name of the component and the Qt property that receives the text. The window itself
// is the object named like the window. A "Caption" of the form description is "text" (labels,
// buttons, check boxes, navigation items), "title" (navigation groups, option boxes) or
// "windowTitle" (windows and pages); a "Hint" is "toolTip"; the items of a list are "items",
// one item per line; the lines of a text box are "plainText".
struct TranslatableEntry {
    int number;
    std::string_view objectName;
    std::string_view property;
};

// A window's controller list: the section name of language files and its entries.
struct TranslatableList {
    std::string_view window;
    std::span<const TranslatableEntry> entries;
};

TranslatableList frmMainTranslatables();
TranslatableList frmLicenseAgreementTranslatables();
TranslatableList frmRecommendDlgTranslatables();

}  // namespace calvora::settings
