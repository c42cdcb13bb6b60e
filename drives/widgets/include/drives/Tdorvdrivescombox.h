#pragma once

#include <QComboBox>

#include "drives/drive_list.h"
#include "drives/drive_text.h"
#include "platform/drive_shell.h"
#include "platform/volumes.h"

namespace calvora::drives {

// A drop-down list of the drives whose type is in ViewDrivesType, each drawn with its icon and
// text. The list holds one letter per entry; the text is composed when the entry is drawn.
class Tdorvdrivescombox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(bool AutoUpdate READ AutoUpdate WRITE setAutoUpdate)
    Q_PROPERTY(bool DisplayBrackets READ DisplayBrackets WRITE setDisplayBrackets)
    Q_PROPERTY(bool DisplayIcons READ DisplayIcons WRITE setDisplayIcons)
    Q_PROPERTY(bool DisplayLabel READ DisplayLabel WRITE setDisplayLabel)
    Q_PROPERTY(bool DisplaySysName READ DisplaySysName WRITE setDisplaySysName)
    Q_PROPERTY(QChar Drive READ Drive WRITE setDrive)
    Q_PROPERTY(int IconsSize READ IconsSize WRITE setIconsSize)
    Q_PROPERTY(int TextCase READ TextCase WRITE setTextCase)
    Q_PROPERTY(int ViewDrivesType READ ViewDrivesType WRITE setViewDrivesType)

public:
    Tdorvdrivescombox(platform::Volumes& volumes, platform::DriveShell& shell,
                      QWidget* parent = nullptr);
    ~Tdorvdrivescombox() override;

    bool AutoUpdate() const { return m_autoUpdate; }
    void setAutoUpdate(bool on) { m_autoUpdate = on; }
    bool DisplayBrackets() const { return m_text.DisplayBrackets; }
    void setDisplayBrackets(bool on);
    bool DisplayIcons() const { return m_displayIcons; }
    void setDisplayIcons(bool on);
    bool DisplayLabel() const { return m_text.DisplayLabel; }
    void setDisplayLabel(bool on);
    bool DisplaySysName() const { return m_text.DisplaySysName; }
    void setDisplaySysName(bool on);
    QChar Drive() const { return QChar::fromLatin1(m_list.drive()); }
    // Selects a listed letter and raises OnChange; a letter that is not listed changes nothing.
    void setDrive(QChar letter);
    int IconsSize() const { return m_iconsSize; }
    void setIconsSize(int size);
    int TextCase() const { return m_text.TextCase; }
    void setTextCase(int textCase);
    int ViewDrivesType() const { return m_list.viewDrivesType().toByte(); }
    void setViewDrivesType(int types);

    // Re-enumerates the drives, keeping the selected letter when it is still there. Raises no
    // event.
    void UpdateDrives();
    // Called once the owner has applied its stored properties and handlers: selects the stored
    // drive again through the setter.
    void Loaded();

    // The text and icon of an entry, as they are drawn.
    QString entryText(char letter);
    QIcon entryIcon(char letter);
    int entryHeight() const { return m_entryHeight; }
    void drawEntry(QPainter& painter, const QRect& rect, char letter);

    void showPopup() override;

signals:
    void OnChange();
    void OnDropDown();

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void applyHeights();
    void fillItems();
    void repaintEntries();

    platform::Volumes& m_volumes;
    platform::DriveShell& m_shell;
    DriveList m_list;
    DriveTextOptions m_text;
    bool m_autoUpdate = true;
    bool m_displayIcons = true;
    TIconSize m_iconsSize = isSmall;
    int m_entryHeight;
};

}  // namespace calvora::drives
