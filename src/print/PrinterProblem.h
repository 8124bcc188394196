#pragma once

#include <QString>

#include "platform/AppError.h"

namespace tandor {

class Platform;
class PrintSurface;

// A run-time failure while printing: what was sent of the current document is
// discarded and the user is told to check the printer ("A printer problem
// exists.  Check printer.", exclamation, OK).
void reportPrinterProblem(Platform& platform, PrintSurface* surface, const QString& title = kPrinterErrorTitle);

// Drops what was sent of the current document; a printer already in trouble
// may refuse even that, which changes nothing.
void abandonQuietly(PrintSurface& surface);

}  // namespace tandor
