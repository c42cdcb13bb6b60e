#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/code_pages.h"
#include "platform/system_info.h"

namespace calvora::platform::linux_os {

// Linux answers as the NT family: its format library keeps the NT library's contract.
class LinuxSystemInfo final : public SystemInfo {
public:
    std::uint32_t platformId() const override { return kPlatformWin32Nt; }
};

// Time and date in the formats of the user's LC_TIME locale (%X and %x).
class LinuxClock final : public Clock {
public:
    std::string longTime() override;
    std::string shortDate() override;
};

// Code pages through iconv. The names are iconv's, e.g. "CP1252" and "CP437".
class LinuxCodePages final : public CodePages {
public:
    LinuxCodePages(std::string ansiCodePage, std::string oemCodePage);
    // The pair Windows uses for the language of the user's locale (LC_ALL, LC_CTYPE, LANG):
    // Central European languages get 1250 and 852, all others 1252 and 437.
    static LinuxCodePages forUserLocale();

    const std::string& ansiCodePage() const { return m_ansi; }
    const std::string& oemCodePage() const { return m_oem; }

    std::string oemToAnsi(std::string_view oem) override;
    std::u16string ansiToUtf16(std::string_view ansi) override;
    std::string utf16ToAnsi(std::u16string_view text) override;

private:
    std::string m_ansi;
    std::string m_oem;
};

}  // namespace calvora::platform::linux_os
