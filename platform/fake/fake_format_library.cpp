#include "platform/fake/fake_format_library.h"

namespace calvora::platform::fake {

CallbackStep CallbackStep::progress(std::int32_t percent) {
    CallbackStep step;
    step.command = 0;
    step.percent = percent;
    return step;
}

CallbackStep CallbackStep::finished(bool success) {
    CallbackStep step;
    step.command = 11;
    step.flag = success ? 1 : 0;
    return step;
}

CallbackStep CallbackStep::output(std::string oemText) {
    CallbackStep step;
    step.command = 14;
    step.text = std::move(oemText);
    return step;
}

CallbackStep CallbackStep::code(std::uint32_t command) {
    CallbackStep step;
    step.command = command;
    return step;
}

bool FakeFormatLibrary::load(std::string_view libraryName) {
    loadCalls.emplace_back(libraryName);
    return loadable;
}

bool FakeFormatLibrary::hasEntry(std::string_view entryName) const {
    return entries.find(entryName) != entries.end();
}

void FakeFormatLibrary::formatEx(const FormatExArguments& arguments, FormatCallback callback) {
    formatExCalls.push_back(arguments);
    stepsPlayed = 0;
    stoppedByCallback = false;
    for (const CallbackStep& step : script) {
        // Each code gets its data the way the real library lays it out.
        std::int32_t percent = step.percent;
        std::uint8_t flag = step.flag;
        TextOutput text{1, step.text.c_str()};
        void* data = nullptr;
        switch (step.command & 0xFF) {
            case 0:
                data = &percent;
                break;
            case 11:
                data = &flag;
                break;
            case 14:
                data = &text;
                break;
            default:
                break;
        }
        ++stepsPlayed;
        if (callback(step.command, 0, data) == 0) {
            stoppedByCallback = true;
            return;
        }
    }
    if (onFormatted) {
        onFormatted(arguments);
    }
}

std::uint8_t FakeFormatLibrary::enableVolumeCompression(std::u16string_view root,
                                                        std::uint32_t enable) {
    compressionCalls.emplace_back(std::u16string(root), enable);
    return compressionAnswer;
}

void FakeFormatLibrary::release() {
    ++releaseCalls;
}

}  // namespace calvora::platform::fake
