// Code pages through iconv, and the pair chosen for the user's locale.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/linux/linux_system.h"

namespace calvora::platform::linux_os {
namespace {

TEST(LinuxCodePagesTest, ConvertsAndReplacesWhatTheTargetCannotHold) {
    LinuxCodePages western("CP1252", "CP437");
    EXPECT_EQ(western.oemToAnsi("Caf\x82 \x81"), "Caf\xE9 \xFC");
    EXPECT_EQ(western.ansiToUtf16("Caf\xE9 \x80"), u"Caf\u00E9 \u20AC");
    EXPECT_EQ(western.utf16ToAnsi(u"\u0151 \u00E9"), "? \xE9");
    // 0x81 has no character in 1252: one replacement, the rest goes on.
    EXPECT_EQ(western.ansiToUtf16("a\x81z"), u"a?z");

    LinuxCodePages central("CP1250", "CP852");
    EXPECT_EQ(central.utf16ToAnsi(u"\u0151\u0171"), "\xF5\xFB");
    EXPECT_EQ(central.oemToAnsi("\x8B"), "\xF5");  // o with double acute

    // A lone surrogate cannot be converted.
    EXPECT_EQ(western.utf16ToAnsi(std::u16string(u"a") + char16_t(0xD800) + u"b"), "a?b");
}

TEST(LinuxCodePagesTest, UnknownCodePagesLeaveTheTextAsItIs) {
    LinuxCodePages unknown("NO-SUCH-PAGE", "NO-SUCH-PAGE");
    EXPECT_EQ(unknown.oemToAnsi("abc\x82"), "abc\x82");
}

TEST(LinuxCodePagesTest, CentralEuropeanLocalesGetTheirCodePages) {
    const char* saved = std::getenv("LC_ALL");
    const std::string savedValue = saved ? saved : "";
    const struct {
        const char* locale;
        const char* ansi;
        const char* oem;
    } cases[] = {
        {"hu_HU.UTF-8", "CP1250", "CP852"},
        {"pl_PL", "CP1250", "CP852"},
        {"en_US.UTF-8", "CP1252", "CP437"},
        {"de_DE@euro", "CP1252", "CP437"},
    };
    for (const auto& c : cases) {
        setenv("LC_ALL", c.locale, 1);
        const LinuxCodePages pages = LinuxCodePages::forUserLocale();
        EXPECT_EQ(pages.ansiCodePage(), c.ansi) << c.locale;
        EXPECT_EQ(pages.oemCodePage(), c.oem) << c.locale;
    }
    if (saved) {
        setenv("LC_ALL", savedValue.c_str(), 1);
    } else {
        unsetenv("LC_ALL");
    }
}

}  // namespace
}  // namespace calvora::platform::linux_os
