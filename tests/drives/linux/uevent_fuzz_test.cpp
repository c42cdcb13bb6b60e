// Random and mutated uevents through the parser and the watcher: nothing may crash or hang.
#include <gtest/gtest.h>

#include <random>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using namespace std::string_literals;

TEST(UeventFuzzTest, SurvivesMutatedMessages) {
    const std::string seeds[] = {
        "add@/devices/usb1/1-2\0SUBSYSTEM=usb\0DEVTYPE=usb_device\0PRODUCT=781/5567/100\0"s,
        "remove@/devices/virtual/block/loop0\0SUBSYSTEM=block\0DEVNAME=loop0\0"s,
        "\\\\?\\USB#VID_1234&PID_5678#00AB12CD#{a5dcbf10-6530-11d2-901f-00c04fb951ed}"s,
    };
    std::mt19937 random(20261211);
    for (int round = 0; round < 3000; ++round) {
        std::string input = seeds[round % 3];
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits && !input.empty(); ++e) {
            const std::size_t at = random() % input.size();
            switch (random() % 4) {
                case 0:
                    input[at] = static_cast<char>(random());
                    break;
                case 1:
                    input.erase(at, 1 + random() % 4);
                    break;
                case 2:
                    input.insert(at, 1, "#@=\0/"[random() % 5]);
                    break;
                default:
                    input.insert(at, std::string(random() % 3000, 'x'));
                    break;
            }
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    }
    SUCCEED();
}

}  // namespace
