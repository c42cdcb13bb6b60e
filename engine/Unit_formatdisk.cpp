#include "engine/Unit_formatdisk.h"

#include "engine/report_texts.h"
#include "platform/ascii_case.h"

namespace calvora::engine {

Tdorvformatcheckdisk* ActiveFormatter = nullptr;

Tdorvformatcheckdisk::Tdorvformatcheckdisk(const EnginePlatform& platform) : m_platform(platform) {}

Tdorvformatcheckdisk::~Tdorvformatcheckdisk() {
    if (ActiveFormatter == this) {
        ActiveFormatter = nullptr;
    }
}

bool Tdorvformatcheckdisk::LoadFmifs() {
    return m_platform.fmifs.load();
}

bool Tdorvformatcheckdisk::DoProgress(std::int32_t Percent) {
    bool cancel = false;
    if (onProgressEvent) {
        onProgressEvent(Percent, cancel);
    }
    return cancel;
}

bool Tdorvformatcheckdisk::DoInfo(const std::string& Info) {
    bool cancel = false;
    if (onInfoEvent) {
        onInfoEvent(Info, cancel);
    }
    return cancel;
}

std::string Tdorvformatcheckdisk::timeStamped(std::string_view text) {
    std::string line = m_platform.clock.longTime();
    line += report::kTimeSeparator;
    line += text;
    return line;
}

bool Tdorvformatcheckdisk::CheckDrive(const std::u16string& Root, bool TestInUse,
                                      std::u16string& FileSystemName) {
    platform::CodePages& codePages = m_platform.codePages;
    if (Root.size() < 2 || Root[1] != u':') {
        throw FmtChkException(std::string(report::kInvalidDriveCheck) +
                              codePages.utf16ToAnsi(Root));
    }
    auto information = m_platform.volumes.volumeInformation(Root);
    if (!information) {
        throw FmtChkException(m_platform.clock.longTime() + ":" +
                              std::string(report::kDriveNotFound) + codePages.utf16ToAnsi(Root));
    }
    FileSystemName = information->fileSystemName;
    DoInfo(std::string(report::kVolumeLabelPrefix) +
           codePages.utf16ToAnsi(information->volumeName));
    DoInfo(std::string(report::kFileSystemPrefix) + codePages.utf16ToAnsi(FileSystemName));
    if (TestInUse) {
        std::u16string device = u"\\\\.\\";
        device += Root[0];
        device += u':';
        if (!m_platform.volumes.openExclusive(device)) {
            throw FmtChkException(std::string(report::kDriveInUse) + codePages.utf16ToAnsi(Root));
        }
    }
    return true;
}

bool Tdorvformatcheckdisk::EnableCompression(const std::string& Root, bool Enable) {
    if (!LoadFmifs()) {
        return false;
    }
    std::u16string root = m_platform.codePages.ansiToUtf16(platform::asciiUpperCase(Root));
    std::u16string fileSystemName;
    CheckDrive(root, true, fileSystemName);
    if (!m_platform.fmifs.hasCompression()) {
        return false;
    }
    return m_platform.fmifs.library().enableVolumeCompression(root, Enable ? 0xFFFFFFFFu : 0u) != 0;
}

}  // namespace calvora::engine
