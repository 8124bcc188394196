#include "windowkit/widgets/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tandor {
namespace {

QPixmap drawn(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    // The envelope, behind.
    const QRectF envelope(4, 16, 56, 36);
    p.setPen(QPen(QColor(0x3a, 0x4a, 0x6b), 2));
    p.setBrush(QColor(0xf4, 0xe9, 0xc8));
    p.drawRoundedRect(envelope, 3, 3);
    QPainterPath flap;
    flap.moveTo(envelope.topLeft());
    flap.lineTo(envelope.center().x(), envelope.top() + 20);
    flap.lineTo(envelope.topRight());
    p.setBrush(Qt::NoBrush);
    p.drawPath(flap);

    // The label in front, with three address lines.
    const QRectF label(18, 30, 40, 26);
    p.setPen(QPen(QColor(0x3a, 0x4a, 0x6b), 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(label, 4, 4);
    p.setPen(QPen(QColor(0x1f, 0x5f, 0xa8), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24, 38), QPointF(50, 38));
    p.drawLine(QPointF(24, 44), QPointF(46, 44));
    p.drawLine(QPointF(24, 50), QPointF(40, 50));
    return pixmap;
}

}  // namespace

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(drawn(size));
    }
    return icon;
}

}  // namespace tandor
