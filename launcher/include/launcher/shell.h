#pragma once

#include <string_view>

namespace calvora::launcher {

// The desktop's way of opening a web address in the user's default browser.
class Shell {
public:
    virtual ~Shell() = default;

    // ShellExecuteA(main window, "open", address, no parameters, no folder, SW_SHOWNORMAL).
    // Returns at once; whether a browser came up is not reported.
    virtual void open(std::string_view address) = 0;
};

}  // namespace calvora::launcher
