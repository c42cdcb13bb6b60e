#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/linux/block_scan.h"
#include "platform/linux/mount_table.h"
#include "platform/volumes.h"

namespace calvora::platform::linux_os {

// A volume as the scan sees it, before it has a letter.
struct VolumeCandidate {
    // Identity of the volume while it is present: a new medium in the same slot is a new
    // volume.
    std::string key;
    // Block device name ("sdb1"); empty for an image file or a mount without a device.
    std::string blockName;
    // "/dev/sdb1", an image file, or empty for a network or RAM mount without a device.
    std::string path;
    bool isImageFile = false;
    DriveTypeCode type = DriveTypeCode::Fixed;
    bool isSystem = false;
    bool isFloppy = false;
    std::vector<std::string> mountPoints;
    // File system type from the mount table, for volumes without a device.
    std::string mountFsType;
    std::uint64_t sizeBytes = 0;  // of the block device or image; 0 for mounts
};

// The volumes of the machine, and what holds the running system.
struct VolumeScan {
    std::vector<VolumeCandidate> volumes;
    // Block devices holding "/", "/boot", "/usr" or swap, and everything they rest on.
    std::set<std::string> systemDevices;
    // Disks that hold a system device: none of their volumes may be offered.
    std::set<std::string> systemDisks;
    // Files the running system uses as devices: swap files, loop backing files.
    std::set<std::string> systemFiles;
};

// Mount points whose volume holds the running system.
bool isSystemMountPoint(const std::string& mountPoint);

// Turns the OS's answers into volumes with their types. Mount sources that name a device
// ("/dev/mapper/x") should already be resolved to the device node ("/dev/dm-0").
VolumeScan findVolumes(const std::vector<BlockDevice>& blocks,
                       const std::vector<MountEntry>& mounts, const std::vector<SwapEntry>& swaps);

// The volume of one block device by the rules (also for a disk with partitions, which the
// scan never lists itself); its mount points include those of its partitions.
VolumeCandidate blockVolume(const BlockDevice& device, const std::vector<BlockDevice>& blocks,
                            const std::vector<MountEntry>& mounts, const VolumeScan& scan);

}  // namespace calvora::platform::linux_os
