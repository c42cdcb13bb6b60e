#pragma once

#include <cstdint>

namespace calvora::platform {

constexpr std::uint32_t kPlatformWin32Windows = 1;
constexpr std::uint32_t kPlatformWin32Nt = 2;

// Facts about the operating system.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    // The platform id of GetVersionEx: 2 for the NT family. The Linux implementation answers 2,
    // as its format library follows the NT library's contract.
    virtual std::uint32_t platformId() const = 0;
};

}  // namespace calvora::platform
