#pragma once

#include <functional>
#include <map>
#include <string>

#include "platform/device_notifications.h"
#include "platform/linux/uevent.h"
#include "platform/volumes.h"

namespace calvora::platform::linux_os {

// Device notifications from the kernel's uevents (a NETLINK_KOBJECT_UEVENT socket): block
// devices that appear, go or change their medium become volume arrivals and removals of the
// drive letters that changed; USB devices become device-interface notifications with names of
// the Windows form.
class LinuxDeviceNotifications final : public DeviceNotifications {
public:
    // refreshDrives rescans the drive table; volumes answers the letters after it.
    // With listen false no socket is opened (events come through handleUevent only).
    LinuxDeviceNotifications(Volumes& volumes, std::function<void()> refreshDrives,
                             std::string sysfsRoot = "/sys", bool listen = true);
    ~LinuxDeviceNotifications() override;
    LinuxDeviceNotifications(const LinuxDeviceNotifications&) = delete;
    LinuxDeviceNotifications& operator=(const LinuxDeviceNotifications&) = delete;

    void subscribe(Handler handler) override;
    void unsubscribe() override;
    int pollDescriptor() const override { return m_socket; }
    void dispatchPending() override;

    // Turns one uevent into notifications.
    void handleUevent(const Uevent& event);

private:
    void handleBlockEvent();
    void handleUsbDevice(const Uevent& event);
    void send(std::uint32_t eventCode, std::uint32_t kind, std::uint32_t mask,
              std::string deviceName);

    Volumes& m_volumes;
    std::function<void()> m_refreshDrives;
    std::string m_sysfsRoot;
    int m_socket = -1;
    Handler m_handler;
    std::uint32_t m_knownDrives = 0;
    // Interface names of the USB devices present, by devpath: sysfs is gone at removal.
    std::map<std::string, std::string> m_usbNames;
};

}  // namespace calvora::platform::linux_os
