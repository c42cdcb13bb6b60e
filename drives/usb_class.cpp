#include "drives/usb_class.h"

#include <string_view>

#include "platform/ascii_case.h"

namespace calvora::drives {
namespace {

constexpr std::string_view kUsbKey = "SYSTEM\\CurrentControlSet\\Enum\\USB\\";
constexpr std::string_view kUsbStorKey = "SYSTEM\\CurrentControlSet\\Enum\\USBSTOR";
// Each part of a device name is taken at this length at most.
constexpr std::size_t kPartLength = 1026;

std::string valueOf(const platform::RegistryKeyView& key, std::string_view name) {
    for (const auto& [valueName, data] : key.values) {
        if (platform::equalsIgnoringAsciiCase(valueName, name)) {
            return data;
        }
    }
    return {};
}

// The text after the first "#" (all of it when there is none), at most kPartLength long.
std::string_view afterHash(std::string_view text) {
    const std::size_t hash = text.find('#');
    const std::size_t start = hash == std::string_view::npos ? 0 : hash + 1;
    return text.substr(start, kPartLength);
}

// The text before the first "#"; empty when there is none.
std::string_view beforeHash(std::string_view text) {
    const std::size_t hash = text.find('#');
    return hash == std::string_view::npos ? std::string_view() : text.substr(0, hash);
}

}  // namespace

TUsbClass::TUsbClass(platform::DeviceNotifications& notifications,
                     platform::MachineRegistry& registry)
    : m_notifications(notifications), m_registry(registry) {
    m_notifications.subscribe(
        [this](const platform::DeviceChange& change) { handleDeviceChange(change); });
}

TUsbClass::~TUsbClass() {
    m_notifications.unsubscribe();
}

std::string TUsbClass::unitMaskToDrive(std::uint32_t unitMask) {
    for (int n = 0; n < 26; ++n) {
        if (unitMask == (1u << n)) {
            return std::string{static_cast<char>('A' + n), ':'};
        }
    }
    return {};
}

void TUsbClass::handleDeviceChange(const platform::DeviceChange& change) {
    if (change.eventCode != platform::kDbtDeviceArrival &&
        change.eventCode != platform::kDbtDeviceRemoveComplete) {
        return;
    }
    const bool arrived = change.eventCode == platform::kDbtDeviceArrival;
    if (change.recordKind == platform::kDbtDevtypVolume) {
        if (OnVolumeChange) {
            OnVolumeChange(arrived, unitMaskToDrive(change.unitMask));
        }
    } else if (change.recordKind == platform::kDbtDevtypDeviceInterface) {
        // The lookup runs whether or not anyone listens.
        const UsbInfo info = GetUsbInfo(change.deviceName);
        if (OnUsbChange) {
            OnUsbChange(arrived, info.DeviceDesc, info.StorageDesc, info.StorageFriendlyName);
        }
    }
}

UsbInfo TUsbClass::GetUsbInfo(const std::string& deviceName) {
    UsbInfo info;
    if (deviceName.empty()) {
        return info;
    }
    // "\\?\USB#VID_1234&PID_5678#00AB12CD#{guid}": vendor and product, then the serial.
    const std::string_view afterPrefix = afterHash(deviceName);
    const std::string_view vendorProduct = beforeHash(afterPrefix);
    const std::string_view serial = beforeHash(afterHash(afterPrefix));

    std::string usbKey(kUsbKey);
    usbKey.append(vendorProduct).append("\\").append(serial);
    auto device = m_registry.openKey(usbKey);
    if (!device) {
        return info;
    }
    info.DeviceDesc = valueOf(*device, "DeviceDesc");

    auto storage = m_registry.openKey(kUsbStorKey);
    if (!storage) {
        return info;
    }
    for (const std::string& kind : storage->subkeys) {
        const std::string kindKey = std::string(kUsbStorKey) + "\\" + kind;
        auto kindView = m_registry.openKey(kindKey);
        if (!kindView) {
            continue;
        }
        bool matched = false;
        // Every instance is examined: a later match overwrites an earlier one.
        for (const std::string& instance : kindView->subkeys) {
            // The file-name mask "<serial>*".
            if (!platform::startsWithIgnoringAsciiCase(instance, serial)) {
                continue;
            }
            matched = true;
            if (auto instanceView = m_registry.openKey(kindKey + "\\" + instance)) {
                info.StorageDesc = valueOf(*instanceView, "DeviceDesc");
                info.StorageFriendlyName = valueOf(*instanceView, "FriendlyName");
            }
        }
        if (matched) {
            break;
        }
    }
    return info;
}

}  // namespace calvora::drives
