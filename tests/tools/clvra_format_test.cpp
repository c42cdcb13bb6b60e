// clvra-format as a user runs it: exit codes, stdout carrying exactly the disk report, and
// what it refuses, on image files and loop devices the test makes itself.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ProgramRun {
    int exitCode = -1;
    std::vector<std::string> stdoutLines;
    std::string stdoutText;
    std::string stderrText;
};

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string shell(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    char buffer[4096];
    std::size_t n = 0;
    while (pipe != nullptr && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, n);
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return output;
}

bool haveTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1 || test -x /usr/sbin/" + name +
                        " || test -x /sbin/" + name)
                           .c_str()) == 0;
}

class ClvraFormatTest : public ::testing::Test {
protected:
    ClvraFormatTest() {
        std::string base =
            (std::filesystem::temp_directory_path() / "clvra-format-XXXXXX").string();
        std::vector<char> name(base.begin(), base.end());
        name.push_back('\0');
        folder = mkdtemp(name.data());
    }
    ~ClvraFormatTest() override {
        for (const std::string& loop : loops) {
            shell("losetup -d " + loop);
        }
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    void SetUp() override {
        if (!haveTool("mkfs.fat") || !haveTool("blkid")) {
            GTEST_SKIP() << "dosfstools or blkid is not installed";
        }
    }

    // Runs the program in the test's folder, without a terminal.
    ProgramRun run(const std::string& arguments) {
        const std::string out = folder + "/stdout";
        const std::string err = folder + "/stderr";
        const std::string command = "cd " + folder + " && " + CLVRA_FORMAT_PROGRAM + " " +
                                    arguments + " >" + out + " 2>" + err + " </dev/null";
        int status = std::system(command.c_str());
        ProgramRun result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.stdoutText = readFile(out);
        result.stderrText = readFile(err);
        std::istringstream lines(result.stdoutText);
        std::string line;
        while (std::getline(lines, line)) {
            result.stdoutLines.push_back(line);
        }
        return result;
    }

    std::string blkid(const std::string& path, const std::string& tag) {
        std::string value = shell("blkid -p -s " + tag + " -o value " + path);
        return value.substr(0, value.find('\n'));
    }

    std::string folder;
    std::vector<std::string> loops;
};

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool hasLine(const ProgramRun& run, const std::string& line) {
    for (const std::string& candidate : run.stdoutLines) {
        if (candidate == line) {
            return true;
        }
    }
    return false;
}

const std::string kRule = "===========================================";

TEST_F(ClvraFormatTest, TheMainJobFormatsANewImageAndPrintsTheReport) {
    ProgramRun first = run("--create 64M --label DEMO --yes demo.img");
    ASSERT_EQ(first.exitCode, 0) << first.stdoutText << first.stderrText;
    ASSERT_GE(first.stdoutLines.size(), 20u) << first.stdoutText;
    // A new image holds no file system yet: the blank-drive report.
    EXPECT_EQ(first.stdoutLines[0], kRule);
    EXPECT_EQ(first.stdoutLines[1], "               USB DISK REPORT            ");
    EXPECT_EQ(first.stdoutLines[6], "<<  Appears to be Unformatted or No Drive   >>");
    EXPECT_TRUE(first.stdoutLines[7].starts_with("Drive : ")) << first.stdoutLines[7];
    EXPECT_TRUE(endsWith(first.stdoutLines[7], ":\\"));
    EXPECT_TRUE(hasLine(first, "Volume Label  : DEMO"));
    EXPECT_TRUE(hasLine(first, "File System  : FAT32"));
    EXPECT_EQ(first.stdoutLines.back(), kRule);
    bool finished = false;
    for (const std::string& line : first.stdoutLines) {
        finished = finished || endsWith(line, ": Finished : OK  ");
        // Progress never reaches stdout.
        EXPECT_FALSE(endsWith(line, "%")) << line;
    }
    EXPECT_TRUE(finished) << first.stdoutText;
    EXPECT_NE(first.stderrText.find("100%"), std::string::npos) << first.stderrText;
    EXPECT_EQ(blkid(folder + "/demo.img", "LABEL"), "DEMO");
    EXPECT_EQ(blkid(folder + "/demo.img", "VERSION"), "FAT32");

    // Formatted now: the report of a drive with a file system, and a quick format.
    ProgramRun second = run("--fs fat32 --quick --label again --yes demo.img");
    ASSERT_EQ(second.exitCode, 0) << second.stdoutText << second.stderrText;
    EXPECT_EQ(second.stdoutLines[1], "          USB DISK REPORT            ");
    EXPECT_EQ(second.stdoutLines[6], "<<   Drive   >>");
    EXPECT_EQ(second.stdoutLines[7], "Volume Label  : DEMO");
    EXPECT_EQ(second.stdoutLines[8], "File System  : FAT32");
    EXPECT_TRUE(hasLine(second, "Volume Label  : AGAIN"));
    EXPECT_EQ(blkid(folder + "/demo.img", "LABEL"), "AGAIN");
}

TEST_F(ClvraFormatTest, EveryFileSystemByName) {
    for (const char* fs : {"FAT", "EXFAT", "NTFS"}) {
        if (!haveTool(fs == std::string("EXFAT")  ? "mkfs.exfat"
                      : fs == std::string("NTFS") ? "mkntfs"
                                                  : "mkfs.fat")) {
            continue;
        }
        ProgramRun result =
            run(std::string("--fs ") + fs + " --create 32M --label ONE --yes one.img");
        EXPECT_EQ(result.exitCode, 0) << fs << result.stdoutText << result.stderrText;
        EXPECT_EQ(blkid(folder + "/one.img", "LABEL"), "ONE") << fs;
    }
}

TEST_F(ClvraFormatTest, BadUsageIs64AndPrintsNoReport) {
    for (const char* arguments : {"", "--fs HPFS demo.img", "--cluster 3000 demo.img",
                                  "--create 64Q demo.img", "--list E", "--bogus demo.img"}) {
        ProgramRun result = run(arguments);
        EXPECT_EQ(result.exitCode, 64) << arguments;
        EXPECT_TRUE(result.stdoutText.empty()) << arguments;
        EXPECT_NE(result.stderrText.find("usage:"), std::string::npos) << arguments;
    }
}

TEST_F(ClvraFormatTest, WithoutATerminalItAsksNothingAndFormatsNothing) {
    ASSERT_EQ(run("--create 64M --label KEEP --yes keep.img").exitCode, 0);
    const std::string before = readFile(folder + "/keep.img");
    ProgramRun result = run("--label OTHER keep.img");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.stdoutText.empty());
    EXPECT_NE(result.stderrText.find("--yes"), std::string::npos) << result.stderrText;
    EXPECT_EQ(readFile(folder + "/keep.img"), before);
}

TEST_F(ClvraFormatTest, ALabelTheFileSystemCannotHoldFailsWithItsReason) {
    ASSERT_EQ(run("--create 64M --label KEEP --yes keep.img").exitCode, 0);
    const std::string before = readFile(folder + "/keep.img");
    ProgramRun result = run("--label ABCDEFGHIJKL --yes keep.img");
    EXPECT_EQ(result.exitCode, 1) << result.stdoutText;
    ASSERT_FALSE(result.stdoutLines.empty());
    EXPECT_TRUE(endsWith(result.stdoutLines.back(), ": Unable to Finish !    "))
        << result.stdoutText;
    EXPECT_NE(result.stdoutText.find("at most 11"), std::string::npos) << result.stdoutText;
    EXPECT_EQ(readFile(folder + "/keep.img"), before);
}

TEST_F(ClvraFormatTest, ListPrintsOneLinePerDrive) {
    ProgramRun result = run("--list");
    EXPECT_EQ(result.exitCode, 0) << result.stderrText;
    for (const std::string& line : result.stdoutLines) {
        ASSERT_GE(line.size(), 3u);
        EXPECT_TRUE(line[0] >= 'A' && line[0] <= 'Z' && line[1] == ':') << line;
    }
}

// A formatted stick that another program holds open: the engine's drive check raises.
TEST_F(ClvraFormatTest, ADriveInUseIsExitCode2) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "loop devices need root";
    }
    const std::string image = folder + "/held.img";
    shell("truncate -s 64M " + image + " && mkfs.fat -F 32 -s 1 -n HELD " + image);
    std::string loop = shell("losetup --find --show " + image);
    loop = loop.substr(0, loop.find('\n'));
    ASSERT_TRUE(loop.starts_with("/dev/loop")) << loop;
    loops.push_back(loop);
    int held = ::open(loop.c_str(), O_RDONLY | O_EXCL);
    ASSERT_GE(held, 0);
    const std::string before = readFile(image);
    ProgramRun result = run("--yes " + loop);
    ::close(held);
    EXPECT_EQ(result.exitCode, 2) << result.stdoutText << result.stderrText;
    EXPECT_NE(result.stderrText.find("Drive In Use"), std::string::npos) << result.stderrText;
    EXPECT_EQ(readFile(image), before);
}

}  // namespace
