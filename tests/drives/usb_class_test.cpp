// The USB device watcher: decoding notifications and looking devices up.
#include <gtest/gtest.h>

#include "drives/usb_class.h"
#include "platform/fake/fake_discovery.h"

namespace calvora::drives {
namespace {

using platform::DeviceChange;

constexpr const char* kDeviceName =
    "\\\\?\\USB#VID_1234&PID_5678#00AB12CD#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
constexpr const char* kUsb = "SYSTEM\\CurrentControlSet\\Enum\\USB\\";
constexpr const char* kUsbStor = "SYSTEM\\CurrentControlSet\\Enum\\USBSTOR";

struct VolumeEvent {
    bool arrived;
    std::string drive;
    bool operator==(const VolumeEvent&) const = default;
};

struct UsbEvent {
    bool arrived;
    std::string device;
    std::string storage;
    std::string friendly;
};

class UsbClassTest : public ::testing::Test {
protected:
    UsbClassTest() {
        usb.OnVolumeChange = [this](bool arrived, const std::string& drive) {
            volumeEvents.push_back({arrived, drive});
        };
        usb.OnUsbChange = [this](bool arrived, const std::string& device,
                                 const std::string& storage, const std::string& friendly) {
            usbEvents.push_back({arrived, device, storage, friendly});
        };
    }

    void addStorage(const std::string& kind, const std::string& instance,
                    const std::string& friendlyName) {
        registry.add(std::string(kUsbStor) + "\\" + kind + "\\" + instance).values = {
            {"DeviceDesc", "Disk drive"}, {"FriendlyName", friendlyName}};
    }

    platform::fake::FakeDeviceNotifications notifications;
    platform::fake::FakeMachineRegistry registry;
    TUsbClass usb{notifications, registry};
    std::vector<VolumeEvent> volumeEvents;
    std::vector<UsbEvent> usbEvents;
};

TEST(UnitMaskTest, OneBitGivesItsLetterAnyOtherMaskNothing) {
    EXPECT_EQ(TUsbClass::unitMaskToDrive(1u << 0), "A:");
    EXPECT_EQ(TUsbClass::unitMaskToDrive(1u << 2), "C:");
    EXPECT_EQ(TUsbClass::unitMaskToDrive(1u << 9), "J:");
    EXPECT_EQ(TUsbClass::unitMaskToDrive(1u << 25), "Z:");
    EXPECT_EQ(TUsbClass::unitMaskToDrive(0), "");
    EXPECT_EQ(TUsbClass::unitMaskToDrive((1u << 2) | (1u << 3)), "");
    EXPECT_EQ(TUsbClass::unitMaskToDrive(1u << 26), "");
    EXPECT_EQ(TUsbClass::unitMaskToDrive(1u << 31), "");
}

TEST_F(UsbClassTest, VolumeArrivalAndRemoval) {
    ASSERT_TRUE(notifications.subscribed());
    notifications.send({platform::kDbtDeviceArrival, platform::kDbtDevtypVolume, 1u << 9, {}});
    notifications.send(
        {platform::kDbtDeviceRemoveComplete, platform::kDbtDevtypVolume, 1u << 9, {}});
    notifications.send({platform::kDbtDeviceArrival, platform::kDbtDevtypVolume, 0b1100, {}});
    // Other event codes and record kinds are ignored.
    notifications.send({0x8001, platform::kDbtDevtypVolume, 1u << 9, {}});
    notifications.send({platform::kDbtDeviceArrival, 3, 1u << 9, {}});
    EXPECT_EQ(volumeEvents, (std::vector<VolumeEvent>{{true, "J:"}, {false, "J:"}, {true, ""}}));
    EXPECT_TRUE(usbEvents.empty());
}

TEST_F(UsbClassTest, StopsListeningWhenDestroyed) {
    {
        platform::fake::FakeDeviceNotifications own;
        TUsbClass watcher{own, registry};
        EXPECT_TRUE(own.subscribed());
    }
    SUCCEED();
}

TEST_F(UsbClassTest, LooksTheDeviceAndItsStorageUp) {
    registry.add(std::string(kUsb) + "VID_1234&PID_5678\\00AB12CD").values = {
        {"DeviceDesc", "USB Mass Storage Device"}};
    addStorage("Disk&Ven_Other&Prod_X&Rev_1", "99999&0", "Other USB Device");
    addStorage("Disk&Ven_Acme&Prod_Stick&Rev_1.00", "10AB12CD&0", "Wrong USB Device");
    addStorage("Disk&Ven_Acme&Prod_Stick&Rev_1.00", "00ab12cd&0", "Acme Stick USB Device");

    const UsbInfo info = usb.GetUsbInfo(kDeviceName);
    EXPECT_EQ(info.DeviceDesc, "USB Mass Storage Device");
    EXPECT_EQ(info.StorageDesc, "Disk drive");
    EXPECT_EQ(info.StorageFriendlyName, "Acme Stick USB Device");
    EXPECT_EQ(registry.openedPaths.front(),
              "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_1234&PID_5678\\00AB12CD");
}

TEST_F(UsbClassTest, LaterMatchOverwritesAndTheFirstMatchingKindEndsTheSearch) {
    registry.add(std::string(kUsb) + "VID_1234&PID_5678\\00AB12CD");
    addStorage("KindA", "00AB12CD&0", "First");
    addStorage("KindA", "00AB12CD&1", "Second");
    addStorage("KindB", "00AB12CD&0", "Other kind");
    const UsbInfo info = usb.GetUsbInfo(kDeviceName);
    EXPECT_EQ(info.StorageFriendlyName, "Second");
    EXPECT_EQ(info.DeviceDesc, "");  // missing value reads as empty
    for (const std::string& path : registry.openedPaths) {
        EXPECT_EQ(path.find("KindB"), std::string::npos) << path;
    }
}

TEST_F(UsbClassTest, MissingKeysEndTheLookupQuietly) {
    EXPECT_EQ(usb.GetUsbInfo("").DeviceDesc, "");
    EXPECT_TRUE(registry.openedPaths.empty());

    UsbInfo info = usb.GetUsbInfo(kDeviceName);  // no USB key
    EXPECT_EQ(info.DeviceDesc, "");
    EXPECT_EQ(registry.openedPaths.size(), 1u);

    registry.add(std::string(kUsb) + "VID_1234&PID_5678\\00AB12CD").values = {
        {"devicedesc", "Stick"}};
    info = usb.GetUsbInfo(kDeviceName);  // no USBSTOR key
    EXPECT_EQ(info.DeviceDesc, "Stick");
    EXPECT_EQ(info.StorageDesc, "");
}

TEST_F(UsbClassTest, DeviceNamesOfOtherShapesAreSplitTheSameWay) {
    const struct {
        std::string name;
        std::string expectedKey;
    } cases[] = {
        {"no hashes at all", std::string(kUsb) + "\\"},
        {"\\\\?\\USB#VID_1#SER", std::string(kUsb) + "VID_1\\"},
        {"#A#B#C#D", std::string(kUsb) + "A\\B"},
        {"##", std::string(kUsb) + "\\"},
        // A part cut at its length limit loses its closing "#", so nothing is taken from it.
        {"x#" + std::string(5000, 'v') + "#s#", std::string(kUsb) + "\\"},
    };
    for (const auto& c : cases) {
        registry.openedPaths.clear();
        usb.GetUsbInfo(c.name);
        ASSERT_EQ(registry.openedPaths.size(), 1u) << c.name;
        EXPECT_EQ(registry.openedPaths[0], c.expectedKey) << c.name;
    }
}

TEST_F(UsbClassTest, DeviceInterfaceNotificationsRaiseTheUsbEvent) {
    registry.add(std::string(kUsb) + "VID_1234&PID_5678\\00AB12CD").values = {
        {"DeviceDesc", "Stick"}};
    notifications.send(
        {platform::kDbtDeviceArrival, platform::kDbtDevtypDeviceInterface, 0, kDeviceName});
    notifications.send(
        {platform::kDbtDeviceRemoveComplete, platform::kDbtDevtypDeviceInterface, 0, kDeviceName});
    ASSERT_EQ(usbEvents.size(), 2u);
    EXPECT_TRUE(usbEvents[0].arrived);
    EXPECT_EQ(usbEvents[0].device, "Stick");
    EXPECT_FALSE(usbEvents[1].arrived);
    EXPECT_EQ(usbEvents[1].device, "Stick");
    EXPECT_TRUE(volumeEvents.empty());

    // Without a handler the lookup runs all the same.
    usb.OnUsbChange = nullptr;
    registry.openedPaths.clear();
    notifications.send(
        {platform::kDbtDeviceArrival, platform::kDbtDevtypDeviceInterface, 0, kDeviceName});
    EXPECT_FALSE(registry.openedPaths.empty());
}

}  // namespace
}  // namespace calvora::drives
