#pragma once

#include <string>
#include <string_view>

namespace calvora::platform {

// What the shell shows for a drive.
class DriveShell {
public:
    virtual ~DriveShell() = default;

    // SHGetFileInfoA(root, SHGFI_DISPLAYNAME): the drive's name as the file manager shows it,
    // e.g. u"DATA (E:)" or u"USB Drive (E:)".
    virtual std::u16string displayName(std::string_view root) = 0;
    // SHGetFileInfoA(root, SHGFI_SYSICONINDEX | SHGFI_SMALLICON): the drive's icon. On Linux a
    // freedesktop icon-theme name such as "drive-removable-media-usb".
    virtual std::string iconName(std::string_view root) = 0;
};

}  // namespace calvora::platform
