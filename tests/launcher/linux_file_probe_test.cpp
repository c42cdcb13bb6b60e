// The installation test against a real folder tree, from different current folders, and the
// launcher run on it with the shell and the dialog behind fakes.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <ostream>

#include "launcher/fake/fake_launcher_services.h"
#include "launcher/linux/linux_file_probe.h"
#include "launcher/weblaunch.h"
#include "temp_folder.h"

namespace calvora::launcher::testing {
namespace {

namespace fs = std::filesystem;

enum class Layout { Installed, NotInstalled, FolderNamedClvra, LinkToProgram, BrokenLink, Pipe };

struct ProbeCase {
    const char* name;
    Layout layout;
    const char* currentFolder;  // relative to the temporary root
    bool installed;
};

// Test names and failure messages show the case by name.
void PrintTo(const ProbeCase& value, std::ostream* out) {
    *out << value.name;
}

// The tree: <root>/Calvora/clvra is the main program, <root>/Web/Launcher the folder a
// shortcut starts the launcher in.
void build(const TempFolder& root, Layout layout) {
    root.makeFolder("Web/Launcher");
    root.makeFolder("Calvora");
    const fs::path program = root.path() / "Calvora/clvra";
    switch (layout) {
        case Layout::Installed:
            root.makeFile("Calvora/clvra",
                          "\x7f"
                          "ELF");
            break;
        case Layout::NotInstalled:
            break;
        case Layout::FolderNamedClvra:
            root.makeFolder("Calvora/clvra");
            break;
        case Layout::LinkToProgram:
            root.makeFile("Calvora/clvra-1.0",
                          "\x7f"
                          "ELF");
            fs::create_symlink("clvra-1.0", program);
            break;
        case Layout::BrokenLink:
            fs::create_symlink("clvra-1.0", program);
            break;
        case Layout::Pipe:
            ASSERT_EQ(mkfifo(program.c_str(), 0600), 0);
            break;
    }
}

class LinuxFileProbeTest : public ::testing::TestWithParam<ProbeCase> {
protected:
    void TearDown() override { fs::current_path(m_startFolder); }

    fs::path m_startFolder = fs::current_path();
};

TEST_P(LinuxFileProbeTest, FindsOnlyTheProgramFileTwoFoldersUpFromTheCurrentFolder) {
    TempFolder root;
    build(root, GetParam().layout);
    fs::current_path(root.path() / GetParam().currentFolder);

    linux_os::LinuxFileProbe probe;
    EXPECT_EQ(probe.fileExists(kLinuxInstallationTestPath), GetParam().installed);

    // And what the launcher makes of it, with the shell and the dialog as fakes.
    fake::FakeShell shell;
    fake::FakeWarningDialog dialog;
    EXPECT_EQ(runWebLaunch(kLinuxInstallationTestPath, probe, shell, dialog), 0);
    EXPECT_EQ(shell.openedAddresses.size(), GetParam().installed ? 1u : 0u);
    EXPECT_EQ(dialog.shown.size(), GetParam().installed ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Tree, LinuxFileProbeTest,
    ::testing::Values(
        ProbeCase{"Installed", Layout::Installed, "Web/Launcher", true},
        ProbeCase{"NotInstalled", Layout::NotInstalled, "Web/Launcher", false},
        ProbeCase{"FolderInsteadOfFile", Layout::FolderNamedClvra, "Web/Launcher", false},
        ProbeCase{"LinkToTheProgram", Layout::LinkToProgram, "Web/Launcher", true},
        ProbeCase{"BrokenLink", Layout::BrokenLink, "Web/Launcher", false},
        ProbeCase{"PipeInsteadOfFile", Layout::Pipe, "Web/Launcher", false},
        // Installed, but started from a prompt in another folder: only the current folder
        // counts.
        ProbeCase{"StartedFromTheRoot", Layout::Installed, ".", false},
        ProbeCase{"StartedOneFolderDown", Layout::Installed, "Web", false},
        ProbeCase{"StartedFromTheProductFolder", Layout::Installed, "Calvora", false}),
    [](const auto& info) { return std::string{info.param.name}; });

TEST(LinuxFileProbe, RejectsPathsThatCannotNameTheProgram) {
    TempFolder root;
    root.makeFile("clvra");
    const fs::path start = fs::current_path();
    fs::current_path(root.path());
    linux_os::LinuxFileProbe probe;
    EXPECT_TRUE(probe.fileExists("clvra"));
    EXPECT_FALSE(probe.fileExists(""));
    // Cut at the NUL the path would name the file above; it must not count.
    EXPECT_FALSE(probe.fileExists(std::string_view{"clvra\0.exe", 10}));
    fs::current_path(start);
}

}  // namespace
}  // namespace calvora::launcher::testing
