#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "engine/fmifs_binding.h"
#include "platform/calling_convention.h"
#include "platform/clock.h"
#include "platform/code_pages.h"
#include "platform/volumes.h"

namespace calvora::engine {

// Progress of a format in percent. Set Cancel to ask the format to stop.
using TProgressEvent = std::function<void(std::int32_t Percent, bool& Cancel)>;
// One line of the disk report in the ANSI code page; the empty text is an empty line.
using TInfoEvent = std::function<void(const std::string& Info, bool& Cancel)>;

// Raised by the drive check and the format when a drive must not or cannot be touched.
class FmtChkException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The OS services the engine stands on.
struct EnginePlatform {
    FmifsBinding& fmifs;
    platform::Volumes& volumes;
    platform::Clock& clock;
    platform::CodePages& codePages;
};

// Formats a volume through the format library and writes the disk report, line by line,
// through onInfoEvent. Runs on the caller's thread; both events are raised from inside
// FormatDisk, and a handler may let pending window messages run.
class Tdorvformatcheckdisk final {
public:
    explicit Tdorvformatcheckdisk(const EnginePlatform& platform);
    // A destroyed engine must not receive the library's callbacks any more.
    ~Tdorvformatcheckdisk();
    Tdorvformatcheckdisk(const Tdorvformatcheckdisk&) = delete;
    Tdorvformatcheckdisk& operator=(const Tdorvformatcheckdisk&) = delete;

    TProgressEvent onProgressEvent;
    TInfoEvent onInfoEvent;
    // True once the library has reported a successful end of the current format.
    bool FormatDone = false;

    // Binds the format library on first use; true when it is usable.
    bool LoadFmifs();
    // Raise an event; the result is the handler's Cancel (false with no handler).
    bool DoProgress(std::int32_t Percent);
    bool DoInfo(const std::string& Info);
    // Checks a drive root (used exactly as passed), reports its label and file system, and
    // with TestInUse also that nobody else holds it open. Returns true or raises FmtChkException.
    bool CheckDrive(const std::u16string& Root, bool TestInUse, std::u16string& FileSystemName);
    // Asks the library to switch compression of the volume on or off.
    bool EnableCompression(const std::string& Root, bool Enable);
    // Formats one drive. MediaType 0 hard disk, 1 floppy; FileSystemIndex 0 NTFS, 1 FAT,
    // 2 FAT32, 3 EXFAT. True when the library reported a successful end.
    bool FormatDisk(const std::string& Root, std::uint8_t MediaType, std::uint8_t FileSystemIndex,
                    const std::string& Label, bool QuickFormat, std::int32_t ClusterSize);

    // A message line: the time in the long time format, ": " and the text.
    std::string timeStamped(std::string_view text);
    platform::CodePages& codePages() { return m_platform.codePages; }

private:
    void writeReportHead(std::string_view heading, std::string_view section);
    void writeVolumeSpace(const std::string& root, int driveNumber);

    EnginePlatform m_platform;
};

// The engine whose format is running. The library's callback carries no context of its own,
// so only one format runs at a time in a process. Set right before the library is called.
extern Tdorvformatcheckdisk* ActiveFormatter;

// The callback handed to "FormatEx": turns the library's codes into events of ActiveFormatter.
// Returns zero to ask the library to stop.
std::uint8_t CALVORA_WINAPI FmifsCallback(std::uint32_t Command, std::uint32_t SubAction,
                                          void* ActionInfo);

}  // namespace calvora::engine
