#include "controls/dorvflashinglabel.h"

#include <QPalette>

namespace calvora::controls {

namespace {

Rgb rgbOf(const QColor& color) {
    return Rgb{static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
               static_cast<std::uint8_t>(color.blue())};
}

QColor colorOf(Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

}  // namespace

Tdorvflashinglabel::Tdorvflashinglabel(QWidget* parent) : Tdorvflashinglabel(QString(), parent) {}

Tdorvflashinglabel::Tdorvflashinglabel(const QString& text, QWidget* parent)
    : QLabel(text, parent), m_timer(this), m_fade(rgbOf(palette().color(QPalette::Button))) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Color());
    setPalette(colours);
    m_timer.setInterval(m_interval);
    connect(&m_timer, &QTimer::timeout, this, &Tdorvflashinglabel::onTick);
    startTimerIfFlashing();
}

// The timer is a member, so it is gone before the label it paints.
Tdorvflashinglabel::~Tdorvflashinglabel() = default;

QColor Tdorvflashinglabel::FlashColor() const {
    return colorOf(m_fade.flashColor());
}

QColor Tdorvflashinglabel::Color() const {
    return colorOf(m_fade.color());
}

void Tdorvflashinglabel::setFlashColor(const QColor& value) {
    m_timer.stop();
    m_fade.setFlashColor(rgbOf(value));
    startTimerIfFlashing();
}

void Tdorvflashinglabel::setColor(const QColor& value) {
    m_timer.stop();
    m_fade.setColor(rgbOf(value));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Color());
    setPalette(colours);
    startTimerIfFlashing();
}

void Tdorvflashinglabel::setSteps(int value) {
    m_timer.stop();
    m_fade.setSteps(value);
    startTimerIfFlashing();
}

void Tdorvflashinglabel::setInterval(int value) {
    m_interval = value;
    m_timer.stop();
    m_timer.setInterval(value > 0 ? value : 0);
    startTimerIfFlashing();
}

void Tdorvflashinglabel::setFlashing(bool value) {
    m_flashing = value;
    m_timer.stop();
    startTimerIfFlashing();
    update();
}

QColor Tdorvflashinglabel::textColor() const {
    return palette().color(QPalette::WindowText);
}

void Tdorvflashinglabel::startTimerIfFlashing() {
    if (m_flashing && m_interval > 0) {
        m_timer.start();
    }
}

void Tdorvflashinglabel::onTick() {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colorOf(m_fade.tick()));
    setPalette(colours);
    update();
}

}  // namespace calvora::controls
