#pragma once

#include <memory>

#include "launcher/warning_dialog.h"

class QApplication;

namespace calvora::launcher::qt {

// The warning as a Qt message box. Uses the running QApplication, or starts one of its own
// for as long as this object lives; the launcher needs none until it has something to say.
// When the desktop cannot be reached (no display), the warning goes to standard error
// instead, and the process ends with exit code 0 as it would after the answer.
class QtWarningDialog final : public WarningDialog {
public:
    QtWarningDialog();
    ~QtWarningDialog() override;
    QtWarningDialog(const QtWarningDialog&) = delete;
    QtWarningDialog& operator=(const QtWarningDialog&) = delete;

    void showWarning(std::string_view caption, std::string_view text) override;

private:
    void startApplication(std::string_view caption, std::string_view text);

    // Qt keeps references to these for the application's lifetime. Only the program name is
    // passed: the launcher reads no command line, Qt's options included.
    int m_argc = 1;
    char m_programName[10] = "weblaunch";
    char* m_argv[2] = {m_programName, nullptr};
    std::unique_ptr<QApplication> m_application;
};

}  // namespace calvora::launcher::qt
