#include "launcher/weblaunch.h"

namespace calvora::launcher {

int runWebLaunch(std::string_view installationTestPath, FileProbe& files, Shell& shell,
                 WarningDialog& dialog) {
    if (files.fileExists(installationTestPath)) {
        // A missing browser is the desktop's business: the launcher has nothing to add.
        shell.open(kHomePage);
    } else {
        dialog.showWarning(kWarningCaption, kWarningText);
    }
    return 0;
}

}  // namespace calvora::launcher
