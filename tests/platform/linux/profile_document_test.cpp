#include <gtest/gtest.h>

#include "platform/linux/profile_document.h"

using calvora::platform::linux_os::findProfileValue;
using calvora::platform::linux_os::setProfileValue;

TEST(ProfileDocument, ReadsAsTheProfileFunctionsDo) {
    const std::string text =
        "; comment\r\n[LastChoice]\r\n  Splash = 0 \r\nLicense=\"1\"\r\n;Skin=0\r\n"
        "[lastchoice]\r\nSkin=1\r\n[Settings]\r\nLanguage=1038\r\nnoequals\r\n";
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    } cases[] = {
        {"LastChoice", "Splash", "0"},         // blanks around key and value trimmed
        {"LASTCHOICE", "splash", "0"},         // letter case ignored
        {"LastChoice", "License", "1"},        // one pair of quotes removed
        {"LastChoice", "Skin", std::nullopt},  // comment; the second section of that name is not
                                               // read
        {"Settings", "Language", "1038"},
        {"Settings", "noequals", std::nullopt},
        {"Missing", "Splash", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(findProfileValue(text, c.section, c.key), c.expected)
            << c.section << "/" << c.key;
    }
}

TEST(ProfileDocument, WritesReplaceAppendAndKeepOtherLines) {
    std::string text = setProfileValue("", "Calvora", "Version", "1.4.3.310");
    EXPECT_EQ(text, "[Calvora]\r\nVersion=1.4.3.310\r\n");
    text = setProfileValue(text, "LastChoice", "Splash", "1");
    text = setProfileValue(text, "calvora", "Other", "x");
    text = setProfileValue(text, "LASTCHOICE", "splash", "0");
    EXPECT_EQ(text, "[Calvora]\r\nVersion=1.4.3.310\r\nOther=x\r\n[LastChoice]\r\nsplash=0\r\n");
    // A value cannot add lines of its own.
    text = setProfileValue(text, "LastApply", "LA", "a\r\n[Calvora]\nVersion=9");
    EXPECT_EQ(findProfileValue(text, "Calvora", "Version"), "1.4.3.310");
    EXPECT_EQ(findProfileValue(text, "LastApply", "LA"), "a  [Calvora] Version=9");
    // A last line without a line break gets one before the new key.
    EXPECT_EQ(setProfileValue("[A]\nk=1", "A", "j", "2"), "[A]\nk=1\r\nj=2\r\n");
}
