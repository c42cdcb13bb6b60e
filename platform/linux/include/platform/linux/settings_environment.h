#pragma once

#include <functional>
#include <optional>
#include <string>

namespace calvora::platform::linux_os {

// Reads one environment variable; the process environment unless a test hands in its own.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

EnvironmentLookup processEnvironment();

}  // namespace calvora::platform::linux_os
