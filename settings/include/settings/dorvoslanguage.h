#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system_language.h"

namespace calvora::settings {

// The operating system's default language, taken when the component is created. Its
// properties describe the running system: assigning them (as a stored window design does with
// 1038 and "$040E") changes nothing.
class Tdorvoslang {
public:
    explicit Tdorvoslang(platform::SystemLanguage& language);

    std::uint16_t LangID() const { return m_langId; }
    // "$" and four upper-case hexadecimal digits, e.g. "$040E".
    const std::string& LangIDHex() const { return m_langIdHex; }
    // The system's name of the language, at most 100 characters.
    const std::string& Language() const { return m_language; }

    void setLangID(std::uint16_t) {}
    void setLangIDHex(std::string_view) {}
    void setLanguage(std::string_view) {}

private:
    std::uint16_t m_langId;
    std::string m_langIdHex;
    std::string m_language;
};

}  // namespace calvora::settings
