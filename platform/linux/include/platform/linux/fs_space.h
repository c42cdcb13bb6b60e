#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace calvora::platform::linux_os {

// Total and free bytes of a file system, as Windows counts them: data clusters times the
// cluster size.
struct FileSystemSpace {
    std::int64_t totalBytes = -1;
    std::int64_t freeBytes = -1;
};

// Reads size bytes at offset of the volume; false when that is not possible.
using ReadAt = std::function<bool(std::uint64_t offset, std::uint8_t* data, std::size_t size)>;

// Each reads its own on-disk structures; empty when the volume does not hold that file system
// or its structures do not add up.
std::optional<FileSystemSpace> readFatSpace(const ReadAt& read);
std::optional<FileSystemSpace> readExfatSpace(const ReadAt& read);
std::optional<FileSystemSpace> readNtfsSpace(const ReadAt& read);

// Tries FAT, exFAT and NTFS on an unmounted device or image file.
std::optional<FileSystemSpace> readOnDiskSpace(const std::string& path);

}  // namespace calvora::platform::linux_os
