#pragma once

#include <span>
#include <string_view>

namespace calvora::settings {

// A translatable message: its name and its built-in English text.
struct MessageConstant {
    std::string_view name;
    std::string_view english;
};

// Every message constant, in name order. Language files carry all of them, the unused ones too.
std::span<const MessageConstant> messageConstants();

}  // namespace calvora::settings
