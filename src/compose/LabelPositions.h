#pragma once

#include <QString>
#include <optional>

#include "compose/CompositionState.h"
#include "sheets/LabelSheet.h"
#include "sheets/PrinterModels.h"

namespace tandor {

// The address sheet chosen on the main window (the 30-up sheet unless another
// was chosen).
const LabelSheet& sheetOf(const CompositionState& state);

// Where the lines of one position go: the print column they start at and the
// number of empty lines above them.
struct LabelPads {
    int left = 0;
    int top = 0;
};

// PositionPadTable: the pads of a position of the sheet, moved right by the
// column shift of the printer model (labelColumnShift: 1 for the models that
// place their printable area one column further left). Empty outside the sheet.
std::optional<LabelPads> labelPads(int position, int columnShift,
                                   const LabelSheet& sheet = defaultLabelSheet());

// Writes the pads of a position of the window's sheet into the margin boxes;
// outside the sheet the boxes keep what they hold.
void writeLabelPads(CompositionState& state, int position, int columnShift);

// The number a position text spells (its leading number, 0 when none).
int positionNumber(const QString& text);

// The range rule, applied to LabelPositionText: 1 or 2 characters give one
// label at that position; 3 characters "s-e", 4 characters "s-ee" and 5
// characters "ss-ee" give the range from start to end. Sets StartPosition,
// EndPosition and LabelCount. Returns false when the end lies below the start
// (nothing else is changed then except StartPosition and EndPosition). Other
// lengths set nothing and pass.
bool applyRangeRule(CompositionState& state);

// The spaces that centre a text on a label of `characters` columns (30 on the
// 30-up sheet: 15 - length / 2), an exact half going to the even neighbour; 0
// when that is 0 or less.
int centringSpaces(const QString& text, int characters = 30);

}  // namespace tandor
