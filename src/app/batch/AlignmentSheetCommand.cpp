#include "batch/BatchCommand.h"
#include "batch/PdfPrinting.h"
#include "sheets/AlignmentSheet.h"

namespace tandor::batch {
namespace {

int runAlignmentSheet(const QStringList& givenArgs, Context& context) {
    QStringList args = givenArgs;
    const LabelSheet* sheet = takeSheet(args, context);
    if (!sheet) {
        return kRefused;
    }
    Arguments arguments(args);
    PdfOptions options;
    QStringList rest;
    if (const int code = takePdfOptions(arguments, options, context); code != kOk) {
        return code;
    }
    if (!takeLines(arguments, 0, rest, context)) {
        return kFailure;
    }
    PdfPrinting printing(options);
    runAlignmentSheetCommand(printing.platform(), context.programFolder, *sheet);
    return printing.finish(context);
}

const Registration registration{Command{
    QStringLiteral("alignment-sheet"),
    QStringLiteral("alignment-sheet [--sheet NAME] [--copies N] (-o OUT.pdf | --printer NAME)"),
    QStringLiteral(
        "Prints the alignment sheet of a label sheet (the 30-position sheet unless --sheet names\n"
        "another), as Margins > \"Print Alignment Sheet...\" does: the outline of every label,\n"
        "and at the first and the last label scales of print columns and lines from -5 to +5\n"
        "whose 0 follows the ONTHEFLY adjustment of TDRPARAM.TXT.\n") +
        kOutputHelp,
    runAlignmentSheet}};

}  // namespace
}  // namespace tandor::batch
