#pragma once

#include <map>
#include <string>

#include "platform/clock.h"
#include "platform/code_pages.h"
#include "platform/system_info.h"

namespace calvora::platform::fake {

class FakeSystemInfo final : public SystemInfo {
public:
    std::uint32_t id = kPlatformWin32Nt;
    mutable int queries = 0;

    std::uint32_t platformId() const override {
        ++queries;
        return id;
    }
};

// A clock that stands still.
class FakeClock final : public Clock {
public:
    std::string time = "14:03:22";
    std::string date = "2026.12.11.";

    std::string longTime() override { return time; }
    std::string shortDate() override { return date; }
};

// Latin-1 as the ANSI code page, and a small OEM table (code page 437's umlauts and accents)
// so that a test can see the OEM text being converted.
class FakeCodePages final : public CodePages {
public:
    std::map<unsigned char, unsigned char> oemToAnsiTable{
        {0x81, 0xFC}, {0x82, 0xE9}, {0x84, 0xE4}, {0x94, 0xF6}, {0x8E, 0xC4}};

    std::string oemToAnsi(std::string_view oem) override;
    std::u16string ansiToUtf16(std::string_view ansi) override;
    std::string utf16ToAnsi(std::u16string_view text) override;
};

}  // namespace calvora::platform::fake
