#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace calvora::platform::linux_os {

// What sysfs tells of one block device (a disk or a partition).
struct BlockDevice {
    std::string name;  // "sdb1"
    std::string disk;  // "sdb"; the device itself for a disk
    bool isPartition = false;
    bool hasPartitions = false;  // a disk with partitions below it
    std::uint64_t sizeBytes = 0;
    bool removableFlag = false;  // the kernel's "removable" of the disk
    bool readOnly = false;
    // "usb", "mmc" or empty: the bus the disk hangs on, from its place in the device tree.
    std::string bus;
    bool isLoop = false;
    std::string backingFile;  // a loop device's file, empty when unbound
    bool isCdRom = false;
    bool isFloppy = false;
    bool isRam = false;                // zram, brd
    std::string devNumber;             // "8:17"
    std::string diskSeq;               // the disk's sequence number, changes with every new medium
    std::vector<std::string> holders;  // devices built on this one (dm, md)
    std::vector<std::string> slaves;   // devices this one is built on
};

// Reads every block device below sysRoot/class/block, in natural name order (sda2 before
// sda10). Devices whose entries cannot be read are left out.
std::vector<BlockDevice> scanBlockDevices(const std::filesystem::path& sysRoot);

// "sda2" < "sda10".
bool naturalLess(const std::string& a, const std::string& b);

}  // namespace calvora::platform::linux_os
