#pragma once

#include "compose/CompositionState.h"

namespace tandor {

class Platform;

// The label-position prompt, asked when Label stock is chosen (after the
// click handler has selected Portrait, cleared the font boxes and emptied the
// captions): asks for a position or range on the window's sheet until an
// answer is accepted, and sets LabelPositionText, StartPosition, EndPosition,
// LabelCount, the margin boxes and the position caption, or returns the
// medium to none.
void runLabelPositionPrompt(CompositionState& state, Platform& platform);

}  // namespace tandor
