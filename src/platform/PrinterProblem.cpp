#include "platform/PrinterProblem.h"

#include "platform/Platform.h"
#include "platform/PrintSurface.h"

namespace tandor {

void reportPrinterProblem(Platform& platform, PrintSurface* surface, const QString& title) {
    if (surface != nullptr) {
        try {
            surface->abandonDocument();
        } catch (...) {
            // The printer is already in trouble; the message below says so.
        }
    }
    platform.message(kPrinterProblemText, title, MessageIcon::Exclamation, MessageButtons::Ok);
}

}  // namespace tandor
