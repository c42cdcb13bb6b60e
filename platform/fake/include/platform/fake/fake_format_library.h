#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/format_library.h"

namespace calvora::platform::fake {

// One callback the fake library makes, with the data its code carries.
struct CallbackStep {
    std::uint32_t command = 0;
    std::int32_t percent = 0;  // code 0
    std::uint8_t flag = 0;     // code 11
    std::string text;          // code 14, OEM bytes

    static CallbackStep progress(std::int32_t percent);
    static CallbackStep finished(bool success);
    static CallbackStep output(std::string oemText);
    static CallbackStep code(std::uint32_t command);
};

// A format library that plays a scripted sequence of callbacks and records what it was asked.
class FakeFormatLibrary final : public FormatLibrary {
public:
    // What the fake is.
    bool loadable = true;
    std::set<std::string, std::less<>> entries{"Chkdsk", "FormatEx", "EnableVolumeCompession"};
    std::vector<CallbackStep> script;
    std::uint8_t compressionAnswer = 1;
    // Runs after the script has played to its end (not after a stop), e.g. to relabel a volume.
    std::function<void(const FormatExArguments&)> onFormatted;

    // What it was asked.
    std::vector<std::string> loadCalls;
    int releaseCalls = 0;
    std::vector<FormatExArguments> formatExCalls;
    std::vector<std::pair<std::u16string, std::uint32_t>> compressionCalls;
    std::size_t stepsPlayed = 0;
    bool stoppedByCallback = false;

    bool load(std::string_view libraryName) override;
    bool hasEntry(std::string_view entryName) const override;
    void formatEx(const FormatExArguments& arguments, FormatCallback callback) override;
    std::uint8_t enableVolumeCompression(std::u16string_view root, std::uint32_t enable) override;
    void release() override;
};

}  // namespace calvora::platform::fake
