#pragma once

#include "launcher/shell.h"

namespace calvora::launcher::linux_os {

// Hands the address to xdg-open, found on PATH, which asks the desktop for the default
// browser. xdg-open runs in a session of its own and is not waited for: some browsers keep
// it until they close, and the launcher ends right after.
class XdgOpenShell final : public Shell {
public:
    void open(std::string_view address) override;
};

}  // namespace calvora::launcher::linux_os
