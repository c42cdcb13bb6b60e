#pragma once

#include <string>

namespace calvora::platform {

// The current time and date as the user's locale writes them, in the ANSI code page.
class Clock {
public:
    virtual ~Clock() = default;

    // Current time in the long time format, e.g. "14:03:22".
    virtual std::string longTime() = 0;
    // Current date in the short date format, e.g. "2026.12.11." or "12/11/2026".
    virtual std::string shortDate() = 0;
};

}  // namespace calvora::platform
