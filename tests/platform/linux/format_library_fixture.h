#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/linux_format_library.h"
#include "platform/linux/volume_devices.h"

namespace calvora::platform::linux_os::testing {

// The drive table as far as the format library sees it: letters mapped to the test's own
// image files and loop devices.
class TestVolumeDevices final : public VolumeDevices {
public:
    std::map<char, VolumeDevice> devices;
    bool releaseSucceeds = true;
    int releaseCalls = 0;

    std::optional<VolumeDevice> deviceFor(char letter) override;
    bool releaseForExclusiveUse(char letter) override;
};

// One callback the library made.
struct CallbackEvent {
    std::uint32_t code = 0;
    std::int32_t percent = 0;
    std::uint8_t flag = 0;
    std::string text;
};

struct CommandResult {
    int status = -1;
    std::string output;
};

// Runs a shell command; its standard output and error together.
CommandResult runCommand(const std::string& command);
bool haveTool(const std::string& name);
// blkid's low-level probe of a device or image: TYPE, LABEL, VERSION, ...
std::map<std::string, std::string> probe(const std::string& path);
// A hash of the whole file or device content.
std::uint64_t contentHash(const std::string& path);
void writeMarker(const std::string& path, std::uint64_t offset, const std::string& marker);
std::string readAt(const std::string& path, std::uint64_t offset, std::size_t length);

class FormatLibraryTest : public ::testing::Test {
protected:
    FormatLibraryTest();
    ~FormatLibraryTest() override;

    // A sparse image file of that size in the test's own folder, as drive letter.
    std::string addImage(char letter, std::uint64_t bytes, const std::string& name = "");
    // The image attached to a new loop device (root only), as drive letter. Only ever loop
    // devices this test made itself.
    std::string addLoopDevice(char letter, std::uint64_t bytes, std::uint32_t sectorSize = 512);

    // "FormatEx" on the drive; the events it made.
    const std::vector<CallbackEvent>& format(char letter, std::u16string fileSystem,
                                             std::u16string label, bool quick,
                                             std::uint32_t clusterSize = 0);

    // The texts of the code-14 lines, joined by newlines.
    std::string texts() const;
    bool sawCode(std::uint32_t code) const;
    // The run ended with code 11; its flag.
    std::optional<bool> finishedFlag() const;
    bool succeeded() const;

    static bool isRoot();

    TestVolumeDevices devices;
    LinuxFormatOptions options;
    std::string folder;
    std::vector<CallbackEvent> events;
    // Answers every callback; false asks the library to stop.
    std::function<bool(const CallbackEvent&)> answer;

private:
    std::vector<std::string> m_loops;
};

}  // namespace calvora::platform::linux_os::testing
