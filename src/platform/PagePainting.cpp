#include "platform/PagePainting.h"

#include <QFontMetricsF>
#include <QPainter>

namespace tandor {

void paintPrintedPage(QPainter& painter, const PrintedPage& page, double pixelsPerPoint, double fontScale) {
    if (!page.rules.empty()) {
        painter.save();
        painter.setPen(QPen(Qt::black, 0.5 * pixelsPerPoint, Qt::SolidLine, Qt::FlatCap));
        for (const QLineF& rule : page.rules) {
            painter.drawLine(QLineF(rule.p1() * pixelsPerPoint, rule.p2() * pixelsPerPoint));
        }
        painter.restore();
    }
    painter.setPen(Qt::black);
    for (const PlacedText& t : page.texts) {
        FontSpec scaled = t.font;
        scaled.size *= fontScale;
        const QFont font = resolveFont(scaled);
        painter.setFont(font);
        const QFontMetricsF metrics(font, painter.device());
        painter.drawText(QPointF(t.xPt * pixelsPerPoint, t.yPt * pixelsPerPoint + metrics.ascent()), t.text);
    }
}

void paintLabelOutlines(QPainter& painter, const std::vector<QRectF>& outlines, double pixelsPerPoint,
                        QPointF paperOrigin, const QPen& pen) {
    painter.save();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const QRectF& r : outlines) {
        painter.drawRoundedRect(QRectF(paperOrigin + r.topLeft() * pixelsPerPoint, r.size() * pixelsPerPoint),
                                0.06 * 72 * pixelsPerPoint, 0.06 * 72 * pixelsPerPoint);
    }
    painter.restore();
}

}  // namespace tandor
