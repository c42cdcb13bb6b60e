#include "platform/linux/linux_drive_shell.h"

namespace calvora::platform::linux_os {
namespace {

std::u16string typeName(DriveTypeCode type) {
    switch (type) {
        case DriveTypeCode::Removable:
            return u"USB Drive";
        case DriveTypeCode::Fixed:
            return u"Local Disk";
        case DriveTypeCode::Remote:
            return u"Network Drive";
        case DriveTypeCode::CdRom:
            return u"CD Drive";
        case DriveTypeCode::RamDisk:
            return u"RAM Disk";
        default:
            return u"Drive";
    }
}

}  // namespace

LinuxDriveShell::LinuxDriveShell(Volumes& volumes) : m_volumes(volumes) {}

std::u16string LinuxDriveShell::displayName(std::string_view root) {
    if (root.size() < 2 || root[1] != ':') {
        return {};
    }
    const char16_t letter = static_cast<unsigned char>(root[0]);
    const std::u16string wideRoot{letter, u':', u'\\'};
    std::u16string name;
    if (auto information = m_volumes.volumeInformation(wideRoot)) {
        name = information->volumeName;
    }
    if (name.empty()) {
        name = typeName(m_volumes.driveType(root));
    }
    return name + u" (" + letter + u":)";
}

std::string LinuxDriveShell::iconName(std::string_view root) {
    switch (m_volumes.driveType(root)) {
        case DriveTypeCode::Removable:
            return "drive-removable-media-usb";
        case DriveTypeCode::Remote:
            return "network-server";
        case DriveTypeCode::CdRom:
            return "media-optical";
        case DriveTypeCode::RamDisk:
            return "media-flash";
        default:
            return "drive-harddisk";
    }
}

}  // namespace calvora::platform::linux_os
