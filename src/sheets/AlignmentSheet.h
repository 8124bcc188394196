#pragma once

#include <optional>

#include <QPointF>
#include <QString>

#include "print/PrintJob.h"
#include "platform/PrintSurface.h"
#include "sheets/AdjustmentFile.h"
#include "sheets/LabelSheet.h"

namespace tandor {

class Platform;

// The alignment sheet of a label sheet: on the sheet's paper, the outline of
// every label where the sheet's geometry puts it, and at the first and the
// last label two scales of numbered print columns and lines (-5 to +5). A
// scale's 0 stands where the label's corner must lie for its text to start
// where it should, as the on-the-fly labels place it: through the ONTHEFLY
// adjustment and the printer model's column shift. Held over a blank sheet
// against the light, the numbers at which the real label's left and top edges
// cross the scales are the entries for Margins > "On-The-Fly label".
//
// Below the last row, a short line says which placement the sheet is printed
// with: by the paper's edge, or from the printer's printable area (see
// print/PaperEdge.h).
//
// Composes one page and ends the document.
void composeAlignmentSheet(PrintSurface& surface, const LabelSheet& sheet,
                         const Adjustment& adjustment, bool byPaperEdge = false);

// The line that says the placement.
QString placementLine(bool byPaperEdge);

// The 0 of the scales at a position, in points from the printable area's
// top-left corner.
QPointF alignmentZeroPt(const LabelSheet& sheet, int position, const Adjustment& adjustment,
                        int columnShift);

// The job of the alignment sheet: one sheet per copy, on the sheet's paper in
// portrait. The sheet must outlive the job (the table's sheets do).
PrintJob alignmentSheetJob(const LabelSheet& sheet, const Adjustment& adjustment,
                           bool byPaperEdge = false);

// The alignment sheet's job with the ONTHEFLY adjustment, for its Print and
// its Print Preview alike; none when the adjustment file cannot be read (the
// printer-error message shown).
std::optional<PrintJob> preparedAlignmentSheet(Platform& platform, const QString& programFolder,
                                               const LabelSheet& sheet);

// Prints the alignment sheet through its job (the print dialog, then the
// printer). Failures of the printer show the printer-error message; a
// cancelled dialog ends silently.
void runAlignmentSheetCommand(Platform& platform, const QString& programFolder,
                              const LabelSheet& sheet);

}  // namespace tandor
