#include "platform/LabelSheetGeometry.h"

#include "platform/PrintGrid.h"

namespace tandor {

std::vector<QRectF> LabelSheetGeometry::outlines(PageOrientation orientation) const {
    constexpr double pt = printgrid::kPointsPerInch;
    const double paperWidth = printgrid::paperSize(PaperSize::Letter, PageOrientation::Portrait).width();
    std::vector<QRectF> rects;
    rects.reserve(static_cast<std::size_t>(columns * rows));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QRectF upright((leftInches + column * pitchXInches) * pt, (topInches + row * pitchYInches) * pt,
                                 widthInches * pt, heightInches * pt);
            if (orientation == PageOrientation::Portrait) {
                rects.push_back(upright);
            } else {
                // The sheet turned a quarter: its left edge becomes the page's bottom edge.
                rects.emplace_back(upright.top(), paperWidth - upright.right(), upright.height(), upright.width());
            }
        }
    }
    return rects;
}

const LabelSheetGeometry& addressLabelSheet() {
    static const LabelSheetGeometry sheet{0.1875, 0.5, 2.625, 1.0, 2.75, 1.0, 3, 10};
    return sheet;
}

const LabelSheetGeometry& returnAddressSheet() {
    static const LabelSheetGeometry sheet{0.28125, 0.5, 1.75, 0.5, 2.0625, 0.5, 4, 20};
    return sheet;
}

}  // namespace tandor
