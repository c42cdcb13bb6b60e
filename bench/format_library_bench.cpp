// Times one "FormatEx" of the Linux format library on a device or image file, for
// bench/format_vs_dd.sh: format_library_bench PATH FS full|quick [fastest|writes]
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/linux/linux_format_library.h"

namespace {

using namespace calvora::platform;
using namespace calvora::platform::linux_os;

class OneDevice final : public VolumeDevices {
public:
    explicit OneDevice(VolumeDevice device) : m_device(std::move(device)) {}
    std::optional<VolumeDevice> deviceFor(char letter) override {
        return letter == m_device.letter ? std::optional(m_device) : std::nullopt;
    }
    bool releaseForExclusiveUse(char) override { return true; }

private:
    VolumeDevice m_device;
};

bool g_success = false;

std::uint8_t callback(std::uint32_t command, std::uint32_t, void* data) {
    if (command == 11 && data != nullptr) {
        g_success = *static_cast<std::uint8_t*>(data) != 0;
    }
    if (command == 14 && data != nullptr && std::getenv("BENCH_VERBOSE") != nullptr) {
        std::fprintf(stderr, "%s\n", static_cast<TextOutput*>(data)->output);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PATH FAT|FAT32|EXFAT|NTFS full|quick [fastest|writes]\n",
                     argv[0]);
        return 64;
    }
    struct stat status {};
    if (stat(argv[1], &status) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    VolumeDevice device;
    device.letter = 'E';
    device.path = argv[1];
    device.isImageFile = S_ISREG(status.st_mode);
    device.type = DriveTypeCode::Removable;
    OneDevice devices(device);
    LinuxFormatOptions options = LinuxFormatOptions::defaults("CP437");
    if (argc > 4 && std::strcmp(argv[4], "writes") == 0) {
        options.zeroMethod = ZeroMethod::Writes;
    }
    LinuxFormatLibrary library(devices, options);
    library.load("fmifs.dll");
    FormatExArguments arguments;
    arguments.root = u"E:\\";
    arguments.mediaFlag = kMediaHardDisk;
    std::string fs = argv[2];
    arguments.fileSystemName = std::u16string(fs.begin(), fs.end());
    arguments.label = u"BENCH";
    arguments.quickFormat = std::strcmp(argv[3], "quick") == 0 ? 0xFFFFFFFFu : 0u;
    arguments.clusterSize = 0;
    const auto start = std::chrono::steady_clock::now();
    library.formatEx(arguments, &callback);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f\n", seconds);
    return g_success ? 0 : 1;
}
