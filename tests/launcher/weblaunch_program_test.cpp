// The built weblaunch program, run as the desktop would run it.
#include <gtest/gtest.h>
#include <chrono>
#include <filesystem>
#include <ostream>
#include <thread>

#include "launcher/weblaunch.h"
#include "program_runner.h"
#include "temp_folder.h"

namespace calvora::launcher::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

enum class Layout { Installed, NotInstalled, FolderNamedClvra };

struct ProgramCase {
    const char* name;
    Layout layout;
    const char* currentFolder;  // relative to the temporary root
    bool opensHomePage;
};

// Test names and failure messages show the case by name.
void PrintTo(const ProgramCase& value, std::ostream* out) {
    *out << value.name;
}

const std::string kWarningLine =
    "Warning: The installation of this Calvora is detective!\n"
    "Please install the Calvora product again to correct the problem (1) !\n";

// A tree with the product folder <root>/Calvora, the launcher's start folder <root>/Web/Launcher
// and an xdg-open on PATH that writes what it is given to <root>/opened.txt.
class WeblaunchProgramTest : public ::testing::TestWithParam<ProgramCase> {
protected:
    void SetUp() override {
        m_root.makeFolder("Web/Launcher");
        m_root.makeFolder("Calvora");
        const fs::path script = m_root.makeFile(
            "bin/xdg-open", "#!/bin/sh\nprintf '%s' \"$*\" > '" + m_record.string() +
                                ".tmp'\nmv '" + m_record.string() + ".tmp' '" + m_record.string() +
                                "'\n");
        fs::permissions(script, fs::perms::owner_all);
    }

    // Without a display, so that a warning cannot wait for an answer and goes to standard
    // error instead.
    std::map<std::string, std::string> environment() const {
        auto env = environmentWithout({"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "PATH"});
        env["PATH"] = (m_root.path() / "bin").string() + ":/usr/bin:/bin";
        env["QT_QPA_PLATFORM"] = "xcb";
        return env;
    }

    std::string opened() const {
        for (int i = 0; i < 500 && !fs::exists(m_record); ++i) {
            std::this_thread::sleep_for(20ms);
        }
        return readFile(m_record);
    }

    TempFolder m_root;
    fs::path m_record = m_root.path() / "opened.txt";
};

TEST_P(WeblaunchProgramTest, OpensTheHomePageOrWarnsAndAlwaysEndsWithZero) {
    switch (GetParam().layout) {
        case Layout::Installed:
            m_root.makeFile("Calvora/clvra",
                            "\x7f"
                            "ELF");
            break;
        case Layout::NotInstalled:
            break;
        case Layout::FolderNamedClvra:
            m_root.makeFolder("Calvora/clvra");
            break;
    }
    // Qt options on the command line would show the dialog on the offscreen platform and
    // keep the program waiting: the launcher reads no command line at all.
    const ProgramRun run = runProgram(WEBLAUNCH_PROGRAM, {"-platform", "offscreen", "--help"},
                                      m_root.path() / GetParam().currentFolder, environment(), 60s);
    ASSERT_TRUE(run.endedInTime);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    if (GetParam().opensHomePage) {
        EXPECT_EQ(opened(), "http://www.calvora.example/home-e.html");
        EXPECT_EQ(run.err, "");
    } else {
        EXPECT_NE(run.err.find(kWarningLine), std::string::npos) << run.err;
        std::this_thread::sleep_for(100ms);
        EXPECT_FALSE(fs::exists(m_record));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Installation, WeblaunchProgramTest,
    ::testing::Values(ProgramCase{"Installed", Layout::Installed, "Web/Launcher", true},
                      ProgramCase{"NotInstalled", Layout::NotInstalled, "Web/Launcher", false},
                      ProgramCase{"FolderInsteadOfFile", Layout::FolderNamedClvra, "Web/Launcher",
                                  false},
                      ProgramCase{"StartedFromAnotherFolder", Layout::Installed, ".", false}),
    [](const auto& info) { return std::string{info.param.name}; });

// With a display the warning stays up until it is answered; the offscreen platform has no
// user to answer it, so the program must still be waiting when the test gives up on it.
TEST_F(WeblaunchProgramTest, WithADisplayTheWarningWaitsForItsAnswer) {
    auto env = environment();
    env["QT_QPA_PLATFORM"] = "offscreen";
    const ProgramRun run =
        runProgram(WEBLAUNCH_PROGRAM, {}, m_root.path() / "Web/Launcher", env, 1500ms);
    EXPECT_FALSE(run.endedInTime) << run.err;
    EXPECT_FALSE(fs::exists(m_record));
}

// The version resource of the Linux program: an ELF note owned by "Calvora".
TEST(WeblaunchVersion, TheProgramCarriesItsDescriptionAndVersion) {
    const std::string program = readFile(WEBLAUNCH_PROGRAM);
    // Name size 8, description size 62, type 1, owner "Calvora", then the strings.
    const std::string note = std::string{"\x08\0\0\0\x3e\0\0\0\x01\0\0\0Calvora\0", 20} +
                             "FileDescription=Visit the Website Calvora" + std::string(1, '\0') +
                             "FileVersion=1.0.0.0" + std::string(1, '\0');
    EXPECT_NE(program.find(note), std::string::npos);
}

TEST(WeblaunchVersion, TheWindowsResourceSaysTheSame) {
    const std::string rc = readFile(WEBLAUNCH_RESOURCE);
    ASSERT_FALSE(rc.empty()) << WEBLAUNCH_RESOURCE;
    EXPECT_NE(rc.find("FILEVERSION 1,0,0,0"), std::string::npos);
    EXPECT_NE(rc.find("VALUE \"FileDescription\", \"Visit the Website Calvora\\0\""),
              std::string::npos);
    EXPECT_NE(rc.find("VALUE \"FileVersion\", \"1.0.0.0\\0\""), std::string::npos);
    EXPECT_EQ(kFileDescription, "Visit the Website Calvora");
    EXPECT_EQ(kFileVersion, "1.0.0.0");
}

}  // namespace
}  // namespace calvora::launcher::testing
