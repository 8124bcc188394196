#pragma once

#include "sheets/LabelSheet.h"

namespace tandor {

// The character grid of a sheet read from its geometry: the largest label
// font that takes five lines with the ink margin all round (fewer lines on a
// label too small for five, at least three), and the most characters across
// at that size, into the sheet's fontSize, textLines and characters. False
// when the labels hold less.
bool fitCharacterGrid(LabelSheet& sheet);

}  // namespace tandor
