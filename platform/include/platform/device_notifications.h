#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace calvora::platform {

// WM_DEVICECHANGE event codes and record kinds.
constexpr std::uint32_t kDbtDeviceArrival = 0x8000;
constexpr std::uint32_t kDbtDeviceRemoveComplete = 0x8004;
constexpr std::uint32_t kDbtDevtypVolume = 2;
constexpr std::uint32_t kDbtDevtypDeviceInterface = 5;
// GUID_DEVINTERFACE_USB_DEVICE, as it ends a device-interface name.
inline constexpr const char* kGuidDevinterfaceUsbDevice = "{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

// One WM_DEVICECHANGE message: the event code and the record it points to.
struct DeviceChange {
    std::uint32_t eventCode = 0;
    std::uint32_t recordKind = 0;
    std::uint32_t unitMask = 0;  // DEV_BROADCAST_VOLUME: bit 0 is drive A
    std::string deviceName;      // DEV_BROADCAST_DEVICEINTERFACE, e.g. "\\?\USB#VID_...#...#{...}"
};

// Volume notifications and device-interface notifications of USB devices, delivered on the
// user-interface thread (a hidden window and RegisterDeviceNotificationA on Windows).
class DeviceNotifications {
public:
    using Handler = std::function<void(const DeviceChange&)>;

    virtual ~DeviceNotifications() = default;

    // Starts delivering to the handler; a second call replaces it.
    virtual void subscribe(Handler handler) = 0;
    // Stops delivering.
    virtual void unsubscribe() = 0;
    // A descriptor that becomes readable when notifications are pending, for an event loop to
    // watch; -1 where they arrive as window messages.
    virtual int pollDescriptor() const = 0;
    // Delivers what is pending without blocking.
    virtual void dispatchPending() = 0;
};

}  // namespace calvora::platform
