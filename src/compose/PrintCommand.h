#pragma once

#include <QString>
#include <optional>

#include "print/PrintJob.h"
#include "compose/CompositionState.h"

namespace tandor {

class Platform;

// The job of the main window's Print (labels or envelope) after its checks:
// the lines, medium, envelope size and alignment, in their order (a refusal
// shows its message and gives none), and the label range, whose pads the
// checks write into the margin boxes as Print does. Throws AppError when the
// adjustment file cannot be read.
std::optional<PrintJob> onTheFlyJob(CompositionState& state, Platform& platform, const QString& programFolder);

// The job of the return-address sheet: 80 labels of Lines 1 to 3.
PrintJob returnAddressJob(const CompositionState& state);

// The main window's Print command (Print button and File > Print): the checks,
// then one job. Once it has printed, the label position moves on and Bold is
// cleared. Never throws: printer failures end in the printer-error message, a
// cancelled dialog ends silently.
void runPrintCommand(CompositionState& state, Platform& platform, const QString& programFolder);

// The return-address command (File > Return Address Labels and the
// return-address Print button): 80 labels of Lines 1 to 3, with its questions.
void runReturnAddressCommand(CompositionState& state, Platform& platform);

// File > Print Preview of the main window: the job of the current medium (the
// return-address sheet in return-address mode), checked as Print checks it
// but on a copy of the state, so that nothing on the window changes. None when
// a check refused (its message shown), or when the adjustment file cannot be
// read (the printer-error message shown, as Print shows it).
std::optional<PrintJob> previewJob(const CompositionState& state, Platform& platform, const QString& programFolder);

}  // namespace tandor
