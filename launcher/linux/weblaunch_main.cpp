// weblaunch: opens the product's home page once the main program is found where it belongs.
#include "launcher/linux/linux_file_probe.h"
#include "launcher/linux/xdg_open_shell.h"
#include "launcher/qt/qt_warning_dialog.h"
#include "launcher/weblaunch.h"

int main() {
    calvora::launcher::linux_os::LinuxFileProbe files;
    calvora::launcher::linux_os::XdgOpenShell shell;
    calvora::launcher::qt::QtWarningDialog dialog;
    return calvora::launcher::runWebLaunch(calvora::launcher::kLinuxInstallationTestPath, files,
                                           shell, dialog);
}
