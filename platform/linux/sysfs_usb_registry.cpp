#include "platform/linux/sysfs_usb_registry.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/ascii_case.h"
#include "platform/linux/uevent.h"

namespace calvora::platform::linux_os {
namespace {

namespace fs = std::filesystem;

constexpr const char* kEnum = "SYSTEM\\CurrentControlSet\\Enum";

std::string trimmed(std::string text) {
    const auto notBlank = [](unsigned char c) { return c > ' '; };
    text.erase(text.begin(), std::find_if(text.begin(), text.end(), notBlank));
    text.erase(std::find_if(text.rbegin(), text.rend(), notBlank).base(), text.end());
    return text;
}

std::string readAttribute(const fs::path& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return trimmed(line);
}

// Windows writes the SCSI strings with "_" for blanks, cut to their field sizes.
std::string idPart(const std::string& text, std::size_t length) {
    std::string part = text.substr(0, length);
    std::replace(part.begin(), part.end(), ' ', '_');
    return usbInstanceName(part);
}

std::optional<std::uint16_t> hexAttribute(const fs::path& path) {
    unsigned value = 0;
    const std::string text = readAttribute(path);
    if (text.empty() || text.size() > 4 || std::sscanf(text.c_str(), "%x", &value) != 1) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

// The logical unit number of a SCSI device name "host:channel:target:lun".
std::optional<int> lunOf(const std::string& name) {
    int host, channel, target, lun;
    char tail;
    if (std::sscanf(name.c_str(), "%d:%d:%d:%d%c", &host, &channel, &target, &lun, &tail) != 4) {
        return std::nullopt;
    }
    return lun;
}

}  // namespace

SysfsUsbRegistry::SysfsUsbRegistry(std::string sysfsRoot) : m_sysfsRoot(std::move(sysfsRoot)) {}

RegistryKeyView& SysfsUsbRegistry::key(const std::string& path) {
    auto found = m_keys.find(asciiLowerCase(path));
    if (found != m_keys.end()) {
        return found->second;
    }
    const std::size_t slash = path.rfind('\\');
    if (slash != std::string::npos) {
        RegistryKeyView& parent = key(path.substr(0, slash));
        parent.subkeys.push_back(path.substr(slash + 1));
    }
    return m_keys[asciiLowerCase(path)];
}

void SysfsUsbRegistry::addDevice(const UsbDeviceFacts& device) {
    char ids[32];
    std::snprintf(ids, sizeof ids, "VID_%04X&PID_%04X", device.vendor, device.product);
    const std::string instance = usbInstanceName(device.instance);
    RegistryKeyView& usb = key(std::string(kEnum) + "\\USB\\" + ids + "\\" + instance);
    usb.values = {{"DeviceDesc", device.productName.empty() ? "USB Device" : device.productName}};

    key(std::string(kEnum) + "\\USBSTOR");
    for (const UsbStorageFacts& unit : device.storage) {
        const std::string kind = "Disk&Ven_" + idPart(unit.vendor, 8) + "&Prod_" +
                                 idPart(unit.model, 16) + "&Rev_" + idPart(unit.revision, 4);
        RegistryKeyView& storage = key(std::string(kEnum) + "\\USBSTOR\\" + kind + "\\" + instance +
                                       "&" + std::to_string(unit.lun));
        std::string friendly = trimmed(unit.vendor + " " + unit.model);
        storage.values = {{"DeviceDesc", "Disk drive"}, {"FriendlyName", friendly + " USB Device"}};
    }
}

std::vector<UsbDeviceFacts> SysfsUsbRegistry::scanDevices() const {
    std::vector<UsbDeviceFacts> devices;
    std::vector<fs::path> devicePaths;
    std::error_code error;
    const fs::path usbDevices = fs::path(m_sysfsRoot) / "bus/usb/devices";
    for (const auto& entry : fs::directory_iterator(usbDevices, error)) {
        auto vendor = hexAttribute(entry.path() / "idVendor");
        auto product = hexAttribute(entry.path() / "idProduct");
        if (!vendor || !product) {
            continue;  // an interface, not a device
        }
        UsbDeviceFacts device;
        device.vendor = *vendor;
        device.product = *product;
        device.instance = readAttribute(entry.path() / "serial");
        if (device.instance.empty()) {
            device.instance = entry.path().filename().string();
        }
        device.productName = readAttribute(entry.path() / "product");
        devices.push_back(device);
        devicePaths.push_back(fs::canonical(entry.path(), error));
    }
    // Each SCSI unit belongs to the USB device whose folder holds it.
    const fs::path scsiDevices = fs::path(m_sysfsRoot) / "bus/scsi/devices";
    for (const auto& entry : fs::directory_iterator(scsiDevices, error)) {
        auto lun = lunOf(entry.path().filename().string());
        if (!lun) {
            continue;
        }
        const std::string unitPath = fs::canonical(entry.path(), error).string();
        std::size_t best = devices.size();
        for (std::size_t i = 0; i < devicePaths.size(); ++i) {
            const std::string devicePath = devicePaths[i].string() + "/";
            if (!devicePaths[i].empty() && unitPath.starts_with(devicePath) &&
                (best == devices.size() || devicePath.size() > devicePaths[best].string().size())) {
                best = i;
            }
        }
        if (best == devices.size()) {
            continue;
        }
        devices[best].storage.push_back({readAttribute(entry.path() / "vendor"),
                                         readAttribute(entry.path() / "model"),
                                         readAttribute(entry.path() / "rev"), *lun});
    }
    return devices;
}

std::optional<RegistryKeyView> SysfsUsbRegistry::openKey(std::string_view path) {
    for (const UsbDeviceFacts& device : scanDevices()) {
        addDevice(device);
    }
    auto found = m_keys.find(asciiLowerCase(std::string(path)));
    if (found == m_keys.end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace calvora::platform::linux_os
