#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace calvora::controls {

// A window-less label that draws its caption twice: a shadow copy in BackgroundColor shifted
// right and down by Offset pixels, and the caption in ForegroundColor on top, over a
// transparent background (the parent shows through). An "&" marks the accelerator character;
// line breaks start new lines.
class Tdorvlabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(TCaptionAlignment CaptionAlignment READ CaptionAlignment WRITE setCaptionAlignment)
    Q_PROPERTY(QColor ForegroundColor READ ForegroundColor WRITE setForegroundColor)
    Q_PROPERTY(QColor BackgroundColor READ BackgroundColor WRITE setBackgroundColor)
    Q_PROPERTY(int Offset READ Offset WRITE setOffset)

public:
    // Horizontal alignment of the caption. The order (right before centre) is the stored one.
    enum TCaptionAlignment { caLeft, caRight, caCenter };
    Q_ENUM(TCaptionAlignment)

    static constexpr int kDefaultWidth = 47;
    static constexpr int kDefaultHeight = 14;

    explicit Tdorvlabel(QWidget* parent = nullptr);
    ~Tdorvlabel() override;

    bool AutoSize() const { return m_autoSize; }
    QString Caption() const { return m_caption; }
    TCaptionAlignment CaptionAlignment() const { return m_alignment; }
    QColor ForegroundColor() const { return m_foreground; }
    QColor BackgroundColor() const { return m_background; }
    int Offset() const { return m_offset; }

    // Each repaints, and only when the value changes.
    void setAutoSize(bool value);
    void setCaptionAlignment(TCaptionAlignment value);
    void setForegroundColor(const QColor& value);
    void setBackgroundColor(const QColor& value);
    void setOffset(int value);
    // Always repaints.
    void setCaption(const QString& value);

    // The caption's size as drawn in the label's font, without the shadow.
    QSize textSize() const;
    QSize sizeHint() const override;

signals:
    void OnClick(Tdorvlabel* sender);
    void OnDblClick(Tdorvlabel* sender);
    void OnMouseEnter(Tdorvlabel* sender);
    void OnMouseLeave(Tdorvlabel* sender);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void fitToCaption();
    void grabAccelerator();

    bool m_autoSize = true;
    QString m_caption;
    TCaptionAlignment m_alignment = caLeft;
    QColor m_foreground{0, 0, 0};
    QColor m_background{255, 255, 255};
    int m_offset = 1;
    int m_acceleratorId = 0;
    bool m_pressed = false;
};

}  // namespace calvora::controls
