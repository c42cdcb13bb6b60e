#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/device_notifications.h"
#include "platform/machine_registry.h"

namespace calvora::drives {

// Arrived is true on arrival and false on removal; Drive is "A:".."Z:", or empty when several
// volumes changed at once.
using TVolumeChangeEvent = std::function<void(bool Arrived, const std::string& Drive)>;
using TUsbChangeEvent =
    std::function<void(bool Arrived, const std::string& DeviceDesc, const std::string& StorageDesc,
                       const std::string& StorageFriendlyName)>;

// Descriptions of a USB device and of the mass-storage device behind it.
struct UsbInfo {
    std::string DeviceDesc;
    std::string StorageDesc;
    std::string StorageFriendlyName;
};

// Notices volumes and USB devices that arrive or go, and reports them through two events.
class TUsbClass final {
public:
    // Starts listening at once; stops when destroyed.
    TUsbClass(platform::DeviceNotifications& notifications, platform::MachineRegistry& registry);
    ~TUsbClass();
    TUsbClass(const TUsbClass&) = delete;
    TUsbClass& operator=(const TUsbClass&) = delete;

    TUsbChangeEvent OnUsbChange;
    TVolumeChangeEvent OnVolumeChange;

    // Handles one device-change message.
    void handleDeviceChange(const platform::DeviceChange& change);
    // Looks a device-interface name up in the machine's device registry.
    UsbInfo GetUsbInfo(const std::string& deviceName);

    // A mask with exactly one bit n set gives letter "A"+n and ":"; any other mask "".
    static std::string unitMaskToDrive(std::uint32_t unitMask);

private:
    platform::DeviceNotifications& m_notifications;
    platform::MachineRegistry& m_registry;
};

}  // namespace calvora::drives
