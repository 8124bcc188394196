#include "batch/BatchCommand.h"
#include "batch/PdfPrinting.h"
#include "compose/Composition.h"
#include "compose/LabelPositionPrompt.h"
#include "compose/PrintCommand.h"

namespace tandor::batch {
namespace {

int runLabels(QStringList args, Context& context) {
    const bool outlines = takeOutlines(args);
    const LabelSheet* sheet = takeSheet(args, context);
    if (!sheet) {
        return kRefused;
    }
    Arguments arguments(args);
    const QString positions =
        arguments.take(QStringLiteral("--positions")).value_or(QStringLiteral("1"));
    const bool center = arguments.takeFlag(QStringLiteral("--center"));
    const bool landscape = arguments.takeFlag(QStringLiteral("--landscape"));
    PdfOptions options;
    QStringList lines;
    if (const int code = takePdfOptions(arguments, options, context); code != kOk) {
        return code;
    }
    if (!takeLines(arguments, 5, lines, context)) {
        return kFailure;
    }
    options.outlines = outlines;

    CompositionState state = startedWithLines(lines);
    state.sheetName = sheet->name;

    PdfPrinting printing(options);
    ScriptedPlatform& platform = printing.platform();
    // SPEC answers the label-position prompt; a refused answer refuses the command.
    composition::clickLabel(state);
    if (const std::optional<LabelPositionRefusal> refusal = takeLabelPosition(state, positions)) {
        context.err << refusal->text << "\n";
        return kRefused;
    }
    if (center) {
        composition::clickCentered(state);
    }
    if (landscape) {
        composition::selectLandscape(state);
    }
    runPrintCommand(state, platform, context.programFolder);
    return printing.finish(context);
}

const Registration registration{Command{
    QStringLiteral("labels"),
    QStringLiteral("labels [--sheet NAME] [--positions SPEC] [--center] [--landscape] [--outlines] "
                   "[--copies N] (-o OUT.pdf | --printer NAME) LINE1 [LINE2 ... LINE5]"),
    QStringLiteral(
        "Prints the lines on a label sheet, as Label stock and Print do on the main window: the\n"
        "30-position sheet (Avery 5160 / 8160) unless --sheet names another (see the sheets\n"
        "command). SPEC answers the label-position prompt: a position (default 1) or a range\n"
        "such as 4-9 or 1-30 (a whole sheet of 30).\n"
        "--center centres the lines on their labels, --landscape prints in landscape, --copies N\n"
        "prints N sheets. The ONTHEFLY adjustment of TDRPARAM.TXT in the program folder "
        "applies.\n") +
        kOutputHelp,
    runLabels}};

}  // namespace
}  // namespace tandor::batch
