#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/volumes.h"

namespace calvora::platform::linux_os {

// What stands behind a drive letter on Linux.
struct VolumeDevice {
    char letter = 0;
    // A block device (/dev/sdb1, /dev/loop0, /dev/mmcblk0p1) or a plain image file; empty for
    // a network or RAM file system that has no device (nfs, cifs, sshfs, tmpfs).
    std::string path;
    bool isImageFile = false;
    DriveTypeCode type = DriveTypeCode::Unknown;
    // Where the volume is mounted now (empty when it is not).
    std::vector<std::string> mountPoints;
    // Holds "/", "/boot", "/usr" or swap: never formatted, whatever its bus.
    bool isSystem = false;
};

// The drive letters' devices, as the drive table knows them. The format library reaches a
// device only through this, so it can never touch a volume that has no letter.
class VolumeDevices {
public:
    virtual ~VolumeDevices() = default;

    virtual std::optional<VolumeDevice> deviceFor(char letter) = 0;
    // Makes the volume ready for exclusive use, as Windows dismounts a volume it locks:
    // unmounts it when it is mounted and nothing holds it open. False when it is in use
    // (open files, or another program holds the device open) or cannot be unmounted.
    virtual bool releaseForExclusiveUse(char letter) = 0;
};

}  // namespace calvora::platform::linux_os
