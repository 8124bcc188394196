#pragma once

#include "platform/PrintSurface.h"
#include "printing/AdjustmentFile.h"
#include "printing/CompositionState.h"

namespace tandor {

// One run of each print path: everything one copy prints, ended as a document
// of its own. ShiftedPrinter is tested against the surface's device (the
// printer chosen in the print dialog).

// Labels of the window's address sheet, on the sheet's paper: LabelCount labels from StartPosition, the
// first at the pads the margin boxes hold, each further one at its own pads
// (written into the boxes). Afterwards StartPosition is the position after the
// last label and the boxes hold its pads (those of the last position after it).
void printLabelRun(PrintSurface& surface, CompositionState& state, const Adjustment& adjustment);

// One envelope at the margin boxes, with the Bold and Large Font options.
void printEnvelopeRun(PrintSurface& surface, CompositionState& state, const Adjustment& adjustment);

// A sheet of 80 return-address labels (4 across, 20 down) of Lines 1 to 3 in
// 8-point "Courier New": 89 print lines.
void printReturnAddressSheet(PrintSurface& surface, CompositionState& state);


}  // namespace tandor
