#include "batch/BatchCommand.h"
#include "compose/LabelPositions.h"
#include "sheets/LabelSheet.h"

namespace tandor::batch {
namespace {

int runSheets(const QStringList& args, Context& context) {
    if (!args.isEmpty()) {
        context.err << "sheets takes no arguments\n";
        return kFailure;
    }
    for (const LabelSheet& sheet : labelSheets()) {
        context.out << sheet.name.leftJustified(7) << sheet.description();
        if (sheet.use == SheetUse::ReturnAddress) {
            context.out << " (return-address labels)";
        } else if (&sheet == &defaultLabelSheet()) {
            context.out << " (default)";
        }
        context.out << "\n";
    }
    return kOk;
}

const Registration registration{Command{
    QStringLiteral("sheets"), QStringLiteral("sheets"),
    QStringLiteral("Lists the label sheets with their paper, labels and label size. The first\n"
                   "word of a line is the NAME that --sheet takes (a part number works too)."),
    runSheets}};

}  // namespace
}  // namespace tandor::batch
