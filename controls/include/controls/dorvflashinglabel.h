#pragma once

#include <QColor>
#include <QLabel>
#include <QTimer>

#include "controls/flash_fade.h"

namespace calvora::controls {

// A label whose text colour fades, driven by its own timer, from FlashColor towards the
// label's background Color and back, in Steps steps of Interval milliseconds.
class Tdorvflashinglabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QColor FlashColor READ FlashColor WRITE setFlashColor)
    Q_PROPERTY(int Steps READ Steps WRITE setSteps)
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)
    Q_PROPERTY(bool Flashing READ Flashing WRITE setFlashing)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)

public:
    static constexpr int kDefaultInterval = 2;

    // Red flash colour, 16 steps, 2 ms, flashing, on the palette's button colour.
    explicit Tdorvflashinglabel(QWidget* parent = nullptr);
    explicit Tdorvflashinglabel(const QString& text, QWidget* parent = nullptr);
    ~Tdorvflashinglabel() override;

    // The stored RGB values.
    QColor FlashColor() const;
    QColor Color() const;
    int Steps() const { return m_fade.steps(); }
    int Interval() const { return m_interval; }
    bool Flashing() const { return m_flashing; }

    // Rebuilds the fade with the timer stopped.
    void setFlashColor(const QColor& value);
    // Also the label's background colour.
    void setColor(const QColor& value);
    // Clamped to 5..40.
    void setSteps(int value);
    // As a system timer, an interval of 0 or less never fires.
    void setInterval(int value);
    // Starts or stops the fade; stopping keeps the colour of the last tick.
    void setFlashing(bool value);

    // The colour the text has now.
    QColor textColor() const;
    const FlashFade& fade() const { return m_fade; }

private:
    void onTick();
    void startTimerIfFlashing();

    QTimer m_timer;
    FlashFade m_fade;
    int m_interval = kDefaultInterval;
    bool m_flashing = true;
};

}  // namespace calvora::controls
