#include "platform/linux/settings_environment.h"

#include <cstdlib>

namespace calvora::platform::linux_os {

EnvironmentLookup processEnvironment() {
    return [](const std::string& name) -> std::optional<std::string> {
        const char* value = std::getenv(name.c_str());
        if (value == nullptr) {
            return std::nullopt;
        }
        return std::string(value);
    };
}

}  // namespace calvora::platform::linux_os
