// FormatDisk end to end on the fakes: the report, the arguments the library gets, the refusals.
#include "engine/report_texts.h"
#include "engine_fixture.h"

namespace calvora::engine::testing {
namespace {

using platform::fake::CallbackStep;

constexpr std::int64_t kMiB = 1024 * 1024;

class FormatDiskTest : public EngineFixture {
protected:
    FormatDiskTest() {
        volumes.add('E', u"OLDNAME", u"FAT32", 64 * kMiB, 60 * kMiB);
        library.script = {CallbackStep::progress(50), CallbackStep::output("Writing FAT\r\n"),
                          CallbackStep::progress(100), CallbackStep::code(1),
                          CallbackStep::finished(true)};
        // The library relabels the drive, as a real format does.
        library.onFormatted = [this](const platform::FormatExArguments& arguments) {
            volumes.add('E', arguments.label, arguments.fileSystemName, 64 * kMiB, 63 * kMiB);
        };
    }
};

TEST_F(FormatDiskTest, SuccessfulFormatWritesTheWholeReport) {
    EXPECT_TRUE(engine.FormatDisk("E:\\", 0, 2, "data", true, 0));
    const std::vector<std::string> expected = {
        "===========================================",
        "          USB DISK REPORT            ",
        "===========================================",
        "Date: 2026.12.11.",
        "Time: 14:03:22",
        "",
        "<<   Drive   >>",
        "Volume Label  : OLDNAME",
        "File System  : FAT32",
        "Volume Space  :  E:\\62914560",
        "",
        "14:03:22: Starting to Format Drive ...    ",
        "Writing FAT",
        "14:03:22: Created : OK   ",
        "14:03:22: Finished : OK  ",
        "",
        "<<   Drive   >>",
        "Volume Label  : DATA",
        "File System  : FAT32",
        "Volume Space  :  E:\\66060288",
        "",
        "===========================================",
        "",
        "===========================================",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(progress, (std::vector<std::int32_t>{50, 100}));
    EXPECT_EQ(ActiveFormatter, &engine);
}

TEST_F(FormatDiskTest, BlankDriveWritesTheUnformattedReport) {
    volumes.drives.erase('E');  // size -1: cannot be queried
    engine.FormatDisk("E:\\", 0, 2, "data", true, 0);
    const std::vector<std::string> head = {
        "===========================================",
        "               USB DISK REPORT            ",
        "===========================================",
        "Date: 2026.12.11.",
        "Time: 14:03:22",
        "",
        "<<  Appears to be Unformatted or No Drive   >>",
        "Drive : E:\\",
        "Volume Label  : none ",
        "",
        "14:03:22: Starting to Format Drive ...    ",
    };
    ASSERT_GE(lines.size(), head.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + head.size()), head);
    // Handed to the library anyway, as a full format.
    ASSERT_EQ(library.formatExCalls.size(), 1u);
    EXPECT_EQ(library.formatExCalls[0].quickFormat, 0u);
}

TEST_F(FormatDiskTest, FailedFormatEndsWithoutClosingBlock) {
    library.script = {CallbackStep::progress(10), CallbackStep::output("mkfs.fat: no space"),
                      CallbackStep::finished(false)};
    EXPECT_FALSE(engine.FormatDisk("E:\\", 0, 2, "DATA", false, 0));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "14:03:22: Unable to Finish !    ");
    EXPECT_FALSE(engine.FormatDone);
}

TEST_F(FormatDiskTest, PassesArgumentsInTheLibrarysForm) {
    engine.FormatDisk("e:\\", 1, 0, "data\xE9x", false, 4096);
    ASSERT_EQ(library.formatExCalls.size(), 1u);
    const platform::FormatExArguments& arguments = library.formatExCalls[0];
    EXPECT_EQ(arguments.root, u"E:\\");
    EXPECT_EQ(arguments.mediaFlag, 8u);
    EXPECT_EQ(arguments.fileSystemName, u"NTFS");
    // Only a to z are upper-cased.
    EXPECT_EQ(arguments.label, u"DATA\u00E9X");
    EXPECT_EQ(arguments.clusterSize, 4096u);
    EXPECT_EQ(library.loadCalls, (std::vector<std::string>{"fmifs.dll"}));
}

TEST_F(FormatDiskTest, ClusterSizeFilter) {
    const std::pair<std::int32_t, std::uint32_t> cases[] = {
        {0, 0},       {512, 512},     {1024, 1024},   {2048, 2048},   {4096, 4096},
        {8192, 8192}, {16384, 16384}, {32768, 32768}, {65536, 65536}, {3000, 0},
        {131072, 0},  {-4096, 0},     {256, 0}};
    for (const auto& [given, passed] : cases) {
        library.formatExCalls.clear();
        engine.FormatDisk("E:\\", 0, 2, "X", false, given);
        ASSERT_EQ(library.formatExCalls.size(), 1u);
        EXPECT_EQ(library.formatExCalls[0].clusterSize, passed) << given;
    }
}

struct QuickCase {
    const char* name;
    std::u16string driveFileSystem;
    std::int64_t driveSize;
    std::uint8_t requested;
    bool quickRequested;
    std::uint32_t expectedQuick;
};

void PrintTo(const QuickCase& c, std::ostream* os) {
    *os << c.name;
}

class QuickFormatRuleTest : public FormatDiskTest,
                            public ::testing::WithParamInterface<QuickCase> {};

TEST_P(QuickFormatRuleTest, QuickOnlyOnTheSameFileSystem) {
    const QuickCase& c = GetParam();
    volumes.add('E', u"OLD", c.driveFileSystem, c.driveSize, c.driveSize);
    engine.FormatDisk("E:\\", 0, c.requested, "NEW", c.quickRequested, 0);
    ASSERT_EQ(library.formatExCalls.size(), 1u);
    EXPECT_EQ(library.formatExCalls[0].quickFormat, c.expectedQuick);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuickFormatRuleTest,
    ::testing::Values(QuickCase{"same_fs", u"FAT32", 64 * kMiB, 2, true, 0xFFFFFFFFu},
                      QuickCase{"same_fs_not_asked", u"FAT32", 64 * kMiB, 2, false, 0},
                      QuickCase{"other_fs", u"FAT32", 64 * kMiB, 0, true, 0},
                      QuickCase{"exfat_case_differs", u"exFAT", 64 * kMiB, 3, true, 0},
                      QuickCase{"fat_vs_fat32", u"FAT", 64 * kMiB, 2, true, 0},
                      QuickCase{"ntfs", u"NTFS", 64 * kMiB, 0, true, 0xFFFFFFFFu},
                      QuickCase{"blank_100_bytes", u"FAT32", 100, 2, true, 0},
                      QuickCase{"formatted_101_bytes", u"FAT32", 101, 2, true, 0xFFFFFFFFu}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormatDiskTest, HundredByteDriveGetsBlankReportAndHundredOneTheNormal) {
    volumes.add('E', u"OLD", u"FAT32", 100, 0);
    engine.FormatDisk("E:\\", 0, 2, "NEW", true, 0);
    ASSERT_GT(lines.size(), 1u);
    EXPECT_EQ(lines[1], report::kHeadingBlank);
    lines.clear();
    volumes.add('E', u"OLD", u"FAT32", 101, 0);
    engine.FormatDisk("E:\\", 0, 2, "NEW", true, 0);
    ASSERT_GT(lines.size(), 1u);
    EXPECT_EQ(lines[1], report::kHeadingFormatted);
}

TEST_F(FormatDiskTest, RefusedArgumentsWriteOneLineAndNeverCallTheLibrary) {
    const struct {
        std::uint8_t mediaType;
        std::uint8_t fileSystem;
        std::string line;
    } cases[] = {
        {2, 2, "Unknown Media Type  : 2"},
        {255, 2, "Unknown Media Type  : 255"},
        {0, 4, "Unknown File System  : 4"},
        {0, 255, "Unknown File System  : 255"},
    };
    for (const auto& c : cases) {
        lines.clear();
        EXPECT_FALSE(engine.FormatDisk("E:\\", c.mediaType, c.fileSystem, "X", true, 0));
        EXPECT_EQ(lines, std::vector<std::string>{c.line});
    }
    EXPECT_TRUE(library.formatExCalls.empty());
    EXPECT_TRUE(volumes.openedDevices.empty());
}

std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FmtChkException& e) {
        return e.what();
    }
    return "(no exception)";
}

TEST_F(FormatDiskTest, BlankDriveWithBadRootRaisesBeforeAnyLine) {
    volumes.drives.erase('E');
    EXPECT_EQ(messageOf([&] { engine.FormatDisk("E", 0, 2, "X", false, 0); }),
              "Invalid Drive Specification  :  E");
    EXPECT_EQ(messageOf([&] { engine.FormatDisk("", 0, 2, "X", false, 0); }),
              "Invalid Drive Specification  :  ");
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(library.formatExCalls.empty());
}

TEST_F(FormatDiskTest, FormattedDriveWithBadRootRaisesFromTheDriveCheck) {
    EXPECT_EQ(messageOf([&] { engine.FormatDisk("E", 0, 2, "X", false, 0); }),
              "Invalid Drive Specification  :     E");
    EXPECT_EQ(lines.size(), 7u);
    EXPECT_TRUE(library.formatExCalls.empty());
}

TEST_F(FormatDiskTest, DriveCheckFailuresStopBeforeTheLibrary) {
    // In use: label and file system were read, then the exclusive open failed.
    volumes.drives['E'].inUse = true;
    EXPECT_EQ(messageOf([&] { engine.FormatDisk("E:\\", 0, 2, "X", false, 0); }),
              "Drive In Use  :         E:\\");
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[6], "<<   Drive   >>");
    EXPECT_EQ(lines[7], "Volume Label  : OLDNAME");
    EXPECT_EQ(lines[8], "File System  : FAT32");
    EXPECT_EQ(volumes.openedDevices, std::vector<std::u16string>{u"\\\\.\\E:"});

    // A size but no queryable volume.
    lines.clear();
    volumes.drives['E'].information.reset();
    EXPECT_EQ(messageOf([&] { engine.FormatDisk("E:\\", 0, 2, "X", false, 0); }),
              "14:03:22:Drive Not Found: E:\\");
    EXPECT_EQ(lines.size(), 7u);
    EXPECT_TRUE(library.formatExCalls.empty());
    EXPECT_EQ(ActiveFormatter, nullptr);
}

TEST_F(FormatDiskTest, CheckDriveTakesTheRootAsPassed) {
    std::u16string fileSystem;
    EXPECT_EQ(messageOf([&] { engine.CheckDrive(u"E", true, fileSystem); }),
              "Invalid Drive Specification  :     E");
    EXPECT_EQ(messageOf([&] { engine.CheckDrive(u"E\\:", true, fileSystem); }),
              "Invalid Drive Specification  :     E\\:");
    EXPECT_TRUE(engine.CheckDrive(u"E:\\", false, fileSystem));
    EXPECT_EQ(fileSystem, u"FAT32");
    EXPECT_TRUE(volumes.openedDevices.empty());
    EXPECT_EQ(lines, (std::vector<std::string>{"Volume Label  : OLDNAME", "File System  : FAT32"}));
}

TEST_F(FormatDiskTest, CancelThroughEitherEventStopsTheLibrary) {
    library.script = {CallbackStep::progress(10), CallbackStep::output("zeroing"),
                      CallbackStep::progress(20), CallbackStep::progress(30),
                      CallbackStep::finished(true)};
    cancelAtProgress = 2;
    EXPECT_FALSE(engine.FormatDisk("E:\\", 0, 2, "X", false, 0));
    EXPECT_TRUE(library.stoppedByCallback);
    EXPECT_EQ(library.stepsPlayed, 3u);

    progress.clear();
    cancelAtProgress = 0;
    lines.clear();
    // The 13th line is the library's text, after the head and the start line.
    cancelAtLine = 13;
    EXPECT_FALSE(engine.FormatDisk("E:\\", 0, 2, "X", false, 0));
    EXPECT_TRUE(library.stoppedByCallback);
    EXPECT_EQ(library.stepsPlayed, 2u);
}

TEST_F(FormatDiskTest, WithoutHandlersTheFormatRunsToItsEnd) {
    engine.onInfoEvent = nullptr;
    engine.onProgressEvent = nullptr;
    EXPECT_TRUE(engine.FormatDisk("E:\\", 0, 2, "X", true, 0));
    EXPECT_FALSE(library.stoppedByCallback);
    EXPECT_EQ(library.stepsPlayed, library.script.size());
}

TEST_F(FormatDiskTest, FormatDoneIsClearedAtEveryStart) {
    EXPECT_TRUE(engine.FormatDisk("E:\\", 0, 2, "X", true, 0));
    library.script = {CallbackStep::progress(10)};
    EXPECT_FALSE(engine.FormatDisk("E:\\", 0, 2, "X", true, 0));
}

}  // namespace
}  // namespace calvora::engine::testing
