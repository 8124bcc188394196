#pragma once

#include <array>

#include "platform/PrintSurface.h"
#include "sheets/AdjustmentFile.h"
#include "compose/CompositionState.h"

namespace tandor {

// One run of each print path of the main window: everything one copy prints,
// ended as a document of its own. They lay out pages only: the state they
// read is left as it is. ShiftedPrinter is tested against the surface's
// device (the printer chosen in the print dialog).

// Labels of the window's address sheet, on the sheet's paper: LabelCount
// labels from StartPosition, the first at the pads the margin boxes hold, each
// further one at its own pads.
void composeLabelRun(PrintSurface& surface, const CompositionState& state, const Adjustment& adjustment);

// What a printed label run leaves on the window: StartPosition is the
// position after the last label and the boxes hold its pads (those of the
// sheet's last position after it); Bold is cleared and hidden. `columnShift`
// is the printer model's label column shift.
void afterLabelRun(CompositionState& state, int columnShift);

// One envelope at the margin boxes, with the Bold and Large Font options. On
// a Letter page the lines go where the margin boxes put them; on an envelope
// page (picked in the dialog or set for a shifted printer) the same block is
// moved into the envelope's address area, wholly on the page.
void composeEnvelopeRun(PrintSurface& surface, const CompositionState& state, const Adjustment& adjustment);

// A sheet of 80 return-address labels (4 across, 20 down) of Lines 1 to 3 in
// 8-point "Courier New": 89 print lines. The caller ends the document.
void composeReturnAddressSheet(PrintSurface& surface, const std::array<QString, 5>& lines);

// Bold cleared and hidden, as every label and return-address print leaves it.
void clearBoldBox(CompositionState& state);


// The address area of an envelope, as fractions of its width and height: the
// block's left edge and its top lie within these.
inline constexpr double kAddressAreaLeft[2] = {0.35, 0.55};
inline constexpr double kAddressAreaTop[2] = {0.35, 0.60};

}  // namespace tandor
