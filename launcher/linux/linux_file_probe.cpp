#include "launcher/linux/linux_file_probe.h"

#include <sys/stat.h>

#include <string>

namespace calvora::launcher::linux_os {

bool LinuxFileProbe::fileExists(std::string_view path) {
    // A NUL would cut the path short and test some other file.
    if (path.empty() || path.find('\0') != std::string_view::npos) {
        return false;
    }
    const std::string terminated{path};
    struct stat info {};
    return ::stat(terminated.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace calvora::launcher::linux_os
