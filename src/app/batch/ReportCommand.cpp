#include "batch/BatchCommand.h"
#include "batch/ListQuery.h"
#include "batch/PdfPrinting.h"
#include "list/ListPrint.h"
#include "store/ContactsFile.h"
#include "store/ContactsDocument.h"

namespace tandor::batch {
namespace {

int runReport(const QStringList& args, Context& context) {
    ListQuery query;
    ContactsFile file;
    FoundContacts found;
    PdfOptions options;
    if (const int code = readListCommand(args, context, &options, query, file, found); code != kOk) {
        return code;
    }
    PdfPrinting printing(options);
    ListPrintRequest request;
    request.lines = &found.entries;
    request.fileTitle = ContactsDocument::displayTitle(query.path);
    runListPrintCommand(printing.platform(), request);
    return printing.finish(context);
}

const Registration registration{Command{
    QStringLiteral("report"),
    QStringLiteral("report ") + kListQueryUsage +
        QStringLiteral(" [--copies N] (-o OUT.pdf | --printer NAME)"),
    QStringLiteral(
        "Prints the contact list (as the list command gives it) as File > Print of the list\n"
        "window does: in landscape, the title, the file's name, the column header\n"
        "and a line per contact with its columns at fixed places. --copies N prints N copies.\n") +
        kOutputHelp,
    runReport}};

}  // namespace
}  // namespace tandor::batch
