#include <QDate>
#include <QFileInfo>

#include "batch/BatchCommand.h"
#include "batch/PdfPrinting.h"
#include "contacts/ContactEntry.h"
#include "contacts/DetailsSheet.h"
#include "platform/ScriptedPlatform.h"
#include "store/ContactsFile.h"

namespace tandor::batch {
namespace {

const char* const kUsage =
    "Usage: tandor-batch details FILE.DAT N [--copies N] (-o OUT.pdf | --printer NAME)\n";

int runDetails(const QStringList& args, Context& context) {
    Arguments arguments(args);
    PdfOptions options;
    const int optionsCode = takePdfOptions(arguments, options, context);  // its message on stderr
    const QStringList positional = arguments.positional();
    // Every wrong use of this command is a refusal, with the usage line.
    if (optionsCode != kOk || !arguments.error().isEmpty() || positional.size() != 2) {
        if (optionsCode == kOk && !arguments.error().isEmpty()) {
            context.err << arguments.error() << "\n";
        }
        context.err << kUsage;
        return kRefused;
    }
    const QString path = positional[0];
    if (!QFileInfo(path).isFile()) {
        context.err << "There is no contacts file " << path << ".\n";
        return kRefused;
    }

    ContactsFile file;
    file.openForReading(path);
    const int n = contactNumber(positional[1], file.recordCount(), path, context);
    if (n == 0) {
        context.err << "\n";
        return kRefused;
    }
    // As the browser shows the contact.
    const ContactEntry shown = entryFromRecord(file.read(n));
    file.close();

    PdfPrinting printing(options);
    ScriptedPlatform& platform = printing.platform();
    platform.setToday(QDate::currentDate());
    runDetailsPrint(shown, FocusedControl{}, platform.today(), platform);
    const int code = printing.finish(context);
    if (code == kOk) {
        context.out << "pages: " << options.copies << "\n";
    }
    return code;
}

const Registration registration{Command{
    QStringLiteral("details"),
    QStringLiteral("details FILE.DAT N [--copies N] (-o OUT.pdf | --printer NAME)"),
    QStringLiteral("Prints the contact details sheet of contact number N as the contact browser's\n"
                   "File > Print does, one page per copy.\n") +
        kOutputHelp,
    runDetails,
}};

}  // namespace
}  // namespace tandor::batch
