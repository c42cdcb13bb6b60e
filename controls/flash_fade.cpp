#include "controls/flash_fade.h"

namespace calvora::controls {
namespace {

// numerator / denominator (both positive) to the nearest integer, halves to the even one.
int roundHalfEven(int numerator, int denominator) {
    int quotient = numerator / denominator;
    int twiceRemainder = 2 * (numerator % denominator);
    if (twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 != 0)) {
        ++quotient;
    }
    return quotient;
}

// start + k / steps of the way to end, exactly: a fraction summed k times would drift off the
// halves that decide the rounding.
std::uint8_t fadeComponent(std::uint8_t start, std::uint8_t end, int k, int steps) {
    const int numerator = start * steps + k * (end - start);
    return static_cast<std::uint8_t>(roundHalfEven(numerator, steps));
}

}  // namespace

Rgb fadeEntry(Rgb flashColor, Rgb color, int k, int steps) {
    return Rgb{
        fadeComponent(flashColor.red, color.red, k - 1, steps),
        fadeComponent(flashColor.green, color.green, k - 1, steps),
        fadeComponent(flashColor.blue, color.blue, k - 1, steps),
    };
}

FlashFade::FlashFade(Rgb color) : m_color(color) {
    rebuild();
}

void FlashFade::setColor(Rgb color) {
    m_color = color;
    rebuild();
}

void FlashFade::setFlashColor(Rgb flashColor) {
    m_flashColor = flashColor;
    rebuild();
}

void FlashFade::setSteps(int steps) {
    m_steps = clampFadeSteps(steps);
    if (m_index > m_steps) {
        m_index = m_steps;
        m_direction = -1;
    }
    rebuild();
}

Rgb FlashFade::entry(int k) const {
    return m_table[static_cast<std::size_t>(k < 1 ? 1 : k > m_steps ? m_steps : k)];
}

Rgb FlashFade::tick() {
    const Rgb shown = entry(m_index);
    m_index += m_direction;
    if (m_index > m_steps) {
        m_index = m_steps;
        m_direction = -1;
    }
    if (m_index <= 1) {
        m_direction = 1;
    }
    return shown;
}

void FlashFade::rebuild() {
    for (int k = 1; k <= m_steps; ++k) {
        m_table[static_cast<std::size_t>(k)] = fadeEntry(m_flashColor, m_color, k, m_steps);
    }
}

}  // namespace calvora::controls
