#include "drive_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace calvora::drives {
namespace {

using platform::DriveTypeCode;

void drawStick(QPainter& p) {
    // Connector, then the body with a light.
    p.setBrush(QColor(0xB0, 0xB8, 0xC0));
    p.drawRect(QRectF(11, 2, 10, 8));
    p.setBrush(QColor(0x2E, 0x6F, 0xD0));
    p.drawRoundedRect(QRectF(8, 9, 16, 21), 3, 3);
    p.setBrush(QColor(0x9F, 0xE8, 0x7A));
    p.drawEllipse(QRectF(14, 24, 4, 3));
}

void drawDisk(QPainter& p) {
    p.setBrush(QColor(0x8A, 0x93, 0x9C));
    p.drawRoundedRect(QRectF(3, 9, 26, 16), 3, 3);
    p.setBrush(QColor(0x5F, 0xC4, 0x5A));
    p.drawEllipse(QRectF(22, 19, 3, 3));
}

void drawShare(QPainter& p) {
    drawDisk(p);
    p.setBrush(QColor(0x2E, 0x6F, 0xD0));
    p.drawRect(QRectF(15, 25, 2, 4));
    p.drawRect(QRectF(6, 28, 20, 2));
}

void drawDisc(QPainter& p) {
    p.setBrush(QColor(0xD8, 0xDC, 0xE6));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(13, 13, 6, 6));
}

void drawChip(QPainter& p) {
    p.setBrush(QColor(0x2F, 0x8F, 0x4E));
    p.drawRect(QRectF(3, 9, 26, 14));
    p.setBrush(QColor(0x1F, 0x29, 0x33));
    for (int x = 6; x < 28; x += 6) {
        p.drawRect(QRectF(x, 12, 4, 8));
    }
}

QPixmap render(DriveTypeCode type, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(QColor(0x33, 0x3A, 0x44), 1.2));
    switch (type) {
        case DriveTypeCode::Removable:
            drawStick(p);
            break;
        case DriveTypeCode::Remote:
            drawShare(p);
            break;
        case DriveTypeCode::CdRom:
            drawDisc(p);
            break;
        case DriveTypeCode::RamDisk:
            drawChip(p);
            break;
        default:
            drawDisk(p);
            break;
    }
    return pixmap;
}

}  // namespace

QIcon builtinDriveIcon(DriveTypeCode type) {
    QIcon icon;
    icon.addPixmap(render(type, 16));
    icon.addPixmap(render(type, 32));
    return icon;
}

}  // namespace calvora::drives
