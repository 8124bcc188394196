#include "batch/BatchCommand.h"
#include "batch/PdfPrinting.h"
#include "compose/Composition.h"
#include "compose/PrintCommand.h"

namespace tandor::batch {
namespace {

int runEnvelope(const QStringList& args, Context& context) {
    Arguments arguments(args);
    const std::optional<QString> sizeText = arguments.take(QStringLiteral("--size"));
    const bool bold = arguments.takeFlag(QStringLiteral("--bold"));
    const bool large = arguments.takeFlag(QStringLiteral("--large"));
    const bool portrait = arguments.takeFlag(QStringLiteral("--portrait"));
    const bool center = arguments.takeFlag(QStringLiteral("--center"));
    const std::optional<QString> left = arguments.take(QStringLiteral("--left"));
    const std::optional<QString> top = arguments.take(QStringLiteral("--top"));
    PdfOptions options;
    QStringList lines;
    if (const int code = takePdfOptions(arguments, options, context); code != kOk) {
        return code;
    }
    if (!takeLines(arguments, 5, lines, context)) {
        return kFailure;
    }
    int size = 0;
    if (sizeText) {
        bool ok = false;
        size = parseInt(*sizeText, &ok);
        if (!ok || size < 1 || size > static_cast<int>(envelopeSizes().size())) {
            context.err << "--size needs an envelope size from 1 to 7\n";
            return kFailure;
        }
    }

    CompositionState state = startedWithLines(lines);
    // The size chosen in the list, then Envelope clicked with it selected:
    // the margins of the Envelope-option column. Without --size no size is
    // chosen and Print asks for one.
    if (size > 0) {
        composition::chooseEnvelopeSize(state, size - 1);
    }
    composition::clickEnvelope(state);
    if (bold) {
        composition::clickBold(state, true);
    }
    if (large) {
        composition::clickLargeFont(state, true);
    }
    if (portrait) {
        composition::selectPortrait(state);
    }
    if (center) {
        composition::clickCentered(state);
    }
    // Typed margin boxes: any text, read by its leading number.
    if (left) {
        state.leftPad = *left;
    }
    if (top) {
        state.topPad = *top;
    }

    PdfPrinting printing(options);
    runPrintCommand(state, printing.platform(), context.programFolder);
    return printing.finish(context);
}

const Registration registration{Command{
    QStringLiteral("envelope"),
    QStringLiteral(
        "envelope --size 1..7 [--bold] [--large] [--portrait] [--center] [--left N] [--top N] "
        "[--copies N] (-o OUT.pdf | --printer NAME) LINE1 [... LINE5]"),
    QStringLiteral(
        "Prints the lines once on an envelope, as Envelope and Print do on the main\n"
        "window. --size picks the envelope: 1 #10 business, 2 #6 3/4, 3 #A2, 4 #A7, 5 #A8,\n"
        "6 #A10, 7 custom; the margins are those Envelope sets for it. --left and --top stand\n"
        "for text typed into the margin boxes (columns and empty lines). --portrait clicks\n"
        "Portrait (margins 2 and 3 unless --left/--top follow), --bold and --large tick Bold and\n"
        "Large Font, --center centres the lines. The ENVELOPE adjustment of TDRPARAM.TXT "
        "applies.\n") +
        kOutputHelp,
    runEnvelope}};

}  // namespace
}  // namespace tandor::batch
