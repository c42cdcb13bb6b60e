// The drive table on real media: image files made with the mkfs tools, and (as root) a loop
// device of our own, checked against what the file-system tools report.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>

#include "platform/linux/drive_table.h"
#include "platform/linux/fs_space.h"

extern char** environ;

namespace calvora::platform::linux_os {
namespace {
namespace fs = std::filesystem;

std::string run(const std::string& command, int* status = nullptr) {
    std::string output;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, got);
    }
    int result = ::pclose(pipe);
    if (status != nullptr) {
        *status = result;
    }
    return output;
}

bool haveTool(const std::string& tool) {
    int status = 0;
    run("PATH=$PATH:/usr/sbin:/sbin command -v " + tool, &status);
    return status == 0;
}

std::string tool(const std::string& command) {
    return "PATH=$PATH:/usr/sbin:/sbin " + command;
}

std::uint64_t number(const std::string& text, const std::string& pattern) {
    std::smatch match;
    if (!std::regex_search(text, match, std::regex(pattern))) {
        ADD_FAILURE() << "no " << pattern << " in:\n" << text;
        return 0;
    }
    return std::stoull(match[1].str());
}

// The used clusters ntfs-3g reports for the mounted image; empty without root (FUSE) or
// ntfs-3g.
std::optional<std::uint64_t> ntfsUsedClusters(const fs::path& image, std::uint64_t total) {
    fs::path mountPoint = image.string() + ".mnt";
    fs::create_directories(mountPoint);
    int status = -1;
    if (::geteuid() == 0 && haveTool("ntfs-3g")) {
        run(tool("ntfs-3g " + image.string() + " " + mountPoint.string()), &status);
    }
    if (status != 0) {
        return std::nullopt;
    }
    struct statvfs info {};
    ::statvfs(mountPoint.c_str(), &info);
    run("umount " + mountPoint.string());
    return total - info.f_bfree;
}

class MediaTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() / ("calvora-media-" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path image(const std::string& name, std::uintmax_t bytes) {
        fs::path path = m_folder / name;
        std::ofstream(path).close();
        fs::resize_file(path, bytes);
        return path;
    }

    fs::path m_folder;
};

struct FileSystemCase {
    const char* tool;
    const char* mkfs;  // %s: the image
    const char* name;  // as Windows reports it
    const char16_t* label;
};

TEST_F(MediaTest, ImageFilesReportNameLabelAndSpaceLikeTheTools) {
    const FileSystemCase cases[] = {
        {"mkfs.fat", "mkfs.fat -F 12 -n FLOPPY %s", "FAT", u"FLOPPY"},
        {"mkfs.fat", "mkfs.fat -F 16 -n SIXTEEN %s", "FAT", u"SIXTEEN"},
        {"mkfs.fat", "mkfs.fat -F 32 -n THIRTYTWO %s", "FAT32", u"THIRTYTWO"},
        {"mkfs.exfat", "mkfs.exfat -L 'Müll Ä' %s", "exFAT", u"Müll Ä"},
        {"mkntfs", "mkntfs -q -F -L Daten %s", "NTFS", u"Daten"},
    };
    DriveTable table;
    for (const FileSystemCase& c : cases) {
        SCOPED_TRACE(c.mkfs);
        if (!haveTool(c.tool)) {
            GTEST_SKIP() << c.tool << " is not installed";
        }
        fs::path path = image(std::string(c.tool) + c.name + ".img", 64ull << 20);
        char command[256];
        std::snprintf(command, sizeof command, c.mkfs, path.c_str());
        int status = 0;
        std::string output = run(tool(command), &status);
        ASSERT_EQ(status, 0) << output;

        AttachResult attached = table.attach(path.string());
        ASSERT_TRUE(attached.ok()) << attached.error;
        std::u16string root = {static_cast<char16_t>(attached.letter), u':', u'\\'};
        std::optional<VolumeInformation> information = table.volumeInformation(root);
        ASSERT_TRUE(information);
        EXPECT_EQ(information->fileSystemName,
                  std::u16string(c.name, c.name + std::char_traits<char>::length(c.name)));
        EXPECT_EQ(information->volumeName, c.label);

        int drive = attached.letter - 'A' + 1;
        std::string name = c.name;
        std::uint64_t cluster = 0, total = 0, used = 0;
        if (name == "FAT" || name == "FAT32") {
            std::string check = run(tool("fsck.fat -n -v " + path.string()));
            cluster = number(check, R"((\d+) bytes per cluster)");
            used = number(check, R"((\d+)/\d+ clusters)");
            total = number(check, R"(\d+/(\d+) clusters)");
        } else if (name == "exFAT") {
            std::string dump = run(tool("dump.exfat " + path.string()));
            cluster = number(dump, R"(Cluster size:\s+(\d+))");
            total = number(dump, R"(Total Clusters:\s+(\d+))");
            used = total - number(dump, R"(Free Clusters:\s+(\d+))");
        } else {
            std::string info = run(tool("ntfsinfo -m " + path.string()));
            cluster = number(info, R"(Cluster Size:\s+(\d+))");
            total = number(info, R"(Volume Size in Clusters:\s+(\d+))");
        }
        EXPECT_EQ(table.totalBytes(drive), static_cast<std::int64_t>(total * cluster));
        if (name == "NTFS") {
            std::optional<std::uint64_t> ntfsUsed = ntfsUsedClusters(path, total);
            if (!ntfsUsed) {
                std::cout << "[  SKIPPED ] NTFS free space: checking it needs root and ntfs-3g\n";
                continue;
            }
            used = *ntfsUsed;
        }
        EXPECT_EQ(table.freeBytes(drive), static_cast<std::int64_t>((total - used) * cluster));
    }
}

TEST_F(MediaTest, BlankImageIsLikeARawVolume) {
    DriveTable table;
    AttachResult attached = table.attach(image("blank.img", 8ull << 20).string());
    ASSERT_TRUE(attached.ok()) << attached.error;
    std::u16string root = {static_cast<char16_t>(attached.letter), u':', u'\\'};
    EXPECT_FALSE(table.volumeInformation(root));
    EXPECT_EQ(table.totalBytes(attached.letter - 'A' + 1), -1);
    EXPECT_EQ(table.freeBytes(attached.letter - 'A' + 1), -1);
    // Nothing holds it: exclusive use is granted.
    std::u16string device = u"\\\\.\\";
    device += static_cast<char16_t>(attached.letter);
    device += u':';
    EXPECT_TRUE(table.openExclusive(device));
}

TEST_F(MediaTest, Fat32WithoutFreeCountIsCountedFromTheFat) {
    if (!haveTool("mkfs.fat")) {
        GTEST_SKIP() << "mkfs.fat is not installed";
    }
    fs::path path = image("fat32.img", 64ull << 20);
    run(tool("mkfs.fat -F 32 " + path.string()));
    std::optional<FileSystemSpace> before = readOnDiskSpace(path.string());
    ASSERT_TRUE(before);
    // FSInfo sector 1, free count at byte 488: "unknown".
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(512 + 488);
        file.write("\xFF\xFF\xFF\xFF", 4);
    }
    std::optional<FileSystemSpace> counted = readOnDiskSpace(path.string());
    ASSERT_TRUE(counted);
    EXPECT_EQ(counted->freeBytes, before->freeBytes);
    EXPECT_EQ(counted->totalBytes, before->totalBytes);
}

TEST(FileSystemSpace, GarbageBootSectorsAreRefused) {
    std::vector<std::uint8_t> disk(4096, 0);
    ReadAt read = [&](std::uint64_t offset, std::uint8_t* data, std::size_t size) {
        if (offset + size > disk.size()) {
            return false;
        }
        std::copy_n(disk.begin() + static_cast<std::ptrdiff_t>(offset), size, data);
        return true;
    };
    // Boot signature, but no sensible geometry (zero bytes per sector, then a FAT larger
    // than the volume).
    disk[510] = 0x55;
    disk[511] = 0xAA;
    EXPECT_FALSE(readFatSpace(read));
    disk[11] = 0x00, disk[12] = 0x02, disk[13] = 1, disk[14] = 1, disk[16] = 2;
    disk[19] = 0x10, disk[22] = 0xFF, disk[23] = 0xFF;
    EXPECT_FALSE(readFatSpace(read));
    std::copy_n("EXFAT   ", 8, disk.begin() + 3);
    EXPECT_FALSE(readExfatSpace(read));
    std::copy_n("NTFS    ", 8, disk.begin() + 3);
    EXPECT_FALSE(readNtfsSpace(read));
}

// A loop device on an image of our own, detached again whatever happens.
class LoopDeviceTest : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        if (::geteuid() != 0) {
            GTEST_SKIP() << "loop devices need root";
        }
        if (!haveTool("losetup") || !haveTool("mkfs.ext2")) {
            GTEST_SKIP() << "losetup or mkfs.ext2 is not installed";
        }
        m_image = image("loop.img", 16ull << 20);
        run(tool("mkfs.ext2 -q -L LOOPY " + m_image.string()));
        int status = 0;
        m_device = run(tool("losetup -f --show " + m_image.string()), &status);
        while (!m_device.empty() && std::isspace(static_cast<unsigned char>(m_device.back()))) {
            m_device.pop_back();
        }
        if (status != 0 || m_device.rfind("/dev/loop", 0) != 0) {
            m_device.clear();
            GTEST_SKIP() << "no loop device could be set up";
        }
        m_mountPoint = m_folder / "mnt";
        fs::create_directories(m_mountPoint);
    }
    void TearDown() override {
        if (m_child > 0) {
            ::kill(m_child, SIGKILL);
            ::waitpid(m_child, nullptr, 0);
        }
        if (!m_mountPoint.empty()) {
            ::umount2(m_mountPoint.c_str(), MNT_DETACH);
        }
        if (!m_device.empty()) {
            run(tool("losetup -d " + m_device));
        }
        MediaTest::TearDown();
    }

    bool mounted() const {
        std::ifstream in("/proc/self/mountinfo");
        std::string line;
        while (std::getline(in, line)) {
            if (line.find(" " + m_mountPoint.string() + " ") != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    void mount() {
        ASSERT_EQ(::mount(m_device.c_str(), m_mountPoint.c_str(), "ext2", 0, nullptr), 0)
            << std::strerror(errno);
    }

    char letter(DriveTable& table) {
        table.refresh();
        for (const VolumeDevice& device : table.drives()) {
            if (device.path == m_device) {
                return device.letter;
            }
        }
        ADD_FAILURE() << m_device << " is not in the table";
        return 0;
    }

    static std::u16string devicePath(char letter) {
        return std::u16string(u"\\\\.\\") + static_cast<char16_t>(letter) + u':';
    }

    fs::path m_image;
    std::string m_device;
    fs::path m_mountPoint;
    pid_t m_child = 0;
};

TEST_F(LoopDeviceTest, LoopDeviceIsARemovableDrive) {
    DriveTable table;
    char drive = letter(table);
    ASSERT_NE(drive, 0);
    EXPECT_EQ(table.driveType(std::string(1, drive) + ":\\"), DriveTypeCode::Removable);
    std::optional<VolumeInformation> information =
        table.volumeInformation(std::u16string{static_cast<char16_t>(drive), u':', u'\\'});
    ASSERT_TRUE(information);
    EXPECT_EQ(information->fileSystemName, u"ext2");
    EXPECT_EQ(information->volumeName, u"LOOPY");
    // Attaching the loop device or its image answers the same drive.
    EXPECT_EQ(table.attach(m_device).letter, drive);
    EXPECT_EQ(table.attach(m_image.string()).letter, drive);
}

TEST_F(LoopDeviceTest, MountedWithOpenFilesIsInUseWithoutThemIsUnmounted) {
    mount();
    DriveTable table;
    char drive = letter(table);
    ASSERT_NE(drive, 0);
    ASSERT_EQ(table.deviceFor(drive)->mountPoints, std::vector<std::string>{m_mountPoint.string()});
    EXPECT_EQ(table.totalBytes(drive - 'A' + 1), [&] {
        struct statvfs info {};
        ::statvfs(m_mountPoint.c_str(), &info);
        return static_cast<std::int64_t>(info.f_blocks * info.f_frsize);
    }());

    int open = ::open((m_mountPoint / "busy.txt").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(open, 0);
    EXPECT_FALSE(table.openExclusive(devicePath(drive)));
    EXPECT_TRUE(mounted());
    ::close(open);

    EXPECT_TRUE(table.openExclusive(devicePath(drive)));
    EXPECT_FALSE(mounted());
    EXPECT_TRUE(table.deviceFor(drive)->mountPoints.empty());
    // Unmounted, the size comes from the device itself (here: ext2, which is not read).
    EXPECT_TRUE(table.releaseForExclusiveUse(drive));
}

TEST_F(LoopDeviceTest, HeldOpenByAnotherProgramIsInUse) {
    DriveTable table;
    char drive = letter(table);
    ASSERT_NE(drive, 0);
    EXPECT_TRUE(table.openExclusive(devicePath(drive)));

    // Another program reads the device.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, m_device.c_str(), O_RDONLY, 0);
    char sleepName[] = "sleep";
    char seconds[] = "60";
    char* argv[] = {sleepName, seconds, nullptr};
    ASSERT_EQ(::posix_spawnp(&m_child, "sleep", &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    bool held = false;
    for (int i = 0; i < 100 && !held; ++i) {
        std::error_code error;
        for (const auto& fd :
             fs::directory_iterator("/proc/" + std::to_string(m_child) + "/fd", error)) {
            held = held || fs::read_symlink(fd.path(), error) == m_device;
        }
        ::usleep(10000);
    }
    ASSERT_TRUE(held);
    EXPECT_FALSE(table.openExclusive(devicePath(drive)));
    ::kill(m_child, SIGKILL);
    ::waitpid(m_child, nullptr, 0);
    m_child = 0;
    EXPECT_TRUE(table.openExclusive(devicePath(drive)));

    // This process holds it exclusively itself.
    int exclusive = ::open(m_device.c_str(), O_RDONLY | O_EXCL);
    ASSERT_GE(exclusive, 0);
    EXPECT_FALSE(table.releaseForExclusiveUse(drive));
    ::close(exclusive);
}

}  // namespace
}  // namespace calvora::platform::linux_os
