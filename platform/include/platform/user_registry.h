#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace calvora::platform {

// One key of HKEY_CURRENT_USER, opened for writing. Closing it is RegCloseKey.
class UserRegistryKey {
public:
    virtual ~UserRegistryKey() = default;

    // RegSetValueExA with REG_DWORD.
    virtual bool setDword(std::string_view name, std::uint32_t value) = 0;
    // RegSetValueExA with REG_SZ; value is ANSI text.
    virtual bool setString(std::string_view name, std::string_view value) = 0;
};

// Write access to HKEY_CURRENT_USER.
class UserRegistry {
public:
    virtual ~UserRegistry() = default;

    // RegCreateKeyExA(HKEY_CURRENT_USER, path, ..., KEY_WRITE): opens the key, creating it and
    // its parents when missing; empty when that fails. path looks like "\Software\Maker\Key".
    virtual std::unique_ptr<UserRegistryKey> createKey(std::string_view path) = 0;
};

}  // namespace calvora::platform
