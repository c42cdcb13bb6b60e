#include <string>

#include "engine/Unit_formatdisk.h"
#include "engine/report_texts.h"
#include "platform/format_library.h"

namespace calvora::engine {
namespace {

// Code 14 text: trimmed of blanks and control characters at both ends.
std::string trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') {
        ++begin;
    }
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') {
        --end;
    }
    return text.substr(begin, end - begin);
}

// The fixed message of a code that carries no data of interest; empty for codes with data.
std::string_view messageOf(std::uint8_t code) {
    switch (code) {
        case 1:
            return report::kCreatedOk;
        case 6:
            return report::kInsufficientRights;
        case 7:
            return report::kFsNotSupported;
        case 8:
            return report::kVolumeInUse;
        case 9:
            return report::kQuickFormatNotAllowed;
        case 16:
            return report::kClusterSizeTooSmall;
        default:
            return {};
    }
}

}  // namespace

std::uint8_t CALVORA_WINAPI FmifsCallback(std::uint32_t Command, std::uint32_t /*SubAction*/,
                                          void* ActionInfo) {
    Tdorvformatcheckdisk* engine = ActiveFormatter;
    if (engine == nullptr) {
        return 1;
    }
    const std::uint8_t code = static_cast<std::uint8_t>(Command & 0xFF);
    bool cancel = false;
    std::string line;
    switch (code) {
        case 0:
            cancel =
                engine->DoProgress(ActionInfo ? *static_cast<const std::int32_t*>(ActionInfo) : 0);
            break;
        case 11: {
            const bool success =
                ActionInfo != nullptr && *static_cast<const std::uint8_t*>(ActionInfo) != 0;
            engine->FormatDone = success;
            line = engine->timeStamped(success ? report::kFinishedOk : report::kUnableToFinish);
            break;
        }
        case 14: {
            const auto* output = static_cast<const platform::TextOutput*>(ActionInfo);
            if (output != nullptr && output->output != nullptr) {
                line = trimmed(engine->codePages().oemToAnsi(output->output));
            }
            break;
        }
        case 15:
        case 25:
            return 1;
        default: {
            std::string_view message = messageOf(code);
            line =
                message.empty()
                    ? engine->timeStamped(std::string(report::kDiskCallback) + std::to_string(code))
                    : engine->timeStamped(message);
            break;
        }
    }
    if (!line.empty()) {
        cancel = engine->DoInfo(line);
    }
    return cancel ? 0 : 1;
}

}  // namespace calvora::engine
