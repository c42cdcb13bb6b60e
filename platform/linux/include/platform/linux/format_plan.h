#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace calvora::platform::linux_os {

// The callback codes of the Windows format library this one reports through. The engine
// gives 1, 6, 7, 8, 11, 16 texts of their own; the others keep the numbers Windows uses for
// the same situation, so a report reads as it would there.
namespace fmifs_code {
inline constexpr std::uint32_t kProgress = 0;
inline constexpr std::uint32_t kStructureDone = 1;
inline constexpr std::uint32_t kAccessDenied = 6;
inline constexpr std::uint32_t kFsNotSupported = 7;
inline constexpr std::uint32_t kVolumeInUse = 8;
inline constexpr std::uint32_t kDone = 11;
inline constexpr std::uint32_t kBadLabel = 12;
inline constexpr std::uint32_t kOutput = 14;
inline constexpr std::uint32_t kClusterSizeTooSmall = 16;
inline constexpr std::uint32_t kClusterSizeTooBig = 17;
inline constexpr std::uint32_t kVolumeTooSmall = 18;
inline constexpr std::uint32_t kVolumeTooBig = 19;
}  // namespace fmifs_code

enum class FileSystemKind { Fat12, Fat16, Fat32, ExFat, Ntfs };

// The family a name the engine hands over stands for: "FAT" covers FAT12 and FAT16.
enum class FileSystemFamily { Fat, Fat32, ExFat, Ntfs };

std::optional<FileSystemFamily> familyOf(std::u16string_view fileSystemName);
// "FAT32", "exFAT", ... as a report line names it.
std::string displayName(FileSystemFamily family);
std::string displayName(FileSystemKind kind);
// The tool that writes a family, and the Debian package it comes in.
std::string toolOf(FileSystemFamily family);
std::string packageOf(FileSystemFamily family);

struct VolumeGeometry {
    std::uint64_t bytes = 0;
    std::uint32_t sectorSize = 512;
};

struct FormatRequest {
    FileSystemFamily family = FileSystemFamily::Fat32;
    std::u16string label;
    std::uint32_t clusterSize = 0;  // bytes; 0 lets the library choose
};

// What will be written, decided before anything is.
struct FormatPlan {
    FileSystemKind kind = FileSystemKind::Fat32;
    // 0 leaves the choice to the tool (exFAT and NTFS, which choose as Windows does).
    std::uint32_t clusterSize = 0;
    std::string labelUtf8;
    std::uint32_t sectorSize = 512;
};

// Why a request cannot be carried out on a volume: a callback code (0 for none) and a line.
struct PlanRefusal {
    std::uint32_t code = 0;
    std::string reason;
};

struct PlanResult {
    std::optional<FormatPlan> plan;
    PlanRefusal refusal;
};

// Checks the label against what the file system can hold; the refusal when it cannot.
// The OEM code page (iconv name) is the one FAT labels are stored in.
std::optional<PlanRefusal> checkLabel(FileSystemFamily family, std::u16string_view label,
                                      const std::string& oemCodePage);

// Decides kind and cluster size for the volume, or says why the request does not fit it.
PlanResult planFormat(const FormatRequest& request, const VolumeGeometry& volume,
                      const std::string& oemCodePage);

// The command line of the tool that writes the plan onto target.
std::vector<std::string> mkfsArguments(const FormatPlan& plan, const std::string& toolPath,
                                       const std::string& target, bool targetIsImageFile,
                                       const std::string& oemCodePage);

// Bounds on the number of data clusters mkfs.fat gives a volume; exact within the slack of
// its alignment of the data area.
struct ClusterCountRange {
    std::uint64_t least = 0;
    std::uint64_t most = 0;
};
ClusterCountRange fatClusterCount(FileSystemKind kind, const VolumeGeometry& volume,
                                  std::uint32_t clusterSize);

}  // namespace calvora::platform::linux_os
