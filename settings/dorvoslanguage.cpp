#include "settings/dorvoslanguage.h"

#include <cstdio>

namespace calvora::settings {

Tdorvoslang::Tdorvoslang(platform::SystemLanguage& language)
    : m_langId(language.systemDefaultLangId()) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "$%04X", static_cast<unsigned>(m_langId));
    m_langIdHex = hex;
    m_language = language.verLanguageName(m_langId).substr(0, 100);
}

}  // namespace calvora::settings
