#include "batch/BatchCommand.h"
#include "batch/ListQuery.h"
#include "batch/PdfPrinting.h"
#include "list/BulkLabels.h"
#include "store/ContactsFile.h"

namespace tandor::batch {
namespace {

int runBulkLabels(const QStringList& args, Context& context) {
    QStringList rest = args;
    ListQuery query;
    if (!takeListQuery(rest, query, context)) {
        return kFailure;
    }
    Arguments arguments(rest);
    PdfOptions options;
    if (!takePdfOptions(arguments, options, context)) {
        return kFailure;
    }
    const QStringList positional = arguments.positional();
    if (!arguments.error().isEmpty()) {
        context.err << arguments.error() << "\n";
        return kFailure;
    }
    if (!takeListFile(positional, query, context)) {
        return kFailure;
    }
    ContactsFile file;
    FoundContacts found;
    int code = kOk;
    if (!loadList(query, file, found, context, code)) {
        return code;
    }
    PdfPrinting printing(options);
    runBulkLabelsCommand(printing.platform(), context.programFolder, found.entries,
                         [&file](int n) { return file.read(n); });
    return printing.finish(context);
}

const Registration registration{Command{
    QStringLiteral("bulk-labels"),
    QStringLiteral("bulk-labels ") + kListQueryUsage + QStringLiteral(" [--copies N] -o OUT.pdf"),
    QStringLiteral(
        "Prints a label for every contact of the list (as the list command gives it) on sheets\n"
        "of 30 labels (Avery 5160 / 8160) into OUT.pdf, as \"Print labels\" does: three labels a\n"
        "row, a new sheet after every 30. The BULKLIST adjustment of TDRPARAM.TXT applies.\n"
        "--copies N prints N copies of the whole run. An empty list is refused."),
    runBulkLabels}};

}  // namespace
}  // namespace tandor::batch
