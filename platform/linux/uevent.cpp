#include "platform/linux/uevent.h"

#include <charconv>
#include <cstdio>

#include "platform/device_notifications.h"

namespace calvora::platform::linux_os {
namespace {

constexpr std::size_t kMaxFields = 128;
constexpr std::size_t kMaxSerialLength = 126;

std::optional<std::uint16_t> parseHex16(std::string_view text) {
    unsigned value = 0;
    if (text.empty() || text.size() > 4) {
        return std::nullopt;
    }
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

}  // namespace

std::string Uevent::field(std::string_view key) const {
    for (const auto& [name, value] : fields) {
        if (name == key) {
            return value;
        }
    }
    return {};
}

std::optional<Uevent> parseUevent(std::string_view message) {
    if (message.empty() || message.size() > kMaxUeventSize || message.starts_with("libudev")) {
        return std::nullopt;
    }
    std::size_t end = message.find('\0');
    const std::string_view header = message.substr(0, end);
    const std::size_t at = header.find('@');
    if (at == std::string_view::npos || at == 0 || at + 1 >= header.size()) {
        return std::nullopt;
    }
    Uevent event;
    event.action = std::string(header.substr(0, at));
    event.devpath = std::string(header.substr(at + 1));
    while (end != std::string_view::npos && end + 1 < message.size()) {
        const std::size_t start = end + 1;
        end = message.find('\0', start);
        const std::string_view field = message.substr(start, end - start);
        if (field.empty()) {
            continue;
        }
        const std::size_t equals = field.find('=');
        if (equals == std::string_view::npos || equals == 0 || event.fields.size() >= kMaxFields) {
            return std::nullopt;
        }
        event.fields.emplace_back(field.substr(0, equals), field.substr(equals + 1));
    }
    for (const auto& [key, expected] :
         {std::pair{"ACTION", &event.action}, std::pair{"DEVPATH", &event.devpath}}) {
        const std::string value = event.field(key);
        if (!value.empty() && value != *expected) {
            return std::nullopt;
        }
    }
    return event;
}

std::optional<std::pair<std::uint16_t, std::uint16_t>> parseUsbProduct(std::string_view product) {
    const std::size_t first = product.find('/');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t second = product.find('/', first + 1);
    auto vendor = parseHex16(product.substr(0, first));
    auto id = parseHex16(product.substr(
        first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1));
    if (!vendor || !id) {
        return std::nullopt;
    }
    return std::pair{*vendor, *id};
}

std::string usbInstanceName(std::string_view serial) {
    std::string name;
    for (char c : serial.substr(0, kMaxSerialLength)) {
        const bool unsafe = c == '#' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
        name += unsafe ? '_' : c;
    }
    return name;
}

std::string usbInterfaceName(std::uint16_t vendor, std::uint16_t product, std::string_view serial) {
    char ids[32];
    std::snprintf(ids, sizeof ids, "VID_%04X&PID_%04X", vendor, product);
    std::string name = "\\\\?\\USB#";
    name += ids;
    name += '#';
    name += usbInstanceName(serial);
    name += '#';
    name += kGuidDevinterfaceUsbDevice;
    return name;
}

}  // namespace calvora::platform::linux_os
