#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fake/fake_settings_services.h"
#include "platform/linux/folder_tree_posix.h"
#include "platform/linux/profile_ini_file.h"
#include "platform/linux/registry_reg_file.h"
#include "settings/Unit_specialfolder.h"
#include "settings/config_store.h"

using namespace calvora::settings;
using namespace calvora::platform;

namespace {

// The main window's Settings page as the store sees it.
class RecordingView final : public SettingsView {
public:
    bool splash = true, licRun = false, logFile = false, skin = false, delLastApply = false;
    bool checkBoxLicense = false, compression = false, navigationEnabled = false, closed = false;
    int fileSystem = 2;
    int licenseShown = 0;
    std::vector<std::string> information, errors;

    bool cbSplash() const override { return splash; }
    bool cbLicRun() const override { return licRun; }
    bool cbLogFile() const override { return logFile; }
    bool cbSkin() const override { return skin; }
    bool cbdellastapply() const override { return delLastApply; }
    void setCbLicRun(bool v) override { licRun = v; }
    void setCbLogFile(bool v) override { logFile = v; }
    void setCbSkin(bool v) override { skin = v; }
    void setCheckBoxLicense(bool v) override { checkBoxLicense = v; }
    int fileSystemIndex() const override { return fileSystem; }
    void setCompressionEnabled(bool v) override { compression = v; }
    void showLicenseAgreement() override { ++licenseShown; }
    void showInformation(std::string_view text) override { information.emplace_back(text); }
    void showError(std::string_view text) override { errors.emplace_back(text); }
    void enableNavigation() override { navigationEnabled = true; }
    void closeMainWindow() override { closed = true; }
};

struct FakeStore : ::testing::Test {
    fake::FakeProfile profile;
    fake::FakeSpecialFolders folders;
    fake::FakeFolderTree tree;
    fake::FakeUserRegistry registry;
    fake::FakeInstanceRestart restart;
    fake::FakeSystemLanguage language;
    LanguageManager languages{tree, language};
    RecordingView view;
    ConfigurationStore store{ConfigServices{profile, folders, tree, registry, restart}, languages,
                             view};
    const std::string ini = "/home/user/.config/dorvante/Calvora/config.ini";
};

}  // namespace

TEST_F(FakeStore, FirstRunGivesTheDefaults) {
    EXPECT_EQ(store.EnsureConfigFolder(), "/home/user/.config/dorvante/Calvora/");
    EXPECT_TRUE(tree.folderExists("/home/user/.config/dorvante/Calvora"));
    StartupChoices choices = store.readStartupChoices();
    EXPECT_TRUE(choices.splash);
    EXPECT_EQ(choices.lastApply, "");
    store.LoadSettings();
    EXPECT_TRUE(view.licRun && view.checkBoxLicense && view.logFile && view.skin);
    EXPECT_EQ(view.licenseShown, 1);
    EXPECT_EQ(languages.currentLanguageId(), 1033);
    ASSERT_TRUE(store.writeVersion("1.4.3.310"));
    EXPECT_EQ(profile.writes, std::vector<std::string>{ini + "|Calvora|Version=1.4.3.310"});
}

TEST_F(FakeStore, StoredLanguageWithoutFileLeavesEnglish) {
    profile.files[ini]["settings"]["language"] = "1031";
    profile.files[ini]["lastchoice"]["license"] = "0";
    store.LoadSettings();
    EXPECT_EQ(languages.currentLanguageId(), 1033);
    EXPECT_EQ(view.licenseShown, 0);
    EXPECT_FALSE(view.licRun);
}

TEST_F(FakeStore, FileSystemPicksWriteTheIndexAndSetCompression) {
    view.fileSystem = 1;
    store.FileSystemChange();
    store.FileSystemClick();
    EXPECT_EQ(profile.value(ini, "FileSystem", "FS"), "1");
    EXPECT_FALSE(view.compression);
    view.fileSystem = 0;
    store.FileSystemChange();
    store.FileSystemClick();
    EXPECT_EQ(profile.value(ini, "FileSystem", "FS"), "0");
    EXPECT_TRUE(view.compression);
    view.fileSystem = -1;
    store.FileSystemClick();
    EXPECT_TRUE(view.compression);
}

TEST_F(FakeStore, OkSavesEmptiesLastUseRestartsAndCloses) {
    profile.files[ini]["lastapply"]["la"] = "2026.12.11. 14:03:22";
    view.delLastApply = true;
    view.splash = false;
    view.licRun = false;
    store.btnOkClick();
    EXPECT_EQ(view.information,
              std::vector<std::string>{"Changing setting requires the program to be restarted!"});
    EXPECT_EQ(profile.value(ini, "LastApply", "LA"), "");
    EXPECT_EQ(profile.value(ini, "LastChoice", "Splash"), "0");
    EXPECT_EQ(profile.value(ini, "Settings", "Language"), "1033");
    EXPECT_TRUE(view.navigationEnabled);
    EXPECT_EQ(restart.started, 1);
    EXPECT_TRUE(view.closed);
}

TEST_F(FakeStore, RefusedSaveIsReportedAndNothingRestarts) {
    profile.readOnlyFiles.insert(ini);
    store.btnOkClick();
    EXPECT_EQ(view.errors, std::vector<std::string>{"Unable to write to " + ini});
    EXPECT_EQ(restart.started, 0);
    EXPECT_FALSE(view.closed);
}

TEST_F(FakeStore, RegistryRecordHoldsTheSixValues) {
    view.fileSystem = -1;
    store.WriteRegistryRecord("1.4.3.310");
    EXPECT_EQ(registry.writes, (std::vector<std::string>{"FileSystem", "ProgVers", "Language",
                                                         "LastApply", "LastUpdate", "ShowSplash"}));
    auto& values = registry.keys["\\Software\\DORVANTE\\CLVRA"];
    EXPECT_EQ(values["FileSystem"], "dword:4294967295");
    EXPECT_EQ(values["ProgVers"], "sz:1.4.3.310");
    EXPECT_EQ(values["Language"], "dword:1033");
    EXPECT_EQ(values["LastApply"], "sz:");
    EXPECT_EQ(values["ShowSplash"], "dword:1");
    registry.failCreate = true;
    registry.writes.clear();
    store.WriteRegistryRecord("1.4.3.310");
    EXPECT_TRUE(registry.writes.empty());
}

TEST(ConfigFolder, SplashSpellingReachesTheSameFolderOnDisk) {
    auto base =
        std::filesystem::temp_directory_path() / ("calvora-cf-" + std::to_string(::getpid()));
    std::filesystem::create_directories(base);
    fake::FakeSpecialFolders folders;
    folders.folders[kCsidlAppData] = base.string();
    linux_os::PosixFolderTree tree;
    const std::string made = EnsureConfigFolder(folders, tree);
    EXPECT_EQ(made, base.string() + "/dorvante/Calvora/");
    EXPECT_EQ(ConfigFolder(folders, tree, "DORVANTE"), made);
    folders.folders[kCsidlAppData] = "";
    EXPECT_EQ(ConfigFolder(folders, tree), "dorvante/Calvora/");
    std::filesystem::remove_all(base);
}

TEST(ConfigurationStoreOnDisk, SettingsAndRegistrySurviveARestart) {
    auto base =
        std::filesystem::temp_directory_path() / ("calvora-rt-" + std::to_string(::getpid()));
    std::filesystem::create_directories(base);
    fake::FakeSpecialFolders folders;
    folders.folders[kCsidlAppData] = base.string();
    linux_os::PosixFolderTree tree;
    linux_os::LinuxProfile profile;
    fake::FakeInstanceRestart restart;
    fake::FakeSystemLanguage language;
    const std::string regFile = base.string() + "/hkcu.reg";
    {
        linux_os::LinuxUserRegistry registry(regFile);
        LanguageManager languages(tree, language);
        RecordingView view;
        view.splash = false;
        view.licRun = false;
        view.logFile = true;
        view.skin = false;
        ConfigurationStore store({profile, folders, tree, registry, restart}, languages, view);
        store.EnsureConfigFolder();
        store.writeVersion("1.4.3.310");
        store.WriteRegistryRecord("1.4.3.310");
        store.btnOkClick();
        ASSERT_TRUE(view.errors.empty());
    }
    {
        linux_os::LinuxUserRegistry registry(regFile);
        LanguageManager languages(tree, language);
        RecordingView view;
        ConfigurationStore store({profile, folders, tree, registry, restart}, languages, view);
        EXPECT_FALSE(store.readStartupChoices().splash);
        store.LoadSettings();
        EXPECT_FALSE(view.licRun);
        EXPECT_TRUE(view.logFile);
        EXPECT_FALSE(view.skin);
        EXPECT_EQ(view.licenseShown, 0);
        store.WriteRegistryRecord("1.4.3.311");
    }
    auto keys = linux_os::parseRegFile(tree.readFile(regFile, 1 << 20).value());
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].path, "HKEY_CURRENT_USER\\Software\\DORVANTE\\CLVRA");
    ASSERT_EQ(keys[0].values.size(), 6u);
    EXPECT_EQ(keys[0].values[1].second, "\"1.4.3.311\"");
    EXPECT_EQ(keys[0].values[5].second, "dword:00000001");
    std::filesystem::remove_all(base);
}
