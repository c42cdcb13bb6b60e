// The label widgets rendered offscreen: where the shadow and the caption land, the size that
// AutoSize gives, the repaint rules, the mouse and accelerator behaviour, and the fade of the
// flashing label. Screenshots are written to CALVORA_SCREENSHOTS.
#include <QDir>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>
#include <set>

#include "controls/dorvflashinglabel.h"
#include "controls/dorvlabel.h"

using calvora::controls::Tdorvflashinglabel;
using calvora::controls::Tdorvlabel;

namespace {

const QColor kCaption(255, 0, 0);
const QColor kShadow(0, 0, 255);

// Without antialiasing every pixel is the caption's colour, the shadow's or the background's.
QFont testFont() {
    QFont font("DejaVu Sans");
    font.setPixelSize(24);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QImage render(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

void save(const QImage& image, const QString& name) {
    QDir().mkpath(CALVORA_SCREENSHOTS);
    QVERIFY(image.save(QString(CALVORA_SCREENSHOTS) + "/" + name + ".png"));
}

// The bounding box of the pixels of exactly this opaque colour.
QRect inkOf(const QImage& image, const QColor& colour) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour.rgba()) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// Where the text's ink lies when drawn once into a rectangle of this size.
QRect referenceInk(const QString& text, const QSize& size, int alignment) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(testFont());
    painter.setPen(kCaption);
    painter.drawText(QRect(QPoint(0, 0), size), alignment | Qt::AlignTop | Qt::TextShowMnemonic,
                     text);
    painter.end();
    return inkOf(image, kCaption);
}

void configure(Tdorvlabel& label, const QString& caption, int offset) {
    label.setFont(testFont());
    label.setForegroundColor(kCaption);
    label.setBackgroundColor(kShadow);
    label.setOffset(offset);
    label.setCaption(caption);
}

// Counts the paint events and the key presses (other than Alt itself) of one widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
    int keyPresses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        } else if (event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent*>(event)->key() != Qt::Key_Alt) {
            ++keyPresses;
        }
        return false;
    }
};

}  // namespace

class LabelWidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void labelDefaultsAreThePublishedOnes();
    void shadowLiesOffsetPixelsRightAndBelow();
    void offsetZeroShowsOnlyTheCaption();
    void rightAlignedShadowEndsAtTheRightEdge();
    void centredCaptionMovesHalfTheOffsetLeft();
    void autoSizeIsOffsetLargerThanTheText();
    void settersRepaintOnlyOnChange();
    void mouseSignalsCarryTheLabel();
    void acceleratorKeyIsClaimedAndOthersPassOn();
    void flashingLabelDefaults();
    void flashingLabelWalksTheFadeAndStopsOnTheLastColour();
    void flashingLabelPaintsItsColours();
    void screenshotOfBothLabels();
};

void LabelWidgetsTest::labelDefaultsAreThePublishedOnes() {
    Tdorvlabel label;
    QCOMPARE(label.property("AutoSize").toBool(), true);
    QCOMPARE(label.property("Caption").toString(), QString());
    QCOMPARE(label.property("CaptionAlignment").value<Tdorvlabel::TCaptionAlignment>(),
             Tdorvlabel::caLeft);
    QCOMPARE(label.property("ForegroundColor").value<QColor>(), QColor(0, 0, 0));
    QCOMPARE(label.property("BackgroundColor").value<QColor>(), QColor(255, 255, 255));
    QCOMPARE(label.property("Offset").toInt(), 1);
    // The stored order: right before centre.
    QCOMPARE(int(Tdorvlabel::caLeft), 0);
    QCOMPARE(int(Tdorvlabel::caRight), 1);
    QCOMPARE(int(Tdorvlabel::caCenter), 2);

    QCOMPARE(label.size(), QSize(47, 14));
    label.setAutoSize(false);
    QVERIFY(label.setProperty("Caption", "Device:"));
    QCOMPARE(label.size(), QSize(47, 14));  // fixed while AutoSize is off
    label.setAutoSize(true);
    QCOMPARE(label.size(), label.textSize() + QSize(1, 1));
}

void LabelWidgetsTest::shadowLiesOffsetPixelsRightAndBelow() {
    // On a green parent, which must show through everywhere but the text.
    const QColor parentColour(0, 160, 0);
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette colours = parent.palette();
    colours.setColor(QPalette::Window, parentColour);
    parent.setPalette(colours);
    Tdorvlabel label(&parent);
    configure(label, "Help", 3);
    label.move(10, 10);
    parent.resize(label.width() + 20, label.height() + 20);
    const QImage image =
        parent.grab(label.geometry()).toImage().convertToFormat(QImage::Format_ARGB32);
    save(parent.grab().toImage(), "label_offset3");

    const QRect caption = inkOf(image, kCaption);
    const QRect shadow = inkOf(image, kShadow);
    const QRect expected = referenceInk("Help", label.size(), Qt::AlignLeft);
    QVERIFY(!caption.isEmpty());
    QCOMPARE(caption, expected);
    // Only the shadow's right and bottom edges are sure to show from under the caption.
    QCOMPARE(shadow.right(), expected.right() + 3);
    QCOMPARE(shadow.bottom(), expected.bottom() + 3);
    QVERIFY(shadow.left() > expected.left());
    int other = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            other +=
                pixel != kCaption.rgba() && pixel != kShadow.rgba() && pixel != parentColour.rgba();
        }
    }
    QCOMPARE(other, 0);
    QCOMPARE(QColor(image.pixel(image.width() - 1, 0)), parentColour);
}

void LabelWidgetsTest::offsetZeroShowsOnlyTheCaption() {
    Tdorvlabel label;
    configure(label, "Help", 0);
    const QImage image = render(label);
    save(image, "label_offset0");
    QVERIFY(inkOf(image, kShadow).isEmpty());
    QCOMPARE(inkOf(image, kCaption), referenceInk("Help", label.size(), Qt::AlignLeft));
}

void LabelWidgetsTest::rightAlignedShadowEndsAtTheRightEdge() {
    Tdorvlabel label;
    configure(label, "Device:", 3);
    label.setAutoSize(false);
    label.resize(160, 40);
    label.setCaptionAlignment(Tdorvlabel::caRight);
    const QImage image = render(label);
    save(image, "label_caright_offset3");

    // Text drawn right-aligned into the whole client rectangle ends where the shadow ends.
    const QRect atEdge = referenceInk("Device:", label.size(), Qt::AlignRight);
    const QRect shadow = inkOf(image, kShadow);
    const QRect caption = inkOf(image, kCaption);
    QCOMPARE(shadow.right(), atEdge.right());
    QCOMPARE(shadow.bottom(), atEdge.bottom() + 3);
    QCOMPARE(caption, atEdge.translated(-3, 0));
}

void LabelWidgetsTest::centredCaptionMovesHalfTheOffsetLeft() {
    Tdorvlabel label;
    configure(label, "Format", 3);
    label.setAutoSize(false);
    label.resize(161, 40);
    label.setCaptionAlignment(Tdorvlabel::caCenter);
    const QImage image = render(label);
    save(image, "label_cacenter_offset3");

    const QRect centred = referenceInk("Format", label.size(), Qt::AlignHCenter);
    const QRect caption = inkOf(image, kCaption);
    QCOMPARE(caption, centred.translated(-1, 0));  // 3 / 2, truncated
    const QRect shadow = inkOf(image, kShadow);
    QCOMPARE(shadow.bottom(), caption.bottom() + 3);
    // Centred in a rectangle 3 pixels narrower: 2 or 3 pixels right of the caption.
    QVERIFY2(shadow.right() - caption.right() >= 2 && shadow.right() - caption.right() <= 3,
             qPrintable(QString::number(shadow.right() - caption.right())));
}

void LabelWidgetsTest::autoSizeIsOffsetLargerThanTheText() {
    Tdorvlabel label;
    configure(label, "Help", 1);
    const QFontMetrics metrics(testFont());
    QCOMPARE(label.size(), QSize(metrics.horizontalAdvance("Help") + 1, metrics.height() + 1));
    const QImage image = render(label);
    save(image, "label_autosize_help");
    // The shadow is not cut off: it is the caption's ink moved by one pixel.
    const QRect unclipped = referenceInk("Help", QSize(200, 100), Qt::AlignLeft);
    QCOMPARE(inkOf(image, kShadow).bottomRight(), unclipped.bottomRight() + QPoint(1, 1));

    // The accelerator's "&" takes no room; a second line adds a line.
    label.setCaption("&Help");
    QCOMPARE(label.width(), metrics.horizontalAdvance("Help") + 1);
    label.setCaption("Help\nAbout");
    QCOMPARE(label.height(), 2 * metrics.lineSpacing() + 1);
    // Offset and font follow; AutoSize off keeps what there is.
    label.setCaption("Help");
    label.setOffset(4);
    QCOMPARE(label.size(), QSize(metrics.horizontalAdvance("Help") + 4, metrics.height() + 4));
    label.setAutoSize(false);
    label.setCaption("Help, a longer caption");
    QCOMPARE(label.size(), QSize(metrics.horizontalAdvance("Help") + 4, metrics.height() + 4));
}

void LabelWidgetsTest::settersRepaintOnlyOnChange() {
    QWidget window;
    window.resize(200, 60);
    Tdorvlabel label(&window);
    configure(label, "Home", 1);
    PaintCounter counter;
    label.installEventFilter(&counter);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    struct Setter {
        const char* name;
        std::function<void()> same;
        std::function<void()> changed;
    };
    const std::vector<Setter> setters = {
        {"AutoSize", [&] { label.setAutoSize(true); }, [&] { label.setAutoSize(false); }},
        {"CaptionAlignment", [&] { label.setCaptionAlignment(Tdorvlabel::caLeft); },
         [&] { label.setCaptionAlignment(Tdorvlabel::caRight); }},
        {"ForegroundColor", [&] { label.setForegroundColor(kCaption); },
         [&] { label.setForegroundColor(Qt::black); }},
        {"BackgroundColor", [&] { label.setBackgroundColor(kShadow); },
         [&] { label.setBackgroundColor(Qt::white); }},
        {"Offset", [&] { label.setOffset(1); }, [&] { label.setOffset(2); }},
    };
    for (const Setter& setter : setters) {
        QCoreApplication::processEvents();
        counter.paints = 0;
        setter.same();
        QCoreApplication::processEvents();
        QVERIFY2(counter.paints == 0, setter.name);
        setter.changed();
        QTRY_VERIFY2(counter.paints > 0, setter.name);
    }
    // The caption repaints even when it is the same text.
    QCoreApplication::processEvents();
    counter.paints = 0;
    label.setCaption(label.Caption());
    QTRY_VERIFY(counter.paints > 0);
}

void LabelWidgetsTest::mouseSignalsCarryTheLabel() {
    QWidget window;
    window.resize(200, 60);
    Tdorvlabel label(&window);
    configure(label, "Help", 1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QSignalSpy entered(&label, &Tdorvlabel::OnMouseEnter);
    QSignalSpy left(&label, &Tdorvlabel::OnMouseLeave);
    QSignalSpy clicked(&label, &Tdorvlabel::OnClick);
    QSignalSpy doubleClicked(&label, &Tdorvlabel::OnDblClick);
    const QPointF inside(5, 5);
    QEnterEvent enter(inside, inside, label.mapToGlobal(inside));
    QCoreApplication::sendEvent(&label, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&label, &leave);
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseDClick(&label, Qt::LeftButton, {}, QPoint(5, 5));

    QCOMPARE(entered.count(), 1);
    QCOMPARE(left.count(), 1);
    QCOMPARE(entered.at(0).at(0).value<Tdorvlabel*>(), &label);
    QCOMPARE(left.at(0).at(0).value<Tdorvlabel*>(), &label);
    QVERIFY(clicked.count() >= 1);
    QCOMPARE(clicked.at(0).at(0).value<Tdorvlabel*>(), &label);
    QCOMPARE(doubleClicked.count(), 1);
}

void LabelWidgetsTest::acceleratorKeyIsClaimedAndOthersPassOn() {
    QWidget window;
    QVBoxLayout layout(&window);
    Tdorvlabel label;
    auto* edit = new QLineEdit;
    layout.addWidget(&label);
    layout.addWidget(edit);
    label.setCaption("&Help");
    PaintCounter keys;
    edit->installEventFilter(&keys);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();

    QTest::keyClick(edit, Qt::Key_H, Qt::AltModifier);
    QCOMPARE(keys.keyPresses, 0);  // claimed by the label
    QTest::keyClick(edit, Qt::Key_J, Qt::AltModifier);
    QCOMPARE(keys.keyPresses, 1);  // passed on
    QTest::keyClick(edit, Qt::Key_H);
    QCOMPARE(keys.keyPresses, 2);           // a plain key is typed as usual
    QCOMPARE(edit->text(), QString("jh"));  // the claimed Alt+H typed nothing

    label.setCaption("&Go");
    QTest::keyClick(edit, Qt::Key_H, Qt::AltModifier);
    QCOMPARE(keys.keyPresses, 3);
    QTest::keyClick(edit, Qt::Key_G, Qt::AltModifier);
    QCOMPARE(keys.keyPresses, 3);
    label.setCaption("Fish && Chips");  // "&&" is a plain "&", no accelerator
    QTest::keyClick(edit, Qt::Key_G, Qt::AltModifier);
    QCOMPARE(keys.keyPresses, 4);
}

void LabelWidgetsTest::flashingLabelDefaults() {
    Tdorvflashinglabel label("Recommendations");
    QCOMPARE(label.property("FlashColor").value<QColor>(), QColor(255, 0, 0));
    QCOMPARE(label.property("Steps").toInt(), 16);
    QCOMPARE(label.property("Interval").toInt(), 2);
    QCOMPARE(label.property("Flashing").toBool(), true);
    const QColor buttonFace = label.palette().color(QPalette::Button);
    QCOMPARE(label.property("Color").value<QColor>().rgb(), buttonFace.rgb());
    auto* timer = label.findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 2);

    label.setSteps(3);
    QCOMPARE(label.Steps(), 5);
    label.setSteps(50);
    QCOMPARE(label.Steps(), 40);
    // A system colour reads back as the RGB value it had when it was set.
    label.setColor(QColor(16053492 & 0xFF, (16053492 >> 8) & 0xFF, (16053492 >> 16) & 0xFF));
    QCOMPARE(label.Color(), QColor(244, 244, 244));
    QCOMPARE(label.palette().color(QPalette::Window), QColor(244, 244, 244));
}

void LabelWidgetsTest::flashingLabelWalksTheFadeAndStopsOnTheLastColour() {
    Tdorvflashinglabel label("Recommendations");
    label.setFlashing(false);
    label.setFlashColor(Qt::black);
    label.setColor(Qt::white);
    label.setSteps(5);
    auto* timer = label.findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(timer);
    QVERIFY(!timer->isActive());

    // Each tick shows the next entry: 0, 51, 102, 153, 204, 204, 153, ...
    std::vector<int> shown;
    for (int tick = 0; tick < 11; ++tick) {
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection));
        shown.push_back(label.textColor().red());
    }
    QCOMPARE(shown, (std::vector<int>{0, 51, 102, 153, 204, 204, 153, 102, 51, 0, 51}));

    // Live: the timer runs the fade, and stopping keeps the colour of the last tick.
    label.setInterval(1);
    label.setFlashing(true);
    std::set<int> seen;
    QTRY_VERIFY_WITH_TIMEOUT((seen.insert(label.textColor().red()), seen.size() == 5), 5000);
    label.setFlashing(false);
    const QColor last = label.textColor();
    QTest::qWait(30);
    QCOMPARE(label.textColor(), last);
    QCOMPARE(seen, (std::set<int>{0, 51, 102, 153, 204}));

    // An interval of 0 never fires.
    label.setInterval(0);
    label.setFlashing(true);
    QVERIFY(!timer->isActive());
    QTest::qWait(20);
    QCOMPARE(label.textColor(), last);
}

void LabelWidgetsTest::flashingLabelPaintsItsColours() {
    // The main window's blinking link: blue towards light grey in 20 steps.
    QWidget strip;
    QHBoxLayout layout(&strip);
    layout.setSpacing(0);
    layout.setContentsMargins(0, 0, 0, 0);
    std::vector<Tdorvflashinglabel*> frames;
    for (int frame = 0; frame < 5; ++frame) {
        auto* label = new Tdorvflashinglabel("Recommendations");
        QFont font = testFont();
        font.setPixelSize(14);
        label->setFont(font);
        label->setContentsMargins(6, 4, 6, 4);
        label->setFlashing(false);
        label->setFlashColor(QColor(0, 0, 255));
        label->setColor(QColor(244, 244, 244));
        label->setSteps(20);
        auto* timer = label->findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
        for (int tick = 0; tick <= frame * 4; ++tick) {
            QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        }
        layout.addWidget(label);
        frames.push_back(label);
    }
    strip.adjustSize();
    const QImage image = render(strip);
    save(image, "flashing_label_fade");

    for (Tdorvflashinglabel* label : frames) {
        const QImage frame = render(*label);
        QCOMPARE(QColor(frame.pixel(0, 0)), QColor(244, 244, 244));  // its own background
        QVERIFY(!inkOf(frame, label->textColor()).isEmpty());
    }
    QCOMPARE(frames[0]->textColor(), QColor(0, 0, 255));
    // 17 ticks: entry 17 of 20, 16/20 of the way from blue to light grey.
    QCOMPARE(frames[4]->textColor(), QColor(195, 195, 246));
}

void LabelWidgetsTest::screenshotOfBothLabels() {
    // A page of the main window as the labels draw it.
    QWidget page;
    page.setAutoFillBackground(true);
    QPalette colours = page.palette();
    colours.setColor(QPalette::Window, QColor(244, 244, 244));
    page.setPalette(colours);
    page.resize(360, 190);

    auto font = [](int pixels, bool bold) {
        QFont f("DejaVu Sans");
        f.setPixelSize(pixels);
        f.setBold(bold);
        return f;
    };
    Tdorvlabel title(&page);
    title.setFont(font(18, true));
    title.setForegroundColor(QColor(13, 0, 38));
    title.setCaption("Formatting");
    title.move(16, 12);
    Tdorvlabel version(&page);
    version.setFont(font(14, true));
    version.setForegroundColor(Qt::red);
    version.setCaption("1.1");
    version.move(360 - 16 - version.width(), 16);

    const char* fields[] = {"Device:", "Volume Label:", "File System:"};
    std::vector<std::unique_ptr<Tdorvlabel>> captions;
    for (int i = 0; i < 3; ++i) {
        auto label = std::make_unique<Tdorvlabel>(&page);
        label->setFont(font(12, false));
        label->setAutoSize(false);
        label->resize(110, 18);
        label->setCaptionAlignment(Tdorvlabel::caRight);
        label->setCaption(fields[i]);
        label->move(16, 52 + i * 26);
        captions.push_back(std::move(label));
    }
    Tdorvlabel progress(&page);
    progress.setFont(font(12, false));
    progress.setForegroundColor(Qt::red);
    progress.setCaption("0%");
    progress.move(136, 130);

    Tdorvflashinglabel link("Recommendations", &page);
    link.setFont(font(12, true));
    link.setFlashing(false);
    link.setFlashColor(QColor(0, 0, 255));
    link.setColor(QColor(244, 244, 244));
    link.setSteps(20);
    auto* timer = link.findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
    for (int tick = 0; tick < 8; ++tick) {
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    }
    link.adjustSize();
    link.move(16, 160);

    const QImage image = render(page);
    save(image, "labels_page");
    // The page's own colour shows between the letters of
    // the transparent labels.
    QCOMPARE(QColor(image.pixel(title.x() + title.width() - 1, title.y())), QColor(244, 244, 244));
}

QTEST_MAIN(LabelWidgetsTest)
#include "label_widgets_test.moc"
