#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/profile_ini_file.h"
#include "temp_folder.h"

using calvora::platform::linux_os::LinuxProfile;

namespace {

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(LinuxProfile, MissingFileGivesTheDefaultAndWritesCreateIt) {
    TempFolder folder;
    LinuxProfile profile;
    const std::string ini = folder.file("config.ini");
    EXPECT_EQ(profile.getPrivateProfileString("LastChoice", "Splash", "1", ini), "1");
    ASSERT_TRUE(profile.writePrivateProfileString("LastChoice", "Splash", "0", ini));
    ASSERT_TRUE(profile.writePrivateProfileString("Settings", "Language", "1038", ini));
    EXPECT_EQ(profile.getPrivateProfileString("lastchoice", "SPLASH", "1", ini), "0");
    EXPECT_EQ(contentOf(ini), "[LastChoice]\r\nSplash=0\r\n[Settings]\r\nLanguage=1038\r\n");
    // Only config.ini is left: no temporary file stays behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(LinuxProfile, RefusedWriteLeavesTheFileWhole) {
    TempFolder folder;
    LinuxProfile profile;
    // A name so long that the temporary file beside it cannot be created: the write fails the
    // way a full disk or a read-only folder makes it fail, also for root.
    const std::string ini = folder.file(std::string(250, 'c'));
    std::ofstream(ini) << "[Calvora]\r\nVersion=1.0.0.1\r\n";
    EXPECT_FALSE(profile.writePrivateProfileString("Calvora", "Version", "2.0.0.0", ini));
    EXPECT_EQ(contentOf(ini), "[Calvora]\r\nVersion=1.0.0.1\r\n");
    EXPECT_EQ(profile.getPrivateProfileString("Calvora", "Version", "", ini), "1.0.0.1");
}

TEST(LinuxProfile, MissingFolderAndUnreadableFileRefuseTheWrite) {
    TempFolder folder;
    LinuxProfile profile;
    EXPECT_FALSE(profile.writePrivateProfileString("A", "k", "v", folder.file("none/config.ini")));
    // A file too large to read is never rewritten (it would lose its content).
    const std::string big = folder.file("big.ini");
    std::ofstream(big) << std::string(LinuxProfile::kMaxFileBytes + 1, 'x');
    EXPECT_FALSE(profile.writePrivateProfileString("A", "k", "v", big));
    EXPECT_EQ(std::filesystem::file_size(big), LinuxProfile::kMaxFileBytes + 1);
}

TEST(LinuxProfile, SymbolicLinkStaysALink) {
    TempFolder folder;
    LinuxProfile profile;
    const std::string real = folder.file("real.ini");
    const std::string link = folder.file("config.ini");
    std::ofstream(real) << "[A]\r\nk=1\r\n";
    std::filesystem::create_symlink(real, link);
    ASSERT_TRUE(profile.writePrivateProfileString("A", "k", "2", link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(contentOf(real), "[A]\r\nk=2\r\n");
}
