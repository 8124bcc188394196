#include "print/PrinterProblem.h"

#include "platform/Platform.h"
#include "platform/PrintSurface.h"

namespace tandor {

void abandonQuietly(PrintSurface& surface) {
    try {
        surface.abandonDocument();
    } catch (const std::exception&) {
        // The printer is already in trouble; the caller says so.
    }
}

void reportPrinterProblem(Platform& platform, PrintSurface* surface, const QString& title) {
    if (surface != nullptr) {
        abandonQuietly(*surface);
    }
    platform.message(kPrinterProblemText, title, MessageIcon::Exclamation, MessageButtons::Ok);
}

}  // namespace tandor
