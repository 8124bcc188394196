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
        // A name of two words ("Herma 4226") is kept apart from the description.
        context.out << (sheet.name.size() < 7 ? sheet.name.leftJustified(7) : sheet.name + QStringLiteral("  "))
                    << sheet.description();
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
    QStringLiteral("Lists the label sheets with their paper, labels and label size: the sheets\n"
                   "Tandor is built with, then those of the label-template library and of the\n"
                   "folder sheets in the per-user program folder. A line starts with the NAME\n"
                   "that --sheet takes (\"L7160\", \"Herma 4226\"; a part number works too)."),
    runSheets}};

}  // namespace
}  // namespace tandor::batch
