#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace calvora::platform {

// Drive types with the operating system's codes (GetDriveTypeA).
enum class DriveTypeCode : std::uint32_t {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// What GetVolumeInformationW reports of a volume.
struct VolumeInformation {
    std::u16string volumeName;
    std::u16string fileSystemName;
};

// Drive and volume services: the drives of the machine by letter.
class Volumes {
public:
    virtual ~Volumes() = default;

    // GetLogicalDrives: bit 0 is drive A, bit 25 drive Z.
    virtual std::uint32_t logicalDrives() = 0;
    // GetDriveTypeA on a root such as "E:\".
    virtual DriveTypeCode driveType(std::string_view root) = 0;
    // GetVolumeInformationW on a root such as u"E:\\"; empty when the query fails (no medium,
    // no such drive, no recognisable file system). Never shows a system dialog (SetErrorMode).
    virtual std::optional<VolumeInformation> volumeInformation(std::u16string_view root) = 0;
    // Total and free bytes of drive number n (1 is A, 2 is B, ...); -1 when unreadable.
    virtual std::int64_t totalBytes(int driveNumber) = 0;
    virtual std::int64_t freeBytes(int driveNumber) = 0;
    // CreateFileW(devicePath, GENERIC_WRITE, no sharing, OPEN_EXISTING): whether the volume
    // could be opened for exclusive write. The handle is closed again at once.
    // devicePath has the form u"\\\\.\\E:".
    virtual bool openExclusive(std::u16string_view devicePath) = 0;
};

}  // namespace calvora::platform
