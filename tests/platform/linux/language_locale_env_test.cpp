#include <gtest/gtest.h>

#include <map>

#include "platform/linux/language_locale_env.h"

using namespace calvora::platform::linux_os;

TEST(LocaleSystemLanguage, LocaleNamesMapToWindowsIdentifiers) {
    struct Case {
        const char* locale;
        std::uint16_t id;
    } cases[] = {{"hu_HU.UTF-8", 1038},
                 {"en_US.UTF-8", 1033},
                 {"de_DE@euro", 0x0407},
                 {"hu", 1038},
                 {"de_LU", 0x0407},
                 {"C", 1033},
                 {"", 1033},
                 {"xx_YY", 1033}};
    for (const Case& c : cases) {
        EXPECT_EQ(langIdOfLocale(c.locale), c.id) << c.locale;
    }
}

TEST(LocaleSystemLanguage, EnvironmentOrderNamesAndDecoding) {
    std::map<std::string, std::string> env{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "hu_HU.UTF-8"}};
    auto lookup = [&env](const std::string& name) -> std::optional<std::string> {
        auto it = env.find(name);
        return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    LocaleSystemLanguage language(lookup);
    EXPECT_EQ(language.systemDefaultLangId(), 1038);
    env["LC_ALL"] = "en_US.UTF-8";
    EXPECT_EQ(language.systemDefaultLangId(), 1033);
    EXPECT_EQ(language.localeLanguageName(1033), "English (United States)");
    EXPECT_EQ(language.verLanguageName(1038), "Hungarian");
    EXPECT_EQ(language.localeLanguageName(0x7777), "");
    // Windows-1250: 0xF5 is o with double acute, which Latin-1 does not have.
    EXPECT_EQ(language.decodeText("\xF5", 1038), u"\u0151");
    EXPECT_EQ(language.decodeText("\xF5", 1033), u"\u00F5");
}
