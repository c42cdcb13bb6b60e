// The launcher's version resource on Linux: an ELF note owned by "Calvora" in a section of its
// own, so `readelf -n weblaunch` or `strings weblaunch` shows it. Nothing reads it at run
// time and the program prints nothing about it.
#include <array>
#include <cstddef>
#include <cstdint>

namespace {

// Key=value pairs as in a Windows StringFileInfo block, each ending in NUL.
constexpr char kVersionStrings[] =
    "FileDescription=Visit the Website Calvora\0"
    "FileVersion=1.0.0.0";
// Owner and description of a note are padded to 4 bytes (ELF gABI, "Note Section").
constexpr std::size_t kDescriptionSize = (sizeof kVersionStrings + 3) / 4 * 4;
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

constexpr std::array<char, kDescriptionSize> paddedStrings() {
    std::array<char, kDescriptionSize> out{};
    for (std::size_t i = 0; i < sizeof kVersionStrings; ++i) {
        out[i] = kVersionStrings[i];
    }
    return out;
}

// The assembler gives sections named ".note..." the note type, and the linker keeps this one
// because it is marked used.
[[gnu::used, gnu::section(".note.calvora.version")]] alignas(4) const VersionNote kVersionNote{
    8,
    static_cast<std::uint32_t>(sizeof kVersionStrings),
    kNoteTypeVersion,
    {'C', 'a', 'l', 'v', 'o', 'r', 'a', '\0'},
    paddedStrings()};

}  // namespace
