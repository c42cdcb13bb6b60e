#include "platform/linux/volume_rules.h"

#include <algorithm>
#include <deque>

namespace calvora::platform::linux_os {
namespace {

bool isNetworkFs(const std::string& type) {
    return type == "nfs" || type == "nfs4" || type == "cifs" || type == "smb3" || type == "smbfs" ||
           type == "fuse.sshfs" || type == "sshfs";
}

bool isRamFs(const std::string& type) {
    return type == "tmpfs" || type == "ramfs";
}

// RAM file systems the system itself keeps for its own use are not drives.
bool isPlumbing(const std::string& mountPoint) {
    for (const char* folder :
         {"/dev", "/proc", "/sys", "/run", "/tmp", "/var/tmp", "/var/run", "/var/lock"}) {
        if (isAtOrBelow(mountPoint, folder)) {
            return true;
        }
    }
    return false;
}

std::string baseName(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const BlockDevice* blockOf(const MountEntry& mount, const std::vector<BlockDevice>& blocks) {
    for (const BlockDevice& device : blocks) {
        if (!device.devNumber.empty() && device.devNumber == mount.devNumber) {
            return &device;
        }
    }
    // btrfs and other multi-device file systems show an anonymous device number.
    if (mount.source.rfind("/dev/", 0) == 0) {
        std::string name = baseName(mount.source);
        for (const BlockDevice& device : blocks) {
            if (device.name == name) {
                return &device;
            }
        }
    }
    return nullptr;
}

const BlockDevice* byName(const std::vector<BlockDevice>& blocks, const std::string& name) {
    for (const BlockDevice& device : blocks) {
        if (device.name == name) {
            return &device;
        }
    }
    return nullptr;
}

// The mount a path lives on: the one with the longest mount point above it.
const MountEntry* mountHolding(const std::string& path, const std::vector<MountEntry>& mounts) {
    const MountEntry* best = nullptr;
    for (const MountEntry& mount : mounts) {
        if (isAtOrBelow(path, mount.mountPoint) &&
            (best == nullptr || mount.mountPoint.size() >= best->mountPoint.size())) {
            best = &mount;
        }
    }
    return best;
}

// The folders an overlay is made of (lowerdir=/a:/b,upperdir=/c,workdir=/d).
std::vector<std::string> overlayLayers(const std::string& options) {
    std::vector<std::string> layers;
    std::size_t start = 0;
    while (start <= options.size()) {
        std::size_t end = options.find(',', start);
        if (end == std::string::npos) {
            end = options.size();
        }
        std::string option = options.substr(start, end - start);
        for (const char* key : {"lowerdir=", "upperdir=", "workdir="}) {
            std::string prefix = key;
            if (option.rfind(prefix, 0) == 0) {
                std::string list = option.substr(prefix.size());
                std::size_t from = 0;
                while (from <= list.size()) {
                    std::size_t to = list.find(':', from);
                    if (to == std::string::npos) {
                        to = list.size();
                    }
                    if (to > from) {
                        layers.push_back(list.substr(from, to - from));
                    }
                    from = to + 1;
                }
            }
        }
        start = end + 1;
    }
    return layers;
}

// Everything the running system rests on: the devices under "/", "/boot", "/usr" and swap,
// followed through overlays, loop backing files and device-mapper slaves (a live system's
// "/" is an overlay of a loop-mounted image on the stick it booted from).
void findSystem(const std::vector<BlockDevice>& blocks, const std::vector<MountEntry>& mounts,
                const std::vector<SwapEntry>& swaps, VolumeScan& scan) {
    std::deque<std::string> paths;
    std::deque<std::string> devices;
    std::set<std::string> seenPaths;
    for (const MountEntry& mount : mounts) {
        if (isSystemMountPoint(mount.mountPoint)) {
            paths.push_back(mount.mountPoint);
        }
    }
    for (const SwapEntry& swap : swaps) {
        const BlockDevice* device =
            swap.path.rfind("/dev/", 0) == 0 ? byName(blocks, baseName(swap.path)) : nullptr;
        if (device != nullptr) {
            devices.push_back(device->name);
        } else {
            scan.systemFiles.insert(swap.path);
            paths.push_back(swap.path);
        }
    }
    while (!paths.empty() || !devices.empty()) {
        if (!paths.empty()) {
            std::string path = paths.front();
            paths.pop_front();
            if (!seenPaths.insert(path).second) {
                continue;
            }
            const MountEntry* mount = mountHolding(path, mounts);
            if (mount == nullptr) {
                continue;
            }
            if (const BlockDevice* device = blockOf(*mount, blocks)) {
                devices.push_back(device->name);
            }
            if (mount->fsType == "overlay") {
                for (const std::string& layer : overlayLayers(mount->superOptions)) {
                    paths.push_back(layer);
                }
            }
            continue;
        }
        std::string name = devices.front();
        devices.pop_front();
        if (!scan.systemDevices.insert(name).second) {
            continue;
        }
        const BlockDevice* device = byName(blocks, name);
        if (device == nullptr) {
            continue;
        }
        scan.systemDisks.insert(device->disk);
        if (device->isLoop && !device->backingFile.empty()) {
            scan.systemFiles.insert(device->backingFile);
            paths.push_back(device->backingFile);
        }
        for (const std::string& slave : device->slaves) {
            devices.push_back(slave);
        }
        // The slaves of a device-mapper volume may sit on a partition; its disk counts too.
        if (device->isPartition) {
            if (const BlockDevice* disk = byName(blocks, device->disk)) {
                for (const std::string& slave : disk->slaves) {
                    devices.push_back(slave);
                }
            }
        }
    }
}

bool isVolumeDevice(const BlockDevice& device) {
    if (device.isPartition) {
        // An extended partition shows as a stub of one or two sectors.
        return device.sizeBytes > 1024;
    }
    if (device.hasPartitions) {
        return false;
    }
    const std::string& name = device.name;
    if (name.rfind("mmcblk", 0) == 0 &&
        (name.find("boot") != std::string::npos || name.find("rpmb") != std::string::npos)) {
        return false;
    }
    if (device.isLoop) {
        // Read-only loops (snap packages, live images) cannot be formatted.
        return !device.backingFile.empty() && !device.readOnly && device.sizeBytes > 0;
    }
    if (device.sizeBytes == 0) {
        // An empty card reader or CD drive still has its letter, as on Windows.
        return device.removableFlag || device.isCdRom || device.isFloppy;
    }
    return true;
}

DriveTypeCode typeByBus(const BlockDevice& device) {
    if (device.isCdRom) {
        return DriveTypeCode::CdRom;
    }
    if (device.isRam) {
        return DriveTypeCode::RamDisk;
    }
    if (device.isLoop || device.isFloppy || device.removableFlag || device.bus == "usb" ||
        device.bus == "mmc") {
        return DriveTypeCode::Removable;
    }
    return DriveTypeCode::Fixed;
}

}  // namespace

bool isSystemMountPoint(const std::string& mountPoint) {
    return mountPoint == "/" || mountPoint == "/boot" || mountPoint == "/boot/efi" ||
           mountPoint == "/efi" || mountPoint == "/usr";
}

VolumeCandidate blockVolume(const BlockDevice& device, const std::vector<BlockDevice>& blocks,
                            const std::vector<MountEntry>& mounts, const VolumeScan& scan) {
    VolumeCandidate volume;
    volume.key = "block:" + device.name + ":" + device.diskSeq + ":" + device.backingFile;
    volume.blockName = device.name;
    volume.path = "/dev/" + device.name;
    volume.sizeBytes = device.sizeBytes;
    volume.isFloppy = device.isFloppy;
    volume.type = typeByBus(device);
    bool wholeDisk = !device.isPartition && device.hasPartitions;
    volume.isSystem = scan.systemDevices.count(device.name) != 0 ||
                      (wholeDisk && scan.systemDisks.count(device.name) != 0);
    for (const MountEntry& mount : mounts) {
        const BlockDevice* mounted = blockOf(mount, blocks);
        if (mounted != nullptr &&
            (mounted->name == device.name || (wholeDisk && mounted->disk == device.name))) {
            volume.mountPoints.push_back(mount.mountPoint);
        }
    }
    // A stick that holds the running system is never offered, none of its partitions.
    if (volume.isSystem || scan.systemDisks.count(device.disk) != 0) {
        volume.type = DriveTypeCode::Fixed;
    }
    return volume;
}

VolumeScan findVolumes(const std::vector<BlockDevice>& blocks,
                       const std::vector<MountEntry>& mounts, const std::vector<SwapEntry>& swaps) {
    VolumeScan scan;
    findSystem(blocks, mounts, swaps, scan);
    for (const BlockDevice& device : blocks) {
        if (isVolumeDevice(device)) {
            scan.volumes.push_back(blockVolume(device, blocks, mounts, scan));
        }
    }
    for (const MountEntry& mount : mounts) {
        bool network = isNetworkFs(mount.fsType);
        bool system = isSystemMountPoint(mount.mountPoint);
        if (blockOf(mount, blocks) != nullptr ||
            !(network || (isRamFs(mount.fsType) && (system || !isPlumbing(mount.mountPoint))))) {
            continue;
        }
        std::string key = "mount:" + mount.devNumber + ":" + mount.fsType + ":" + mount.source;
        auto same = std::find_if(scan.volumes.begin(), scan.volumes.end(),
                                 [&](const VolumeCandidate& other) { return other.key == key; });
        if (same != scan.volumes.end()) {
            same->mountPoints.push_back(mount.mountPoint);
            same->isSystem = same->isSystem || system;
            if (same->isSystem) {
                same->type = DriveTypeCode::Fixed;
            }
            continue;
        }
        VolumeCandidate volume;
        volume.key = key;
        volume.mountPoints.push_back(mount.mountPoint);
        volume.mountFsType = mount.fsType;
        volume.isSystem = system;
        volume.type = system    ? DriveTypeCode::Fixed
                      : network ? DriveTypeCode::Remote
                                : DriveTypeCode::RamDisk;
        scan.volumes.push_back(std::move(volume));
    }
    return scan;
}

}  // namespace calvora::platform::linux_os
