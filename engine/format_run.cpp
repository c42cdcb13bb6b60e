#include <array>
#include <string>

#include "engine/Unit_formatdisk.h"
#include "engine/report_texts.h"
#include "platform/ascii_case.h"

namespace calvora::engine {
namespace {

// Drives with at most this many bytes count as blank or absent.
constexpr std::int64_t kBlankDriveLimit = 100;

constexpr std::array<std::int32_t, 8> kAcceptedClusterSizes = {512,  1024,  2048,  4096,
                                                               8192, 16384, 32768, 65536};

// The names the library expects, by file-system index.
constexpr std::array<std::u16string_view, 4> kFileSystemNames = {u"NTFS", u"FAT", u"FAT32",
                                                                 u"EXFAT"};

// A is 1, B is 2, ...; 0 (no drive) for an empty root.
int driveNumberOf(const std::string& root) {
    return root.empty() ? 0 : static_cast<unsigned char>(root[0]) - 64;
}

bool hasDriveColon(const std::string& root) {
    return root.size() >= 2 && root[1] == ':';
}

}  // namespace

void Tdorvformatcheckdisk::writeReportHead(std::string_view heading, std::string_view section) {
    DoInfo(std::string(report::kRule));
    DoInfo(std::string(heading));
    DoInfo(std::string(report::kRule));
    DoInfo(std::string(report::kDatePrefix) + m_platform.clock.shortDate());
    DoInfo(std::string(report::kTimePrefix) + m_platform.clock.longTime());
    DoInfo("");
    DoInfo(std::string(section));
}

void Tdorvformatcheckdisk::writeVolumeSpace(const std::string& root, int driveNumber) {
    DoInfo(std::string(report::kVolumeSpacePrefix) + root +
           std::to_string(m_platform.volumes.freeBytes(driveNumber)));
}

bool Tdorvformatcheckdisk::FormatDisk(const std::string& Root, std::uint8_t MediaType,
                                      std::uint8_t FileSystemIndex, const std::string& Label,
                                      bool QuickFormat, std::int32_t ClusterSize) {
    if (!LoadFmifs()) {
        return false;
    }
    const std::string root = platform::asciiUpperCase(Root);
    platform::FormatExArguments arguments;
    arguments.root = m_platform.codePages.ansiToUtf16(root);
    arguments.label = m_platform.codePages.ansiToUtf16(platform::asciiUpperCase(Label));

    switch (MediaType) {
        case 0:
            arguments.mediaFlag = platform::kMediaHardDisk;
            break;
        case 1:
            arguments.mediaFlag = platform::kMediaFloppy;
            break;
        default:
            DoInfo(std::string(report::kUnknownMediaType) + std::to_string(MediaType));
            return false;
    }
    if (FileSystemIndex >= kFileSystemNames.size()) {
        DoInfo(std::string(report::kUnknownFileSystem) + std::to_string(FileSystemIndex));
        return false;
    }
    arguments.fileSystemName = std::u16string(kFileSystemNames[FileSystemIndex]);

    arguments.clusterSize = 0;
    for (std::int32_t accepted : kAcceptedClusterSizes) {
        if (ClusterSize == accepted) {
            arguments.clusterSize = static_cast<std::uint32_t>(ClusterSize);
        }
    }

    FormatDone = false;
    bool quick = QuickFormat;
    const int driveNumber = driveNumberOf(root);
    const std::int64_t driveSize = m_platform.volumes.totalBytes(driveNumber);

    if (driveSize <= kBlankDriveLimit) {
        if (!hasDriveColon(root)) {
            throw FmtChkException(std::string(report::kInvalidDriveBlank) + root);
        }
        writeReportHead(report::kHeadingBlank, report::kSectionBlank);
        DoInfo(std::string(report::kDrivePrefix) + root);
        DoInfo(std::string(report::kVolumeLabelNone));
        quick = false;
    } else {
        writeReportHead(report::kHeadingFormatted, report::kSectionDrive);
        std::u16string currentFileSystem;
        CheckDrive(arguments.root, true, currentFileSystem);
        // Quick format only keeps what is there: another file system needs a full format.
        if (currentFileSystem != arguments.fileSystemName) {
            quick = false;
        }
        writeVolumeSpace(root, driveNumber);
    }

    ActiveFormatter = this;
    DoInfo("");
    DoInfo(timeStamped(report::kStartingToFormat));

    arguments.quickFormat = quick ? 0xFFFFFFFFu : 0u;
    if (m_platform.fmifs.hasFormatEx()) {
        m_platform.fmifs.library().formatEx(arguments, &FmifsCallback);
    }

    if (FormatDone) {
        DoInfo("");
        DoInfo(std::string(report::kSectionDrive));
        std::u16string newFileSystem;
        CheckDrive(arguments.root, false, newFileSystem);
        writeVolumeSpace(root, driveNumber);
        DoInfo("");
        DoInfo(std::string(report::kRule));
        DoInfo("");
        DoInfo(std::string(report::kRule));
    }
    return FormatDone;
}

}  // namespace calvora::engine
