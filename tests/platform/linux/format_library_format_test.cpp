// Real formats of image files and loop devices, checked by blkid and each file system's own
// checker; quick against full; a stop while zeroing.
#include <fcntl.h>
#include <unistd.h>

#include <regex>

#include "format_library_fixture.h"

namespace calvora::platform::linux_os::testing {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

struct FormatCase {
    const char* name;
    std::u16string fileSystem;
    std::uint64_t bytes;
    std::uint32_t clusterSize;  // requested, 0 lets the library choose
    bool quick;
    bool onLoopDevice;
    // What the checkers must see.
    const char* type;     // blkid TYPE
    const char* version;  // blkid VERSION for FAT, "" otherwise
    std::uint32_t expectedCluster;
};

// The cluster size as the file system's own tool reads it back from the medium.
std::uint32_t clusterSizeOnMedium(const std::string& type, const std::string& path) {
    std::smatch match;
    if (type == "vfat") {
        std::string out = runCommand("fsck.fat -n -v " + path).output;
        if (std::regex_search(out, match, std::regex("(\\d+) bytes per cluster"))) {
            return static_cast<std::uint32_t>(std::stoul(match[1]));
        }
    } else if (type == "exfat") {
        std::string out = runCommand("dump.exfat " + path).output;
        std::smatch bits;
        std::smatch sector;
        if (std::regex_search(out, bits, std::regex("Sector per Cluster bits:\\s*(\\d+)")) &&
            std::regex_search(out, sector, std::regex("Sector Size Bits:\\s*(\\d+)"))) {
            return 1u << (std::stoul(bits[1]) + std::stoul(sector[1]));
        }
    } else if (type == "ntfs") {
        std::string out = runCommand("ntfsinfo -m " + path).output;
        if (std::regex_search(out, match, std::regex("Cluster Size:\\s*(\\d+)"))) {
            return static_cast<std::uint32_t>(std::stoul(match[1]));
        }
    }
    return 0;
}

std::string checkerFor(const std::string& type, const std::string& path) {
    if (type == "vfat")
        return "fsck.fat -n " + path;
    if (type == "exfat")
        return "fsck.exfat -n " + path;
    return "ntfs-3g.probe --readwrite " + path;
}

class FormatEveryFileSystem : public FormatLibraryTest,
                              public ::testing::WithParamInterface<FormatCase> {};

TEST_P(FormatEveryFileSystem, WritesWhatTheCheckersRead) {
    const FormatCase& c = GetParam();
    for (const char* tool : {"mkfs.fat", "mkfs.exfat", "mkntfs", "fsck.fat", "fsck.exfat",
                             "dump.exfat", "ntfsinfo", "ntfs-3g.probe", "blkid"}) {
        if (!haveTool(tool)) {
            GTEST_SKIP() << tool << " is not installed";
        }
    }
    if (c.onLoopDevice && !isRoot()) {
        GTEST_SKIP() << "loop devices need root";
    }
    std::string path = c.onLoopDevice ? addLoopDevice('E', c.bytes) : addImage('E', c.bytes);
    ASSERT_FALSE(path.empty());

    format('E', c.fileSystem, u"CALVORA", c.quick, c.clusterSize);
    ASSERT_TRUE(succeeded()) << texts();
    EXPECT_FALSE(sawCode(6) || sawCode(7) || sawCode(8));
    // The tool's own lines came through as text.
    const char* toolLine = c.type == std::string("vfat")    ? "mkfs.fat 4"
                           : c.type == std::string("exfat") ? "exFAT format complete!"
                                                            : "mkntfs completed successfully";
    EXPECT_NE(texts().find(toolLine), std::string::npos) << texts();

    auto tags = probe(path);
    EXPECT_EQ(tags["TYPE"], c.type);
    EXPECT_EQ(tags["LABEL"], "CALVORA");
    if (*c.version != '\0') {
        EXPECT_EQ(tags["VERSION"], c.version);
    }
    // (mkfs.exfat's boot sector itself reads as a DOS partition table to blkid.)
    if (c.type != std::string("exfat")) {
        EXPECT_EQ(tags.count("PTTYPE"), 0u) << "a stale signature is left";
    }
    CommandResult check = runCommand(checkerFor(c.type, path));
    EXPECT_EQ(check.status, 0) << check.output;
    EXPECT_EQ(clusterSizeOnMedium(c.type, path), c.expectedCluster);

    // Progress: a full format counts up through the zeros to 100.
    std::vector<std::int32_t> percents;
    for (const CallbackEvent& event : events) {
        if (event.code == 0) {
            percents.push_back(event.percent);
        }
    }
    ASSERT_FALSE(percents.empty());
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_EQ(percents.back(), 100);
}

INSTANTIATE_TEST_SUITE_P(
    Media, FormatEveryFileSystem,
    ::testing::Values(
        FormatCase{"Fat12Image", u"FAT", 8 * kMiB, 0, false, false, "vfat", "FAT12", 2048},
        FormatCase{"Fat16Image", u"FAT", 32 * kMiB, 2048, true, false, "vfat", "FAT16", 2048},
        FormatCase{"Fat32Image", u"FAT32", 64 * kMiB, 0, false, false, "vfat", "FAT32", 512},
        FormatCase{"ExFatImage", u"EXFAT", 32 * kMiB, 0, true, false, "exfat", "", 4096},
        FormatCase{"ExFatImageCluster", u"EXFAT", 32 * kMiB, 32768, false, false, "exfat", "",
                   32768},
        FormatCase{"NtfsImage", u"NTFS", 16 * kMiB, 0, false, false, "ntfs", "", 4096},
        FormatCase{"NtfsImageCluster", u"NTFS", 16 * kMiB, 1024, true, false, "ntfs", "", 1024},
        FormatCase{"Fat16Loop", u"FAT", 48 * kMiB, 0, false, true, "vfat", "FAT16", 1024},
        FormatCase{"Fat32Loop", u"FAT32", 64 * kMiB, 0, true, true, "vfat", "FAT32", 512},
        FormatCase{"ExFatLoop", u"EXFAT", 32 * kMiB, 0, false, true, "exfat", "", 4096},
        FormatCase{"NtfsLoop", u"NTFS", 16 * kMiB, 0, false, true, "ntfs", "", 4096}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return info.param.name; });

class QuickAndFull : public FormatLibraryTest, public ::testing::WithParamInterface<bool> {};

TEST_P(QuickAndFull, DataSurvivesQuickAndIsGoneAfterFull) {
    if (!haveTool("mkfs.fat")) {
        GTEST_SKIP() << "mkfs.fat is not installed";
    }
    const bool onLoop = GetParam();
    if (onLoop && !isRoot()) {
        GTEST_SKIP() << "loop devices need root";
    }
    std::string path = onLoop ? addLoopDevice('F', 40 * kMiB) : addImage('F', 40 * kMiB);
    ASSERT_FALSE(path.empty());
    // The loop device takes the aligned direct writes a stick without zero-out gets.
    if (onLoop) {
        options.zeroMethod = ZeroMethod::Writes;
    }
    const std::string marker = "calvora data that a quick format keeps";
    // Far inside the data area, where a fresh FAT32 writes nothing.
    const std::uint64_t offset = 30 * kMiB;
    writeMarker(path, offset, marker);

    format('F', u"FAT32", u"", true);
    ASSERT_TRUE(succeeded()) << texts();
    EXPECT_EQ(readAt(path, offset, marker.size()), marker);

    format('F', u"FAT32", u"", false);
    ASSERT_TRUE(succeeded()) << texts();
    EXPECT_EQ(readAt(path, offset, marker.size()), std::string(marker.size(), '\0'));
    EXPECT_EQ(probe(path)["VERSION"], "FAT32");
}

INSTANTIATE_TEST_SUITE_P(Media, QuickAndFull, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "LoopDevice" : "ImageFile";
                         });

class StopWhileZeroing : public FormatLibraryTest,
                         public ::testing::WithParamInterface<std::u16string> {};

TEST_P(StopWhileZeroing, LeavesAFreshFileSystemAndSaysSo) {
    for (const char* tool : {"mkfs.fat", "mkfs.exfat", "mkntfs"}) {
        if (!haveTool(tool)) {
            GTEST_SKIP() << tool << " is not installed";
        }
    }
    // Plain writes come in many small pieces, so there is a moment to stop in.
    options.zeroMethod = ZeroMethod::Writes;
    std::string path = addImage('G', 64 * kMiB);
    const std::string marker = "beyond the point where the zeros stopped";
    const std::uint64_t offset = 60 * kMiB;
    writeMarker(path, offset, marker);

    std::int32_t stoppedAt = -1;
    answer = [&](const CallbackEvent& event) {
        if (stoppedAt < 0 && event.code == 0 && event.percent >= 10) {
            stoppedAt = event.percent;
            return false;
        }
        return true;
    };
    format('G', GetParam(), u"STOPPED", false);

    ASSERT_GE(stoppedAt, 10);
    EXPECT_EQ(finishedFlag(), false);
    EXPECT_FALSE(sawCode(1));
    EXPECT_NE(texts().find("Stopped at your request"), std::string::npos) << texts();
    EXPECT_NE(texts().find("fresh empty"), std::string::npos) << texts();
    // At once: nothing counted on past the stop.
    bool afterStop = false;
    for (const CallbackEvent& event : events) {
        if (afterStop && event.code == 0) {
            EXPECT_LE(event.percent, stoppedAt);
        }
        afterStop = afterStop || (event.code == 0 && event.percent == stoppedAt);
    }
    EXPECT_EQ(readAt(path, offset, marker.size()), marker);
    auto tags = probe(path);
    EXPECT_EQ(tags["LABEL"], "STOPPED");
    EXPECT_EQ(tags["TYPE"], GetParam() == u"NTFS"    ? "ntfs"
                            : GetParam() == u"EXFAT" ? "exfat"
                                                     : "vfat");
}

INSTANTIATE_TEST_SUITE_P(FileSystems, StopWhileZeroing,
                         ::testing::Values(u"FAT32", u"EXFAT", u"NTFS"),
                         [](const ::testing::TestParamInfo<std::u16string>& info) {
                             return info.param == u"FAT32"   ? "Fat32"
                                    : info.param == u"EXFAT" ? "ExFat"
                                                             : "Ntfs";
                         });

TEST_F(FormatLibraryTest, StopWhileZeroingALoopDevice) {
    if (!isRoot() || !haveTool("mkfs.fat")) {
        GTEST_SKIP() << "needs root (loop devices) and mkfs.fat";
    }
    options.zeroMethod = ZeroMethod::Writes;
    std::string loop = addLoopDevice('G', 64 * kMiB);
    ASSERT_FALSE(loop.empty());
    answer = [](const CallbackEvent& event) { return !(event.code == 0 && event.percent >= 5); };
    format('G', u"FAT32", u"RESCUED", false);
    EXPECT_EQ(finishedFlag(), false);
    EXPECT_NE(texts().find("fresh empty FAT32"), std::string::npos) << texts();
    EXPECT_EQ(probe(loop)["LABEL"], "RESCUED");
    EXPECT_EQ(runCommand("fsck.fat -n " + loop).status, 0);
}

TEST_F(FormatLibraryTest, ProgressComesOftenDuringZeroing) {
    if (!haveTool("mkfs.fat")) {
        GTEST_SKIP() << "mkfs.fat is not installed";
    }
    options.zeroMethod = ZeroMethod::Writes;
    addImage('H', 64 * kMiB);
    format('H', u"FAT32", u"", false);
    ASSERT_TRUE(succeeded()) << texts();
    std::size_t progressEvents = 0;
    for (const CallbackEvent& event : events) {
        progressEvents += event.code == 0 ? 1 : 0;
    }
    // 64 MiB in pieces that start at 256 KiB: many callbacks, never one big silent write.
    EXPECT_GE(progressEvents, 5u);
    EXPECT_NE(texts().find("Zeros written in"), std::string::npos);
}

TEST_F(FormatLibraryTest, BindsAsTheWindowsLibrary) {
    LinuxFormatLibrary library(devices, options);
    EXPECT_FALSE(library.hasEntry("FormatEx"));
    EXPECT_FALSE(library.load("other.dll"));
    EXPECT_TRUE(library.load("FMIFS.DLL"));
    EXPECT_TRUE(library.hasEntry("Chkdsk"));
    EXPECT_TRUE(library.hasEntry("FormatEx"));
    EXPECT_FALSE(library.hasEntry("EnableVolumeCompession"));
    EXPECT_EQ(library.enableVolumeCompression(u"E:\\", 0xFFFFFFFFu), 0);
}

}  // namespace
}  // namespace calvora::platform::linux_os::testing
