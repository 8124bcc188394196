#include "batch/BatchCommand.h"
#include "batch/ListQuery.h"
#include "batch/PdfPrinting.h"
#include "list/BulkLabels.h"
#include "print/PrinterProblem.h"
#include "store/ContactsFile.h"

namespace tandor::batch {
namespace {

int runBulkLabels(QStringList args, Context& context) {
    const bool outlines = takeOutlines(args);
    const bool printWithoutAddress = args.removeAll(QStringLiteral("--print-without-address")) > 0;
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
    const std::function<ContactRecord(int)> read = [&file](int n) { return file.read(n); };
    BulkLabelsCheck check = checkBulkLabels(context.programFolder, found.entries, read);
    if (!check.refusal && check.noAddressQuestion) {
        context.err << "note: " << check.noAddressQuestion->section(QStringLiteral("\n\n"), 0, 0)
                    << (printWithoutAddress
                            ? QStringLiteral(" Printed as they are.\n")
                            : QStringLiteral(" Left out; --print-without-address prints them.\n"));
    }
    const NoAddressChoice choice = printWithoutAddress ? NoAddressChoice::PrintAsTheyAre : NoAddressChoice::LeaveOut;
    BulkLabelsOutcome refusal = BulkLabelsOutcome::PrinterProblem;
    const std::optional<PrintJob> job =
        bulkLabelsJobAfter(std::move(check), found.entries, read, *sheet, choice, &refusal);
    if (job) {
        runPrintJob(printing.platform(), *job);
    } else if (refusal == BulkLabelsOutcome::EmptyList) {
        context.err << kEmptyListText << "\n";
        return kRefused;
    } else {
        reportPrinterProblem(printing.platform(), nullptr);
    }
    return printing.finish(context);
}

const Registration registration{Command{
    QStringLiteral("bulk-labels"),
    QStringLiteral("bulk-labels ") + kListQueryUsage +
        QStringLiteral(" [--sheet NAME] [--print-without-address] [--outlines] [--copies N] (-o OUT.pdf | --printer NAME)"),
    QStringLiteral(
        "Prints a label for every contact of the list (as the list command gives it), as\n"
        "\"Print labels\" does, on sheets of 30 labels (Avery 5160 / 8160) or the sheet --sheet\n"
        "names: a row of labels at a time, a new sheet after every sheetful. The BULKLIST\n"
        "adjustment of TDRPARAM.TXT applies.\n"
        "--copies N prints N copies of the whole run, --outlines draws the labels' outlines.\n"
        "Contacts without an address (street, city, state and zip code all empty) are left\n"
        "out, with a note on stderr; --print-without-address prints them as they are.\n"
        "An empty list, or one left empty by leaving them out, is refused.\n") +
        kOutputHelp,
    runBulkLabels}};

}  // namespace
}  // namespace tandor::batch
