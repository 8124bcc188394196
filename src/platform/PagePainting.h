#pragma once

#include <QPen>
#include <QPointF>
#include <QRectF>
#include <vector>

#include "platform/GridSurface.h"

class QPainter;

namespace tandor {

// The one drawing of a composed page, shared by the printer and the preview.
//
// Rules and texts: the painter's origin is the top-left corner of the
// printable area; `pixelsPerPoint` maps points to painter units and
// `fontScale` enlarges the fonts with it (1 on a printer, whose fonts are
// already in its resolution; the zoom on screen).
void paintPrintedPage(QPainter& painter, const PrintedPage& page, double pixelsPerPoint, double fontScale = 1.0);

// Label outlines given in points on the paper; `paperOrigin` is where the
// paper's top-left corner lies in painter units.
void paintLabelOutlines(QPainter& painter, const std::vector<QRectF>& outlines, double pixelsPerPoint,
                        QPointF paperOrigin, const QPen& pen);

}  // namespace tandor
