// The shell's file operation on Linux: one item copied, moved, deleted or renamed in a
// temporary folder, with the collision rules and the refusals.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/linux_file_operations.h"

namespace calvora::platform::linux_os {
namespace {

namespace fs = std::filesystem;

class FileOperationsTest : public ::testing::Test {
protected:
    FileOperationsTest() {
        root = fs::temp_directory_path() / ("calvora-fileop-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "stick");
        write("log/day.log", "report");
    }
    ~FileOperationsTest() override { fs::remove_all(root); }

    std::string at(const std::string& relative) const { return (root / relative).string(); }
    void write(const std::string& relative, const std::string& bytes) {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative, std::ios::binary) << bytes;
    }
    std::string read(const std::string& relative) const {
        std::ifstream in(root / relative, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    bool exists(const std::string& relative) const { return fs::exists(root / relative); }
    std::size_t entriesIn(const std::string& relative) const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(root / relative), fs::directory_iterator()));
    }

    int run(std::uint32_t function, const std::string& from, const std::string& to,
            std::uint16_t flags = 0) {
        FileOperationRequest request;
        request.function = function;
        request.from = from.empty() ? "" : at(from);
        request.to = to.empty() ? "" : at(to);
        request.flags = flags;
        request.anyOperationsAborted = true;
        int result = shell.shFileOperation(request);
        EXPECT_FALSE(request.anyOperationsAborted);
        return result;
    }

    LinuxFileOperations shell;
    fs::path root;
};

TEST_F(FileOperationsTest, CopyIntoAnExistingFolderKeepsTheName) {
    EXPECT_EQ(run(kFoCopy, "log/day.log", "stick"), 0);
    EXPECT_EQ(read("stick/day.log"), "report");
    EXPECT_EQ(read("log/day.log"), "report");
    EXPECT_EQ(entriesIn("stick"), 1u);  // no temporary file left behind
    EXPECT_EQ(fs::last_write_time(root / "stick/day.log"),
              fs::last_write_time(root / "log/day.log"));
}

TEST_F(FileOperationsTest, CopyToANewNameCreatesTheMissingFolders) {
    EXPECT_EQ(run(kFoCopy, "log/day.log", "stick/$LOG$.DIR/a/b/renamed.log"), 0);
    EXPECT_EQ(read("stick/$LOG$.DIR/a/b/renamed.log"), "report");
}

TEST_F(FileOperationsTest, MoveTakesTheItemAway) {
    EXPECT_EQ(run(kFoMove, "log/day.log", "stick"), 0);
    EXPECT_EQ(read("stick/day.log"), "report");
    EXPECT_FALSE(exists("log/day.log"));
}

TEST_F(FileOperationsTest, CollisionsFollowTheFlags) {
    struct Case {
        const char* name;
        std::uint16_t flags;
        int result;
        std::string kept;  // what stick/day.log holds after
        bool renamedCopy;  // stick/day (2).log holds the copy
    };
    const Case cases[] = {
        {"nobody to ask: nothing replaced", 0, kFileOpAlreadyExists, "old", false},
        {"silent still asks", kFofSilent | kFofNoErrorUi, kFileOpAlreadyExists, "old", false},
        {"yes to all", kFofNoConfirmation, 0, "report", false},
        {"rename on collision", kFofRenameOnCollision, 0, "old", true},
        {"rename wins over replace", kFofRenameOnCollision | kFofNoConfirmation, 0, "old", true},
    };
    for (const Case& c : cases) {
        for (std::uint32_t function : {kFoCopy, kFoMove}) {
            fs::remove_all(root / "stick");
            write("stick/day.log", "old");
            write("log/day.log", "report");
            EXPECT_EQ(run(function, "log/day.log", "stick", c.flags), c.result) << c.name;
            EXPECT_EQ(read("stick/day.log"), c.kept) << c.name;
            EXPECT_EQ(exists("stick/day (2).log"), c.renamedCopy) << c.name;
            if (c.renamedCopy) {
                EXPECT_EQ(read("stick/day (2).log"), "report") << c.name;
            }
            EXPECT_EQ(exists("log/day.log"), function == kFoCopy || c.result != 0) << c.name;
        }
    }
}

TEST_F(FileOperationsTest, AFileIsNeverCopiedOntoItself) {
    EXPECT_EQ(run(kFoCopy, "log/day.log", "log/day.log", kFofNoConfirmation), kFileOpSameFile);
    EXPECT_EQ(read("log/day.log"), "report");
    EXPECT_EQ(run(kFoCopy, "log/day.log", "log", kFofRenameOnCollision), 0);
    EXPECT_EQ(read("log/day (2).log"), "report");
}

TEST_F(FileOperationsTest, FoldersAreCopiedWholeButNeverIntoThemselves) {
    write("log/old/a.log", "a");
    EXPECT_EQ(run(kFoCopy, "log", "stick"), 0);
    EXPECT_EQ(read("stick/log/day.log"), "report");
    EXPECT_EQ(read("stick/log/old/a.log"), "a");
    EXPECT_EQ(run(kFoCopy, "log", "log/old", kFofNoConfirmation), kFileOpDestSubtree);
    EXPECT_FALSE(exists("log/old/log"));
}

TEST_F(FileOperationsTest, DeleteRemovesForGoodButNotWhenUndoIsWanted) {
    write("log/old/a.log", "a");
    EXPECT_EQ(run(kFoDelete, "log/old", "", kFofAllowUndo), kFileOpNotSupported);
    EXPECT_TRUE(exists("log/old/a.log"));
    EXPECT_EQ(run(kFoDelete, "log/old", ""), 0);
    EXPECT_FALSE(exists("log/old"));
    EXPECT_EQ(run(kFoDelete, "log/day.log", ""), 0);
    EXPECT_FALSE(exists("log/day.log"));
}

TEST_F(FileOperationsTest, RenameStaysInTheFolderAndReplacesNothing) {
    write("log/other.log", "other");
    FileOperationRequest request;
    request.function = kFoRename;
    request.from = at("log/day.log");
    request.to = "other.log";
    EXPECT_EQ(shell.shFileOperation(request), kFileOpAlreadyExists);
    EXPECT_EQ(read("log/other.log"), "other");
    request.flags = kFofRenameOnCollision;
    EXPECT_EQ(shell.shFileOperation(request), 0);
    EXPECT_EQ(read("log/other (2).log"), "report");
    request.from = at("log/other.log");
    request.to = "renamed.log";
    EXPECT_EQ(shell.shFileOperation(request), 0);
    EXPECT_EQ(read("log/renamed.log"), "other");
}

TEST_F(FileOperationsTest, BadRequestsFailAndTouchNothing) {
    EXPECT_EQ(run(kFoCopy, "log/missing.log", "stick"), kFileOpFileNotFound);
    EXPECT_EQ(run(kFoMove, "log/missing.log", "stick"), kFileOpFileNotFound);
    EXPECT_EQ(run(kFoDelete, "log/missing.log", ""), kFileOpFileNotFound);
    EXPECT_EQ(run(kFoCopy, "log/day.log", ""), kFileOpInvalidParameter);
    EXPECT_EQ(run(kFoCopy, "", "stick"), kFileOpInvalidParameter);
    EXPECT_EQ(run(7, "log/day.log", "stick"), kFileOpInvalidParameter);
    FileOperationRequest root;
    root.function = kFoDelete;
    root.from = "/";
    EXPECT_EQ(shell.shFileOperation(root), kFileOpAccessDenied);
    EXPECT_EQ(entriesIn("stick"), 0u);
    EXPECT_EQ(read("log/day.log"), "report");
}

TEST_F(FileOperationsTest, ACopyThatFailsLeavesNoPartOfAFile) {
    ASSERT_EQ(::mkfifo(at("log/pipe").c_str(), 0600), 0);
    EXPECT_EQ(run(kFoCopy, "log/pipe", "stick"), kFileOpNotSupported);
    EXPECT_EQ(entriesIn("stick"), 0u);
}

TEST_F(FileOperationsTest, FolderHelpers) {
    EXPECT_TRUE(shell.directoryExists(at("stick")));
    EXPECT_FALSE(shell.directoryExists(at("log/day.log")));
    EXPECT_FALSE(shell.directoryExists(""));
    EXPECT_TRUE(shell.forceDirectories(at("stick/a/b/c/")));
    EXPECT_TRUE(shell.directoryExists(at("stick/a/b/c")));
    EXPECT_FALSE(shell.forceDirectories(at("log/day.log/x")));
    EXPECT_FALSE(shell.forceDirectories(""));
}

}  // namespace
}  // namespace calvora::platform::linux_os
