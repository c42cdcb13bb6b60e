#include "platform/linux/fs_space.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace calvora::platform::linux_os {
namespace {

// On-disk structures are little-endian and unaligned: read them byte by byte.
std::uint32_t le16(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}
std::uint32_t le32(const std::uint8_t* p) {
    return le16(p) | le16(p + 2) << 16;
}
std::uint64_t le64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(le32(p)) | static_cast<std::uint64_t>(le32(p + 4)) << 32;
}

bool isPowerOfTwo(std::uint64_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

// Reads a long range in pieces, handing each to the consumer.
template <typename Consume>
bool readChunks(const ReadAt& read, std::uint64_t offset, std::uint64_t length, Consume consume) {
    constexpr std::size_t kChunk = 1 << 20;
    std::vector<std::uint8_t> buffer(kChunk);
    while (length > 0) {
        std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(length, kChunk));
        if (!read(offset, buffer.data(), piece)) {
            return false;
        }
        consume(buffer.data(), piece);
        offset += piece;
        length -= piece;
    }
    return true;
}

std::uint64_t zeroBits(const std::uint8_t* data, std::size_t size, std::uint64_t& bitsLeft) {
    std::uint64_t zeros = 0;
    for (std::size_t i = 0; i < size && bitsLeft > 0; ++i) {
        unsigned bits = bitsLeft >= 8 ? 8u : static_cast<unsigned>(bitsLeft);
        unsigned mask = (1u << bits) - 1;
        zeros += bits - static_cast<unsigned>(std::popcount(static_cast<unsigned>(data[i]) & mask));
        bitsLeft -= bits;
    }
    return zeros;
}

// Counts the clear bits of the volume bitmap, the unnamed data of MFT record 6 ($Bitmap).
std::optional<std::uint64_t> ntfsFreeClusters(const ReadAt& read, const std::uint8_t* boot,
                                              std::uint64_t clusters, std::uint64_t clusterBytes) {
    std::uint64_t mftCluster = le64(boot + 48);
    auto perRecord = static_cast<std::int8_t>(boot[64]);
    std::uint64_t recordBytes =
        perRecord < 0 ? 1ull << -perRecord : static_cast<std::uint64_t>(perRecord) * clusterBytes;
    if (recordBytes < 512 || recordBytes > 65536 || mftCluster >= clusters) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> record(static_cast<std::size_t>(recordBytes));
    if (!read(mftCluster * clusterBytes + 6 * recordBytes, record.data(), record.size()) ||
        std::memcmp(record.data(), "FILE", 4) != 0) {
        return std::nullopt;
    }
    // Undo the update sequence: the last two bytes of every 512-byte stride are kept in the
    // update sequence array.
    std::size_t usa = le16(record.data() + 4);
    std::size_t usaCount = le16(record.data() + 6);
    if (usaCount == 0 || usa + usaCount * 2 > record.size() ||
        (usaCount - 1) * 512 > record.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < usaCount; ++i) {
        record[i * 512 - 2] = record[usa + i * 2];
        record[i * 512 - 1] = record[usa + i * 2 + 1];
    }
    std::size_t at = le16(record.data() + 20);
    while (at + 64 <= record.size()) {
        const std::uint8_t* attribute = record.data() + at;
        std::uint32_t type = le32(attribute);
        std::uint32_t length = le32(attribute + 4);
        if (type == 0xFFFFFFFF || length < 16 || at + length > record.size()) {
            return std::nullopt;
        }
        if (type != 0x80 || attribute[9] != 0) {
            at += length;
            continue;
        }
        std::uint64_t bitsLeft = clusters;
        std::uint64_t zeros = 0;
        if (attribute[8] == 0) {
            std::size_t valueLength = le32(attribute + 16);
            std::size_t valueOffset = le16(attribute + 20);
            if (valueOffset + valueLength > length) {
                return std::nullopt;
            }
            zeros = zeroBits(attribute + valueOffset, valueLength, bitsLeft);
            return bitsLeft == 0 ? std::optional<std::uint64_t>(zeros) : std::nullopt;
        }
        // Data runs: a header byte gives the sizes of a length and a signed cluster delta.
        std::size_t run = at + le16(attribute + 32);
        std::int64_t lcn = 0;
        while (run < at + length && record[run] != 0 && bitsLeft > 0) {
            unsigned lengthSize = record[run] & 0x0F;
            unsigned offsetSize = record[run] >> 4;
            if (lengthSize == 0 || lengthSize > 8 || offsetSize > 8 ||
                run + 1 + lengthSize + offsetSize > at + length) {
                return std::nullopt;
            }
            std::uint64_t runLength = 0;
            for (unsigned k = 0; k < lengthSize; ++k) {
                runLength |= std::uint64_t{record[run + 1 + k]} << (8 * k);
            }
            std::uint64_t delta = 0;
            for (unsigned k = 0; k < offsetSize; ++k) {
                delta |= std::uint64_t{record[run + 1 + lengthSize + k]} << (8 * k);
            }
            if (offsetSize > 0 && offsetSize < 8 &&
                (record[run + lengthSize + offsetSize] & 0x80)) {
                delta |= ~0ull << (8 * offsetSize);
            }
            run += 1 + lengthSize + offsetSize;
            if (offsetSize == 0) {
                return std::nullopt;  // a sparse run has no place in the volume bitmap
            }
            lcn += static_cast<std::int64_t>(delta);
            if (lcn < 0 || static_cast<std::uint64_t>(lcn) + runLength > clusters) {
                return std::nullopt;
            }
            std::uint64_t bytes = std::min(runLength * clusterBytes, (bitsLeft + 7) / 8);
            if (!readChunks(read, static_cast<std::uint64_t>(lcn) * clusterBytes, bytes,
                            [&](const std::uint8_t* data, std::size_t n) {
                                zeros += zeroBits(data, n, bitsLeft);
                            })) {
                return std::nullopt;
            }
        }
        return bitsLeft == 0 ? std::optional<std::uint64_t>(zeros) : std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::optional<FileSystemSpace> readFatSpace(const ReadAt& read) {
    std::uint8_t boot[512];
    if (!read(0, boot, sizeof boot) || boot[510] != 0x55 || boot[511] != 0xAA) {
        return std::nullopt;
    }
    // Field offsets and the cluster-count rule are those of Microsoft's FAT document (fatgen103).
    std::uint32_t bytesPerSector = le16(boot + 11);
    std::uint32_t sectorsPerCluster = boot[13];
    std::uint32_t reserved = le16(boot + 14);
    std::uint32_t fats = boot[16];
    std::uint32_t rootEntries = le16(boot + 17);
    std::uint32_t totalSectors = le16(boot + 19) != 0 ? le16(boot + 19) : le32(boot + 32);
    std::uint32_t fatSize = le16(boot + 22) != 0 ? le16(boot + 22) : le32(boot + 36);
    if (bytesPerSector < 512 || bytesPerSector > 4096 || !isPowerOfTwo(bytesPerSector) ||
        !isPowerOfTwo(sectorsPerCluster) || reserved == 0 || fats == 0 || fatSize == 0) {
        return std::nullopt;
    }
    std::uint64_t rootSectors = (rootEntries * 32ull + bytesPerSector - 1) / bytesPerSector;
    std::uint64_t metadata = reserved + static_cast<std::uint64_t>(fats) * fatSize + rootSectors;
    if (totalSectors <= metadata) {
        return std::nullopt;
    }
    std::uint64_t clusters = (totalSectors - metadata) / sectorsPerCluster;
    int bits = clusters < 4085 ? 12 : clusters < 65525 ? 16 : 32;
    std::uint64_t clusterBytes = static_cast<std::uint64_t>(bytesPerSector) * sectorsPerCluster;
    std::uint64_t fatBytes = static_cast<std::uint64_t>(fatSize) * bytesPerSector;
    if ((clusters + 2) * static_cast<std::uint64_t>(bits) / 8 > fatBytes) {
        return std::nullopt;
    }
    FileSystemSpace space;
    space.totalBytes = static_cast<std::int64_t>(clusters * clusterBytes);
    if (bits == 32) {
        // FSInfo keeps the free count unless it is unknown (0xFFFFFFFF) or impossible.
        std::uint8_t info[512];
        std::uint64_t infoSector = le16(boot + 48);
        if (infoSector != 0 && infoSector != 0xFFFF &&
            read(infoSector * bytesPerSector, info, sizeof info) && le32(info) == 0x41615252 &&
            le32(info + 484) == 0x61417272) {
            std::uint32_t freeCount = le32(info + 488);
            if (freeCount <= clusters) {
                space.freeBytes = static_cast<std::int64_t>(freeCount * clusterBytes);
                return space;
            }
        }
    }
    // Count the free entries of the first FAT, clusters 2 .. clusters + 1.
    std::vector<std::uint8_t> fat(static_cast<std::size_t>((clusters + 2) * bits / 8 + 2));
    std::uint64_t offset = static_cast<std::uint64_t>(reserved) * bytesPerSector;
    std::size_t filled = 0;
    if (!readChunks(read, offset, fat.size() - 2, [&](const std::uint8_t* data, std::size_t n) {
            std::memcpy(fat.data() + filled, data, n);
            filled += n;
        })) {
        return std::nullopt;
    }
    std::uint64_t freeClusters = 0;
    for (std::uint64_t cluster = 2; cluster < clusters + 2; ++cluster) {
        std::uint32_t entry;
        if (bits == 12) {
            std::uint32_t pair = le16(fat.data() + cluster * 3 / 2);
            entry = (cluster & 1) ? pair >> 4 : pair & 0xFFF;
        } else if (bits == 16) {
            entry = le16(fat.data() + cluster * 2);
        } else {
            entry = le32(fat.data() + cluster * 4) & 0x0FFFFFFF;
        }
        freeClusters += entry == 0;
    }
    space.freeBytes = static_cast<std::int64_t>(freeClusters * clusterBytes);
    return space;
}

std::optional<FileSystemSpace> readExfatSpace(const ReadAt& read) {
    std::uint8_t boot[512];
    if (!read(0, boot, sizeof boot) || std::memcmp(boot + 3, "EXFAT   ", 8) != 0) {
        return std::nullopt;
    }
    // Offsets from Microsoft's exFAT file system document, main boot sector.
    std::uint64_t fatOffset = le32(boot + 80);
    std::uint64_t heapOffset = le32(boot + 88);
    std::uint64_t clusters = le32(boot + 92);
    std::uint32_t rootCluster = le32(boot + 96);
    unsigned sectorShift = boot[108];
    unsigned clusterShift = boot[109];
    if (sectorShift < 9 || sectorShift > 12 || clusterShift > 25 - sectorShift || clusters == 0 ||
        rootCluster < 2) {
        return std::nullopt;
    }
    std::uint64_t sectorBytes = 1ull << sectorShift;
    std::uint64_t clusterBytes = sectorBytes << clusterShift;
    auto clusterOffset = [&](std::uint64_t cluster) {
        return heapOffset * sectorBytes + (cluster - 2) * clusterBytes;
    };
    auto nextCluster = [&](std::uint32_t cluster) -> std::uint32_t {
        std::uint8_t entry[4];
        if (!read(fatOffset * sectorBytes + cluster * 4ull, entry, 4)) {
            return 0;
        }
        return le32(entry);
    };
    FileSystemSpace space;
    space.totalBytes = static_cast<std::int64_t>(clusters * clusterBytes);
    // The allocation bitmap's entry (type 0x81) sits in the root directory.
    std::vector<std::uint8_t> directory(static_cast<std::size_t>(clusterBytes));
    std::uint32_t cluster = rootCluster;
    for (int hops = 0; hops < 64 && cluster >= 2 && cluster < clusters + 2; ++hops) {
        if (!read(clusterOffset(cluster), directory.data(), directory.size())) {
            return std::nullopt;
        }
        for (std::size_t at = 0; at + 32 <= directory.size(); at += 32) {
            const std::uint8_t* entry = directory.data() + at;
            if (entry[0] == 0x00) {
                return space;
            }
            if (entry[0] != 0x81 || (entry[1] & 1) != 0) {
                continue;
            }
            std::uint32_t first = le32(entry + 20);
            std::uint64_t length = le64(entry + 24);
            if (first < 2 || length < (clusters + 7) / 8) {
                return space;
            }
            std::uint64_t bitsLeft = clusters;
            std::uint64_t zeros = 0;
            // The bitmap lies in a cluster chain, contiguous as mkfs writes it unless the FAT
            // says otherwise.
            std::uint32_t part = first;
            std::uint64_t remaining = (clusters + 7) / 8;
            while (remaining > 0) {
                if (part < 2 || part >= clusters + 2) {
                    return space;
                }
                std::uint64_t piece = std::min(remaining, clusterBytes);
                if (!readChunks(read, clusterOffset(part), piece,
                                [&](const std::uint8_t* data, std::size_t n) {
                                    zeros += zeroBits(data, n, bitsLeft);
                                })) {
                    return space;
                }
                remaining -= piece;
                std::uint32_t next = nextCluster(part);
                part = (next >= 2 && next < clusters + 2) ? next : part + 1;
            }
            space.freeBytes = static_cast<std::int64_t>(zeros * clusterBytes);
            return space;
        }
        cluster = nextCluster(cluster);
    }
    return space;
}

std::optional<FileSystemSpace> readNtfsSpace(const ReadAt& read) {
    std::uint8_t boot[512];
    if (!read(0, boot, sizeof boot) || std::memcmp(boot + 3, "NTFS    ", 8) != 0) {
        return std::nullopt;
    }
    std::uint32_t bytesPerSector = le16(boot + 11);
    std::uint32_t sectorsPerCluster = boot[13];
    // Above 128 the byte is a negative power of two (clusters of 64 KiB and more).
    if (sectorsPerCluster > 0x80) {
        sectorsPerCluster = 1u << (256 - sectorsPerCluster);
    }
    std::uint64_t totalSectors = le64(boot + 40);
    if (bytesPerSector < 512 || bytesPerSector > 4096 || !isPowerOfTwo(bytesPerSector) ||
        !isPowerOfTwo(sectorsPerCluster) || totalSectors == 0) {
        return std::nullopt;
    }
    std::uint64_t clusters = totalSectors / sectorsPerCluster;
    std::uint64_t clusterBytes = std::uint64_t{sectorsPerCluster} * bytesPerSector;
    FileSystemSpace space;
    space.totalBytes = static_cast<std::int64_t>(clusters * clusterBytes);
    std::optional<std::uint64_t> freeClusters =
        ntfsFreeClusters(read, boot, clusters, clusterBytes);
    if (freeClusters) {
        space.freeBytes = static_cast<std::int64_t>(*freeClusters * clusterBytes);
    }
    return space;
}

std::optional<FileSystemSpace> readOnDiskSpace(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    ReadAt read = [fd](std::uint64_t offset, std::uint8_t* data, std::size_t size) {
        std::size_t done = 0;
        while (done < size) {
            ssize_t got = ::pread(fd, data + done, size - done, static_cast<off_t>(offset + done));
            if (got <= 0) {
                return false;
            }
            done += static_cast<std::size_t>(got);
        }
        return true;
    };
    std::optional<FileSystemSpace> space = readExfatSpace(read);
    if (!space) {
        space = readNtfsSpace(read);
    }
    if (!space) {
        space = readFatSpace(read);
    }
    ::close(fd);
    return space;
}

}  // namespace calvora::platform::linux_os
