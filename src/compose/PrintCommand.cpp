#include "compose/PrintCommand.h"

#include <array>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "print/PrinterProblem.h"
#include "sheets/AdjustmentFile.h"
#include "compose/LabelPositions.h"
#include "compose/PrintRuns.h"
#include "sheets/PrinterModels.h"
#include "platform/PrintGrid.h"

namespace tandor {
namespace {


void refusePrinting(Platform& platform, const QString& text, const QString& title,
            MessageIcon icon = MessageIcon::Exclamation) {
    platform.beep();
    platform.message(text, title, icon, MessageButtons::Ok);
}

// The validations of the print command, in their order. False when one refused.
bool passesValidation(CompositionState& state, Platform& platform) {
    if (state.allLinesEmpty()) {
        refusePrinting(platform, QStringLiteral("No information entered"), QStringLiteral("Missing Data"));
        return false;
    }
    if (!state.labelSelected && !state.envelopeSelected) {
        refusePrinting(platform, QStringLiteral("Select Label stock or Envelope"),
               QStringLiteral("Media Selection"));
        return false;
    }
    if (state.envelopeSelected && positionNumber(state.envelopeSizeCode) == 0) {
        refusePrinting(platform, QStringLiteral("Select Envelope size"), QStringLiteral("Envelope Size"));
        return false;
    }
    if (!state.leftJustified && !state.centered) {
        refusePrinting(platform, QStringLiteral("Select Left-Justified or Centered"),
               QStringLiteral("Text Alignment"));
        return false;
    }
    if (state.labelSelected && !state.positionCaption.isEmpty()) {
        if (!applyRangeRule(state)) {
            refusePrinting(platform,
                   QStringLiteral("Label starting position cannot exceed ending position."),
                   QStringLiteral("Try again"), MessageIcon::Information);
            return false;
        }
        writeLabelPads(state, positionNumber(state.startPosition),
                       labelColumnShift(platform.currentPrinterName()));
    }
    return true;
}

// The return-address checks; `switchMode` puts the window into return-address
// mode as the command does when Lines 1 to 3 are empty.
bool returnAddressLinesPass(CompositionState& state, Platform& platform, bool switchMode) {
    if (state.lines[0].isEmpty() && state.lines[1].isEmpty() && state.lines[2].isEmpty()) {
        refusePrinting(platform, QStringLiteral("Fill in Lines 1, 2, and 3, then press Print."),
               QStringLiteral("Instructions"));
        if (switchMode) {
            state.returnAddressMode = true;
            state.mediumOptionsEnabled = false;
        }
        return false;
    }
    if (!state.lines[3].isEmpty() || !state.lines[4].isEmpty()) {
        refusePrinting(platform, QStringLiteral("Leave Lines 4 and 5 blank"),
               QStringLiteral("Small label can fit only 3 lines"));
        if (switchMode) {
            state.focus = FocusTarget::Line4;
        }
        return false;
    }
    return true;
}

PageOrientation orientationOf(const CompositionState& state) {
    return state.landscape ? PageOrientation::Landscape : PageOrientation::Portrait;
}

}  // namespace

namespace {

// The size in inches (long side first) of an envelope of the list; none for Custom.
std::optional<QSizeF> envelopeSizeIn(int index) {
    static const std::array<QSizeF, 6> sizes = {{
        {9.5, 4.125}, {6.5, 3.625}, {5.75, 4.375}, {7.25, 5.25}, {8.125, 5.5}, {9.5, 6.0}}};
    if (index < 0 || index >= static_cast<int>(sizes.size())) {
        return std::nullopt;
    }
    return sizes[static_cast<std::size_t>(index)];
}

}  // namespace

std::optional<PrintJob> onTheFlyJob(CompositionState& state, Platform& platform, const QString& programFolder) {
    const Adjustment onTheFly = readAdjustment(programFolder, kOnTheFly);
    const Adjustment envelope = readAdjustment(programFolder, kEnvelope);
    if (!passesValidation(state, platform)) {
        return std::nullopt;
    }
    PrintJob job;
    job.dialog.disablePrintToFile = true;
    job.dialog.page.orientation = orientationOf(state);
    // The starting font is set on the printer the dialog hands out.
    job.prepare = [](PrintSurface& s, const JobRun&) {
        s.setFontName(kCourierNew);
        s.setFontSize(10);
    };
    const CompositionState composed = state;
    if (state.labelSelected) {
        const LabelSheet& sheet = sheetOf(state);
        job.dialog.page.paper = sheet.paper;
        job.compose = [composed, onTheFly](PrintSurface& s, const JobRun&) {
            composeLabelRun(s, composed, onTheFly);
        };
        job.labelOutlines = sheetOutlines(sheet, job.dialog.page.orientation);
    } else {
        // Envelopes go on the printer's own paper, unless a shifted model sets #10.
        if (isShiftedPrinter(platform.currentPrinterName())) {
            job.dialog.page.paper = PaperSize::Envelope10;
        }
        job.compose = [composed, envelope](PrintSurface& s, const JobRun&) {
            composeEnvelopeRun(s, composed, envelope);
        };
        job.envelopeIn = envelopeSizeIn(state.envelopeIndex);
    }
    return job;
}

PrintJob returnAddressJob(const CompositionState& state) {
    PrintJob job;
    job.dialog.disablePrintToFile = true;
    job.dialog.page = {PaperSize::Letter, PageOrientation::Portrait};
    job.prepare = [](PrintSurface& s, const JobRun&) {
        s.setFontName(kCourierNew);
        s.setFontSize(8);
        s.setItalic(false);
        s.setOrientation(PageOrientation::Portrait);
    };
    job.compose = [lines = state.lines](PrintSurface& s, const JobRun&) {
        composeReturnAddressSheet(s, lines);
        s.endDocument();
    };
    job.labelOutlines = sheetOutlines(returnAddressLabelSheet(), PageOrientation::Portrait);
    return job;
}

namespace {

// The checks of Print and Print Preview, written once: the job, or none when
// a check refused (its message shown). An adjustment file that cannot be read
// is a printer problem, shown here.
std::optional<PrintJob> checkedJob(CompositionState& state, Platform& platform, const QString& programFolder) {
    try {
        return onTheFlyJob(state, platform, programFolder);
    } catch (const AppError&) {
        reportPrinterProblem(platform, nullptr);
        return std::nullopt;
    }
}

}  // namespace

void runPrintCommand(CompositionState& state, Platform& platform, const QString& programFolder) {
    const std::optional<PrintJob> job = checkedJob(state, platform, programFolder);
    if (!job) {
        return;
    }
    const JobResult printed = runPrintJob(platform, *job);
    if (printed.outcome != JobOutcome::Printed) {
        return;
    }
    // What a printed run leaves on the window.
    if (state.labelSelected) {
        afterLabelRun(state, labelColumnShift(printed.deviceName));
    } else {
        state.labelCount = 1;
    }
}

void runReturnAddressCommand(CompositionState& state, Platform& platform) {
    for (;;) {
        platform.message(
            QStringLiteral(
                "Prints 80 return address labels on Avery 5167 [1/2 inch x 1 3/4 inch] labels"),
            QStringLiteral("Load printer with Avery 5167, 8167, or 18167 label stock"),
            MessageIcon::Information, MessageButtons::Ok);
        if (!returnAddressLinesPass(state, platform, true)) {
            return;
        }
        if (runPrintJob(platform, returnAddressJob(state)).outcome != JobOutcome::Printed) {
            return;
        }
        clearBoldBox(state);
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

std::optional<PrintJob> previewJob(const CompositionState& state, Platform& platform, const QString& programFolder) {
    CompositionState copy = state;
    if (copy.returnAddressMode) {
        if (!returnAddressLinesPass(copy, platform, false)) {
            return std::nullopt;
        }
        return returnAddressJob(copy);
    }
    return checkedJob(copy, platform, programFolder);
}

}  // namespace tandor
