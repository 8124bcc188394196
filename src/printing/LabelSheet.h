#pragma once

#include <QString>
#include <optional>

#include "printing/CompositionState.h"

namespace tandor {

// The 30-position label sheet (3 columns by 10 rows, 1 in by 2 5/8 in labels),
// numbered left to right, top to bottom.
inline constexpr int kLabelPositions = 30;

// Where the lines of one position go: the print column they start at and the
// number of empty lines above them.
struct LabelPads {
    int left = 0;
    int top = 0;
};

// PositionPadTable: the pads of position 1..30, with the shifted column for
// the printer models that place their printable area one column further left.
// Empty outside 1..30.
std::optional<LabelPads> labelPads(int position, bool shiftedPrinter);

// Writes the pads of a position into the margin boxes; outside 1..30 the boxes
// keep what they hold.
void writeLabelPads(CompositionState& state, int position, bool shiftedPrinter);

// ShiftedPrinter: the device name contains (case-sensitively) one of the
// printer models whose grid is shifted.
bool isShiftedPrinter(const QString& deviceName);

// The number a position text spells (its leading number, 0 when none).
int positionNumber(const QString& text);

// The range rule, applied to LabelPositionText: 1 or 2 characters give one
// label at that position; 3 characters "s-e", 4 characters "s-ee" and 5
// characters "ss-ee" give the range from start to end. Sets StartPosition,
// EndPosition and LabelCount. Returns false when the end lies below the start
// (nothing else is changed then except StartPosition and EndPosition). Other
// lengths set nothing and pass.
bool applyRangeRule(CompositionState& state);

// The spaces that centre a text on a label: 15 - length / 2, an exact half
// going to the even neighbour; 0 when that is 0 or less.
int centringSpaces(const QString& text);

}  // namespace tandor
