#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/calling_convention.h"

namespace calvora::platform {

// The library's callback: command code (only the low byte means something), a second value
// that callers ignore, and a pointer to data that depend on the code. The 8-bit result is
// non-zero to go on and zero to ask the library to stop.
using FormatCallback = std::uint8_t(CALVORA_WINAPI*)(std::uint32_t command, std::uint32_t subAction,
                                                     void* data);

// Data of callback code 14: a line count and zero-terminated text in the OEM code page.
struct TextOutput {
    std::uint32_t lines;
    const char* output;
};

// Arguments of "FormatEx", in the library's order.
struct FormatExArguments {
    std::u16string root;            // e.g. u"E:\\"
    std::uint32_t mediaFlag;        // 12 hard-disk-like medium, 8 floppy
    std::u16string fileSystemName;  // u"NTFS", u"FAT", u"FAT32" or u"EXFAT"
    std::u16string label;
    std::uint32_t quickFormat;  // all bits set for true, 0 for false
    std::uint32_t clusterSize;  // bytes; 0 lets the library choose
};

constexpr std::uint32_t kMediaHardDisk = 12;
constexpr std::uint32_t kMediaFloppy = 8;

// The operating system's format library (fmifs.dll), bound by name at run time.
class FormatLibrary {
public:
    virtual ~FormatLibrary() = default;

    // LoadLibraryA: true when the library could be loaded.
    virtual bool load(std::string_view libraryName) = 0;
    // GetProcAddress: whether the loaded library exports an entry of exactly this name.
    virtual bool hasEntry(std::string_view entryName) const = 0;
    // Calls "FormatEx". Synchronous: every callback arrives on the calling thread before it
    // returns. Only called when hasEntry("FormatEx").
    virtual void formatEx(const FormatExArguments& arguments, FormatCallback callback) = 0;
    // Calls "EnableVolumeCompession"; returns the low byte of its result.
    // Only called when hasEntry("EnableVolumeCompession").
    virtual std::uint8_t enableVolumeCompression(std::u16string_view root,
                                                 std::uint32_t enable) = 0;
    // FreeLibrary.
    virtual void release() = 0;
};

}  // namespace calvora::platform
