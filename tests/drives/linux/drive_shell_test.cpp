// Display names and icon names of drives on Linux.
#include <gtest/gtest.h>

#include "platform/fake/fake_volumes.h"
#include "platform/linux/linux_drive_shell.h"

namespace calvora::platform::linux_os {
namespace {

TEST(LinuxDriveShellTest, LabelOrTypeNameWithTheLetter) {
    fake::FakeVolumes volumes;
    volumes.add('E', u"DATA", u"FAT32", 1, 1);
    volumes.add('F', u"", u"FAT32", 1, 1);
    volumes.drives['G'];  // no medium
    volumes.add('Z', u"", u"cifs", 1, 1).type = DriveTypeCode::Remote;
    volumes.add('R', u"", u"tmpfs", 1, 1).type = DriveTypeCode::RamDisk;
    volumes.add('C', u"", u"ext4", 1, 1).type = DriveTypeCode::Fixed;
    LinuxDriveShell shell(volumes);
    const struct {
        const char* root;
        std::u16string name;
        std::string icon;
    } cases[] = {
        {"E:\\", u"DATA (E:)", "drive-removable-media-usb"},
        {"F:\\", u"USB Drive (F:)", "drive-removable-media-usb"},
        {"G:\\", u"USB Drive (G:)", "drive-removable-media-usb"},
        {"Z:\\", u"Network Drive (Z:)", "network-server"},
        {"R:\\", u"RAM Disk (R:)", "media-flash"},
        {"C:\\", u"Local Disk (C:)", "drive-harddisk"},
        {"Q:\\", u"Drive (Q:)", "drive-harddisk"},
        {"", u"", "drive-harddisk"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shell.displayName(c.root), c.name) << c.root;
        EXPECT_EQ(shell.iconName(c.root), c.icon) << c.root;
    }
}

}  // namespace
}  // namespace calvora::platform::linux_os
