#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/drive_letters.h"
#include "platform/linux/volume_devices.h"
#include "platform/linux/volume_rules.h"
#include "platform/volumes.h"

namespace calvora::platform::linux_os {

// Where the drive table asks the operating system. Tests point these at fixture trees.
struct DriveTablePaths {
    std::string sysRoot = "/sys";
    std::string mountInfo = "/proc/self/mountinfo";
    std::string swaps = "/proc/swaps";
    // Searched for other programs that hold a device open.
    std::string procRoot = "/proc";
};

// The outcome of DriveTable::attach.
struct AttachResult {
    char letter = 0;    // the drive's letter; 0 when refused
    std::string error;  // why it was refused
    bool ok() const { return letter != 0; }
};

// The machine's volumes under drive letters: partitions, whole disks without partitions, loop
// devices with a backing file, network and RAM mounts, and what attach() added. The queries of
// the Volumes seam rescan first, as the Windows calls answer live.
class DriveTable final : public Volumes, public VolumeDevices {
public:
    explicit DriveTable(DriveTablePaths paths = {});

    // Rescans: new volumes get the lowest free letter, present ones keep theirs, gone ones
    // free theirs.
    void refresh();

    // Adds a block device or an image file that is not in the table yet as a drive with the
    // next free letter (image files and loop devices are removable; a block device keeps the
    // type of its bus). A path already in the table answers its letter. Refuses anything the
    // running system rests on, and what is neither a block device nor a regular file.
    AttachResult attach(const std::string& path);

    // Every drive, in letter order (as of the last scan).
    std::vector<VolumeDevice> drives() const;

    // Volumes
    std::uint32_t logicalDrives() override;
    DriveTypeCode driveType(std::string_view root) override;
    std::optional<VolumeInformation> volumeInformation(std::u16string_view root) override;
    std::int64_t totalBytes(int driveNumber) override;
    std::int64_t freeBytes(int driveNumber) override;
    bool openExclusive(std::u16string_view devicePath) override;

    // VolumeDevices
    std::optional<VolumeDevice> deviceFor(char letter) override;
    bool releaseForExclusiveUse(char letter) override;

private:
    struct Drive {
        char letter = 0;
        VolumeCandidate volume;
    };
    struct Attached {
        std::string key;
        std::string path;  // canonical
        bool isBlockDevice = false;
        std::string blockName;
    };

    std::vector<MountEntry> readMounts() const;
    std::optional<VolumeCandidate> attachedVolume(const Attached& attached) const;
    const Drive* find(char letter) const;
    std::int64_t size(int driveNumber, bool free);
    bool heldByOtherProcess(const VolumeCandidate& volume) const;
    bool backsLoopDevice(const std::string& file) const;

    DriveTablePaths m_paths;
    DriveLetters m_letters;
    std::vector<Attached> m_attached;
    // The last scan.
    std::vector<BlockDevice> m_blocks;
    std::vector<MountEntry> m_mounts;
    VolumeScan m_scan;
    std::vector<Drive> m_drives;
};

}  // namespace calvora::platform::linux_os
