// The device registry built from a sysfs tree, and the watcher's lookup through it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "drives/usb_class.h"
#include "platform/fake/fake_discovery.h"
#include "platform/linux/sysfs_usb_registry.h"

namespace calvora::platform::linux_os {
namespace {

namespace fs = std::filesystem;

constexpr const char* kStickName =
    "\\\\?\\USB#VID_0781&PID_5567#4C530001230321117433#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

// A small sysfs: a stick with one SCSI unit, a hub, and a SATA disk that is not USB.
class SysfsTree {
public:
    SysfsTree() {
        root = fs::temp_directory_path() /
               ("calvora-usb-sysfs-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        const fs::path stick = root / "devices/pci0000:00/usb1/1-2";
        write(stick / "idVendor", "0781");
        write(stick / "idProduct", "5567");
        write(stick / "serial", "4C530001230321117433");
        write(stick / "product", "Cruzer Blade");
        const fs::path unit = stick / "1-2:1.0/host6/target6:0:0/6:0:0:0";
        write(unit / "vendor", "SanDisk ");
        write(unit / "model", "Cruzer Blade    ");
        write(unit / "rev", "1.00");
        fs::create_directories(stick / "1-2:1.0");
        const fs::path hub = root / "devices/pci0000:00/usb1";
        write(hub / "idVendor", "1d6b");
        write(hub / "idProduct", "0002");
        const fs::path sata = root / "devices/pci0000:00/ata1/host0/target0:0:0/0:0:0:0";
        write(sata / "vendor", "ATA");
        write(sata / "model", "Samsung SSD");
        link("bus/usb/devices/1-2", stick);
        link("bus/usb/devices/usb1", hub);
        link("bus/usb/devices/1-2:1.0", stick / "1-2:1.0");
        link("bus/scsi/devices/6:0:0:0", unit);
        link("bus/scsi/devices/0:0:0:0", sata);
        link("bus/scsi/devices/host6", stick / "1-2:1.0/host6");
    }
    ~SysfsTree() { fs::remove_all(root); }

    fs::path root;

private:
    static void write(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text << '\n';
    }
    void link(const std::string& name, const fs::path& target) {
        fs::create_directories((root / name).parent_path());
        fs::create_directory_symlink(target, root / name);
    }
};

TEST(SysfsUsbRegistryTest, DescribesTheStickLikeWindows) {
    SysfsTree tree;
    SysfsUsbRegistry registry(tree.root.string());
    auto usb = registry.openKey(
        "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_0781&PID_5567\\"
        "4C530001230321117433");
    ASSERT_TRUE(usb);
    ASSERT_EQ(usb->values.size(), 1u);
    EXPECT_EQ(usb->values[0].second, "Cruzer Blade");

    auto storage = registry.openKey("system\\currentcontrolset\\enum\\usbstor");
    ASSERT_TRUE(storage);
    EXPECT_EQ(storage->subkeys,
              std::vector<std::string>{"Disk&Ven_SanDisk&Prod_Cruzer_Blade&Rev_1.00"});
    auto kind = registry.openKey(
        "SYSTEM\\CurrentControlSet\\Enum\\USBSTOR\\Disk&Ven_SanDisk&Prod_Cruzer_Blade&Rev_1.00");
    ASSERT_TRUE(kind);
    EXPECT_EQ(kind->subkeys, std::vector<std::string>{"4C530001230321117433&0"});
    EXPECT_FALSE(registry.openKey("SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_0000&PID_0000\\x"));
}

TEST(SysfsUsbRegistryTest, TheWatchersLookupFindsRealDescriptionsAndKeepsThem) {
    std::optional<SysfsTree> tree(std::in_place);
    SysfsUsbRegistry registry(tree->root.string());
    fake::FakeDeviceNotifications notifications;
    drives::TUsbClass usb(notifications, registry);
    drives::UsbInfo info = usb.GetUsbInfo(kStickName);
    EXPECT_EQ(info.DeviceDesc, "Cruzer Blade");
    EXPECT_EQ(info.StorageDesc, "Disk drive");
    EXPECT_EQ(info.StorageFriendlyName, "SanDisk Cruzer Blade USB Device");

    // Pulled out: the registry still knows it, as Windows does.
    tree.reset();
    info = usb.GetUsbInfo(kStickName);
    EXPECT_EQ(info.StorageFriendlyName, "SanDisk Cruzer Blade USB Device");
}

TEST(SysfsUsbRegistryTest, NoSysfsMeansNoKeys) {
    SysfsUsbRegistry registry("/nonexistent-sysfs");
    EXPECT_FALSE(registry.openKey("SYSTEM\\CurrentControlSet\\Enum\\USBSTOR"));
}

}  // namespace
}  // namespace calvora::platform::linux_os
