// The launcher's version resource on Linux: an ELF note owned by "Calvora" in a section of its
// own, so `readelf -n weblaunch` or `strings weblaunch` shows it. Nothing reads it at run
// time and the program prints nothing about it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "launcher/weblaunch.h"

namespace {

using calvora::launcher::kFileDescription;
using calvora::launcher::kFileVersion;

// Key=value pairs as in a Windows StringFileInfo block, each ending in NUL.
constexpr std::string_view kDescriptionKey = "FileDescription=";
constexpr std::string_view kVersionKey = "FileVersion=";
constexpr std::size_t kStringsSize = kDescriptionKey.size() + kFileDescription.size() + 1 +
                                     kVersionKey.size() + kFileVersion.size() + 1;
// Owner and description of a note are padded to 4 bytes (ELF gABI, "Note Section").
constexpr std::size_t kDescriptionSize = (kStringsSize + 3) / 4 * 4;
// Type 1 under an owner of its own; readelf happens to call it NT_VERSION.
constexpr std::uint32_t kNoteTypeVersion = 1;

struct VersionNote {
    std::uint32_t nameSize;
    std::uint32_t descriptionSize;
    std::uint32_t type;
    std::array<char, 8> name;
    std::array<char, kDescriptionSize> description;
};
static_assert(offsetof(VersionNote, name) == 12);
static_assert(offsetof(VersionNote, description) == 20);
static_assert(sizeof(VersionNote) == 20 + kDescriptionSize);

constexpr std::array<char, kDescriptionSize> versionStrings() {
    std::array<char, kDescriptionSize> out{};
    std::size_t at = 0;
    for (const std::string_view part : {kDescriptionKey, kFileDescription,
                                        std::string_view{"\0", 1}, kVersionKey, kFileVersion}) {
        for (const char c : part) {
            out[at++] = c;
        }
    }
    return out;  // the rest stays NUL: the terminator and the padding
}

// The assembler gives sections named ".note..." the note type, and the linker keeps this one
// because it is marked used.
[[gnu::used, gnu::section(".note.calvora.version")]] alignas(4) const VersionNote kVersionNote{
    8,
    static_cast<std::uint32_t>(kStringsSize),
    kNoteTypeVersion,
    {'C', 'a', 'l', 'v', 'o', 'r', 'a', '\0'},
    versionStrings()};

}  // namespace
