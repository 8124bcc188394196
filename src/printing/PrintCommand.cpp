#include "printing/PrintCommand.h"

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/PrinterProblem.h"
#include "printing/AdjustmentFile.h"
#include "printing/LabelSheet.h"
#include "printing/PrintRuns.h"

namespace tandor {
namespace {

void refuse(Platform& platform, const QString& text, const QString& title,
            MessageIcon icon = MessageIcon::Exclamation) {
    platform.beep();
    platform.message(text, title, icon, MessageButtons::Ok);
}

// The print dialog as every print command asks for it: copies may be chosen,
// printing to a file is refused (a request the platform may not honour).
PrintDialogResult choosePrinter(Platform& platform) {
    PrintDialogRequest request;
    request.disablePrintToFile = true;
    PrintDialogResult result = platform.printDialog(request);
    if (!result.cancelled && !result.surface) {
        throw AppError(errors::kPrinterError, QStringLiteral("Printer error"));
    }
    return result;
}

// The validations of the print command, in their order. False when one refused.
bool passesValidation(CompositionState& state, Platform& platform) {
    if (state.allLinesEmpty()) {
        refuse(platform, QStringLiteral("No information entered"), QStringLiteral("Missing Data"));
        return false;
    }
    if (!state.labelSelected && !state.envelopeSelected) {
        refuse(platform, QStringLiteral("Select Label stock or Envelope"),
               QStringLiteral("Media Selection"));
        return false;
    }
    if (state.envelopeSelected && positionNumber(state.envelopeSizeCode) == 0) {
        refuse(platform, QStringLiteral("Select Envelope size"), QStringLiteral("Envelope Size"));
        return false;
    }
    if (!state.leftJustified && !state.centered) {
        refuse(platform, QStringLiteral("Select Left-Justified or Centered"),
               QStringLiteral("Text Alignment"));
        return false;
    }
    if (state.labelSelected && !state.positionCaption.isEmpty()) {
        if (!applyRangeRule(state)) {
            refuse(platform,
                   QStringLiteral("Label starting position cannot exceed ending position."),
                   QStringLiteral("Try again"), MessageIcon::Information);
            return false;
        }
        writeLabelPads(state, positionNumber(state.startPosition),
                       labelColumnShift(platform.currentPrinterName()));
    }
    return true;
}

}  // namespace

void runPrintCommand(CompositionState& state, Platform& platform, const QString& programFolder) {
    std::shared_ptr<PrintSurface> surface;
    try {
        const Adjustment onTheFly = readAdjustment(programFolder, kOnTheFly);
        const Adjustment envelope = readAdjustment(programFolder, kEnvelope);
        if (!passesValidation(state, platform)) {
            return;
        }
        // The dialog hands out the chosen printer, so the starting font is set
        // on it right after the dialog.
        const PrintDialogResult chosen = choosePrinter(platform);
        if (chosen.cancelled) {
            return;
        }
        surface = chosen.surface;
        surface->setFontName(QStringLiteral("Courier New"));
        surface->setFontSize(10);

        // Every copy prints the same labels: each run starts where the checks left the state.
        const QString startPosition = state.startPosition;
        const QString leftPad = state.leftPad;
        const QString topPad = state.topPad;
        for (int copy = 0; copy < chosen.copies; ++copy) {
            if (state.labelSelected) {
                state.startPosition = startPosition;
                state.leftPad = leftPad;
                state.topPad = topPad;
                printLabelRun(*surface, state, onTheFly);
            } else {
                printEnvelopeRun(*surface, state, envelope);
            }
        }
    } catch (...) {
        reportPrinterProblem(platform, surface.get());
    }
}

void runReturnAddressCommand(CompositionState& state, Platform& platform) {
    for (;;) {
        platform.message(
            QStringLiteral(
                "Prints 80 return address labels on Avery 5167 [1/2 inch x 1 3/4 inch] labels"),
            QStringLiteral("Load printer with Avery 5167, 8167, or 18167 label stock"),
            MessageIcon::Information, MessageButtons::Ok);
        if (state.lines[0].isEmpty() && state.lines[1].isEmpty() && state.lines[2].isEmpty()) {
            refuse(platform, QStringLiteral("Fill in Lines 1, 2, and 3, then press Print."),
                   QStringLiteral("Instructions"));
            state.returnAddressMode = true;
            state.mediumOptionsEnabled = false;
            return;
        }
        if (!state.lines[3].isEmpty() || !state.lines[4].isEmpty()) {
            refuse(platform, QStringLiteral("Leave Lines 4 and 5 blank"),
                   QStringLiteral("Small label can fit only 3 lines"));
            state.focus = FocusTarget::Line4;
            return;
        }

        std::shared_ptr<PrintSurface> surface;
        try {
            const PrintDialogResult chosen = choosePrinter(platform);
            if (chosen.cancelled) {
                return;
            }
            surface = chosen.surface;
            surface->setFontName(QStringLiteral("Courier New"));
            surface->setFontSize(8);
            surface->setItalic(false);
            surface->setOrientation(PageOrientation::Portrait);
            for (int copy = 0; copy < chosen.copies; ++copy) {
                printReturnAddressSheet(*surface, state);
                surface->endDocument();
            }
        } catch (...) {
            reportPrinterProblem(platform, surface.get());
            return;
        }

        state.returnAddressMode = false;
        const MessageAnswer answer = platform.message(
            QStringLiteral("Done!  Do you want to print another page of Return Address Labels?"),
            QStringLiteral("Completed"), MessageIcon::None, MessageButtons::YesNoCancel);
        if (answer != MessageAnswer::Yes) {
            state.mediumOptionsEnabled = true;
            return;
        }
    }
}

}  // namespace tandor
