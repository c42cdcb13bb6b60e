#pragma once

#include <string_view>

namespace calvora::launcher {

// A modal message to the user.
class WarningDialog {
public:
    virtual ~WarningDialog() = default;

    // MessageDlg(text, mtWarning, [mbOK]): the warning icon, the caption, the text and one
    // "OK" button. Returns once the user has answered. "\r\n" in the text is a line break.
    virtual void showWarning(std::string_view caption, std::string_view text) = 0;
};

}  // namespace calvora::launcher
