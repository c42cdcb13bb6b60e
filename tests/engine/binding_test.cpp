// Binding the format library and the compression call.
#include "engine_fixture.h"

namespace calvora::engine::testing {
namespace {

TEST_F(EngineFixture, OutsideTheNtFamilyEveryCallTestsAgainAndNothingLoads) {
    system.id = platform::kPlatformWin32Windows;
    EXPECT_FALSE(engine.LoadFmifs());
    EXPECT_FALSE(engine.LoadFmifs());
    EXPECT_EQ(system.queries, 2);
    EXPECT_TRUE(library.loadCalls.empty());
    EXPECT_FALSE(engine.FormatDisk("E:\\", 0, 2, "X", false, 0));
    EXPECT_FALSE(engine.EnableCompression("E:\\", true));
    EXPECT_TRUE(lines.empty());
}

TEST_F(EngineFixture, AFailedLoadIsNeverRetried) {
    library.loadable = false;
    EXPECT_FALSE(engine.LoadFmifs());
    library.loadable = true;
    EXPECT_FALSE(engine.LoadFmifs());
    EXPECT_EQ(library.loadCalls.size(), 1u);
}

TEST_F(EngineFixture, ChkdskAloneDecidesTheBinding) {
    library.entries = {"FormatEx", "EnableVolumeCompession"};
    EXPECT_FALSE(engine.LoadFmifs());
    EXPECT_FALSE(engine.FormatDisk("E:\\", 0, 2, "X", false, 0));
    EXPECT_TRUE(lines.empty());
}

TEST_F(EngineFixture, LoadsOnceAndReleasesAtTheEnd) {
    {
        FmifsBinding own{library, system};
        EXPECT_TRUE(own.load());
        EXPECT_TRUE(own.load());
        EXPECT_EQ(library.loadCalls.size(), 1u);
        EXPECT_EQ(library.releaseCalls, 0);
    }
    EXPECT_EQ(library.releaseCalls, 1);
}

TEST_F(EngineFixture, MissingFormatExSkipsTheLibraryCall) {
    library.entries = {"Chkdsk"};
    volumes.add('E', u"OLD", u"FAT32", 1 << 20, 1 << 20);
    EXPECT_FALSE(engine.FormatDisk("E:\\", 0, 2, "X", false, 0));
    EXPECT_TRUE(library.formatExCalls.empty());
    // The report head and the start line were written all the same.
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "14:03:22: Starting to Format Drive ...    ");
}

TEST_F(EngineFixture, CompressionChecksTheDriveThenAsksTheLibrary) {
    volumes.add('E', u"OLD", u"NTFS", 1 << 20, 1 << 20);
    library.compressionAnswer = 1;
    EXPECT_TRUE(engine.EnableCompression("e:\\", true));
    library.compressionAnswer = 0;
    EXPECT_FALSE(engine.EnableCompression("e:\\", false));
    ASSERT_EQ(library.compressionCalls.size(), 2u);
    EXPECT_EQ(library.compressionCalls[0].first, u"E:\\");
    EXPECT_EQ(library.compressionCalls[0].second, 0xFFFFFFFFu);
    EXPECT_EQ(library.compressionCalls[1].second, 0u);
    EXPECT_EQ(lines, (std::vector<std::string>{"Volume Label  : OLD", "File System  : NTFS",
                                               "Volume Label  : OLD", "File System  : NTFS"}));
}

TEST_F(EngineFixture, CompressionWithoutTheEntryFailsAfterTheDriveCheck) {
    library.entries = {"Chkdsk", "FormatEx"};
    volumes.add('E', u"OLD", u"NTFS", 1 << 20, 1 << 20);
    EXPECT_FALSE(engine.EnableCompression("E:\\", true));
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(volumes.openedDevices.size(), 1u);
    EXPECT_TRUE(library.compressionCalls.empty());
}

TEST_F(EngineFixture, CompressionOnADriveInUseRaises) {
    volumes.add('E', u"OLD", u"NTFS", 1 << 20, 1 << 20).inUse = true;
    EXPECT_THROW(engine.EnableCompression("E:\\", true), FmtChkException);
    EXPECT_TRUE(library.compressionCalls.empty());
}

}  // namespace
}  // namespace calvora::engine::testing
