// Parsing kernel uevents and making Windows device-interface names.
#include <gtest/gtest.h>

#include "platform/linux/uevent.h"

namespace calvora::platform::linux_os {
namespace {

using namespace std::string_literals;

TEST(UeventTest, ParsesAKernelMessage) {
    const std::string message =
        "add@/devices/pci0000:00/0000:00:14.0/usb1/1-2\0ACTION=add\0"
        "DEVPATH=/devices/pci0000:00/0000:00:14.0/usb1/1-2\0SUBSYSTEM=usb\0"
        "DEVTYPE=usb_device\0PRODUCT=781/5567/100\0SEQNUM=4711\0"s;
    auto event = parseUevent(message);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->action, "add");
    EXPECT_EQ(event->devpath, "/devices/pci0000:00/0000:00:14.0/usb1/1-2");
    EXPECT_EQ(event->field("SUBSYSTEM"), "usb");
    EXPECT_EQ(event->field("PRODUCT"), "781/5567/100");
    EXPECT_EQ(event->field("MISSING"), "");
}

TEST(UeventTest, RefusesWhatIsNotAKernelMessage) {
    const std::string rejected[] = {
        ""s,
        "libudev\0\xfe\xed\xca\xfe"s,                            // udev's own format
        "add\0SUBSYSTEM=block\0"s,                               // no "@"
        "@/devices/x\0"s,                                        // no action
        "add@\0"s,                                               // no devpath
        "add@/devices/x\0NOEQUALS\0"s,                           // field without "="
        "add@/devices/x\0=value\0"s,                             // field without a name
        "add@/devices/x\0ACTION=remove\0"s,                      // disagrees with its header
        "add@/devices/x\0DEVPATH=/devices/y\0"s,                 // likewise
        "add@/devices/x\0"s + std::string(kMaxUeventSize, 'A'),  // oversized
    };
    for (const std::string& message : rejected) {
        EXPECT_FALSE(parseUevent(message)) << message;
    }
    std::string manyFields = "add@/devices/x\0"s;
    for (int i = 0; i < 200; ++i) {
        manyFields += "K=V\0"s;
    }
    EXPECT_FALSE(parseUevent(manyFields));
}

TEST(UeventTest, ToleratesEmptyFieldsAndAMissingLastZero) {
    auto event = parseUevent("change@/devices/virtual/block/loop0\0\0SUBSYSTEM=block"s);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->field("SUBSYSTEM"), "block");
}

TEST(UsbProductTest, HexadecimalVendorAndProduct) {
    auto ids = parseUsbProduct("781/5567/100");
    ASSERT_TRUE(ids);
    EXPECT_EQ(ids->first, 0x0781);
    EXPECT_EQ(ids->second, 0x5567);
    EXPECT_TRUE(parseUsbProduct("1d6b/2"));
    for (const char* bad : {"", "781", "/5567/1", "781//1", "zz/1/1", "12345/1/1", "1/-2/3"}) {
        EXPECT_FALSE(parseUsbProduct(bad)) << bad;
    }
}

TEST(UsbInterfaceNameTest, WindowsForm) {
    EXPECT_EQ(usbInterfaceName(0x1234, 0x5678, "00AB12CD"),
              "\\\\?\\USB#VID_1234&PID_5678#00AB12CD#{a5dcbf10-6530-11d2-901f-00c04fb951ed}");
    EXPECT_EQ(usbInterfaceName(0x781, 0xa, "a#b\\c\nd"),
              "\\\\?\\USB#VID_0781&PID_000A#a_b_c_d#{a5dcbf10-6530-11d2-901f-00c04fb951ed}");
    EXPECT_EQ(usbInstanceName(std::string(500, 'x')).size(), 126u);
}

}  // namespace
}  // namespace calvora::platform::linux_os
