#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/machine_registry.h"

namespace calvora::platform::linux_os {

// A SCSI logical unit of a USB mass-storage device, as sysfs describes it.
struct UsbStorageFacts {
    std::string vendor;
    std::string model;
    std::string revision;
    int lun = 0;
};

// A USB device as sysfs describes it.
struct UsbDeviceFacts {
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    std::string instance;  // serial number, or the port name without one
    std::string productName;
    std::vector<UsbStorageFacts> storage;
};

// The USB and USBSTOR parts of the machine's device registry, built from sysfs (product
// strings, serial numbers, SCSI vendor and model). Like the Windows registry, a key once seen
// stays, so a device that was just pulled out can still be described.
class SysfsUsbRegistry final : public MachineRegistry {
public:
    explicit SysfsUsbRegistry(std::string sysfsRoot = "/sys");

    std::optional<RegistryKeyView> openKey(std::string_view path) override;

    // Adds the keys of one device (what a scan does for each device it finds).
    void addDevice(const UsbDeviceFacts& device);
    // Reads the devices sysfs lists now.
    std::vector<UsbDeviceFacts> scanDevices() const;

private:
    RegistryKeyView& key(const std::string& path);

    std::string m_sysfsRoot;
    // Keys by lower-case path; subkeys in the order they were first seen.
    std::map<std::string, RegistryKeyView> m_keys;
};

}  // namespace calvora::platform::linux_os
