#pragma once

#include "platform/drive_shell.h"
#include "platform/volumes.h"

namespace calvora::platform::linux_os {

// Display names and icons as a Linux file manager shows them: "LABEL (E:)" for a labelled
// volume, a type name such as "USB Drive (E:)" otherwise; freedesktop icon names.
class LinuxDriveShell final : public DriveShell {
public:
    explicit LinuxDriveShell(Volumes& volumes);

    std::u16string displayName(std::string_view root) override;
    std::string iconName(std::string_view root) override;

private:
    Volumes& m_volumes;
};

}  // namespace calvora::platform::linux_os
