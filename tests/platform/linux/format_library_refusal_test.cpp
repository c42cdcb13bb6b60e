// Every request the library must refuse: it says why, in the code Windows would use, and
// leaves the medium byte for byte as it was.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "format_library_fixture.h"

namespace calvora::platform::linux_os::testing {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

class RefusalTest;

struct RefusalCase {
    const char* name;
    std::u16string fileSystem;
    std::u16string label;
    std::uint32_t clusterSize;
    std::uint64_t bytes;
    std::uint32_t code;  // the callback code before the reason; 0 for none
    const char* reason;  // part of the code-14 line that says why
    bool needsRoot = false;
    // Makes the drive E and returns the path that must stay unchanged; by default an image.
    std::function<std::string(RefusalTest&, const RefusalCase&)> setup;
};

class RefusalTest : public FormatLibraryTest, public ::testing::WithParamInterface<RefusalCase> {
public:
    std::string image(std::uint64_t bytes) { return addImage('E', bytes); }
    std::string loop(std::uint64_t bytes, std::uint32_t sectorSize = 512) {
        return addLoopDevice('E', bytes, sectorSize);
    }
    TestVolumeDevices& table() { return devices; }
    LinuxFormatOptions& libraryOptions() { return options; }
    const std::string& testFolder() { return folder; }
    int held = -1;
    ~RefusalTest() override {
        if (held >= 0) {
            ::close(held);
        }
    }
};

// Marks the medium at its start, middle and end, so that even zeros written over a blank
// image change its content.
void markThroughout(const std::string& path, std::uint64_t bytes) {
    writeMarker(path, 0, "calvora start");
    writeMarker(path, bytes / 2, "calvora middle");
    writeMarker(path, bytes - 64, "calvora end");
}

TEST_P(RefusalTest, SaysWhyAndTouchesNothing) {
    const RefusalCase& c = GetParam();
    if (c.needsRoot && !isRoot()) {
        GTEST_SKIP() << "needs root (loop devices)";
    }
    if (!haveTool("mkfs.fat") || !haveTool("mkfs.exfat") || !haveTool("mkntfs")) {
        GTEST_SKIP() << "the mkfs tools are not installed";
    }
    std::string path = c.setup ? c.setup(*this, c) : image(c.bytes);
    ASSERT_FALSE(path.empty());
    if (path != "-") {
        markThroughout(path, c.bytes);
    }
    const std::uint64_t before = path != "-" ? contentHash(path) : 0;

    format('E', c.fileSystem, c.label, false, c.clusterSize);

    EXPECT_EQ(finishedFlag(), false);
    EXPECT_FALSE(sawCode(1));
    EXPECT_FALSE(sawCode(0)) << "progress means work was done";
    if (c.code != 0) {
        EXPECT_TRUE(sawCode(c.code)) << texts();
    }
    EXPECT_NE(texts().find(c.reason), std::string::npos) << texts();
    if (path != "-") {
        EXPECT_EQ(contentHash(path), before) << "the medium was changed";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Requests, RefusalTest,
    ::testing::Values(
        RefusalCase{"FatLabelTooLong",
                    u"FAT32",
                    u"ABCDEFGHIJKL",
                    0,
                    64 * kMiB,
                    12,
                    "at most 11",
                    false,
                    {}},
        RefusalCase{"FatLabelForbiddenCharacter",
                    u"FAT",
                    u"A*B",
                    0,
                    16 * kMiB,
                    12,
                    "cannot hold the character '*'",
                    false,
                    {}},
        RefusalCase{"FatLabelOutsideCodePage",
                    u"FAT32",
                    u"\u0141\u00d3D\u0179",
                    0,
                    64 * kMiB,
                    12,
                    "code page CP437",
                    false,
                    {}},
        RefusalCase{"ExFatLabelTooLong",
                    u"EXFAT",
                    u"ABCDEFGHIJKL",
                    0,
                    16 * kMiB,
                    12,
                    "at most 11",
                    false,
                    {}},
        RefusalCase{"NtfsLabelTooLong",
                    u"NTFS",
                    std::u16string(33, u'N'),
                    0,
                    16 * kMiB,
                    12,
                    "at most 32",
                    false,
                    {}},
        RefusalCase{
            "Fat32TooSmall", u"FAT32", u"", 0, 16 * kMiB, 18, "too small for FAT32", false, {}},
        RefusalCase{
            "Fat32ClusterTooBig", u"FAT32", u"", 32768, 64 * kMiB, 17, "too big", false, {}},
        RefusalCase{
            "FatClusterTooSmall", u"FAT", u"", 512, 64 * kMiB, 16, "too small for FAT", false, {}},
        RefusalCase{
            "ExFatTooSmall", u"EXFAT", u"", 0, 2 * kMiB, 18, "too small for exFAT", false, {}},
        RefusalCase{"NtfsTooSmall", u"NTFS", u"", 0, kMiB, 18, "too small for NTFS", false, {}},
        RefusalCase{
            "FatTooBig", u"FAT", u"", 0, 5ull * 1024 * kMiB, 19, "too big for FAT", false, {}},
        RefusalCase{
            "UnknownFileSystem", u"HPFS", u"", 0, 16 * kMiB, 7, "\"HPFS\" cannot", false, {}},
        RefusalCase{"MissingTool", u"FAT32", u"", 0, 64 * kMiB, 7, "install the package dosfstools",
                    false,
                    [](RefusalTest& t, const RefusalCase& c) {
                        std::string empty = t.testFolder() + "/no-tools";
                        std::filesystem::create_directory(empty);
                        t.libraryOptions().toolDirectories = {empty};
                        return t.image(c.bytes);
                    }},
        RefusalCase{"NoDeviceBehindTheLetter", u"FAT32", u"", 0, 64 * kMiB, 0, "No device", false,
                    [](RefusalTest& t, const RefusalCase& c) {
                        std::string path = t.image(c.bytes);
                        t.table().devices.erase('E');
                        return path;
                    }},
        RefusalCase{"SystemVolume", u"FAT32", u"", 0, 64 * kMiB, 0, "holds the running system",
                    false,
                    [](RefusalTest& t, const RefusalCase& c) {
                        std::string path = t.image(c.bytes);
                        t.table().devices['E'].isSystem = true;
                        return path;
                    }},
        RefusalCase{"TableCannotReleaseIt", u"FAT32", u"", 0, 64 * kMiB, 8, "is in use", false,
                    [](RefusalTest& t, const RefusalCase& c) {
                        std::string path = t.image(c.bytes);
                        t.table().releaseSucceeds = false;
                        return path;
                    }},
        RefusalCase{"StillMounted", u"FAT32", u"", 0, 64 * kMiB, 8, "is in use", false,
                    [](RefusalTest& t, const RefusalCase& c) {
                        std::string path = t.image(c.bytes);
                        t.table().devices['E'].mountPoints = {"/media/stick"};
                        return path;
                    }},
        RefusalCase{"LoopDeviceHeldOpen", u"FAT32", u"", 0, 64 * kMiB, 8, "is in use", true,
                    [](RefusalTest& t, const RefusalCase& c) {
                        std::string loop = t.loop(c.bytes);
                        // Another program holding the device exclusively.
                        t.held = ::open(loop.c_str(), O_RDONLY | O_EXCL);
                        EXPECT_GE(t.held, 0);
                        return loop;
                    }},
        RefusalCase{"ClusterBelowTheSector", u"FAT32", u"", 2048, 64 * kMiB, 16,
                    "sector of 4096 bytes", true,
                    [](RefusalTest& t, const RefusalCase& c) { return t.loop(c.bytes, 4096); }}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST_F(FormatLibraryTest, ImageAttachedToALoopDeviceIsInUse) {
    if (!isRoot()) {
        GTEST_SKIP() << "needs root (loop devices)";
    }
    std::string path = addImage('E', 64 * kMiB);
    markThroughout(path, 64 * kMiB);
    const std::uint64_t before = contentHash(path);
    CommandResult attached = runCommand("losetup --find --show " + path);
    ASSERT_EQ(attached.status, 0) << attached.output;
    std::string loop = attached.output.substr(0, attached.output.find('\n'));
    ASSERT_TRUE(loop.starts_with("/dev/loop"));
    format('E', u"FAT32", u"", false);
    runCommand("losetup -d " + loop);
    EXPECT_TRUE(sawCode(8));
    EXPECT_NE(texts().find("attached to " + loop), std::string::npos) << texts();
    EXPECT_EQ(contentHash(path), before);
}

// The check runs as an ordinary user, as root may write anything.
TEST_F(FormatLibraryTest, NoPermissionIsCode6) {
    if (!haveTool("mkfs.fat")) {
        GTEST_SKIP() << "mkfs.fat is not installed";
    }
    std::string path = addImage('E', 64 * kMiB);
    markThroughout(path, 64 * kMiB);
    const std::uint64_t before = contentHash(path);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
    if (!isRoot()) {
        format('E', u"FAT32", u"", false);
        EXPECT_TRUE(sawCode(6)) << texts();
    } else {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // nobody
            if (setgid(65534) != 0 || setuid(65534) != 0) {
                _exit(3);
            }
            format('E', u"FAT32", u"", false);
            _exit(sawCode(6) && finishedFlag() == false &&
                          texts().find("No permission") != std::string::npos
                      ? 0
                      : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    EXPECT_EQ(contentHash(path), before);
}

}  // namespace
}  // namespace calvora::platform::linux_os::testing
