#include "batch/BatchCommand.h"
#include "batch/PdfPrinting.h"
#include "compose/Composition.h"
#include "compose/PrintCommand.h"

namespace tandor::batch {
namespace {

int runReturnLabels(QStringList args, Context& context) {
    const bool outlines = takeOutlines(args);
    Arguments arguments(args);
    PdfOptions options;
    QStringList lines;
    // Lines 4 and 5 are taken too, so that the command refuses them as the window does.
    if (const int code = takePdfOptions(arguments, options, context); code != kOk) {
        return code;
    }
    if (!takeLines(arguments, 5, lines, context)) {
        return kFailure;
    }
    options.outlines = outlines;

    CompositionState state = startedWithLines(lines);

    PdfPrinting printing(options);
    ScriptedPlatform& platform = printing.platform();
    platform.answerMessage(MessageAnswer::Ok);  // the loading message
    platform.answerMessage(MessageAnswer::No);  // no further sheet
    runReturnAddressCommand(state, platform);
    // The loading message and the closing question do not stop the command.
    return printing.finish(
        context, [](const RecordedMessage& m) { return m.icon == MessageIcon::Exclamation; });
}

const Registration registration{Command{
    QStringLiteral("return-labels"),
    QStringLiteral("return-labels [--outlines] [--copies N] (-o OUT.pdf | --printer NAME) LINE1 LINE2 LINE3"),
    QStringLiteral(
        "Prints a sheet of 80 return-address labels (Avery 5167 / 8167 / 18167, 4 across and\n"
        "20 down) bearing the three lines, as the return-address command of the\n"
        "main window does; --copies N prints N sheets, --outlines draws the labels' outlines.\n"
        "Lines 1 to 3 must not all be empty.\n") +
        kOutputHelp,
    runReturnLabels}};

}  // namespace
}  // namespace tandor::batch
