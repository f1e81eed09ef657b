#include "gui/app/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace movrane::gui {

namespace {
QPixmap iconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size / 32.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(50, 128, 50));
    painter.drawRoundedRect(QRectF(1 * s, 1 * s, 30 * s, 30 * s), 5 * s, 5 * s);
    QPainterPath bend;
    bend.moveTo(6 * s, 28 * s);
    bend.cubicTo(6 * s, 6 * s, 10 * s, 6 * s, 28 * s, 6 * s);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(128, 128, 128), 9 * s, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(bend);
    painter.setPen(QPen(QColor(255, 0, 0), 1.6 * s));
    painter.drawPath(bend.translated(-1.5 * s, -1.5 * s));
    painter.setPen(QPen(QColor(0, 0, 255), 1.6 * s));
    painter.drawPath(bend.translated(1.5 * s, 1.5 * s));
    return pixmap;
}
}  // namespace

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) icon.addPixmap(iconPixmap(size));
    return icon;
}

}  // namespace movrane::gui
