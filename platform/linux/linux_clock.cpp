#include <locale.h>
#include <clocale>
#include <ctime>

#include "platform/linux/linux_system.h"

namespace calvora::platform::linux_os {
namespace {

std::string formatNow(const char* format) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[128] = {};
    // The user's LC_TIME, without changing the process-wide locale.
    locale_t userLocale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (userLocale == static_cast<locale_t>(0)) {
        userLocale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    }
    std::size_t length = strftime_l(buffer, sizeof buffer, format, &local, userLocale);
    freelocale(userLocale);
    return std::string(buffer, length);
}

}  // namespace

std::string LinuxClock::longTime() {
    return formatNow("%X");
}

std::string LinuxClock::shortDate() {
    return formatNow("%x");
}

}  // namespace calvora::platform::linux_os
