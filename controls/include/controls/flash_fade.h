#pragma once

#include <array>
#include <cstdint>

namespace calvora::controls {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    constexpr bool operator==(const Rgb&) const = default;
};

// A colour value 0x00BBGGRR (red in the low byte) as its components.
constexpr Rgb rgbFromColorValue(std::uint32_t value) {
    return Rgb{static_cast<std::uint8_t>(value & 0xFF),
               static_cast<std::uint8_t>((value >> 8) & 0xFF),
               static_cast<std::uint8_t>((value >> 16) & 0xFF)};
}

// Entry k (1-based) of a fade of `steps` colours from flashColor towards color: flashColor
// plus (k - 1) / steps of the way, each component rounded to the nearest integer, halves to
// the even one. Entry steps is thus one step short of color.
Rgb fadeEntry(Rgb flashColor, Rgb color, int k, int steps);

// The fade of the flashing label: a table of Steps colours from the flash colour towards the
// background colour, and the index that the timer's ticks walk up and down it.
class FlashFade {
public:
    static constexpr int kMinSteps = 5;
    static constexpr int kMaxSteps = 40;

    // Red towards the given background, 16 steps, index 1 going up.
    explicit FlashFade(Rgb color = Rgb{240, 240, 240});

    // Each rebuilds the table.
    void setColor(Rgb color);
    void setFlashColor(Rgb flashColor);
    // Clamped to 5..40. An index beyond the new end moves to the end and turns downwards.
    void setSteps(int steps);

    Rgb color() const { return m_color; }
    Rgb flashColor() const { return m_flashColor; }
    int steps() const { return m_steps; }
    int index() const { return m_index; }
    int direction() const { return m_direction; }
    // Entry k of the table, 1 <= k <= steps() (fadeEntry of the current colours).
    Rgb entry(int k) const;

    // One timer tick: the colour to show now; then the index moves on, turning at both ends,
    // so the entries run 1, 2, ..., Steps, Steps, Steps - 1, ..., 2, 1, 2, ...
    Rgb tick();

private:
    void rebuild();

    Rgb m_color;
    Rgb m_flashColor{255, 0, 0};
    int m_steps = 16;
    int m_index = 1;
    int m_direction = 1;
    std::array<Rgb, kMaxSteps + 1> m_table{};  // entries 1..m_steps
};

// Steps as the label keeps it: below 5 gives 5, above 40 gives 40.
constexpr int clampFadeSteps(int steps) {
    return steps < FlashFade::kMinSteps   ? FlashFade::kMinSteps
           : steps > FlashFade::kMaxSteps ? FlashFade::kMaxSteps
                                          : steps;
}

}  // namespace calvora::controls
