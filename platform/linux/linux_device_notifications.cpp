#include "platform/linux/linux_device_notifications.h"

#include <linux/netlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <fstream>

namespace calvora::platform::linux_os {
namespace {

// The kernel's own multicast group (udev re-broadcasts on group 2 in its own format).
constexpr unsigned kKernelGroup = 1;
// Devices that are not worth keeping a name for.
constexpr std::size_t kMaxUsbDevices = 256;

int openUeventSocket() {
    const int fd =
        socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT);
    if (fd < 0) {
        return -1;
    }
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = kKernelGroup;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

std::string readFirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

}  // namespace

LinuxDeviceNotifications::LinuxDeviceNotifications(Volumes& volumes,
                                                   std::function<void()> refreshDrives,
                                                   std::string sysfsRoot, bool listen)
    : m_volumes(volumes),
      m_refreshDrives(std::move(refreshDrives)),
      m_sysfsRoot(std::move(sysfsRoot)),
      m_socket(listen ? openUeventSocket() : -1) {}

LinuxDeviceNotifications::~LinuxDeviceNotifications() {
    if (m_socket >= 0) {
        close(m_socket);
    }
}

void LinuxDeviceNotifications::subscribe(Handler handler) {
    m_handler = std::move(handler);
    m_knownDrives = m_volumes.logicalDrives();
}

void LinuxDeviceNotifications::unsubscribe() {
    m_handler = nullptr;
}

void LinuxDeviceNotifications::dispatchPending() {
    if (m_socket < 0) {
        return;
    }
    std::array<char, kMaxUeventSize + 1> buffer;
    for (;;) {
        // Only the kernel (port 0) may speak on this socket.
        sockaddr_nl sender{};
        socklen_t senderSize = sizeof sender;
        const ssize_t size = recvfrom(m_socket, buffer.data(), buffer.size(), 0,
                                      reinterpret_cast<sockaddr*>(&sender), &senderSize);
        if (size < 0) {
            return;  // EAGAIN: nothing more pending; anything else: try again next time
        }
        if (sender.nl_pid != 0 || static_cast<std::size_t>(size) > kMaxUeventSize) {
            continue;
        }
        if (auto event =
                parseUevent(std::string_view(buffer.data(), static_cast<std::size_t>(size)))) {
            handleUevent(*event);
        }
    }
}

void LinuxDeviceNotifications::handleUevent(const Uevent& event) {
    const std::string subsystem = event.field("SUBSYSTEM");
    if (subsystem == "block") {
        handleBlockEvent();
    } else if (subsystem == "usb" && event.field("DEVTYPE") == "usb_device") {
        handleUsbDevice(event);
    }
}

void LinuxDeviceNotifications::handleBlockEvent() {
    if (m_refreshDrives) {
        m_refreshDrives();
    }
    const std::uint32_t now = m_volumes.logicalDrives();
    const std::uint32_t arrived = now & ~m_knownDrives;
    const std::uint32_t removed = m_knownDrives & ~now;
    m_knownDrives = now;
    if (removed != 0) {
        send(kDbtDeviceRemoveComplete, kDbtDevtypVolume, removed, {});
    }
    if (arrived != 0) {
        send(kDbtDeviceArrival, kDbtDevtypVolume, arrived, {});
    }
}

void LinuxDeviceNotifications::handleUsbDevice(const Uevent& event) {
    if (event.action == "add") {
        auto ids = parseUsbProduct(event.field("PRODUCT"));
        if (!ids || m_usbNames.size() >= kMaxUsbDevices) {
            return;
        }
        std::string serial = readFirstLine(m_sysfsRoot + event.devpath + "/serial");
        if (serial.empty()) {
            // Windows makes up an instance name for devices without a serial number; the
            // port path is as stable.
            serial = event.devpath.substr(event.devpath.rfind('/') + 1);
        }
        const std::string name = usbInterfaceName(ids->first, ids->second, serial);
        m_usbNames[event.devpath] = name;
        send(kDbtDeviceArrival, kDbtDevtypDeviceInterface, 0, name);
    } else if (event.action == "remove") {
        auto it = m_usbNames.find(event.devpath);
        if (it == m_usbNames.end()) {
            return;
        }
        const std::string name = it->second;
        m_usbNames.erase(it);
        send(kDbtDeviceRemoveComplete, kDbtDevtypDeviceInterface, 0, name);
    }
}

void LinuxDeviceNotifications::send(std::uint32_t eventCode, std::uint32_t kind, std::uint32_t mask,
                                    std::string deviceName) {
    if (m_handler) {
        m_handler(DeviceChange{eventCode, kind, mask, std::move(deviceName)});
    }
}

}  // namespace calvora::platform::linux_os
