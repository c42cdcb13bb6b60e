#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace calvora::platform::linux_os {

// One kernel uevent: "ACTION@DEVPATH" followed by KEY=VALUE fields, each ended by a zero byte.
struct Uevent {
    std::string action;  // add, remove, change, bind, ...
    std::string devpath;
    std::vector<std::pair<std::string, std::string>> fields;

    // The value of a field, empty when it is missing.
    std::string field(std::string_view key) const;
};

// Kernel messages are at most a few kilobytes; anything larger is not one.
constexpr std::size_t kMaxUeventSize = 8192;

// Parses one netlink message. Messages from udev (which begin "libudev"), oversized or malformed
// messages, and fields that disagree with the header give nothing.
std::optional<Uevent> parseUevent(std::string_view message);

// "781/5567/100" (hexadecimal vendor/product/release) → vendor and product.
std::optional<std::pair<std::uint16_t, std::uint16_t>> parseUsbProduct(std::string_view product);

// A serial number as an instance name: at most 126 characters; "#", "\" and control
// characters become "_".
std::string usbInstanceName(std::string_view serial);

// The name Windows gives a USB device interface:
// "\\?\USB#VID_0781&PID_5567#SERIAL#{a5dcbf10-6530-11d2-901f-00c04fb951ed}".
std::string usbInterfaceName(std::uint16_t vendor, std::uint16_t product, std::string_view serial);

}  // namespace calvora::platform::linux_os
