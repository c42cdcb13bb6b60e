#pragma once

#include "platform/linux/settings_environment.h"
#include "platform/special_folders.h"

namespace calvora::platform::linux_os {

// The XDG base and user directories: application data is $XDG_CONFIG_HOME (when absolute) or
// ~/.config; documents is XDG_DOCUMENTS_DIR from user-dirs.dirs, else the home folder, as
// xdg-user-dir answers.
class XdgSpecialFolders final : public SpecialFolders {
public:
    explicit XdgSpecialFolders(EnvironmentLookup environment = processEnvironment());

    std::string folderPath(int csidl) override;
    char pathDelimiter() const override { return '/'; }

private:
    std::string home() const;
    std::string configHome() const;
    std::string documents() const;

    EnvironmentLookup m_environment;
};

}  // namespace calvora::platform::linux_os
