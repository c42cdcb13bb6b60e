// config.ini may hold anything: reading and rewriting it must neither crash nor hang, and a
// written value must read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/linux/profile_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    using namespace calvora::platform::linux_os;
    findProfileValue(text, "LastChoice", "Splash");
    std::string written = setProfileValue(text, "LastChoice", "Splash", "1");
    if (findProfileValue(written, "LastChoice", "Splash") != "1") {
        std::abort();
    }
    return 0;
}
