#pragma once

#include "compose/CompositionState.h"

namespace tandor {

struct LabelSheet;

// The event handlers of the main window's composition controls, as plain code.
// Selecting an option button from code runs its click handler, as a user's
// click does; clearing one runs nothing. Changing a check box's value from code
// runs its click handler.
namespace composition {

// The main window's instructions, naming the label sheet chosen:
// "Tandor prints labels (compatible with Avery 5160 and 8160 labels) and envelopes." and a tip.
QString instructions(const LabelSheet& sheet);

void startUp(CompositionState& s);
void clearForm(CompositionState& s);

// Option buttons and check boxes, as clicked (the click selects the option first).
// Label stock: the window then asks the label-position prompt (askLabelPosition).
void clickLabel(CompositionState& s);
// A sheet chosen in the sheet list under Label stock: with Label stock
// selected, Label stock is clicked again and the result is true: the window
// asks the position prompt again for the new sheet.
bool chooseSheet(CompositionState& s, const QString& sheetName);
void clickEnvelope(CompositionState& s);
void chooseEnvelopeSize(CompositionState& s, int index);
void clickPortrait(CompositionState& s);
void clickLandscape(CompositionState& s);
void clickLeftJustified(CompositionState& s);
void clickCentered(CompositionState& s);
void clickBold(CompositionState& s, bool checked);
void clickLargeFont(CompositionState& s, bool checked);

// Selecting from code (runs the click handler).
void selectPortrait(CompositionState& s);
void selectLandscape(CompositionState& s);
// Setting a check box from code (runs its click handler when the value changes).
void setBold(CompositionState& s, bool checked);
void setLargeFont(CompositionState& s, bool checked);

// Moves the focus to the main Print button unless return-address mode hides it.
void focusPrintButton(CompositionState& s);

}  // namespace composition
}  // namespace tandor
