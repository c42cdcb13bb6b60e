#include "platform/linux/language_locale_env.h"

#include "platform/linux/linux_system.h"

namespace calvora::platform::linux_os {
namespace {

struct KnownLanguage {
    std::string_view locale;  // language_TERRITORY, or the language alone for its main country
    std::uint16_t langId;
    std::string_view name;
};

// Windows language identifiers (primary language | sublanguage << 10) and the names an
// English system shows for them.
constexpr KnownLanguage kLanguages[] = {
    {"en_US", 0x0409, "English (United States)"},
    {"en", 0x0409, "English (United States)"},
    {"en_GB", 0x0809, "English (United Kingdom)"},
    {"hu_HU", 0x040E, "Hungarian"},
    {"hu", 0x040E, "Hungarian"},
    {"de_DE", 0x0407, "German (Germany)"},
    {"de", 0x0407, "German (Germany)"},
    {"de_AT", 0x0C07, "German (Austria)"},
    {"de_CH", 0x0807, "German (Switzerland)"},
    {"fr_FR", 0x040C, "French (France)"},
    {"fr", 0x040C, "French (France)"},
    {"it_IT", 0x0410, "Italian (Italy)"},
    {"it", 0x0410, "Italian (Italy)"},
    {"es_ES", 0x0C0A, "Spanish (Spain)"},
    {"es", 0x0C0A, "Spanish (Spain)"},
    {"pl_PL", 0x0415, "Polish"},
    {"pl", 0x0415, "Polish"},
    {"cs_CZ", 0x0405, "Czech"},
    {"cs", 0x0405, "Czech"},
    {"sk_SK", 0x041B, "Slovak"},
    {"sk", 0x041B, "Slovak"},
    {"sl_SI", 0x0424, "Slovenian"},
    {"sl", 0x0424, "Slovenian"},
    {"hr_HR", 0x041A, "Croatian"},
    {"hr", 0x041A, "Croatian"},
    {"ro_RO", 0x0418, "Romanian"},
    {"ro", 0x0418, "Romanian"},
    {"ru_RU", 0x0419, "Russian"},
    {"ru", 0x0419, "Russian"},
    {"uk_UA", 0x0422, "Ukrainian"},
    {"uk", 0x0422, "Ukrainian"},
    {"nl_NL", 0x0413, "Dutch (Netherlands)"},
    {"nl", 0x0413, "Dutch (Netherlands)"},
    {"pt_BR", 0x0416, "Portuguese (Brazil)"},
    {"pt_PT", 0x0816, "Portuguese (Portugal)"},
    {"pt", 0x0816, "Portuguese (Portugal)"},
    {"sv_SE", 0x041D, "Swedish"},
    {"sv", 0x041D, "Swedish"},
    {"fi_FI", 0x040B, "Finnish"},
    {"fi", 0x040B, "Finnish"},
    {"da_DK", 0x0406, "Danish"},
    {"da", 0x0406, "Danish"},
    {"nb_NO", 0x0414, "Norwegian (Bokmal)"},
    {"nb", 0x0414, "Norwegian (Bokmal)"},
    {"tr_TR", 0x041F, "Turkish"},
    {"tr", 0x041F, "Turkish"},
    {"el_GR", 0x0408, "Greek"},
    {"el", 0x0408, "Greek"},
    {"bg_BG", 0x0402, "Bulgarian"},
    {"bg", 0x0402, "Bulgarian"},
    {"ja_JP", 0x0411, "Japanese"},
    {"ja", 0x0411, "Japanese"},
    {"zh_CN", 0x0804, "Chinese (PRC)"},
    {"zh_TW", 0x0404, "Chinese (Taiwan)"},
    {"ko_KR", 0x0412, "Korean"},
    {"ko", 0x0412, "Korean"},
};

constexpr std::uint16_t kEnglishUs = 0x0409;

}  // namespace

std::uint16_t langIdOfLocale(std::string_view locale) {
    std::string_view name = locale.substr(0, locale.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") {
        return kEnglishUs;
    }
    for (const KnownLanguage& known : kLanguages) {
        if (known.locale == name) {
            return known.langId;
        }
    }
    std::string_view language = name.substr(0, name.find('_'));
    for (const KnownLanguage& known : kLanguages) {
        if (known.locale == language) {
            return known.langId;
        }
    }
    return kEnglishUs;
}

LocaleSystemLanguage::LocaleSystemLanguage(EnvironmentLookup environment)
    : m_environment(std::move(environment)) {}

std::uint16_t LocaleSystemLanguage::systemDefaultLangId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        auto value = m_environment(variable);
        if (value && !value->empty()) {
            return langIdOfLocale(*value);
        }
    }
    return kEnglishUs;
}

std::string LocaleSystemLanguage::localeLanguageName(std::uint16_t langId) {
    for (const KnownLanguage& known : kLanguages) {
        if (known.langId == langId) {
            return std::string(known.name);
        }
    }
    return {};
}

std::string LocaleSystemLanguage::verLanguageName(std::uint16_t langId) {
    return localeLanguageName(langId);
}

const char* LocaleSystemLanguage::ansiCodePageOf(std::uint16_t langId) {
    switch (langId & 0x3FF) {  // the primary language
        case 0x05:
        case 0x0E:
        case 0x15:
        case 0x18:
        case 0x1A:
        case 0x1B:
        case 0x1C:
        case 0x24:
            return "CP1250";
        case 0x02:
        case 0x19:
        case 0x22:
        case 0x23:
        case 0x2F:
            return "CP1251";
        case 0x08:
            return "CP1253";
        case 0x1F:
            return "CP1254";
        case 0x11:
            return "CP932";
        case 0x12:
            return "CP949";
        case 0x04:
            return (langId >> 10) == 1 ? "CP950" : "CP936";
        default:
            return "CP1252";
    }
}

std::u16string LocaleSystemLanguage::decodeText(std::string_view text, std::uint16_t langId) {
    LinuxCodePages pages(ansiCodePageOf(langId), "CP437");
    return pages.ansiToUtf16(text);
}

}  // namespace calvora::platform::linux_os
