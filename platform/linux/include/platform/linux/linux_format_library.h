#pragma once

#include <string>
#include <vector>

#include "platform/format_library.h"
#include "platform/linux/format_zeroing.h"
#include "platform/linux/volume_devices.h"

namespace calvora::platform::linux_os {

struct LinuxFormatOptions {
    // Where the mkfs tools are looked for, in order.
    std::vector<std::string> toolDirectories;
    ZeroMethod zeroMethod = ZeroMethod::Fastest;
    // The OEM code page (iconv name) of the callback's text and of FAT labels.
    std::string oemCodePage = "CP437";

    static LinuxFormatOptions defaults(std::string oemCodePage);
};

// The format library's "FormatEx" on Linux. A drive letter reaches a device only through the
// drive table (VolumeDevices), so nothing without a letter, and never the system volume, is
// touched. A full format zeros the whole volume first, then the mkfs tool of the file system
// writes it; the tool's lines come back as text. Everything, callbacks included, happens on
// the calling thread, with a callback at least every 100 ms.
//
// Every request is checked before the first byte is written: a refused request leaves the
// medium exactly as it was. A full format stopped (or failed) while zeroing gets a fresh
// empty file system of the requested kind before the failure is reported, so the stick is
// never left without one.
class LinuxFormatLibrary final : public FormatLibrary {
public:
    LinuxFormatLibrary(VolumeDevices& devices, LinuxFormatOptions options);

    // Loads only "fmifs.dll" (in any case, as Windows does).
    bool load(std::string_view libraryName) override;
    // "Chkdsk" and "FormatEx"; "EnableVolumeCompession" is not offered: the new NTFS volume
    // is not mounted here, so nothing could switch its compression on.
    bool hasEntry(std::string_view entryName) const override;
    void formatEx(const FormatExArguments& arguments, FormatCallback callback) override;
    std::uint8_t enableVolumeCompression(std::u16string_view root, std::uint32_t enable) override;
    void release() override;

private:
    VolumeDevices& m_devices;
    LinuxFormatOptions m_options;
    bool m_loaded = false;
};

}  // namespace calvora::platform::linux_os
