// The drive box widget on fake drives, offscreen.
#include <QAbstractItemView>
#include <QDir>
#include <QSignalSpy>
#include <QtTest>

#include "drives/Tdorvdrivescombox.h"
#include "platform/fake/fake_discovery.h"
#include "platform/fake/fake_volumes.h"

using calvora::drives::Tdorvdrivescombox;
using calvora::platform::DriveTypeCode;

class DriveBoxTest : public QObject {
    Q_OBJECT

private:
    calvora::platform::fake::FakeVolumes volumes;
    calvora::platform::fake::FakeDriveShell shell;

    static QString items(const Tdorvdrivescombox& box) {
        QString letters;
        for (int i = 0; i < box.count(); ++i) {
            letters += box.itemText(i);
        }
        return letters;
    }

    static void save(QWidget* widget, const QString& name) {
        const QString dir = qEnvironmentVariable("CALVORA_SCREENSHOT_DIR", QDir::tempPath());
        QDir().mkpath(dir);
        QVERIFY(widget->grab().save(dir + "/" + name));
    }

private slots:
    void init() {
        volumes = {};
        shell = {};
        volumes.add('C', u"System", u"NTFS", 1 << 30, 1 << 29).type = DriveTypeCode::Fixed;
        volumes.drives['D'].type = DriveTypeCode::CdRom;
        volumes.add('E', u"DATA", u"FAT32", 1 << 30, 1 << 29);
        volumes.add('I', u"", u"exFAT", 1 << 30, 1 << 29);
        volumes.add('Z', u"share", u"cifs", 1 << 30, 1 << 29).type = DriveTypeCode::Remote;
        shell.names["E:\\"] = u"DATA (E:)";
        shell.names["I:\\"] = u"USB Drive (I:)";
        shell.names["Z:\\"] = u"share (Z:)";
        shell.icons["Z:\\"] = "network-server";
    }

    void defaults() {
        Tdorvdrivescombox box(volumes, shell);
        QCOMPARE(box.property("AutoUpdate").toBool(), true);
        QCOMPARE(box.property("DisplayBrackets").toBool(), true);
        QCOMPARE(box.property("DisplayIcons").toBool(), true);
        QCOMPARE(box.property("DisplayLabel").toBool(), true);
        QCOMPARE(box.property("DisplaySysName").toBool(), true);
        QCOMPARE(box.property("IconsSize").toInt(), 0);
        QCOMPARE(box.property("TextCase").toInt(), 0);
        QCOMPARE(box.property("ViewDrivesType").toInt(), 0b01111100);
        QVERIFY(!box.isEditable());
        QCOMPARE(items(box), QString("CDEIZ"));
        QCOMPARE(box.currentIndex(), 0);
    }

    void mainWindowSettingsAndStoredDrive() {
        Tdorvdrivescombox box(volumes, shell);
        QSignalSpy changes(&box, &Tdorvdrivescombox::OnChange);
        box.setProperty("ViewDrivesType", 0b01010100);  // removable, remote, RAM
        box.setProperty("Drive", QChar('I'));
        QCOMPARE(items(box), QString("EIZ"));
        QCOMPARE(changes.count(), 1);
        box.Loaded();
        QCOMPARE(changes.count(), 2);
        QCOMPARE(box.Drive(), QChar('I'));
        QCOMPARE(box.currentIndex(), 1);

        // A refresh raises nothing and keeps I; without I the first entry is selected.
        box.UpdateDrives();
        volumes.drives.erase('I');
        box.UpdateDrives();
        QCOMPARE(changes.count(), 2);
        QCOMPARE(box.Drive(), QChar('E'));
        QCOMPARE(box.currentIndex(), 0);

        // Not listed: ignored.
        box.setDrive(QChar('C'));
        QCOMPARE(changes.count(), 2);
        QCOMPARE(box.Drive(), QChar('E'));
    }

    void dropDownRefreshesAndPickingRaisesOnChange() {
        Tdorvdrivescombox box(volumes, shell);
        box.setViewDrivesType(0b01010100);
        QSignalSpy changes(&box, &Tdorvdrivescombox::OnChange);
        QSignalSpy drops(&box, &Tdorvdrivescombox::OnDropDown);
        volumes.add('K', u"NEW", u"FAT32", 1 << 20, 1 << 20);
        box.show();
        box.showPopup();
        QCOMPARE(items(box), QString("EIKZ"));
        QCOMPARE(drops.count(), 1);
        emit box.activated(2);
        QCOMPARE(box.Drive(), QChar('K'));
        QCOMPARE(changes.count(), 1);
        box.hidePopup();

        box.setAutoUpdate(false);
        volumes.drives.erase('K');
        box.showPopup();
        QCOMPARE(items(box), QString("EIKZ"));
        box.hidePopup();
    }

    void heightsFollowIconSizeAndFont() {
        Tdorvdrivescombox box(volumes, shell);
        QFont small = box.font();
        small.setPixelSize(9);
        box.setFont(small);
        QVERIFY(QFontMetrics(small).height() + 1 < 18);
        QCOMPARE(box.entryHeight(), 18);
        box.setIconsSize(1);
        QCOMPARE(box.entryHeight(), 34);

        QFont large = box.font();
        large.setPixelSize(40);
        box.setFont(large);
        QCOMPARE(box.entryHeight(), QFontMetrics(large).height() + 1);
    }

    void composedTextAndScreenshots() {
        Tdorvdrivescombox box(volumes, shell);
        box.setViewDrivesType(0b01111100);
        box.setDisplaySysName(false);
        QCOMPARE(box.entryText('E'), QString("e: "));
        QCOMPARE(box.entryText('C'), QString("c: [system]"));
        box.setTextCase(1);
        QCOMPARE(box.entryText('C'), QString("C: [SYSTEM]"));
        QVERIFY(!box.entryIcon('E').isNull());

        box.setDisplaySysName(true);
        box.setTextCase(0);
        box.setViewDrivesType(0b01010100);
        box.setDrive(QChar('E'));
        box.resize(237, box.height());
        box.show();
        save(&box, "drive-box-closed.png");
        box.showPopup();
        QWidget* popup = box.view()->window();
        QVERIFY(popup->isVisible());
        save(popup, "drive-box-dropped.png");
        box.hidePopup();
    }
};

QTEST_MAIN(DriveBoxTest)
#include "drive_box_test.moc"
