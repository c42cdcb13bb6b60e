#include "platform/linux/format_plan.h"

#include <algorithm>

#include "platform/linux/format_text.h"

namespace calvora::platform::linux_os {
namespace {

constexpr std::uint64_t kKiB = 1024;
constexpr std::uint64_t kMiB = 1024 * kKiB;
constexpr std::uint64_t kGiB = 1024 * kMiB;

constexpr std::uint32_t kSmallestCluster = 512;
constexpr std::uint32_t kLargestFatCluster = 65536;

// Cluster counts that decide the FAT type: a reader tells FAT12, FAT16 and FAT32 apart by the
// count alone (Microsoft's FAT document fatgen103, "FAT Type Determination"), so a FAT32 with fewer
// than 65525 clusters would be read as FAT16. The FAT32 maximum keeps clear of the values
// 0x0FFFFFF7 and up, which mark bad and last clusters.
struct CountLimits {
    std::uint64_t least;
    std::uint64_t most;
};
constexpr CountLimits kFat12Limits{1, 4084};
constexpr CountLimits kFat16Limits{4085, 65524};
constexpr CountLimits kFat32Limits{65525, 0x0FFFFFF5};

// Below these sizes the tools refuse (mkntfs wants 1 MiB and a sector; mkfs.exfat puts its
// FAT and cluster heap on 1 MiB boundaries) or leave no useful room.
constexpr std::uint64_t kFatLeastBytes = 64 * kKiB;
constexpr std::uint64_t kExFatLeastBytes = 4 * kMiB;
constexpr std::uint64_t kNtfsLeastBytes = 2 * kMiB;
// exFAT clusters: up to 32 MiB (Microsoft's exFAT file system document); at least a handful
// in the heap for the bitmap, the up-case table and the root directory.
constexpr std::uint64_t kExFatLargestCluster = 32 * kMiB;
constexpr std::uint64_t kExFatHeapOffset = 2 * kMiB;
constexpr std::uint64_t kExFatLeastHeapClusters = 16;
// NTFS: cluster numbers are 32 bits in Windows; mkntfs takes clusters up to 2 MiB.
constexpr std::uint64_t kNtfsLargestCluster = 2 * kMiB;
constexpr std::uint64_t kNtfsMostClusters = 0xFFFFFFFFull;
constexpr std::uint64_t kExFatMostClusters = 0xFFFFFFF5ull;

std::string megabytes(std::uint64_t bytes) {
    if (bytes >= 10 * kGiB) {
        return std::to_string(bytes / kGiB) + " GiB";
    }
    if (bytes >= 10 * kMiB) {
        return std::to_string(bytes / kMiB) + " MiB";
    }
    return std::to_string(bytes / kKiB) + " KiB";
}

std::string bytesText(std::uint64_t bytes) {
    return std::to_string(bytes) + " bytes";
}

CountLimits limitsOf(FileSystemKind kind) {
    switch (kind) {
        case FileSystemKind::Fat12:
            return kFat12Limits;
        case FileSystemKind::Fat16:
            return kFat16Limits;
        default:
            return kFat32Limits;
    }
}

bool fits(FileSystemKind kind, const VolumeGeometry& volume, std::uint32_t clusterSize) {
    ClusterCountRange range = fatClusterCount(kind, volume, clusterSize);
    CountLimits limits = limitsOf(kind);
    return range.least >= limits.least && range.most <= limits.most;
}

// The cluster sizes from the sector size up to 64 KiB.
std::vector<std::uint32_t> fatClusterSizes(std::uint32_t sectorSize) {
    std::vector<std::uint32_t> sizes;
    for (std::uint32_t size = std::max(kSmallestCluster, sectorSize); size <= kLargestFatCluster;
         size *= 2) {
        sizes.push_back(size);
    }
    return sizes;
}

// The cluster size Windows gives a FAT32 volume of this size by default (Microsoft's "Default
// cluster size for NTFS, FAT, and exFAT"); it is moved below when the count does not fit.
std::uint32_t windowsFat32Cluster(std::uint64_t bytes) {
    if (bytes < 64 * kMiB)
        return 512;
    if (bytes < 128 * kMiB)
        return 1024;
    if (bytes < 256 * kMiB)
        return 2048;
    if (bytes < 8 * kGiB)
        return 4096;
    if (bytes < 16 * kGiB)
        return 8192;
    if (bytes < 32 * kGiB)
        return 16384;
    return 32768;
}

bool isPowerOfTwo(std::uint64_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

PlanResult refuse(std::uint32_t code, std::string reason) {
    PlanResult result;
    result.refusal = PlanRefusal{code, std::move(reason)};
    return result;
}

PlanResult accept(FileSystemKind kind, std::uint32_t clusterSize, const FormatRequest& request,
                  const VolumeGeometry& volume) {
    PlanResult result;
    FormatPlan plan;
    plan.kind = kind;
    plan.clusterSize = clusterSize;
    plan.labelUtf8 = utf16ToUtf8(request.label);
    plan.sectorSize = volume.sectorSize;
    result.plan = plan;
    return result;
}

std::optional<PlanResult> refuseSmallerThanSector(std::uint32_t clusterSize,
                                                  const VolumeGeometry& volume) {
    if (clusterSize < volume.sectorSize || !isPowerOfTwo(clusterSize)) {
        return refuse(fmifs_code::kClusterSizeTooSmall,
                      "A cluster of " + bytesText(clusterSize) +
                          " cannot be used: clusters are whole powers of two of the drive's "
                          "sector of " +
                          bytesText(volume.sectorSize) + ".");
    }
    return std::nullopt;
}

PlanResult planFat(const FormatRequest& request, const VolumeGeometry& volume) {
    const std::string size = megabytes(volume.bytes);
    if (volume.bytes < kFatLeastBytes) {
        return refuse(fmifs_code::kVolumeTooSmall,
                      "The drive (" + size + ") is too small for FAT: it needs at least " +
                          megabytes(kFatLeastBytes) + ".");
    }
    if (request.clusterSize != 0) {
        if (auto refusal = refuseSmallerThanSector(request.clusterSize, volume)) {
            return *refusal;
        }
        if (request.clusterSize > kLargestFatCluster) {
            return refuse(fmifs_code::kClusterSizeTooBig, "FAT clusters hold at most 64 KiB; " +
                                                              bytesText(request.clusterSize) +
                                                              " is too big.");
        }
        for (FileSystemKind kind : {FileSystemKind::Fat12, FileSystemKind::Fat16}) {
            if (fits(kind, volume, request.clusterSize)) {
                return accept(kind, request.clusterSize, request, volume);
            }
        }
        if (fatClusterCount(FileSystemKind::Fat16, volume, request.clusterSize).most >
            kFat16Limits.most) {
            return refuse(fmifs_code::kClusterSizeTooSmall,
                          "Clusters of " + bytesText(request.clusterSize) +
                              " are too small for FAT on " + size +
                              ": FAT16 holds at most 65524 clusters.");
        }
        return refuse(fmifs_code::kClusterSizeTooBig,
                      "Clusters of " + bytesText(request.clusterSize) + " do not fit FAT on " +
                          size + ": choose a smaller cluster size.");
    }
    // As Windows: FAT12 below 16 MiB, FAT16 above, each with the smallest cluster that keeps
    // the count in range.
    std::vector<FileSystemKind> kinds;
    if (volume.bytes < 16 * kMiB) {
        kinds.push_back(FileSystemKind::Fat12);
    }
    kinds.push_back(FileSystemKind::Fat16);
    for (FileSystemKind kind : kinds) {
        for (std::uint32_t clusterSize : fatClusterSizes(volume.sectorSize)) {
            if (fits(kind, volume, clusterSize)) {
                return accept(kind, clusterSize, request, volume);
            }
        }
    }
    return refuse(fmifs_code::kVolumeTooBig,
                  "The drive (" + size +
                      ") is too big for FAT, which holds at most 4 GiB: choose FAT32 or exFAT.");
}

PlanResult planFat32(const FormatRequest& request, const VolumeGeometry& volume) {
    const std::string size = megabytes(volume.bytes);
    const std::uint32_t sector = std::max(kSmallestCluster, volume.sectorSize);
    if (request.clusterSize != 0) {
        if (auto refusal = refuseSmallerThanSector(request.clusterSize, volume)) {
            return *refusal;
        }
        if (request.clusterSize > kLargestFatCluster) {
            return refuse(fmifs_code::kClusterSizeTooBig, "FAT32 clusters hold at most 64 KiB; " +
                                                              bytesText(request.clusterSize) +
                                                              " is too big.");
        }
        ClusterCountRange range =
            fatClusterCount(FileSystemKind::Fat32, volume, request.clusterSize);
        if (range.most > kFat32Limits.most) {
            return refuse(fmifs_code::kClusterSizeTooSmall,
                          "Clusters of " + bytesText(request.clusterSize) +
                              " are too small for FAT32 on " + size + ".");
        }
        if (range.least < kFat32Limits.least) {
            if (!fits(FileSystemKind::Fat32, volume, sector)) {
                return refuse(fmifs_code::kVolumeTooSmall,
                              "The drive (" + size +
                                  ") is too small for FAT32, which needs at least 65525 "
                                  "clusters (about 33 MiB): choose FAT or exFAT.");
            }
            return refuse(fmifs_code::kClusterSizeTooBig,
                          "Clusters of " + bytesText(request.clusterSize) +
                              " are too big for FAT32 on " + size +
                              ": it needs at least 65525 clusters.");
        }
        return accept(FileSystemKind::Fat32, request.clusterSize, request, volume);
    }
    const std::uint32_t preferred = std::max(windowsFat32Cluster(volume.bytes), sector);
    for (std::uint32_t clusterSize = preferred; clusterSize >= sector; clusterSize /= 2) {
        if (fits(FileSystemKind::Fat32, volume, clusterSize)) {
            return accept(FileSystemKind::Fat32, clusterSize, request, volume);
        }
    }
    for (std::uint32_t clusterSize = preferred * 2; clusterSize <= kLargestFatCluster;
         clusterSize *= 2) {
        if (fits(FileSystemKind::Fat32, volume, clusterSize)) {
            return accept(FileSystemKind::Fat32, clusterSize, request, volume);
        }
    }
    if (fatClusterCount(FileSystemKind::Fat32, volume, sector).least < kFat32Limits.least) {
        return refuse(fmifs_code::kVolumeTooSmall,
                      "The drive (" + size +
                          ") is too small for FAT32, which needs at least 65525 clusters "
                          "(about 33 MiB): choose FAT or exFAT.");
    }
    return refuse(fmifs_code::kVolumeTooBig,
                  "The drive (" + size + ") is too big for FAT32: choose exFAT or NTFS.");
}

PlanResult planExFat(const FormatRequest& request, const VolumeGeometry& volume) {
    const std::string size = megabytes(volume.bytes);
    if (volume.bytes < kExFatLeastBytes) {
        return refuse(fmifs_code::kVolumeTooSmall,
                      "The drive (" + size + ") is too small for exFAT: it needs at least " +
                          megabytes(kExFatLeastBytes) + ".");
    }
    if (request.clusterSize != 0) {
        if (auto refusal = refuseSmallerThanSector(request.clusterSize, volume)) {
            return *refusal;
        }
        const std::uint64_t heapClusters = (volume.bytes - kExFatHeapOffset) / request.clusterSize;
        if (request.clusterSize > kExFatLargestCluster || heapClusters < kExFatLeastHeapClusters) {
            return refuse(fmifs_code::kClusterSizeTooBig,
                          "Clusters of " + bytesText(request.clusterSize) +
                              " are too big for exFAT on " + size + ".");
        }
        if (volume.bytes / request.clusterSize > kExFatMostClusters) {
            return refuse(fmifs_code::kClusterSizeTooSmall,
                          "Clusters of " + bytesText(request.clusterSize) +
                              " are too small for exFAT on " + size + ".");
        }
    }
    return accept(FileSystemKind::ExFat, request.clusterSize, request, volume);
}

PlanResult planNtfs(const FormatRequest& request, const VolumeGeometry& volume) {
    const std::string size = megabytes(volume.bytes);
    if (volume.bytes < kNtfsLeastBytes) {
        return refuse(fmifs_code::kVolumeTooSmall,
                      "The drive (" + size + ") is too small for NTFS: it needs at least " +
                          megabytes(kNtfsLeastBytes) + ".");
    }
    if (request.clusterSize != 0) {
        if (auto refusal = refuseSmallerThanSector(request.clusterSize, volume)) {
            return *refusal;
        }
        if (request.clusterSize > kNtfsLargestCluster) {
            return refuse(fmifs_code::kClusterSizeTooBig, "NTFS clusters hold at most 2 MiB; " +
                                                              bytesText(request.clusterSize) +
                                                              " is too big.");
        }
        if (volume.bytes / request.clusterSize > kNtfsMostClusters) {
            return refuse(fmifs_code::kClusterSizeTooSmall,
                          "Clusters of " + bytesText(request.clusterSize) +
                              " are too small for NTFS on " + size + ".");
        }
    }
    return accept(FileSystemKind::Ntfs, request.clusterSize, request, volume);
}

PlanRefusal badLabel(std::string reason) {
    return PlanRefusal{fmifs_code::kBadLabel, reason};
}

}  // namespace

std::optional<FileSystemFamily> familyOf(std::u16string_view fileSystemName) {
    if (fileSystemName == u"FAT")
        return FileSystemFamily::Fat;
    if (fileSystemName == u"FAT32")
        return FileSystemFamily::Fat32;
    if (fileSystemName == u"EXFAT")
        return FileSystemFamily::ExFat;
    if (fileSystemName == u"NTFS")
        return FileSystemFamily::Ntfs;
    return std::nullopt;
}

std::string displayName(FileSystemFamily family) {
    switch (family) {
        case FileSystemFamily::Fat:
            return "FAT";
        case FileSystemFamily::Fat32:
            return "FAT32";
        case FileSystemFamily::ExFat:
            return "exFAT";
        case FileSystemFamily::Ntfs:
            return "NTFS";
    }
    return "";
}

std::string displayName(FileSystemKind kind) {
    switch (kind) {
        case FileSystemKind::Fat12:
            return "FAT12";
        case FileSystemKind::Fat16:
            return "FAT16";
        case FileSystemKind::Fat32:
            return "FAT32";
        case FileSystemKind::ExFat:
            return "exFAT";
        case FileSystemKind::Ntfs:
            return "NTFS";
    }
    return "";
}

std::string toolOf(FileSystemFamily family) {
    switch (family) {
        case FileSystemFamily::ExFat:
            return "mkfs.exfat";
        case FileSystemFamily::Ntfs:
            return "mkntfs";
        default:
            return "mkfs.fat";
    }
}

std::string packageOf(FileSystemFamily family) {
    switch (family) {
        case FileSystemFamily::ExFat:
            return "exfatprogs";
        case FileSystemFamily::Ntfs:
            return "ntfs-3g";
        default:
            return "dosfstools";
    }
}

ClusterCountRange fatClusterCount(FileSystemKind kind, const VolumeGeometry& volume,
                                  std::uint32_t clusterSize) {
    const std::uint64_t sector = volume.sectorSize;
    if (sector == 0 || clusterSize < sector) {
        return {};
    }
    const std::uint64_t sectors = volume.bytes / sector;
    const std::uint64_t perCluster = clusterSize / sector;
    // mkfs.fat's layout: 1 reserved sector and a root directory of 512 entries of 32 bytes
    // for FAT12/16, 32 reserved sectors and no fixed root directory for FAT32; two FATs.
    const bool fat32 = kind == FileSystemKind::Fat32;
    const std::uint64_t reserved = fat32 ? 32 : 1;
    const std::uint64_t rootSectors = fat32 ? 0 : (512 * 32 + sector - 1) / sector;
    if (sectors <= reserved + rootSectors) {
        return {};
    }
    const std::uint64_t available = sectors - reserved - rootSectors;
    ClusterCountRange range;
    range.most = available / perCluster;
    // FAT entries: 12, 16 or 32 bits for each cluster and the two reserved entries.
    const std::uint64_t entryBits = kind == FileSystemKind::Fat12 ? 12 : fat32 ? 32 : 16;
    const std::uint64_t fatSectors = ((range.most + 2) * entryBits / 8 + sector) / sector;
    // mkfs.fat aligns the data area to a whole cluster.
    const std::uint64_t overhead = 2 * fatSectors + 2 * perCluster;
    range.least = available > overhead ? (available - overhead) / perCluster : 0;
    // The FATs are at least as large as the fewest clusters need, which bounds the most.
    const std::uint64_t fatSectorsAtLeast = ((range.least + 2) * entryBits / 8) / sector;
    if (available > 2 * fatSectorsAtLeast) {
        range.most = (available - 2 * fatSectorsAtLeast) / perCluster;
    }
    return range;
}

std::optional<PlanRefusal> checkLabel(FileSystemFamily family, std::u16string_view label,
                                      const std::string& oemCodePage) {
    const std::string utf8 = utf16ToUtf8(label);
    const std::string quoted = "\"" + utf8 + "\"";
    for (char16_t c : label) {
        if (c < 0x20 || c == 0x7F) {
            return badLabel("The label " + quoted + " holds a control character.");
        }
    }
    std::u16string_view forbidden;
    std::size_t longest = 0;
    switch (family) {
        case FileSystemFamily::Fat:
        case FileSystemFamily::Fat32:
            // Characters FAT directory entries cannot hold, and the ones Windows keeps out of
            // labels besides.
            forbidden = u"\"*+,./:;<=>?[\\]|";
            longest = 11;
            break;
        case FileSystemFamily::ExFat:
            forbidden = u"\"*/:<>?\\|";
            longest = 11;
            break;
        case FileSystemFamily::Ntfs:
            longest = 32;
            break;
    }
    for (char16_t c : label) {
        if (forbidden.find(c) != std::u16string_view::npos) {
            std::string character = utf16ToUtf8(std::u16string(1, c));
            return badLabel(displayName(family) + " labels cannot hold the character '" +
                            character + "'.");
        }
    }
    std::size_t length = label.size();
    if (family == FileSystemFamily::Fat || family == FileSystemFamily::Fat32) {
        // A FAT label is 11 bytes in the OEM code page.
        std::optional<std::string> oem = convertExactly(utf8, "UTF-8", oemCodePage);
        if (!oem) {
            return badLabel("The label " + quoted + " holds characters that " +
                            displayName(family) + " cannot store in code page " + oemCodePage +
                            ".");
        }
        length = oem->size();
    }
    if (length > longest) {
        return badLabel(displayName(family) + " labels hold at most " + std::to_string(longest) +
                        " characters; " + quoted + " has " + std::to_string(length) + ".");
    }
    return std::nullopt;
}

PlanResult planFormat(const FormatRequest& request, const VolumeGeometry& volume,
                      const std::string& oemCodePage) {
    if (auto refusal = checkLabel(request.family, request.label, oemCodePage)) {
        PlanResult result;
        result.refusal = *refusal;
        return result;
    }
    switch (request.family) {
        case FileSystemFamily::Fat:
            return planFat(request, volume);
        case FileSystemFamily::Fat32:
            return planFat32(request, volume);
        case FileSystemFamily::ExFat:
            return planExFat(request, volume);
        case FileSystemFamily::Ntfs:
            return planNtfs(request, volume);
    }
    return refuse(fmifs_code::kFsNotSupported, "Unknown file system.");
}

std::vector<std::string> mkfsArguments(const FormatPlan& plan, const std::string& toolPath,
                                       const std::string& target, bool targetIsImageFile,
                                       const std::string& oemCodePage) {
    std::vector<std::string> arguments{toolPath};
    switch (plan.kind) {
        case FileSystemKind::Fat12:
        case FileSystemKind::Fat16:
        case FileSystemKind::Fat32: {
            const bool fat32 = plan.kind == FileSystemKind::Fat32;
            arguments.insert(arguments.end(),
                             {"-F",
                              fat32                                ? "32"
                              : plan.kind == FileSystemKind::Fat16 ? "16"
                                                                   : "12",
                              "-s", std::to_string(plan.clusterSize / plan.sectorSize)});
            // The layout the cluster count was computed for.
            if (!fat32) {
                arguments.insert(arguments.end(), {"-r", "512"});
            }
            if (!plan.labelUtf8.empty()) {
                arguments.insert(arguments.end(), {"-n", plan.labelUtf8});
                if (int number = codePageNumber(oemCodePage); number != 0) {
                    arguments.push_back("--codepage=" + std::to_string(number));
                }
            }
            break;
        }
        case FileSystemKind::ExFat:
            if (!plan.labelUtf8.empty()) {
                arguments.insert(arguments.end(), {"-L", plan.labelUtf8});
            }
            if (plan.clusterSize != 0) {
                arguments.insert(arguments.end(), {"-c", std::to_string(plan.clusterSize)});
            }
            break;
        case FileSystemKind::Ntfs:
            // -Q: the zeros of a full format are written before, not again by mkntfs.
            // -F: the volume has been checked; mkntfs would refuse a whole disk or a file.
            arguments.insert(arguments.end(), {"-Q", "-F"});
            if (!plan.labelUtf8.empty()) {
                arguments.insert(arguments.end(), {"-L", plan.labelUtf8});
            }
            if (plan.clusterSize != 0) {
                arguments.insert(arguments.end(), {"-c", std::to_string(plan.clusterSize)});
            }
            if (targetIsImageFile) {
                arguments.insert(arguments.end(),
                                 {"-s", std::to_string(plan.sectorSize), "-p", "0"});
            }
            break;
    }
    arguments.push_back(target);
    return arguments;
}

}  // namespace calvora::platform::linux_os
