#include "platform/linux/drive_table.h"

#include "platform/ascii_case.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/linux/fs_space.h"
#include "platform/linux/volume_probe.h"

namespace calvora::platform::linux_os {
namespace fs = std::filesystem;
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::string deviceNumberOf(dev_t device) {
    return std::to_string(major(device)) + ":" + std::to_string(minor(device));
}

}  // namespace

DriveTable::DriveTable(DriveTablePaths paths) : m_paths(std::move(paths)) {
    refresh();
}

std::vector<MountEntry> DriveTable::readMounts() const {
    std::vector<MountEntry> mounts = parseMountInfo(readFile(m_paths.mountInfo));
    // "/dev/mapper/x" and "/dev/disk/by-label/y" name a device node through a link.
    for (MountEntry& mount : mounts) {
        if (mount.source.rfind("/dev/", 0) == 0) {
            std::error_code error;
            fs::path resolved = fs::canonical(mount.source, error);
            if (!error) {
                mount.source = resolved.string();
            }
        }
    }
    return mounts;
}

void DriveTable::refresh() {
    m_blocks = scanBlockDevices(m_paths.sysRoot);
    m_mounts = readMounts();
    m_scan = findVolumes(m_blocks, m_mounts, parseSwaps(readFile(m_paths.swaps)));

    std::vector<VolumeCandidate> present = m_scan.volumes;
    std::vector<Attached> stillAttached;
    for (const Attached& attached : m_attached) {
        // A device the scan lists now (its partitions went away) is no longer attached.
        if (attached.isBlockDevice &&
            std::any_of(present.begin(), present.end(), [&](const VolumeCandidate& v) {
                return v.blockName == attached.blockName;
            })) {
            continue;
        }
        std::optional<VolumeCandidate> volume = attachedVolume(attached);
        if (volume) {
            present.push_back(std::move(*volume));
            stillAttached.push_back(attached);
        }
    }
    m_attached = std::move(stillAttached);

    std::vector<DriveLetters::Request> requests;
    for (const VolumeCandidate& volume : present) {
        requests.push_back({volume.key, volume.isFloppy});
    }
    std::map<std::string, char> letters = m_letters.assign(requests);
    m_drives.clear();
    for (VolumeCandidate& volume : present) {
        auto it = letters.find(volume.key);
        if (it != letters.end()) {
            m_drives.push_back(Drive{it->second, std::move(volume)});
        }
    }
    std::sort(m_drives.begin(), m_drives.end(),
              [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
}

std::optional<VolumeCandidate> DriveTable::attachedVolume(const Attached& attached) const {
    if (attached.isBlockDevice) {
        for (const BlockDevice& device : m_blocks) {
            if (device.name == attached.blockName) {
                VolumeCandidate volume = blockVolume(device, m_blocks, m_mounts, m_scan);
                if (volume.isSystem) {
                    return std::nullopt;
                }
                volume.key = attached.key;
                return volume;
            }
        }
        return std::nullopt;
    }
    struct stat info {};
    if (::stat(attached.path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        m_scan.systemFiles.count(attached.path) != 0) {
        return std::nullopt;
    }
    VolumeCandidate volume;
    volume.key = attached.key;
    volume.path = attached.path;
    volume.isImageFile = true;
    volume.type = DriveTypeCode::Removable;
    volume.sizeBytes = static_cast<std::uint64_t>(info.st_size);
    return volume;
}

AttachResult DriveTable::attach(const std::string& path) {
    refresh();
    std::error_code error;
    fs::path canonical = fs::canonical(path, error);
    struct stat info {};
    if (path.empty() || error || ::stat(canonical.c_str(), &info) != 0) {
        return {0, "No such device or image file: " + path};
    }
    Attached attached;
    attached.path = canonical.string();
    if (S_ISBLK(info.st_mode)) {
        std::string number = deviceNumberOf(info.st_rdev);
        auto device = std::find_if(m_blocks.begin(), m_blocks.end(),
                                   [&](const BlockDevice& d) { return d.devNumber == number; });
        if (device == m_blocks.end()) {
            return {0, "The kernel does not list this block device: " + path};
        }
        for (const Drive& drive : m_drives) {
            if (drive.volume.blockName == device->name) {
                if (drive.volume.isSystem) {
                    break;
                }
                return {drive.letter, {}};
            }
        }
        if (m_scan.systemDevices.count(device->name) != 0 ||
            (!device->isPartition && m_scan.systemDisks.count(device->name) != 0)) {
            return {0, path + " holds the running system and is never formatted"};
        }
        attached.isBlockDevice = true;
        attached.blockName = device->name;
    } else if (S_ISREG(info.st_mode)) {
        if (m_scan.systemFiles.count(attached.path) != 0) {
            return {0, path + " is in use by the running system and is never formatted"};
        }
        for (const Drive& drive : m_drives) {
            const BlockDevice* loop = nullptr;
            for (const BlockDevice& device : m_blocks) {
                if (device.name == drive.volume.blockName && device.isLoop) {
                    loop = &device;
                }
            }
            if (drive.volume.path == attached.path ||
                (loop != nullptr && loop->backingFile == attached.path)) {
                return {drive.letter, {}};
            }
        }
    } else {
        return {0, path + " is neither a block device nor an image file"};
    }
    if (m_letters.nextFree(false) == 0) {
        return {0, "No drive letter is free for " + path};
    }
    attached.key = "attached:" + attached.path;
    m_attached.push_back(attached);
    refresh();
    for (const Drive& drive : m_drives) {
        if (drive.volume.key == attached.key) {
            return {drive.letter, {}};
        }
    }
    return {0, "No drive letter is free for " + path};
}

std::vector<VolumeDevice> DriveTable::drives() const {
    std::vector<VolumeDevice> devices;
    for (const Drive& drive : m_drives) {
        const VolumeCandidate& v = drive.volume;
        devices.push_back(
            VolumeDevice{drive.letter, v.path, v.isImageFile, v.type, v.mountPoints, v.isSystem});
    }
    return devices;
}

const DriveTable::Drive* DriveTable::find(char letter) const {
    letter = asciiUpper(letter);
    for (const Drive& drive : m_drives) {
        if (drive.letter == letter) {
            return &drive;
        }
    }
    return nullptr;
}

std::uint32_t DriveTable::logicalDrives() {
    refresh();
    std::uint32_t mask = 0;
    for (const Drive& drive : m_drives) {
        mask |= 1u << (drive.letter - 'A');
    }
    return mask;
}

DriveTypeCode DriveTable::driveType(std::string_view root) {
    char letter = root.size() >= 2 && root[1] == ':' ? root[0] : 0;
    const Drive* drive = find(letter);
    return drive ? drive->volume.type : DriveTypeCode::NoRootDir;
}

std::optional<VolumeInformation> DriveTable::volumeInformation(std::u16string_view root) {
    if (root.size() < 2 || root[1] != u':' || root[0] > 0x7F) {
        return std::nullopt;
    }
    refresh();
    const Drive* drive = find(static_cast<char>(root[0]));
    if (drive == nullptr) {
        return std::nullopt;
    }
    const VolumeCandidate& volume = drive->volume;
    if (volume.path.empty()) {
        std::string name = volume.mountFsType;
        if (name.rfind("fuse.", 0) == 0) {
            name = name.substr(5);
        }
        return VolumeInformation{u"", utf8ToUtf16(name)};
    }
    // No medium: answer at once, without opening the device.
    if (volume.sizeBytes == 0) {
        return std::nullopt;
    }
    std::optional<ProbedFileSystem> probed = probeFileSystem(volume.path);
    if (!probed) {
        return std::nullopt;
    }
    return VolumeInformation{utf8ToUtf16(probed->label), windowsFileSystemName(*probed)};
}

std::int64_t DriveTable::size(int driveNumber, bool free) {
    if (driveNumber < 1 || driveNumber > 26) {
        return -1;
    }
    refresh();
    const Drive* drive = find(static_cast<char>('A' + driveNumber - 1));
    if (drive == nullptr) {
        return -1;
    }
    const VolumeCandidate& volume = drive->volume;
    bool wholeDiskWithPartitions = false;
    for (const BlockDevice& device : m_blocks) {
        if (device.name == volume.blockName && !device.isPartition && device.hasPartitions) {
            wholeDiskWithPartitions = true;
        }
    }
    if (!volume.mountPoints.empty() && !wholeDiskWithPartitions) {
        struct statvfs info {};
        if (::statvfs(volume.mountPoints.front().c_str(), &info) != 0) {
            return -1;
        }
        // What Windows reports for the caller: the free bytes a user may write.
        auto blocks = free ? info.f_bavail : info.f_blocks;
        return static_cast<std::int64_t>(blocks) * static_cast<std::int64_t>(info.f_frsize);
    }
    if (volume.path.empty() || volume.sizeBytes == 0) {
        return -1;
    }
    // Only a volume that libblkid recognises is read: a partition table also ends its first
    // sector with 0x55AA, and must not pass for a FAT boot sector.
    std::optional<ProbedFileSystem> probed = probeFileSystem(volume.path);
    if (!probed || (probed->type != "vfat" && probed->type != "exfat" && probed->type != "ntfs")) {
        return -1;
    }
    std::optional<FileSystemSpace> space = readOnDiskSpace(volume.path);
    if (!space) {
        return -1;
    }
    return free ? space->freeBytes : space->totalBytes;
}

std::int64_t DriveTable::totalBytes(int driveNumber) {
    return size(driveNumber, false);
}

std::int64_t DriveTable::freeBytes(int driveNumber) {
    return size(driveNumber, true);
}

bool DriveTable::openExclusive(std::u16string_view devicePath) {
    // "\\.\E:"
    if (devicePath.size() != 6 || devicePath.substr(0, 4) != u"\\\\.\\" || devicePath[5] != u':' ||
        devicePath[4] > 0x7F) {
        return false;
    }
    return releaseForExclusiveUse(static_cast<char>(devicePath[4]));
}

std::optional<VolumeDevice> DriveTable::deviceFor(char letter) {
    refresh();
    const Drive* drive = find(letter);
    if (drive == nullptr) {
        return std::nullopt;
    }
    const VolumeCandidate& v = drive->volume;
    return VolumeDevice{drive->letter, v.path, v.isImageFile, v.type, v.mountPoints, v.isSystem};
}

bool DriveTable::backsLoopDevice(const std::string& file) const {
    return std::any_of(m_blocks.begin(), m_blocks.end(), [&](const BlockDevice& device) {
        return device.isLoop && device.backingFile == file;
    });
}

bool DriveTable::heldByOtherProcess(const VolumeCandidate& volume) const {
    struct stat own {};
    if (::stat(volume.path.c_str(), &own) != 0) {
        return false;
    }
    std::vector<dev_t> devices;
    if (!volume.isImageFile) {
        devices.push_back(own.st_rdev);
        // A program on the whole disk, or on one of this disk's partitions, holds it too.
        for (const BlockDevice& device : m_blocks) {
            bool related =
                (device.isPartition && device.disk == volume.blockName) ||
                (!device.isPartition && device.name != volume.blockName &&
                 std::any_of(m_blocks.begin(), m_blocks.end(), [&](const BlockDevice& b) {
                     return b.name == volume.blockName && b.disk == device.name;
                 }));
            struct stat node {};
            if (related && ::stat(("/dev/" + device.name).c_str(), &node) == 0) {
                devices.push_back(node.st_rdev);
            }
        }
    }
    std::string self = std::to_string(::getpid());
    std::error_code error;
    for (const fs::directory_entry& process : fs::directory_iterator(m_paths.procRoot, error)) {
        std::string pid = process.path().filename().string();
        if (pid == self || pid.empty() ||
            !std::all_of(pid.begin(), pid.end(), [](char c) { return std::isdigit(c); })) {
            continue;
        }
        std::error_code fdError;
        for (const fs::directory_entry& fd :
             fs::directory_iterator(process.path() / "fd", fdError)) {
            struct stat target {};
            if (::stat(fd.path().c_str(), &target) != 0) {
                continue;
            }
            if (volume.isImageFile
                    ? (S_ISREG(target.st_mode) && target.st_dev == own.st_dev &&
                       target.st_ino == own.st_ino)
                    : (S_ISBLK(target.st_mode) && std::find(devices.begin(), devices.end(),
                                                            target.st_rdev) != devices.end())) {
                return true;
            }
        }
    }
    return false;
}

bool DriveTable::releaseForExclusiveUse(char letter) {
    refresh();
    const Drive* drive = find(letter);
    if (drive == nullptr || drive->volume.isSystem || drive->volume.path.empty()) {
        return false;
    }
    VolumeCandidate volume = drive->volume;
    if (volume.isImageFile) {
        return !backsLoopDevice(volume.path) && !heldByOtherProcess(volume);
    }
    // Deepest first, so a mount inside another goes before it. A mount with open files
    // refuses (EBUSY): the volume is in use, and nothing is forced.
    std::vector<std::string> mountPoints = volume.mountPoints;
    std::sort(mountPoints.begin(), mountPoints.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& mountPoint : mountPoints) {
        if (::umount2(mountPoint.c_str(), 0) != 0) {
            return false;
        }
    }
    // A FUSE file system's daemon lets go of the device a moment after the unmount.
    int attempts = mountPoints.empty() ? 1 : 20;
    int fd = -1;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        fd = ::open(volume.path.c_str(), O_WRONLY | O_EXCL | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0 || errno != EBUSY) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    if (!mountPoints.empty()) {
        refresh();
    }
    return !heldByOtherProcess(volume);
}

}  // namespace calvora::platform::linux_os
