#pragma once

#include <QRectF>
#include <vector>

#include "platform/PrintSurface.h"

namespace tandor {

// Where the labels of a sheet lie on its Letter paper, in inches from the
// paper's top-left corner with the sheet upright.
struct LabelSheetGeometry {
    double leftInches;    // left edge of the first column
    double topInches;     // top edge of the first row
    double widthInches;   // one label
    double heightInches;
    double pitchXInches;  // from one column's left edge to the next
    double pitchYInches;  // from one row's top edge to the next
    int columns;
    int rows;

    // Every label's outline, in points on the paper as oriented (a landscape
    // page holds the sheet turned a quarter).
    std::vector<QRectF> outlines(PageOrientation orientation) const;
};

// The 30-up address-label sheet: 3 by 10 labels of 2 5/8 in by 1 in.
const LabelSheetGeometry& addressLabelSheet();
// The 80-up return-address sheet: 4 by 20 labels of 1 3/4 in by 1/2 in.
const LabelSheetGeometry& returnAddressSheet();

}  // namespace tandor
