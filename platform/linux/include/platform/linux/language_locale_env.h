#pragma once

#include <cstdint>
#include <string_view>

#include "platform/linux/settings_environment.h"
#include "platform/system_language.h"

namespace calvora::platform::linux_os {

// The Windows language identifier of a POSIX locale name such as "hu_HU.UTF-8" or "de";
// 1033 (English, United States) for "C", "POSIX", an empty or an unknown name.
std::uint16_t langIdOfLocale(std::string_view locale);

// The system language from the locale environment (LC_ALL, then LC_MESSAGES, then LANG), names
// in English from a table of the common languages, and text decoding through iconv with the
// language's Windows ANSI code page.
class LocaleSystemLanguage final : public SystemLanguage {
public:
    explicit LocaleSystemLanguage(EnvironmentLookup environment = processEnvironment());

    std::uint16_t systemDefaultLangId() override;
    std::string localeLanguageName(std::uint16_t langId) override;
    std::string verLanguageName(std::uint16_t langId) override;
    std::u16string decodeText(std::string_view text, std::uint16_t langId) override;

    // The iconv name of the language's ANSI code page, e.g. "CP1250" for 1038.
    static const char* ansiCodePageOf(std::uint16_t langId);

private:
    EnvironmentLookup m_environment;
};

}  // namespace calvora::platform::linux_os
