#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/volumes.h"

namespace calvora::platform::fake {

struct FakeVolume {
    DriveTypeCode type = DriveTypeCode::Removable;
    std::optional<VolumeInformation> information;  // empty: the query fails
    std::int64_t totalBytes = -1;
    std::int64_t freeBytes = -1;
    bool inUse = false;  // exclusive open fails
};

// Drives by letter ('A' to 'Z'), scripted by the test.
class FakeVolumes final : public Volumes {
public:
    std::map<char, FakeVolume> drives;

    // What it was asked.
    std::vector<std::u16string> queriedRoots;
    std::vector<std::u16string> openedDevices;

    // A formatted removable drive with the given label, file system and sizes.
    FakeVolume& add(char letter, std::u16string label, std::u16string fileSystem,
                    std::int64_t total, std::int64_t free);

    std::uint32_t logicalDrives() override;
    DriveTypeCode driveType(std::string_view root) override;
    std::optional<VolumeInformation> volumeInformation(std::u16string_view root) override;
    std::int64_t totalBytes(int driveNumber) override;
    std::int64_t freeBytes(int driveNumber) override;
    bool openExclusive(std::u16string_view devicePath) override;

private:
    FakeVolume* find(char32_t letter);
};

}  // namespace calvora::platform::fake
