#include "batch/BatchCommand.h"
#include "batch/ListQuery.h"
#include "batch/PdfPrinting.h"
#include "list/ListPrint.h"
#include "store/ContactsFile.h"
#include "store/Session.h"

namespace tandor::batch {
namespace {

int runReport(const QStringList& args, Context& context) {
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
    ListPrintRequest request;
    request.lines = &found.entries;
    request.fileTitle = Session::displayTitle(query.path);
    runListPrintCommand(printing.platform(), request);
    return printing.finish(context);
}

const Registration registration{Command{
    QStringLiteral("report"),
    QStringLiteral("report ") + kListQueryUsage + QStringLiteral(" [--copies N] -o OUT.pdf"),
    QStringLiteral(
        "Prints the contact list (as the list command gives it) as File > Print of the list\n"
        "window does, into OUT.pdf: in landscape, the title, the file's name, the column header\n"
        "and a line per contact with its columns at fixed places. --copies N prints N copies."),
    runReport}};

}  // namespace
}  // namespace tandor::batch
