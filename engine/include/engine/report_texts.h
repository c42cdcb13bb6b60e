#pragma once

#include <string_view>

// The texts of the disk report. The saved report is later rewritten by exact text, so every
// blank counts; the sizes are checked below.
namespace calvora::engine::report {

inline constexpr std::string_view kRule = "===========================================";
inline constexpr std::string_view kHeadingFormatted = "          USB DISK REPORT            ";
inline constexpr std::string_view kHeadingBlank = "               USB DISK REPORT            ";
inline constexpr std::string_view kDatePrefix = "Date: ";
inline constexpr std::string_view kTimePrefix = "Time: ";
inline constexpr std::string_view kSectionDrive = "<<   Drive   >>";
inline constexpr std::string_view kSectionBlank = "<<  Appears to be Unformatted or No Drive   >>";
inline constexpr std::string_view kDrivePrefix = "Drive : ";
inline constexpr std::string_view kVolumeLabelNone = "Volume Label  : none ";
inline constexpr std::string_view kVolumeSpacePrefix = "Volume Space  :  ";
inline constexpr std::string_view kStartingToFormat = "Starting to Format Drive ...    ";
inline constexpr std::string_view kUnknownMediaType = "Unknown Media Type  : ";
inline constexpr std::string_view kUnknownFileSystem = "Unknown File System  : ";
inline constexpr std::string_view kTimeSeparator = ": ";

// Drive check.
inline constexpr std::string_view kVolumeLabelPrefix = "Volume Label  : ";
inline constexpr std::string_view kFileSystemPrefix = "File System  : ";

// Messages of FmtChkException.
inline constexpr std::string_view kInvalidDriveBlank = "Invalid Drive Specification  :  ";
inline constexpr std::string_view kInvalidDriveCheck = "Invalid Drive Specification  :     ";
inline constexpr std::string_view kDriveNotFound = "Drive Not Found: ";
inline constexpr std::string_view kDriveInUse = "Drive In Use  :         ";

// Lines made from the format library's callback codes.
inline constexpr std::string_view kCreatedOk = "Created : OK   ";
inline constexpr std::string_view kInsufficientRights = "Insufficient Rights";
inline constexpr std::string_view kFsNotSupported = "FS Not Supported";
inline constexpr std::string_view kVolumeInUse = "Volume In-Use     ";
inline constexpr std::string_view kQuickFormatNotAllowed = "Quick Format Not Allowed        ";
inline constexpr std::string_view kFinishedOk = "Finished : OK  ";
inline constexpr std::string_view kUnableToFinish = "Unable to Finish !    ";
inline constexpr std::string_view kClusterSizeTooSmall = "Cluster Size Too Small ";
inline constexpr std::string_view kDiskCallback = "Disk Callback :         ";

static_assert(kRule.size() == 43);
static_assert(kHeadingFormatted.size() == 37);
static_assert(kHeadingBlank.size() == 42);
static_assert(kSectionDrive.size() == 15);
static_assert(kSectionBlank.size() == 46);
static_assert(kVolumeLabelNone.size() == 21);
static_assert(kVolumeSpacePrefix.size() == 17);
static_assert(kStartingToFormat.size() == 32);
static_assert(kUnknownMediaType.size() == 22);
static_assert(kUnknownFileSystem.size() == 23);
static_assert(kInvalidDriveBlank.size() == 32);
static_assert(kInvalidDriveCheck.size() == 35);
static_assert(kDriveInUse.size() == 24);
static_assert(kCreatedOk.size() == 15);
static_assert(kInsufficientRights.size() == 19);
static_assert(kFsNotSupported.size() == 16);
static_assert(kVolumeInUse.size() == 18);
static_assert(kQuickFormatNotAllowed.size() == 32);
static_assert(kFinishedOk.size() == 15);
static_assert(kUnableToFinish.size() == 22);
static_assert(kClusterSizeTooSmall.size() == 23);
static_assert(kDiskCallback.size() == 24);

}  // namespace calvora::engine::report
