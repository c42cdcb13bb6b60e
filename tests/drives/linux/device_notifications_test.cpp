// Uevents becoming volume and device-interface notifications.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "drives/usb_class.h"
#include "platform/fake/fake_discovery.h"
#include "platform/fake/fake_volumes.h"
#include "platform/linux/linux_device_notifications.h"

namespace calvora::platform::linux_os {
namespace {

namespace fs = std::filesystem;

Uevent event(std::string action, std::string devpath,
             std::vector<std::pair<std::string, std::string>> fields) {
    return Uevent{std::move(action), std::move(devpath), std::move(fields)};
}

class DeviceNotificationsTest : public ::testing::Test {
protected:
    DeviceNotificationsTest() {
        sysfs =
            fs::temp_directory_path() /
            ("calvora-sysfs-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(sysfs / "devices/usb1/1-2");
        std::ofstream(sysfs / "devices/usb1/1-2/serial") << "00AB12CD\n";
        volumes.drives['C'].type = DriveTypeCode::Fixed;
        notifications.subscribe([this](const DeviceChange& change) { changes.push_back(change); });
    }
    ~DeviceNotificationsTest() override { fs::remove_all(sysfs); }

    fs::path sysfs;
    fake::FakeVolumes volumes;
    int refreshes = 0;
    LinuxDeviceNotifications notifications{volumes, [this] { ++refreshes; }, "", false};
    std::vector<DeviceChange> changes;
};

TEST_F(DeviceNotificationsTest, BlockEventsReportTheLettersThatChanged) {
    volumes.drives['E'];
    notifications.handleUevent(
        event("add", "/devices/virtual/block/loop0", {{"SUBSYSTEM", "block"}}));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].eventCode, kDbtDeviceArrival);
    EXPECT_EQ(changes[0].recordKind, kDbtDevtypVolume);
    EXPECT_EQ(changes[0].unitMask, 1u << 4);
    EXPECT_EQ(refreshes, 1);

    // Nothing changed: nothing reported.
    notifications.handleUevent(
        event("change", "/devices/virtual/block/loop0", {{"SUBSYSTEM", "block"}}));
    EXPECT_EQ(changes.size(), 1u);

    // Two letters at once; one goes while another comes.
    volumes.drives['F'];
    volumes.drives['G'];
    notifications.handleUevent(event("add", "/devices/x", {{"SUBSYSTEM", "block"}}));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].unitMask, (1u << 5) | (1u << 6));
    EXPECT_EQ(drives::TUsbClass::unitMaskToDrive(changes[1].unitMask), "");
    volumes.drives.erase('E');
    volumes.drives['H'];
    notifications.handleUevent(event("remove", "/devices/x", {{"SUBSYSTEM", "block"}}));
    ASSERT_EQ(changes.size(), 4u);
    EXPECT_EQ(changes[2].eventCode, kDbtDeviceRemoveComplete);
    EXPECT_EQ(changes[2].unitMask, 1u << 4);
    EXPECT_EQ(changes[3].eventCode, kDbtDeviceArrival);
    EXPECT_EQ(changes[3].unitMask, 1u << 7);
}

TEST_F(DeviceNotificationsTest, UsbDevicesGetWindowsInterfaceNames) {
    LinuxDeviceNotifications usb{volumes, nullptr, sysfs.string(), false};
    usb.subscribe([this](const DeviceChange& change) { changes.push_back(change); });
    const std::vector<std::pair<std::string, std::string>> fields = {
        {"SUBSYSTEM", "usb"}, {"DEVTYPE", "usb_device"}, {"PRODUCT", "1234/5678/100"}};
    usb.handleUevent(event("add", "/devices/usb1/1-2", fields));
    // The serial file is gone when the device is: the name is remembered.
    fs::remove(sysfs / "devices/usb1/1-2/serial");
    usb.handleUevent(event("remove", "/devices/usb1/1-2", fields));
    ASSERT_EQ(changes.size(), 2u);
    const std::string name =
        "\\\\?\\USB#VID_1234&PID_5678#00AB12CD#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
    EXPECT_EQ(changes[0].eventCode, kDbtDeviceArrival);
    EXPECT_EQ(changes[0].recordKind, kDbtDevtypDeviceInterface);
    EXPECT_EQ(changes[0].deviceName, name);
    EXPECT_EQ(changes[1].eventCode, kDbtDeviceRemoveComplete);
    EXPECT_EQ(changes[1].deviceName, name);

    // Without a serial number the port names the instance.
    usb.handleUevent(event("add", "/devices/usb1/1-3", fields));
    EXPECT_EQ(changes.back().deviceName,
              "\\\\?\\USB#VID_1234&PID_5678#1-3#{a5dcbf10-6530-11d2-901f-00c04fb951ed}");
}

TEST_F(DeviceNotificationsTest, IgnoresWhatItDoesNotWatch) {
    const Uevent ignored[] = {
        event("add", "/devices/usb1/1-2:1.0",
              {{"SUBSYSTEM", "usb"}, {"DEVTYPE", "usb_interface"}, {"PRODUCT", "1/2/3"}}),
        event("add", "/devices/usb1/1-2", {{"SUBSYSTEM", "usb"}, {"DEVTYPE", "usb_device"}}),
        event("add", "/devices/usb1/1-2",
              {{"SUBSYSTEM", "usb"}, {"DEVTYPE", "usb_device"}, {"PRODUCT", "garbage"}}),
        event("remove", "/devices/never/added", {{"SUBSYSTEM", "usb"}, {"DEVTYPE", "usb_device"}}),
        event("add", "/devices/net/eth0", {{"SUBSYSTEM", "net"}}),
        event("bind", "/devices/usb1/1-2", {{"SUBSYSTEM", "usb"}, {"DEVTYPE", "usb_device"}}),
    };
    for (const Uevent& e : ignored) {
        notifications.handleUevent(e);
    }
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(refreshes, 0);
}

TEST_F(DeviceNotificationsTest, NothingIsDeliveredAfterUnsubscribing) {
    notifications.unsubscribe();
    volumes.drives['E'];
    notifications.handleUevent(event("add", "/devices/x", {{"SUBSYSTEM", "block"}}));
    EXPECT_TRUE(changes.empty());
}

TEST(DeviceNotificationsSocketTest, ListensOnTheKernelsSocket) {
    fake::FakeVolumes volumes;
    LinuxDeviceNotifications notifications{volumes, nullptr};
    if (notifications.pollDescriptor() < 0) {
        GTEST_SKIP() << "no NETLINK_KOBJECT_UEVENT socket in this environment";
    }
    notifications.dispatchPending();  // never blocks
    SUCCEED();
}

}  // namespace
}  // namespace calvora::platform::linux_os
