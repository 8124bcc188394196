#pragma once

#include <QString>

#include "sheets/AdjustmentFile.h"

namespace tandor {

class Platform;

// The Margins menu commands: ask for a left and a top entry through the
// platform and add them to the path's record. Failures throw AppError for the
// main window's error routine.
void runMarginsCommand(Platform& platform, const QString& programFolder, MarginsKind kind);

}  // namespace tandor
