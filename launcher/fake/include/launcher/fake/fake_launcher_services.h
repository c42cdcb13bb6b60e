#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "launcher/file_probe.h"
#include "launcher/shell.h"
#include "launcher/warning_dialog.h"

namespace calvora::launcher::fake {

// Files by exact path, as the test lists them.
class FakeFileProbe final : public FileProbe {
public:
    std::set<std::string, std::less<>> files;
    std::vector<std::string> probedPaths;

    bool fileExists(std::string_view path) override;
};

// Remembers every address it was asked to open.
class FakeShell final : public Shell {
public:
    std::vector<std::string> openedAddresses;

    void open(std::string_view address) override;
};

struct ShownWarning {
    std::string caption;
    std::string text;
};

// Remembers every warning; the user answers at once.
class FakeWarningDialog final : public WarningDialog {
public:
    std::vector<ShownWarning> shown;

    void showWarning(std::string_view caption, std::string_view text) override;
};

}  // namespace calvora::launcher::fake
