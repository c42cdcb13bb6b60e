// Tdorvfilecopy: what it hands to the shell, the folders it creates first, and its result.
#include <gtest/gtest.h>

#include <unistd.h>
#include "controls/dorvfilecopy.h"

#include <filesystem>
#include <fstream>

#include "platform/fake/fake_file_operations.h"
#include "platform/linux/linux_file_operations.h"

namespace calvora::controls {
namespace {

using E = TFileFlagElement;

TEST(FileFlag, ElementNIsTheShellFlagTwoToThePowerN) {
    struct Case {
        TFileFlagElement element;
        std::uint16_t value;
    };
    const Case cases[] = {
        {E::fofMultidestFiles, platform::kFofMultiDestFiles},
        {E::fofConfirmMouse, platform::kFofConfirmMouse},
        {E::fofSilent, platform::kFofSilent},
        {E::fofRenameOncollision, platform::kFofRenameOnCollision},
        {E::fofNoConfirmation, platform::kFofNoConfirmation},
        {E::fofWantMappingHandle, platform::kFofWantMappingHandle},
        {E::fofAllowUndo, platform::kFofAllowUndo},
        {E::fofFilesOnly, platform::kFofFilesOnly},
        {E::fofSimpleProgress, platform::kFofSimpleProgress},
        {E::fofNoConfirmMkdir, platform::kFofNoConfirmMkdir},
        {E::fofNoErrorUi, platform::kFofNoErrorUi},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TFileFlag{c.element}.shellFlags(), c.value);
    }
    // The main window's two instances.
    EXPECT_EQ((TFileFlag{E::fofSilent, E::fofNoConfirmation, E::fofNoConfirmMkdir, E::fofNoErrorUi})
                  .shellFlags(),
              0x0614);
    EXPECT_EQ((TFileFlag{E::fofSilent, E::fofNoConfirmation}).shellFlags(), 0x0014);
    EXPECT_EQ(
        TFileFlag::fromShellFlags(0x0614),
        (TFileFlag{E::fofSilent, E::fofNoConfirmation, E::fofNoConfirmMkdir, E::fofNoErrorUi}));
    EXPECT_EQ(TFileFlag().shellFlags(), 0);
}

TEST(FolderPart, EndsAtTheLastSeparatorOrDriveColon) {
    EXPECT_EQ(folderPartOf("/media/stick/$LOG$.DIR/clvra.log"), "/media/stick/$LOG$.DIR/");
    EXPECT_EQ(folderPartOf("E:\\$CLVRA$.DIR\\day.log"), "E:\\$CLVRA$.DIR\\");
    EXPECT_EQ(folderPartOf("E:day.log"), "E:");
    EXPECT_EQ(folderPartOf("day.log"), "");
    EXPECT_EQ(folderPartOf("/media/stick/"), "/media/stick/");
    EXPECT_EQ(folderPartOf(""), "");
}

class FileCopy : public ::testing::Test {
protected:
    platform::fake::FakeFileOperations shell;
    Tdorvfilecopy filecopy{shell, 0x1234};
};

TEST_F(FileCopy, HandsTheConfiguredOperationToTheShell) {
    filecopy.FileFunction = TFileFunction::ffCopy;
    filecopy.FromFile = "/home/u/log/12.11.2026.log";
    filecopy.ToFile = "/media/stick/$CLVRA$.DIR/";
    filecopy.Flag = {E::fofSilent, E::fofNoConfirmation, E::fofNoConfirmMkdir, E::fofNoErrorUi};
    filecopy.OperationsAborted = true;
    filecopy.ProgressTitle = "Copying";
    shell.folders.insert("/media/stick/$CLVRA$.DIR/");
    shell.abortedAnswer = false;

    EXPECT_TRUE(filecopy.Execute());
    ASSERT_EQ(shell.requests.size(), 1u);
    const platform::FileOperationRequest& request = shell.requests[0];
    EXPECT_EQ(request.ownerWindow, 0x1234u);
    EXPECT_EQ(request.function, platform::kFoCopy);
    EXPECT_EQ(request.from, "/home/u/log/12.11.2026.log");
    EXPECT_EQ(request.to, "/media/stick/$CLVRA$.DIR/");
    EXPECT_EQ(request.flags, 0x0614);
    EXPECT_TRUE(request.anyOperationsAborted);
    EXPECT_EQ(request.progressTitle, "Copying");
    EXPECT_TRUE(shell.createdFolders.empty());
    // The shell's answer in the aborted field is not read back.
    EXPECT_TRUE(filecopy.OperationsAborted);
}

TEST_F(FileCopy, OperationCodeIsTheOrdinalPlusOne) {
    EXPECT_EQ(filecopy.FileFunction, TFileFunction::ffMove);
    for (TFileFunction function : {TFileFunction::ffMove, TFileFunction::ffCopy,
                                   TFileFunction::ffDelete, TFileFunction::ffRename}) {
        filecopy.FileFunction = function;
        filecopy.FromFile = "a.log";
        filecopy.Execute();
    }
    ASSERT_EQ(shell.requests.size(), 4u);
    for (std::uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(shell.requests[i].function, i + 1);
        EXPECT_FALSE(shell.requests[i].anyOperationsAborted);
        EXPECT_EQ(shell.requests[i].flags, 0);
    }
}

TEST_F(FileCopy, MissingDestinationFoldersAreCreatedBeforeTheShellIsCalled) {
    filecopy.FileFunction = TFileFunction::ffCopy;
    filecopy.FromFile = "clvra.log";
    filecopy.ToFile = "/media/stick/$LOG$.DIR/new/clvra.log";
    EXPECT_TRUE(filecopy.Execute());
    EXPECT_EQ(shell.calls,
              (std::vector<std::string>{"exists /media/stick/$LOG$.DIR/new/",
                                        "create /media/stick/$LOG$.DIR/new/", "shell 2"}));
}

TEST_F(FileCopy, AFolderThatCannotBeCreatedIsLeftToTheShellToFail) {
    shell.canCreateFolders = false;
    shell.result = platform::kFileOpFileNotFound;
    filecopy.FromFile = "clvra.log";
    filecopy.ToFile = "/readonly/x/clvra.log";
    EXPECT_FALSE(filecopy.Execute());
    EXPECT_EQ(shell.requests.size(), 1u);
}

TEST_F(FileCopy, ResultIsTrueOnlyWhenTheShellAnswersZero) {
    filecopy.FromFile = "a";
    for (int answer : {0, 1, platform::kFileOpAlreadyExists, -1}) {
        shell.result = answer;
        EXPECT_EQ(filecopy.Execute(), answer == 0) << answer;
    }
}

TEST_F(FileCopy, NamesLongerThanTheShellsBuffersAreRefusedNotCutShort) {
    const std::string fits(Tdorvfilecopy::kMaxPathLength, 'n');
    const std::string tooLong(Tdorvfilecopy::kMaxPathLength + 1, 'n');
    filecopy.FromFile = fits;
    filecopy.ToFile = fits;
    filecopy.ProgressTitle = std::string(300, 't');
    EXPECT_TRUE(filecopy.Execute());
    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].progressTitle.size(), Tdorvfilecopy::kMaxTitleLength);

    for (auto [from, to] : {std::pair{tooLong, fits}, std::pair{fits, tooLong},
                            std::pair{std::string("a\0b", 3), fits}}) {
        filecopy.FromFile = from;
        filecopy.ToFile = to;
        EXPECT_FALSE(filecopy.Execute());
    }
    EXPECT_EQ(shell.requests.size(), 1u);
    EXPECT_TRUE(shell.createdFolders.empty());
}

// The component over the real shell: the main window's copy of the logs onto a stick.
class LinuxFileCopy : public ::testing::Test {
protected:
    LinuxFileCopy() {
        root = std::filesystem::temp_directory_path() /
               ("calvora-filecopy-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root / "stick");
        std::ofstream(root / "clvra.log") << "log";
    }
    ~LinuxFileCopy() override { std::filesystem::remove_all(root); }

    platform::linux_os::LinuxFileOperations shell;
    Tdorvfilecopy filecopy{shell};
    std::filesystem::path root;
};

TEST_F(LinuxFileCopy, CopiesIntoNewFoldersOnTheStick) {
    filecopy.FileFunction = TFileFunction::ffCopy;
    filecopy.Flag = {E::fofSilent, E::fofNoConfirmation};
    filecopy.FromFile = (root / "clvra.log").string();
    filecopy.ToFile = (root / "stick" / "$LOG$.DIR" / "clvra.log").string();
    EXPECT_TRUE(filecopy.Execute());
    EXPECT_TRUE(std::filesystem::exists(root / "stick" / "$LOG$.DIR" / "clvra.log"));
    // Again: the old copy is replaced without a question.
    EXPECT_TRUE(filecopy.Execute());
    EXPECT_TRUE(std::filesystem::exists(root / "clvra.log"));
}

TEST_F(LinuxFileCopy, TheDefaultFunctionMoves) {
    filecopy.FromFile = (root / "clvra.log").string();
    filecopy.ToFile = (root / "stick").string();
    EXPECT_TRUE(filecopy.Execute());
    EXPECT_TRUE(std::filesystem::exists(root / "stick" / "clvra.log"));
    EXPECT_FALSE(std::filesystem::exists(root / "clvra.log"));
    EXPECT_FALSE(filecopy.Execute());  // nothing left to move
}

}  // namespace
}  // namespace calvora::controls
