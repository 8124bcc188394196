#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "batch/BatchCommand.h"
#include "contacts/DetailsSheet.h"
#include "platform/AppError.h"
#include "platform/PrinterSurface.h"
#include "platform/ScriptedPlatform.h"
#include "store/ContactsFile.h"
#include "store/FieldRules.h"

namespace tandor::batch {
namespace {

const char* const kUsage = "Usage: tandor-batch details FILE.DAT N [--copies N] -o OUT.pdf\n";

// Prints the sheet into `part` through the browser's own print command. The
// text of the message it showed, if any (the printer error).
std::optional<QString> printSheet(const ContactEntry& shown, int copies, const QString& part) {
    ScriptedPlatform platform;
    platform.setToday(QDate::currentDate());
    std::shared_ptr<PrinterSurface> surface = PrinterSurface::forPdf(part);
    platform.setPrintSurface(surface);
    PrintAnswer answer;
    answer.copies = copies;
    platform.answerPrint(answer);
    runDetailsPrint(shown, FocusedControl{}, platform.today(), platform);
    if (!platform.messages().isEmpty()) {
        return platform.messages().constLast().text;
    }
    if (!surface->finish()) {
        return QStringLiteral("The PDF file could not be written.");
    }
    return std::nullopt;
}

int runDetails(const QStringList& args, Context& context) {
    Arguments arguments(args);
    const std::optional<QString> copiesText = arguments.take(QStringLiteral("--copies"));
    const std::optional<QString> out = arguments.take(QStringLiteral("-o"));
    const QStringList positional = arguments.positional();
    if (!arguments.error().isEmpty() || positional.size() != 2 || !out || out->isEmpty()) {
        context.err << kUsage;
        if (!arguments.error().isEmpty()) {
            context.err << arguments.error() << "\n";
        }
        return kRefused;
    }
    int copies = 1;
    if (copiesText) {
        bool ok = false;
        copies = parseInt(*copiesText, &ok);
        if (!ok || copies < 1 || copies > 999) {
            context.err << "--copies needs a number from 1 to 999, not " << *copiesText << ".\n";
            return kRefused;
        }
    }
    const QString path = positional[0];
    if (!QFileInfo(path).isFile()) {
        context.err << "There is no contacts file " << path << ".\n";
        return kRefused;
    }

    ContactEntry shown;
    try {
        ContactsFile file;
        file.openForReading(path);
        const int count = file.recordCount();
        bool isNumber = false;
        const int n = parseInt(positional[1], &isNumber);
        if (!isNumber || n < 1 || n > count) {
            context.err << "There is no contact number " << positional[1] << " in " << path;
            if (count == 0) {
                context.err << ": the file holds no contacts.\n";
            } else {
                context.err << ": its contacts are numbered 1 to " << count << ".\n";
            }
            return kRefused;
        }
        // As the browser shows the contact.
        shown = entryFromRecord(file.read(n));
    } catch (const AppError& error) {
        context.err << standardErrorText(error) << "\n";
        return kFailure;
    }

    // The PDF is made beside OUT and takes its name only when complete.
    const QString part = *out + QStringLiteral(".part");
    QFile::remove(part);
    if (const std::optional<QString> failure = printSheet(shown, copies, part)) {
        QFile::remove(part);
        context.err << *failure << "\n";
        return kFailure;
    }
    QFile::remove(*out);
    if (!QFile::rename(part, *out)) {
        QFile::remove(part);
        context.err << "Cannot write " << *out << ".\n";
        return kFailure;
    }
    context.out << "pages: " << copies << "\n";
    return kOk;
}

const Registration registration{Command{
    QStringLiteral("details"),
    QStringLiteral("details FILE.DAT N [--copies N] -o OUT.pdf"),
    QStringLiteral("Prints the contact details sheet of contact number N as the contact browser's\n"
                   "File > Print does, one page per copy, into a PDF file."),
    runDetails,
}};

}  // namespace
}  // namespace tandor::batch
