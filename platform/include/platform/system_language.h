#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace calvora::platform {

// Windows language identifiers and what the system knows about them.
class SystemLanguage {
public:
    virtual ~SystemLanguage() = default;

    // GetSystemDefaultLangID.
    virtual std::uint16_t systemDefaultLangId() = 0;
    // GetLocaleInfoA(LOCALE_SLANGUAGE): the localized full name, e.g. "English (United
    // States)"; empty when the system has no name for it.
    virtual std::string localeLanguageName(std::uint16_t langId) = 0;
    // VerLanguageNameA: the version-resource name of the language, e.g. "Hungarian"; empty when
    // the system has no name for it.
    virtual std::string verLanguageName(std::uint16_t langId) = 0;
    // MultiByteToWideChar with the ANSI code page of the language (LOCALE_IDEFAULTANSICODEPAGE):
    // a language file's text as the windows show it. Bytes the code page cannot map become '?'.
    virtual std::u16string decodeText(std::string_view text, std::uint16_t langId) = 0;
};

}  // namespace calvora::platform
