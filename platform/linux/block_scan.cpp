#include "platform/linux/block_scan.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <system_error>

namespace calvora::platform::linux_os {
namespace fs = std::filesystem;
namespace {

std::string readAttribute(const fs::path& file) {
    std::ifstream in(file);
    if (!in) {
        return {};
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.pop_back();
    }
    return text;
}

std::vector<std::string> listNames(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}

bool startsWithThenDigits(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// The bus shows in the device's place in the tree: .../usb2/2-1/.../block/sdb,
// .../mmc_host/mmc0/mmc0:0001/block/mmcblk0.
std::string busOf(const fs::path& devicePath) {
    std::string bus;
    for (const fs::path& part : devicePath) {
        std::string component = part.string();
        if (startsWithThenDigits(component, "usb")) {
            return "usb";
        }
        if (startsWithThenDigits(component, "mmc") || component == "mmc_host") {
            bus = "mmc";
        }
    }
    return bus;
}

std::uint64_t toNumber(const std::string& text) {
    std::uint64_t value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return 0;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

}  // namespace

bool naturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        bool digitA = std::isdigit(static_cast<unsigned char>(a[i]));
        bool digitB = std::isdigit(static_cast<unsigned char>(b[j]));
        if (digitA && digitB) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA]))) {
                ++endA;
            }
            while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB]))) {
                ++endB;
            }
            std::uint64_t numberA = toNumber(a.substr(i, endA - i));
            std::uint64_t numberB = toNumber(b.substr(j, endB - j));
            if (numberA != numberB) {
                return numberA < numberB;
            }
            i = endA;
            j = endB;
        } else {
            if (a[i] != b[j]) {
                return a[i] < b[j];
            }
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

std::vector<BlockDevice> scanBlockDevices(const fs::path& sysRoot) {
    std::vector<BlockDevice> devices;
    std::error_code rootError;
    const fs::path root = fs::weakly_canonical(sysRoot, rootError);
    const fs::path classBlock = root / "class" / "block";
    for (const std::string& name : listNames(classBlock)) {
        std::error_code error;
        fs::path devicePath = fs::canonical(classBlock / name, error);
        if (error) {
            continue;
        }
        BlockDevice device;
        device.name = name;
        device.isPartition = fs::exists(devicePath / "partition", error);
        fs::path diskPath = device.isPartition ? devicePath.parent_path() : devicePath;
        device.disk = diskPath.filename().string();
        device.sizeBytes = toNumber(readAttribute(devicePath / "size")) * 512;
        device.removableFlag = readAttribute(diskPath / "removable") == "1";
        device.readOnly = readAttribute(devicePath / "ro") == "1";
        device.bus = busOf(devicePath.lexically_relative(root));
        device.isLoop = startsWithThenDigits(device.disk, "loop");
        if (device.isLoop) {
            device.backingFile = readAttribute(diskPath / "loop" / "backing_file");
        }
        device.isCdRom = startsWithThenDigits(device.disk, "sr") ||
                         readAttribute(diskPath / "device" / "type") == "5";
        device.isFloppy = startsWithThenDigits(device.disk, "fd");
        device.isRam =
            startsWithThenDigits(device.disk, "zram") || startsWithThenDigits(device.disk, "ram");
        device.devNumber = readAttribute(devicePath / "dev");
        device.diskSeq = readAttribute(diskPath / "diskseq");
        device.holders = listNames(devicePath / "holders");
        device.slaves = listNames(devicePath / "slaves");
        devices.push_back(std::move(device));
    }
    for (BlockDevice& disk : devices) {
        if (!disk.isPartition) {
            disk.hasPartitions =
                std::any_of(devices.begin(), devices.end(), [&](const BlockDevice& other) {
                    return other.isPartition && other.disk == disk.name;
                });
        }
    }
    return devices;
}

}  // namespace calvora::platform::linux_os
