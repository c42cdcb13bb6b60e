// The real shell "open": xdg-open from PATH, here a script that records what it was given.
#include <unistd.h>

#include <gtest/gtest.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "launcher/linux/xdg_open_shell.h"
#include "temp_folder.h"

namespace calvora::launcher::testing {
namespace {

namespace fs = std::filesystem;

// Sets PATH for the length of a test.
class PathOverride {
public:
    explicit PathOverride(const std::string& path) {
        if (const char* old = std::getenv("PATH")) {
            m_old = old;
        }
        setenv("PATH", path.c_str(), 1);
    }
    ~PathOverride() {
        if (m_old) {
            setenv("PATH", m_old->c_str(), 1);
        } else {
            unsetenv("PATH");
        }
    }

private:
    std::optional<std::string> m_old;
};

// xdg-open runs detached, so its record appears some time after open() returned.
std::string waitForFile(const fs::path& path) {
    for (int i = 0; i < 500 && !fs::exists(path); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // The script writes with one redirection; give it the moment to finish.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return readFile(path);
}

TEST(XdgOpenShell, HandsTheAddressToXdgOpenAsOneArgument) {
    TempFolder root;
    const fs::path record = root.path() / "opened.txt";
    const fs::path script = root.makeFile(
        "bin/xdg-open", "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" + record.string() + ".tmp'\n" +
                            "mv '" + record.string() + ".tmp' '" + record.string() + "'\n");
    fs::permissions(script, fs::perms::owner_all);
    PathOverride path{(root.path() / "bin").string() + ":/usr/bin:/bin"};

    linux_os::XdgOpenShell shell;
    // Blanks and shell characters stay inside the one argument.
    shell.open("http://www.calvora.example/home-e.html?a=1&b=$(x) y");
    EXPECT_EQ(waitForFile(record), "1|http://www.calvora.example/home-e.html?a=1&b=$(x) y|");
}

TEST(XdgOpenShell, WithoutXdgOpenNothingHappensAndNothingIsReported) {
    TempFolder root;
    PathOverride path{root.makeFolder("empty").string()};
    linux_os::XdgOpenShell shell;
    shell.open("http://www.calvora.example/home-e.html");
    SUCCEED();
}

}  // namespace
}  // namespace calvora::launcher::testing
