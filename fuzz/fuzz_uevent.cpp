// Fuzz entry for what arrives from outside in drive discovery: kernel uevents and device names.
// Built as a libFuzzer target with -DCALVORA_WITH_FUZZ=ON (clang), and driven by a test otherwise.
#include <cstddef>
#include <cstdint>
#include <string>

#include "drives/usb_class.h"
#include "platform/fake/fake_discovery.h"
#include "platform/fake/fake_volumes.h"
#include "platform/linux/linux_device_notifications.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace calvora::platform;
    const std::string input(reinterpret_cast<const char*>(data), size);
    fake::FakeVolumes volumes;
    fake::FakeMachineRegistry registry;
    registry.add("SYSTEM\\CurrentControlSet\\Enum\\USBSTOR\\Disk\\X&0");
    linux_os::LinuxDeviceNotifications notifications(volumes, nullptr, "/nonexistent", false);
    calvora::drives::TUsbClass usb(notifications, registry);
    if (auto event = linux_os::parseUevent(input)) {
        notifications.handleUevent(*event);
    }
    usb.GetUsbInfo(input);
    return 0;
}
