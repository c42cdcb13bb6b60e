#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/linux/registry_reg_file.h"
#include "temp_folder.h"

using namespace calvora::platform::linux_os;

TEST(LinuxUserRegistry, WritesTheExportFormatAndKeepsOtherKeys) {
    TempFolder folder;
    const std::string file = folder.file("hkcu.reg");
    std::ofstream(file)
        << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Keep\"=dword:00000001\r\n";
    LinuxUserRegistry registry(file);
    auto key = registry.createKey("\\Software\\DORVANTE\\CLVRA");
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->setDword("FileSystem", 0xFFFFFFFFu));
    EXPECT_TRUE(key->setString("ProgVers", "1.4.3.310"));
    EXPECT_TRUE(key->setString("Quoted", "a\"b\\c"));
    EXPECT_TRUE(key->setDword("filesystem", 2));  // names compare without letter case
    EXPECT_FALSE(key->setString("Bad", "two\r\nlines"));
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    EXPECT_EQ(s.str(),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Keep\"=dword:00000001\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\DORVANTE\\CLVRA]\r\n"
              "\"FileSystem\"=dword:00000002\r\n\"ProgVers\"=\"1.4.3.310\"\r\n"
              "\"Quoted\"=\"a\\\"b\\\\c\"\r\n");
    // Read back after a restart: the parser gives the same keys.
    auto keys = parseRegFile(s.str());
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[1].values[2].first, "Quoted");
    EXPECT_EQ(formatRegFile(keys), s.str());
}

TEST(LinuxUserRegistry, KeyCannotBeCreatedInAMissingFolder) {
    TempFolder folder;
    LinuxUserRegistry registry(folder.file("missing/hkcu.reg"));
    EXPECT_EQ(registry.createKey("\\Software\\DORVANTE\\CLVRA"), nullptr);
}
