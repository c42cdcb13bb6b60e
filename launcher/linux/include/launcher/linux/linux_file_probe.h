#pragma once

#include "launcher/file_probe.h"

namespace calvora::launcher::linux_os {

// A regular file, or a symbolic link that ends at one. Folders, broken links, sockets,
// pipes and device nodes are not a program file.
class LinuxFileProbe final : public FileProbe {
public:
    bool fileExists(std::string_view path) override;
};

}  // namespace calvora::launcher::linux_os
