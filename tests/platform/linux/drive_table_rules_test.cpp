// The drive table's type, system and letter rules on fixture sysfs trees.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/linux/drive_table.h"
#include "platform/linux/mount_table.h"

namespace calvora::platform::linux_os {
namespace {
namespace fs = std::filesystem;

fs::path fixtures() {
    const char* source = std::getenv("CALVORA_SOURCE_DIR");
    return fs::path(source ? source : ".") / "tests" / "fixtures" / "drive_table";
}

DriveTablePaths pathsFor(const fs::path& machine) {
    DriveTablePaths paths;
    paths.sysRoot = (machine / "sys").string();
    paths.mountInfo = (machine / "mountinfo").string();
    paths.swaps = (machine / "swaps").string();
    return paths;
}

// A writable copy of a fixture machine, removed at the end.
class MachineCopy {
public:
    explicit MachineCopy(const std::string& name) {
        m_root = fs::temp_directory_path() /
                 ("calvora-machine-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(m_root);
        fs::copy(fixtures() / name, m_root,
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }
    ~MachineCopy() { fs::remove_all(m_root); }
    const fs::path& root() const { return m_root; }

private:
    fs::path m_root;
};

std::optional<VolumeDevice> byPath(const DriveTable& table, const std::string& path) {
    for (const VolumeDevice& device : table.drives()) {
        if (device.path == path) {
            return device;
        }
    }
    return std::nullopt;
}

std::optional<VolumeDevice> byMountPoint(const DriveTable& table, const std::string& mountPoint) {
    for (const VolumeDevice& device : table.drives()) {
        for (const std::string& point : device.mountPoints) {
            if (point == mountPoint) {
                return device;
            }
        }
    }
    return std::nullopt;
}

struct Expected {
    const char* what;  // a device path or, for a mount without a device, its mount point
    char letter;
    DriveTypeCode type;
    bool isSystem;
};

TEST(DriveTableRules, DesktopMachineTypesSystemAndLetters) {
    DriveTable table(pathsFor(fixtures() / "desktop"));
    const Expected cases[] = {
        {"/dev/fd0", 'A', DriveTypeCode::Removable, false},
        {"/dev/loop0", 'C', DriveTypeCode::Removable, false},
        {"/dev/mmcblk0p1", 'D', DriveTypeCode::Removable, false},
        {"/dev/nvme0n1p1", 'E', DriveTypeCode::Fixed, true},  // /boot/efi
        {"/dev/nvme0n1p2", 'F', DriveTypeCode::Fixed, true},  // /
        {"/dev/nvme0n1p3", 'G', DriveTypeCode::Fixed, true},  // holds the swap file
        {"/dev/sda1", 'H', DriveTypeCode::Removable, false},  // usb partition
        {"/dev/sdb", 'I', DriveTypeCode::Removable, false},   // usb disk, no partitions
        {"/dev/sdc", 'J', DriveTypeCode::Removable, false},   // empty card reader
        {"/dev/sr0", 'K', DriveTypeCode::CdRom, false},
        {"/dev/zram0", 'L', DriveTypeCode::Fixed, true},  // swap on zram
        {"/dev/zram1", 'M', DriveTypeCode::RamDisk, false},
        {"/mnt/ram", 'N', DriveTypeCode::RamDisk, false},
        {"/mnt/nfs", 'O', DriveTypeCode::Remote, false},
        {"/mnt/smb", 'P', DriveTypeCode::Remote, false},
        {"/home/u/remote", 'Q', DriveTypeCode::Remote, false},  // sshfs
    };
    for (const Expected& expected : cases) {
        SCOPED_TRACE(expected.what);
        std::string what = expected.what;
        std::optional<VolumeDevice> device =
            what.rfind("/dev/", 0) == 0 ? byPath(table, what) : byMountPoint(table, what);
        ASSERT_TRUE(device.has_value());
        EXPECT_EQ(device->letter, expected.letter);
        EXPECT_EQ(device->type, expected.type);
        EXPECT_EQ(device->isSystem, expected.isSystem);
        std::string root = std::string(1, expected.letter) + ":\\";
        EXPECT_EQ(table.driveType(root), expected.type);
    }
    EXPECT_EQ(table.drives().size(), std::size(cases));
    EXPECT_EQ(table.driveType("B:\\"), DriveTypeCode::NoRootDir);
    EXPECT_EQ(table.driveType("h:\\"), DriveTypeCode::Removable);
    EXPECT_EQ(table.driveType("H"), DriveTypeCode::NoRootDir);
}

TEST(DriveTableRules, WhatIsNotADrive) {
    DriveTable table(pathsFor(fixtures() / "desktop"));
    // Disks with partitions, read-only and unbound loops, eMMC boot areas, and the RAM file
    // systems the system keeps for itself.
    for (const char* path : {"/dev/nvme0n1", "/dev/sda", "/dev/mmcblk0", "/dev/mmcblk0boot0",
                             "/dev/loop1", "/dev/loop2"}) {
        EXPECT_FALSE(byPath(table, path).has_value()) << path;
    }
    for (const char* mountPoint : {"/dev/shm", "/run", "/tmp", "/proc", "/sys/fs/cgroup"}) {
        EXPECT_FALSE(byMountPoint(table, mountPoint).has_value()) << mountPoint;
    }
    // One RAM disk mounted twice is one drive.
    std::optional<VolumeDevice> ram = byMountPoint(table, "/mnt/ram");
    ASSERT_TRUE(ram);
    EXPECT_EQ(ram->mountPoints, (std::vector<std::string>{"/mnt/ram", "/srv/ram"}));
    EXPECT_EQ(byPath(table, "/dev/sda1")->mountPoints,
              std::vector<std::string>{"/media/u/MY STICK"});
    EXPECT_EQ(table.logicalDrives(), 0x1FFFDu);  // A, C to Q
}

TEST(DriveTableRules, LiveUsbSystemIsNeverOffered) {
    DriveTable table(pathsFor(fixtures() / "live"));
    const Expected cases[] = {
        // "/" is an overlay of an image that lives on sda1.
        {"/dev/sda1", 0, DriveTypeCode::Fixed, true},
        // Same stick as the running system.
        {"/dev/sda2", 0, DriveTypeCode::Fixed, false},
        {"/dev/sdb1", 0, DriveTypeCode::Removable, false},
        // "/usr" on LVM on a USB disk: the logical volume, its partition and that disk.
        {"/dev/dm-0", 0, DriveTypeCode::Fixed, true},
        {"/dev/sdc2", 0, DriveTypeCode::Fixed, true},
        {"/dev/sdc1", 0, DriveTypeCode::Fixed, false},
    };
    for (const Expected& expected : cases) {
        SCOPED_TRACE(expected.what);
        std::optional<VolumeDevice> device = byPath(table, expected.what);
        ASSERT_TRUE(device.has_value());
        EXPECT_EQ(device->type, expected.type);
        EXPECT_EQ(device->isSystem, expected.isSystem);
    }
    EXPECT_FALSE(byPath(table, "/dev/loop0"));
}

TEST(DriveTableRules, LettersAreKeptWhilePresentAndReusedAfterRemoval) {
    MachineCopy machine("desktop");
    DriveTable table(pathsFor(machine.root()));
    ASSERT_EQ(byPath(table, "/dev/sda1")->letter, 'H');

    // The stick goes: its letter is free, every other drive keeps its own.
    fs::path classBlock = machine.root() / "sys" / "class" / "block";
    fs::remove(classBlock / "sda1");
    fs::remove(classBlock / "sda");
    table.refresh();
    EXPECT_FALSE(byPath(table, "/dev/sda1"));
    EXPECT_EQ(byPath(table, "/dev/sdb")->letter, 'I');
    EXPECT_EQ(byMountPoint(table, "/mnt/nfs")->letter, 'O');

    // An image attached now takes the lowest free letter, the stick's old H.
    fs::path image = machine.root() / "image.img";
    std::ofstream(image).put('\0');
    AttachResult attached = table.attach(image.string());
    ASSERT_TRUE(attached.ok()) << attached.error;
    EXPECT_EQ(attached.letter, 'H');

    // The stick comes back with a new medium: next free letter after Q.
    const std::string disk =
        "../../devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/"
        "block/sda";
    fs::create_directory_symlink(disk, classBlock / "sda");
    fs::create_directory_symlink(disk + "/sda1", classBlock / "sda1");
    table.refresh();
    EXPECT_EQ(byPath(table, "/dev/sda1")->letter, 'R');
    EXPECT_EQ(table.deviceFor('H')->path, fs::canonical(image).string());
}

TEST(DriveTableRules, AttachImageFiles) {
    MachineCopy machine("live");
    fs::path image = machine.root() / "stick.img";
    fs::path swapFile = machine.root() / "swapfile";
    std::ofstream(image).put('\0');
    std::ofstream(swapFile).put('\0');
    std::ofstream(machine.root() / "swaps", std::ios::app) << swapFile.string() << " file 4 0 -2\n";
    DriveTable table(pathsFor(machine.root()));

    AttachResult first = table.attach(image.string());
    ASSERT_TRUE(first.ok()) << first.error;
    std::optional<VolumeDevice> device = table.deviceFor(first.letter);
    ASSERT_TRUE(device);
    EXPECT_TRUE(device->isImageFile);
    EXPECT_EQ(device->type, DriveTypeCode::Removable);
    EXPECT_FALSE(device->isSystem);
    // Attaching again, also by another spelling of the path, answers the same drive.
    AttachResult again = table.attach((machine.root() / "." / "stick.img").string());
    EXPECT_EQ(again.letter, first.letter);

    struct Refused {
        std::string path;
        const char* because;
    };
    for (const Refused& refused :
         {Refused{swapFile.string(), "running system"},
          Refused{(machine.root() / "missing.img").string(), "No such"},
          Refused{machine.root().string(), "neither"}, Refused{"", "No such"}}) {
        SCOPED_TRACE(refused.path);
        std::uint32_t before = table.logicalDrives();
        AttachResult result = table.attach(refused.path);
        EXPECT_FALSE(result.ok());
        EXPECT_NE(result.error.find(refused.because), std::string::npos) << result.error;
        EXPECT_EQ(table.logicalDrives(), before);
    }

    // The image goes away: so does its drive.
    fs::remove(image);
    EXPECT_FALSE(table.deviceFor(first.letter));
}

TEST(DriveTableRules, EmptyReaderFailsAtOnceAndSystemIsNeverReleased) {
    DriveTable table(pathsFor(fixtures() / "desktop"));
    // J is the card reader without a medium, F holds "/".
    EXPECT_FALSE(table.volumeInformation(u"J:\\"));
    EXPECT_EQ(table.totalBytes('J' - 'A' + 1), -1);
    EXPECT_FALSE(table.openExclusive(u"\\\\.\\F:"));
    EXPECT_FALSE(table.releaseForExclusiveUse('F'));
    EXPECT_FALSE(table.openExclusive(u"\\\\.\\Z:"));
    EXPECT_FALSE(table.openExclusive(u"F:"));
    // A network drive reports its own file system and no label.
    std::optional<VolumeInformation> nfs = table.volumeInformation(u"O:\\");
    ASSERT_TRUE(nfs);
    EXPECT_EQ(nfs->fileSystemName, u"nfs4");
    EXPECT_EQ(table.volumeInformation(u"Q:\\")->fileSystemName, u"sshfs");
}

TEST(MountTable, ParsesEscapesAndSkipsMalformedLines) {
    std::vector<MountEntry> mounts = parseMountInfo(
        "40 27 8:1 / /media/u/MY\\040STICK rw shared:9 master:2 - vfat /dev/sda1 rw,uid=1000\n"
        "garbage line\n"
        "41 27 8:2 / relative rw - vfat /dev/sda2 rw\n"
        "42 27 8:3 / /mnt/x rw\n");
    ASSERT_EQ(mounts.size(), 1u);
    EXPECT_EQ(mounts[0].mountPoint, "/media/u/MY STICK");
    EXPECT_EQ(mounts[0].devNumber, "8:1");
    EXPECT_EQ(mounts[0].fsType, "vfat");
    EXPECT_EQ(mounts[0].source, "/dev/sda1");
    EXPECT_TRUE(isAtOrBelow("/media/a/b", "/media"));
    EXPECT_FALSE(isAtOrBelow("/mediax", "/media"));
    EXPECT_TRUE(isAtOrBelow("/x", "/"));
}

}  // namespace
}  // namespace calvora::platform::linux_os
