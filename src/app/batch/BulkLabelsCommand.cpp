#include "batch/BatchCommand.h"
#include "batch/ListQuery.h"
#include "batch/PdfPrinting.h"
#include "list/BulkLabels.h"
#include "store/ContactsFile.h"

namespace tandor::batch {
namespace {

int runBulkLabels(QStringList args, Context& context) {
    const bool outlines = takeOutlines(args);
    const LabelSheet* sheet = takeSheet(args, context);
    if (!sheet) {
        return kRefused;
    }
    ListQuery query;
    ContactsFile file;
    FoundContacts found;
    PdfOptions options;
    if (const int code = readListCommand(args, context, &options, query, file, found); code != kOk) {
        return code;
    }
    options.outlines = outlines;
    PdfPrinting printing(options);
    runBulkLabelsCommand(printing.platform(), context.programFolder, found.entries,
                         [&file](int n) { return file.read(n); }, *sheet);
    return printing.finish(context);
}

const Registration registration{Command{
    QStringLiteral("bulk-labels"),
    QStringLiteral("bulk-labels ") + kListQueryUsage +
        QStringLiteral(" [--sheet NAME] [--outlines] [--copies N] (-o OUT.pdf | --printer NAME)"),
    QStringLiteral(
        "Prints a label for every contact of the list (as the list command gives it), as\n"
        "\"Print labels\" does, on sheets of 30 labels (Avery 5160 / 8160) or the sheet --sheet\n"
        "names: a row of labels at a time, a new sheet after every sheetful. The BULKLIST\n"
        "adjustment of TDRPARAM.TXT applies.\n"
        "--copies N prints N copies of the whole run, --outlines draws the labels' outlines.\n"
        "An empty list is refused.\n") +
        kOutputHelp,
    runBulkLabels}};

}  // namespace
}  // namespace tandor::batch
