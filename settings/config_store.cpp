#include "settings/config_store.h"

#include "settings/Unit_specialfolder.h"
#include "settings/ini_file.h"

namespace calvora::settings {

ConfigurationStore::ConfigurationStore(ConfigServices services, LanguageManager& languages,
                                       SettingsView& view)
    : m_services(services), m_languages(languages), m_view(view) {}

std::string ConfigurationStore::EnsureConfigFolder() {
    return settings::EnsureConfigFolder(m_services.folders, m_services.tree);
}

std::string ConfigurationStore::configFile() {
    return ConfigFolder(m_services.folders, m_services.tree) + std::string(kConfigFileName);
}

void ConfigurationStore::LoadSettings() {
    IniFile ini(m_services.profile, configFile());
    const bool license = ini.readBool("LastChoice", "License", true);
    const bool logFile = ini.readBool("LastChoice", "Logfile", true);
    const bool skin = ini.readBool("LastChoice", "Skin", true);
    m_view.setCheckBoxLicense(license);
    m_view.setCbLicRun(license);
    m_view.setCbLogFile(logFile);
    m_view.setCbSkin(skin);
    const std::int32_t language =
        ini.readInteger("Settings", "Language", m_languages.currentLanguageId());
    try {
        m_languages.setCurrentLanguageId(static_cast<std::uint16_t>(language));
    } catch (const LanguageLoadError& error) {
        m_view.showError(error.what());
    }
    if (license) {
        m_view.showLicenseAgreement();
    }
}

bool ConfigurationStore::SaveSettings() {
    IniFile ini(m_services.profile, configFile());
    const bool splash = m_view.cbSplash();
    const bool license = m_view.cbLicRun();
    const bool logFile = m_view.cbLogFile();
    const bool skin = m_view.cbSkin();
    try {
        ini.writeInteger("Settings", "Language", m_languages.currentLanguageId());
        ini.writeBool("LastChoice", "Splash", splash);
        ini.writeBool("LastChoice", "License", license);
        ini.writeBool("LastChoice", "Logfile", logFile);
        ini.writeBool("LastChoice", "Skin", skin);
    } catch (const IniWriteError& error) {
        m_view.showError(error.what());
        return false;
    }
    return true;
}

void ConfigurationStore::WriteRegistryRecord(std::string_view fileVersionText) {
    auto key = m_services.registry.createKey(kRegistryKeyPath);
    if (!key) {
        return;
    }
    key->setDword("FileSystem", static_cast<std::uint32_t>(m_view.fileSystemIndex()));
    key->setString("ProgVers", fileVersionText);
    key->setDword("Language", m_languages.currentLanguageId());
    key->setString("LastApply", "");
    key->setString("LastUpdate", "");
    key->setDword("ShowSplash", m_view.cbSplash() ? 1 : 0);
}

void ConfigurationStore::FileSystemChange() {
    EnsureConfigFolder();
    IniFile ini(m_services.profile, configFile());
    try {
        ini.writeInteger("FileSystem", "FS", m_view.fileSystemIndex());
    } catch (const IniWriteError& error) {
        m_view.showError(error.what());
    }
}

void ConfigurationStore::FileSystemClick() {
    const int index = m_view.fileSystemIndex();
    m_view.setCompressionEnabled(index <= 0);
}

void ConfigurationStore::cbLanguageClick() {
    EnsureConfigFolder();
}

void ConfigurationStore::btnOkClick() {
    m_view.showInformation(m_languages.constantText("sThelanguagesettingissuccessful"));
    if (!SaveSettings()) {
        return;
    }
    if (m_view.cbdellastapply()) {
        IniFile ini(m_services.profile, configFile());
        try {
            ini.writeString("LastApply", "LA", "");
        } catch (const IniWriteError& error) {
            m_view.showError(error.what());
            return;
        }
    }
    m_view.enableNavigation();
    m_services.restart.startNewInstance();
    m_view.closeMainWindow();
}

bool ConfigurationStore::writeVersion(std::string_view fileVersionText) {
    IniFile ini(m_services.profile, configFile());
    try {
        ini.writeString("Calvora", "Version", fileVersionText);
    } catch (const IniWriteError& error) {
        m_view.showError(error.what());
        return false;
    }
    return true;
}

StartupChoices ConfigurationStore::readStartupChoices() {
    IniFile ini(m_services.profile, configFile());
    return StartupChoices{ini.readBool("LastChoice", "Splash", true),
                          ini.readString("LastApply", "LA", "")};
}

}  // namespace calvora::settings
