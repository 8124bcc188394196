#pragma once

#include <QString>

#include "printing/CompositionState.h"

namespace tandor {

class Platform;

// The main window's Print command (Print button and File > Print): validates
// the lines, medium, envelope size and alignment, shows the print dialog and
// prints the labels or the envelope once per copy. Never throws: printer
// failures end in the printer-error message, a cancelled dialog ends silently.
void runPrintCommand(CompositionState& state, Platform& platform, const QString& programFolder);

// The return-address command (File > Return Address Labels and the
// return-address Print button): 80 labels of Lines 1 to 3, with its questions.
void runReturnAddressCommand(CompositionState& state, Platform& platform);

}  // namespace tandor
