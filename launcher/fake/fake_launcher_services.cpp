#include "launcher/fake/fake_launcher_services.h"

namespace calvora::launcher::fake {

bool FakeFileProbe::fileExists(std::string_view path) {
    probedPaths.emplace_back(path);
    return files.find(path) != files.end();
}

void FakeShell::open(std::string_view address) {
    openedAddresses.emplace_back(address);
}

void FakeWarningDialog::showWarning(std::string_view caption, std::string_view text) {
    shown.push_back({std::string{caption}, std::string{text}});
}

}  // namespace calvora::launcher::fake
