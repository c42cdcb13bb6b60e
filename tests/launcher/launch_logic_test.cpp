// What the launcher does with the answer of the installation test.
#include <gtest/gtest.h>
#include <ostream>

#include "launcher/fake/fake_launcher_services.h"
#include "launcher/weblaunch.h"

namespace calvora::launcher::testing {
namespace {

struct LaunchCase {
    const char* name;
    std::vector<std::string> files;
    bool opensHomePage;
};

// Test names and failure messages show the case by name.
void PrintTo(const LaunchCase& value, std::ostream* out) {
    *out << value.name;
}

class LaunchTest : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(LaunchTest, OpensTheHomePageOrWarnsAndEndsWithZero) {
    fake::FakeFileProbe files;
    files.files.insert(GetParam().files.begin(), GetParam().files.end());
    fake::FakeShell shell;
    fake::FakeWarningDialog dialog;

    EXPECT_EQ(runWebLaunch(kLinuxInstallationTestPath, files, shell, dialog), 0);

    // The one path tested is the one given, as it stands: nothing is resolved beforehand.
    EXPECT_EQ(files.probedPaths, std::vector<std::string>{"../..//Calvora/clvra"});
    if (GetParam().opensHomePage) {
        EXPECT_EQ(shell.openedAddresses,
                  std::vector<std::string>{"http://www.calvora.example/home-e.html"});
        EXPECT_TRUE(dialog.shown.empty());
    } else {
        EXPECT_TRUE(shell.openedAddresses.empty());
        ASSERT_EQ(dialog.shown.size(), 1u);
        EXPECT_EQ(dialog.shown[0].caption, "Warning");
        EXPECT_EQ(dialog.shown[0].text,
                  "The installation of this Calvora is detective!\r\n"
                  "Please install the Calvora product again to correct the problem (1) !");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Installation, LaunchTest,
    ::testing::Values(LaunchCase{"Installed", {"../..//Calvora/clvra"}, true},
                      LaunchCase{"NotInstalled", {}, false},
                      // The same file by another spelling is for the file system to find,
                      // not for the fake: the launcher must not rewrite the path.
                      LaunchCase{"OnlyUnderAnotherSpelling", {"../../Calvora/clvra"}, false},
                      LaunchCase{"OnlyTheWindowsProgram", {"../..//Calvora/clvra.exe"}, false}),
    [](const auto& info) { return std::string{info.param.name}; });

TEST(LaunchTest, WindowsPathKeepsItsDoubledSeparator) {
    fake::FakeFileProbe files;
    files.files.insert("..\\..\\\\Calvora\\clvra.exe");
    fake::FakeShell shell;
    fake::FakeWarningDialog dialog;
    EXPECT_EQ(runWebLaunch(kWindowsInstallationTestPath, files, shell, dialog), 0);
    EXPECT_EQ(shell.openedAddresses.size(), 1u);
    EXPECT_TRUE(dialog.shown.empty());
}

}  // namespace
}  // namespace calvora::launcher::testing
