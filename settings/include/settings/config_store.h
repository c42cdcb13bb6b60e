#pragma once

#include <string>
#include <string_view>

#include "platform/folder_tree.h"
#include "platform/instance_restart.h"
#include "platform/profile.h"
#include "platform/special_folders.h"
#include "platform/user_registry.h"
#include "settings/language_manager.h"

namespace calvora::settings {

// The registry key written at every start, under HKEY_CURRENT_USER.
inline constexpr std::string_view kRegistryKeyPath = "\\Software\\DORVANTE\\CLVRA";
inline constexpr std::string_view kConfigFileName = "config.ini";
// Where the Linux build keeps HKEY_CURRENT_USER: this file in the configuration folder.
inline constexpr std::string_view kUserRegistryFileName = "hkcu.reg";

// What the configuration operations need of the main window: its Settings-page controls and a
// few window actions. The main window implements it; tests use a recording fake.
class SettingsView {
public:
    virtual ~SettingsView() = default;

    virtual bool cbSplash() const = 0;
    virtual bool cbLicRun() const = 0;
    virtual bool cbLogFile() const = 0;
    virtual bool cbSkin() const = 0;
    virtual bool cbdellastapply() const = 0;
    virtual void setCbLicRun(bool checked) = 0;
    virtual void setCbLogFile(bool checked) = 0;
    virtual void setCbSkin(bool checked) = 0;  // raises cbSkinClick, which switches the skin
    // The licence-agreement window's CheckBoxLicense.
    virtual void setCheckBoxLicense(bool checked) = 0;
    // The FileSystem box's item index; -1 when none is chosen.
    virtual int fileSystemIndex() const = 0;
    virtual void setCompressionEnabled(bool enabled) = 0;
    // Shows the licence-agreement window modally; returns when the user closes it.
    virtual void showLicenseAgreement() = 0;
    // Information box with one "OK" button; text is ANSI text of the current language.
    virtual void showInformation(std::string_view text) = 0;
    // Error box with the text of a failure.
    virtual void showError(std::string_view text) = 0;
    // Enables GBarMenu, sets lblrecflshng flashing and enabled, enables updateimg.
    virtual void enableNavigation() = 0;
    // Closes the main window through its ordinary close path.
    virtual void closeMainWindow() = 0;
};

// What FormCreate reads from config.ini.
struct StartupChoices {
    bool splash = true;
    std::string lastApply;
};

// The platform services the configuration operations use.
struct ConfigServices {
    platform::Profile& profile;
    platform::SpecialFolders& folders;
    platform::FolderTree& tree;
    platform::UserRegistry& registry;
    platform::InstanceRestart& restart;
};

// The main window's configuration operations on config.ini and the registry key. No settings
// are kept here: between the operations they live in the view's controls and in the language
// manager.
class ConfigurationStore {
public:
    ConfigurationStore(ConfigServices services, LanguageManager& languages, SettingsView& view);

    // ConfigFolder, with the missing folders created; remembered for configFile().
    std::string EnsureConfigFolder();
    // ConfigFolder (recomputed, not created) + "config.ini".
    std::string configFile();

    // Reads the LastChoice keys and the language, applies them, may show the licence agreement.
    void LoadSettings();
    // Writes Settings/Language and the four LastChoice keys. False (after showing the error)
    // when a write was refused; the keys written before it stay.
    bool SaveSettings();
    // FileSystem, ProgVers, Language, LastApply, LastUpdate, ShowSplash; silent on failure.
    void WriteRegistryRecord(std::string_view fileVersionText);

    void FileSystemChange();
    void FileSystemClick();
    void cbLanguageClick();
    // Saves, then starts the new instance and closes the main window. Nothing is restarted when
    // the settings could not be saved.
    void btnOkClick();

    // FormCreate's writes and reads.
    bool writeVersion(std::string_view fileVersionText);
    StartupChoices readStartupChoices();

private:
    ConfigServices m_services;
    LanguageManager& m_languages;
    SettingsView& m_view;
};

}  // namespace calvora::settings
