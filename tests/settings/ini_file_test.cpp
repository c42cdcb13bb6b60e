#include <gtest/gtest.h>

#include "platform/fake/fake_settings_services.h"
#include "settings/ini_file.h"

using namespace calvora::settings;
using calvora::platform::fake::FakeProfile;

TEST(IniFile, IntegersFollowTheHexadecimalRule) {
    struct Case {
        const char* text;
        std::int32_t expected;
    } cases[] = {{"0", 0},
                 {"1038", 1038},
                 {"-5", -5},
                 {"0x10", 16},
                 {"0X1f", 31},
                 {"0x", 7},
                 {"$040E", 1038},
                 {"yes", 7},
                 {"", 7},
                 {"12a", 7},
                 {"2147483647", 2147483647},
                 {"2147483648", 7},
                 {"0xFFFFFFFF", -1},
                 {"0x100000000", 7},
                 {" 42", 42}};
    for (const Case& c : cases) {
        EXPECT_EQ(strToIntDef(c.text, 7), c.expected) << c.text;
    }
}

TEST(IniFile, BooleansAreIntegers) {
    FakeProfile profile;
    IniFile ini(profile, "/cfg/config.ini");
    struct Case {
        const char* stored;
        bool expected;
    } cases[] = {{"0", false},  {"1", true},  {"5", true},   {"0x10", true},
                 {"yes", true}, {"no", true}, {"0x0", false}};
    for (const Case& c : cases) {
        profile.files["/cfg/config.ini"]["lastchoice"]["splash"] = c.stored;
        EXPECT_EQ(ini.readBool("LastChoice", "Splash", true), c.expected) << c.stored;
    }
    EXPECT_FALSE(ini.readBool("LastChoice", "Missing", false));
    EXPECT_EQ(ini.readString("Nothing", "Here", "dflt"), "dflt");
}

TEST(IniFile, RefusedWriteRaisesUnableToWrite) {
    FakeProfile profile;
    profile.readOnlyFiles.insert("/cfg/config.ini");
    IniFile ini(profile, "/cfg/config.ini");
    try {
        ini.writeBool("LastChoice", "Splash", true);
        FAIL() << "no error raised";
    } catch (const IniWriteError& error) {
        EXPECT_STREQ(error.what(), "Unable to write to /cfg/config.ini");
    }
}
