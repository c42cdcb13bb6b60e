#include "controls/dorvlabel.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

namespace calvora::controls {

namespace {

constexpr int kTextFlags = Qt::AlignTop | Qt::TextShowMnemonic;

int alignmentFlag(Tdorvlabel::TCaptionAlignment alignment) {
    switch (alignment) {
        case Tdorvlabel::caRight:
            return Qt::AlignRight;
        case Tdorvlabel::caCenter:
            return Qt::AlignHCenter;
        case Tdorvlabel::caLeft:
            break;
    }
    return Qt::AlignLeft;
}

}  // namespace

Tdorvlabel::Tdorvlabel(QWidget* parent) : QWidget(parent) {
    // Fitted once shown or given a caption, so that a label whose AutoSize is switched off
    // right after creation keeps the default size.
    resize(kDefaultWidth, kDefaultHeight);
}

Tdorvlabel::~Tdorvlabel() = default;

void Tdorvlabel::setAutoSize(bool value) {
    if (value == m_autoSize) {
        return;
    }
    m_autoSize = value;
    fitToCaption();
    update();
}

void Tdorvlabel::setCaptionAlignment(TCaptionAlignment value) {
    if (value == m_alignment) {
        return;
    }
    m_alignment = value;
    update();
}

void Tdorvlabel::setForegroundColor(const QColor& value) {
    if (value == m_foreground) {
        return;
    }
    m_foreground = value;
    update();
}

void Tdorvlabel::setBackgroundColor(const QColor& value) {
    if (value == m_background) {
        return;
    }
    m_background = value;
    update();
}

void Tdorvlabel::setOffset(int value) {
    if (value == m_offset) {
        return;
    }
    m_offset = value;
    fitToCaption();
    update();
}

void Tdorvlabel::setCaption(const QString& value) {
    m_caption = value;
    grabAccelerator();
    fitToCaption();
    update();
}

QSize Tdorvlabel::textSize() const {
    QFontMetrics metrics(font());
    if (m_caption.isEmpty()) {
        return QSize(0, metrics.height());
    }
    // Measured as drawn: the "&" of the accelerator takes no room, every line counts.
    return metrics.boundingRect(QRect(), kTextFlags, m_caption).size();
}

QSize Tdorvlabel::sizeHint() const {
    return m_autoSize ? textSize() + QSize(m_offset, m_offset) : size();
}

void Tdorvlabel::fitToCaption() {
    if (m_autoSize) {
        resize(textSize() + QSize(m_offset, m_offset));
    }
}

void Tdorvlabel::grabAccelerator() {
    if (m_acceleratorId != 0) {
        releaseShortcut(m_acceleratorId);
        m_acceleratorId = 0;
    }
    const QKeySequence accelerator = QKeySequence::mnemonic(m_caption);
    if (!accelerator.isEmpty()) {
        m_acceleratorId = grabShortcut(accelerator);
    }
}

bool Tdorvlabel::event(QEvent* event) {
    // The accelerator key is claimed and does nothing, so that no other control acts on it.
    if (event->type() == QEvent::Shortcut && m_acceleratorId != 0 &&
        static_cast<QShortcutEvent*>(event)->shortcutId() == m_acceleratorId) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void Tdorvlabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    const int flags = alignmentFlag(m_alignment) | kTextFlags;
    const QRect client = rect();

    painter.setPen(m_background);
    painter.drawText(client.adjusted(m_offset, m_offset, 0, 0), flags, m_caption);

    QRect caption = client;
    if (m_alignment == caRight) {
        caption.translate(-m_offset, 0);
    } else if (m_alignment == caCenter) {
        caption.translate(-(m_offset / 2), 0);
    }
    painter.setPen(m_foreground);
    painter.drawText(caption, flags, m_caption);
}

void Tdorvlabel::showEvent(QShowEvent* event) {
    fitToCaption();
    QWidget::showEvent(event);
}

void Tdorvlabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        fitToCaption();
    }
    QWidget::changeEvent(event);
}

void Tdorvlabel::enterEvent(QEnterEvent* event) {
    emit OnMouseEnter(this);
    QWidget::enterEvent(event);
}

void Tdorvlabel::leaveEvent(QEvent* event) {
    emit OnMouseLeave(this);
    QWidget::leaveEvent(event);
}

void Tdorvlabel::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void Tdorvlabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click) {
        emit OnClick(this);
    }
    QWidget::mouseReleaseEvent(event);
}

void Tdorvlabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit OnDblClick(this);
    }
    QWidget::mouseDoubleClickEvent(event);
}

}  // namespace calvora::controls
