// A loop device attached and detached while the watcher runs: the drive list follows at once.
// Needs root and losetup; only ever touches the loop device it made itself.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "drives/drive_list.h"
#include "drives/usb_class.h"
#include "platform/fake/fake_discovery.h"
#include "platform/linux/drive_table.h"
#include "platform/linux/linux_device_notifications.h"

namespace calvora::drives {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string run(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) {
            output += buffer;
        }
        pclose(pipe);
    }
    while (!output.empty() && (output.back() == '\n' || output.back() == ' ')) {
        output.pop_back();
    }
    return output;
}

class HotplugTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) {
            GTEST_SKIP() << "needs root for losetup";
        }
        if (std::system("command -v losetup >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "losetup is not installed";
        }
        image =
            fs::temp_directory_path() / ("calvora-hotplug-" + std::to_string(getpid()) + ".img");
        std::ofstream(image).close();
        fs::resize_file(image, 8 << 20);
    }

    void TearDown() override {
        if (!loopDevice.empty()) {
            run("losetup -d " + loopDevice + " 2>/dev/null");
        }
        std::error_code ignored;
        fs::remove(image, ignored);
    }

    // Lets the notifications in until the condition holds or three seconds have gone.
    template <typename Condition>
    bool pumpUntil(platform::linux_os::LinuxDeviceNotifications& notifications,
                   Condition condition) {
        const auto deadline = Clock::now() + std::chrono::seconds(3);
        while (!condition() && Clock::now() < deadline) {
            pollfd descriptor{notifications.pollDescriptor(), POLLIN, 0};
            if (poll(&descriptor, 1, 100) > 0) {
                notifications.dispatchPending();
            }
        }
        return condition();
    }

    fs::path image;
    std::string loopDevice;
};

TEST_F(HotplugTest, ListGainsAndLosesTheLoopDeviceWithoutARestart) {
    platform::linux_os::DriveTable table;
    platform::linux_os::LinuxDeviceNotifications notifications(table, [&] { table.refresh(); });
    if (notifications.pollDescriptor() < 0) {
        GTEST_SKIP() << "no kernel uevent socket here";
    }
    platform::fake::FakeMachineRegistry registry;
    TUsbClass usb(notifications, registry);
    DriveList list(table);
    list.setViewDrivesType(kFormattableDrivesType);
    int volumeEvents = 0;
    usb.OnVolumeChange = [&](bool, const std::string&) {
        ++volumeEvents;
        list.updateDrives();
    };

    loopDevice = run("losetup -f --show " + image.string());
    ASSERT_EQ(loopDevice.rfind("/dev/loop", 0), 0u) << loopDevice;
    // Other tests may attach devices of their own meanwhile: wait for this one.
    char letter = 0;
    const auto listed = [&] {
        for (const auto& drive : table.drives()) {
            if (drive.path == loopDevice) {
                letter = drive.letter;
            }
        }
        return letter != 0 && std::find(list.entries().begin(), list.entries().end(), letter) !=
                                  list.entries().end();
    };
    ASSERT_TRUE(pumpUntil(notifications, listed)) << "no arrival seen for " << loopDevice;
    ASSERT_TRUE(list.setDrive(letter));

    run("losetup -d " + loopDevice);
    loopDevice.clear();
    ASSERT_TRUE(pumpUntil(notifications, [&] {
        return std::find(list.entries().begin(), list.entries().end(), letter) ==
               list.entries().end();
    })) << "no removal seen";
    EXPECT_GE(volumeEvents, 2);
    // The selected drive went: the first listed one is selected, or nothing.
    if (list.entries().empty()) {
        EXPECT_EQ(list.itemIndex(), -1);
    } else {
        EXPECT_EQ(list.itemIndex(), 0);
        EXPECT_EQ(list.drive(), list.entries().front());
    }
}

}  // namespace
}  // namespace calvora::drives
