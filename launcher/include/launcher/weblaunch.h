#pragma once

#include <string_view>

#include "launcher/file_probe.h"
#include "launcher/shell.h"
#include "launcher/warning_dialog.h"

namespace calvora::launcher {

// The maker's web site. The main program keeps a copy of its own under the same value: the
// two programs share no code.
inline constexpr std::string_view kWebSite = "http://www.calvora.example";
inline constexpr std::string_view kHomePagePath = "/home-e.html";
// The English home page, kWebSite followed by kHomePagePath.
inline constexpr std::string_view kHomePage = "http://www.calvora.example/home-e.html";
static_assert(kHomePage.substr(0, kWebSite.size()) == kWebSite &&
              kHomePage.substr(kWebSite.size()) == kHomePagePath);

// Where the main program lies when the launcher is started in its own folder: two folders
// up, the product folder, the program file. Only the current folder counts, never the
// launcher's own location. The doubled separator reads as one.
inline constexpr std::string_view kLinuxInstallationTestPath = "../..//Calvora/clvra";
inline constexpr std::string_view kWindowsInstallationTestPath = "..\\..\\\\Calvora\\clvra.exe";

inline constexpr std::string_view kWarningCaption = "Warning";
// Shown as it stands, the maker's wording included.
inline constexpr std::string_view kWarningText =
    "The installation of this Calvora is detective!\r\n"
    "Please install the Calvora product again to correct the problem (1) !";

// What the version resource says of the launcher.
inline constexpr std::string_view kFileDescription = "Visit the Website Calvora";
inline constexpr std::string_view kFileVersion = "1.0.0.0";

// Runs the launcher once: when installationTestPath names a file, hands the home page to the
// shell; otherwise shows the warning and waits for its answer. Returns the exit code, which
// is 0 in every case.
int runWebLaunch(std::string_view installationTestPath, FileProbe& files, Shell& shell,
                 WarningDialog& dialog);

}  // namespace calvora::launcher
