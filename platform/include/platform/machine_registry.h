#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace calvora::platform {

// One opened registry key: its subkey names in the registry's order and its string values.
struct RegistryKeyView {
    std::vector<std::string> subkeys;
    // Value names are compared without regard to case.
    std::vector<std::pair<std::string, std::string>> values;
};

// Read-only access to HKEY_LOCAL_MACHINE (RegOpenKeyExA with KEY_READ, RegEnumKeyExA,
// RegQueryValueExA, RegCloseKey).
class MachineRegistry {
public:
    virtual ~MachineRegistry() = default;

    // The key at a path such as "SYSTEM\CurrentControlSet\Enum\USBSTOR" (names compared
    // without regard to case); empty when it cannot be opened.
    virtual std::optional<RegistryKeyView> openKey(std::string_view path) = 0;
};

}  // namespace calvora::platform
