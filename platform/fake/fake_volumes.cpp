#include "platform/fake/fake_volumes.h"

namespace calvora::platform::fake {

FakeVolume& FakeVolumes::add(char letter, std::u16string label, std::u16string fileSystem,
                             std::int64_t total, std::int64_t free) {
    FakeVolume& volume = drives[letter];
    volume.information = VolumeInformation{std::move(label), std::move(fileSystem)};
    volume.totalBytes = total;
    volume.freeBytes = free;
    return volume;
}

FakeVolume* FakeVolumes::find(char32_t letter) {
    if (letter < 'A' || letter > 'Z') {
        return nullptr;
    }
    auto it = drives.find(static_cast<char>(letter));
    return it == drives.end() ? nullptr : &it->second;
}

std::uint32_t FakeVolumes::logicalDrives() {
    std::uint32_t mask = 0;
    for (const auto& [letter, volume] : drives) {
        mask |= 1u << (letter - 'A');
    }
    return mask;
}

DriveTypeCode FakeVolumes::driveType(std::string_view root) {
    if (root.size() < 2 || root[1] != ':') {
        return DriveTypeCode::NoRootDir;
    }
    FakeVolume* volume = find(static_cast<unsigned char>(root[0]));
    return volume ? volume->type : DriveTypeCode::NoRootDir;
}

std::optional<VolumeInformation> FakeVolumes::volumeInformation(std::u16string_view root) {
    queriedRoots.emplace_back(root);
    if (root.size() < 2 || root[1] != u':') {
        return std::nullopt;
    }
    FakeVolume* volume = find(root[0]);
    return volume ? volume->information : std::nullopt;
}

std::int64_t FakeVolumes::totalBytes(int driveNumber) {
    FakeVolume* volume = find(static_cast<char32_t>('A' + driveNumber - 1));
    return volume ? volume->totalBytes : -1;
}

std::int64_t FakeVolumes::freeBytes(int driveNumber) {
    FakeVolume* volume = find(static_cast<char32_t>('A' + driveNumber - 1));
    return volume ? volume->freeBytes : -1;
}

bool FakeVolumes::openExclusive(std::u16string_view devicePath) {
    openedDevices.emplace_back(devicePath);
    // "\\.\E:"
    if (devicePath.size() != 6 || devicePath.substr(0, 4) != u"\\\\.\\" || devicePath[5] != u':') {
        return false;
    }
    FakeVolume* volume = find(devicePath[4]);
    return volume && volume->information && !volume->inUse;
}

}  // namespace calvora::platform::fake
