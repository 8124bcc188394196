#pragma once

#include "compose/CompositionState.h"

namespace tandor {

class Platform;

// The label-position prompt on the window's sheet, asked until an answer is
// accepted (takeLabelPosition): a refused answer beeps and shows why, with an
// OK button, before the prompt is asked again. "1" is offered.
void askLabelPosition(CompositionState& state, Platform& platform);

}  // namespace tandor
