#include "drives/Tdorvdrivescombox.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include "drive_icons.h"

namespace calvora::drives {
namespace {

// Frame of the closed box around its entry.
constexpr int kFrameHeight = 6;

// Draws the entries of the drop-down list through the box's own drawing.
class EntryDelegate final : public QStyledItemDelegate {
public:
    explicit EntryDelegate(Tdorvdrivescombox* box) : QStyledItemDelegate(box), m_box(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect,
                          option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QString letter = index.data(Qt::DisplayRole).toString();
        if (!letter.isEmpty()) {
            m_box->drawEntry(*painter, option.rect, letter.at(0).toLatin1());
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return QSize(option.rect.width(), m_box->entryHeight());
    }

private:
    Tdorvdrivescombox* m_box;
};

int lineHeightOf(const QFont& font) {
    return QFontMetrics(font).height() + 1;
}

}  // namespace

Tdorvdrivescombox::Tdorvdrivescombox(platform::Volumes& volumes, platform::DriveShell& shell,
                                     QWidget* parent)
    : QComboBox(parent),
      m_volumes(volumes),
      m_shell(shell),
      m_list(volumes),
      m_entryHeight(lineHeightOf(font())) {
    setEditable(false);
    setItemDelegate(new EntryDelegate(this));
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (m_list.pick(index)) {
            emit OnChange();
        }
    });
    m_entryHeight = entryHeightFor(m_entryHeight, m_entryHeight, m_iconsSize);
    applyHeights();
}

Tdorvdrivescombox::~Tdorvdrivescombox() = default;

void Tdorvdrivescombox::fillItems() {
    const QSignalBlocker blocker(this);
    clear();
    for (char letter : m_list.entries()) {
        addItem(QString(QChar::fromLatin1(letter)));
    }
    setCurrentIndex(m_list.itemIndex());
}

void Tdorvdrivescombox::UpdateDrives() {
    m_list.updateDrives();
    fillItems();
}

void Tdorvdrivescombox::Loaded() {
    setDrive(Drive());
}

void Tdorvdrivescombox::setDrive(QChar letter) {
    if (!m_list.setDrive(letter.toLatin1())) {
        return;
    }
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(m_list.itemIndex());
    }
    emit OnChange();
}

void Tdorvdrivescombox::setViewDrivesType(int types) {
    m_list.setViewDrivesType(TViewDrivesType::fromByte(static_cast<std::uint8_t>(types)));
    fillItems();
}

void Tdorvdrivescombox::repaintEntries() {
    update();
    view()->viewport()->update();
}

void Tdorvdrivescombox::setDisplayBrackets(bool on) {
    m_text.DisplayBrackets = on;
    repaintEntries();
}

void Tdorvdrivescombox::setDisplayIcons(bool on) {
    m_displayIcons = on;
    repaintEntries();
}

void Tdorvdrivescombox::setDisplayLabel(bool on) {
    m_text.DisplayLabel = on;
    repaintEntries();
}

void Tdorvdrivescombox::setDisplaySysName(bool on) {
    m_text.DisplaySysName = on;
    repaintEntries();
}

void Tdorvdrivescombox::setTextCase(int textCase) {
    m_text.TextCase = textCase == tcUpperCase ? tcUpperCase : tcLowerCase;
    repaintEntries();
}

void Tdorvdrivescombox::setIconsSize(int size) {
    m_iconsSize = size == isLarge ? isLarge : isSmall;
    m_entryHeight = entryHeightFor(m_entryHeight, lineHeightOf(font()), m_iconsSize);
    applyHeights();
}

void Tdorvdrivescombox::applyHeights() {
    setFixedHeight(m_entryHeight + kFrameHeight);
    // Rebuilding the window refreshes the list.
    UpdateDrives();
    update();
}

void Tdorvdrivescombox::changeEvent(QEvent* event) {
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_entryHeight = lineHeightOf(font());
        m_entryHeight = entryHeightFor(m_entryHeight, m_entryHeight, m_iconsSize);
        applyHeights();
    }
}

void Tdorvdrivescombox::showPopup() {
    if (m_autoUpdate) {
        UpdateDrives();
    }
    QComboBox::showPopup();
    emit OnDropDown();
}

QString Tdorvdrivescombox::entryText(char letter) {
    return QString::fromStdU16String(composeDriveText(letter, m_text, m_volumes, m_shell));
}

QIcon Tdorvdrivescombox::entryIcon(char letter) {
    const std::string root{letter, ':', '\\'};
    QIcon icon = QIcon::fromTheme(QString::fromStdString(m_shell.iconName(root)));
    return icon.isNull() ? builtinDriveIcon(m_volumes.driveType(root)) : icon;
}

void Tdorvdrivescombox::drawEntry(QPainter& painter, const QRect& rect, char letter) {
    const EntryLayout layout =
        layoutEntry({rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1}, m_displayIcons,
                    m_iconsSize);
    if (layout.hasIcon) {
        const EntryRect& r = layout.icon;
        entryIcon(letter).paint(&painter, QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
    }
    const EntryRect& t = layout.text;
    painter.drawText(QRect(t.left, t.top, t.right - t.left, t.bottom - t.top),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, entryText(letter));
}

void Tdorvdrivescombox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0) {
        return;
    }
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.setPen(palette().color(QPalette::Text));
    drawEntry(painter, field, currentText().at(0).toLatin1());
}

}  // namespace calvora::drives
