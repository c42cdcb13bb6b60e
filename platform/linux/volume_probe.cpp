#include "platform/linux/volume_probe.h"

#include <blkid.h>
#include <fcntl.h>
#include <unistd.h>

namespace calvora::platform::linux_os {
namespace {

std::string lookup(blkid_probe probe, const char* name) {
    const char* value = nullptr;
    std::size_t length = 0;
    if (blkid_probe_lookup_value(probe, name, &value, &length) != 0 || value == nullptr) {
        return {};
    }
    std::string text(value, length);
    while (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

}  // namespace

std::optional<ProbedFileSystem> probeFileSystem(const std::string& path) {
    // O_NONBLOCK: a CD drive or card reader without a medium answers at once.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<ProbedFileSystem> result;
    blkid_probe probe = blkid_new_probe();
    if (probe != nullptr && blkid_probe_set_device(probe, fd, 0, 0) == 0) {
        blkid_probe_enable_superblocks(probe, 1);
        blkid_probe_set_superblocks_flags(
            probe, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_TYPE | BLKID_SUBLKS_VERSION);
        // Ambivalent answers (two signatures) count as no file system, like a RAW volume.
        if (blkid_do_safeprobe(probe) == 0) {
            ProbedFileSystem probed;
            probed.type = lookup(probe, "TYPE");
            probed.version = lookup(probe, "VERSION");
            probed.label = lookup(probe, "LABEL");
            if (!probed.type.empty()) {
                result = std::move(probed);
            }
        }
    }
    if (probe != nullptr) {
        blkid_free_probe(probe);
    }
    ::close(fd);
    return result;
}

std::u16string windowsFileSystemName(const ProbedFileSystem& probed) {
    if (probed.type == "vfat") {
        return probed.version == "FAT32" ? u"FAT32" : u"FAT";
    }
    if (probed.type == "exfat") {
        return u"exFAT";
    }
    if (probed.type == "ntfs") {
        return u"NTFS";
    }
    return utf8ToUtf16(probed.type);
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string result;
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80         ? 1
                     : (lead >> 5) == 6  ? 2
                     : (lead >> 4) == 14 ? 3
                     : (lead >> 3) == 30 ? 4
                                         : 0;
        char32_t code = length == 1   ? lead
                        : length == 2 ? lead & 0x1F
                        : length == 3 ? lead & 0x0F
                                      : lead & 0x07;
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            result.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            result.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            result.push_back(static_cast<char16_t>(code));
        }
        i += static_cast<std::size_t>(length);
    }
    return result;
}

}  // namespace calvora::platform::linux_os
