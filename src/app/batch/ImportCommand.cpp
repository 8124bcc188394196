#include <QFileInfo>

#include "batch/BatchCommand.h"
#include "exchange/ImportRun.h"
#include "platform/AppError.h"
#include "store/ContactsFile.h"

namespace tandor::batch {
namespace {

int runImport(const QStringList& args, Context& context) {
    Arguments arguments(args);
    const QStringList positional = arguments.positional();
    if (!arguments.error().isEmpty() || positional.size() != 2) {
        context.err << "Usage: tandor-batch import FILE.DAT CSVFILE\n";
        return kRefused;
    }
    const QString contactsPath = positional[0];
    const QString csvPath = positional[1];
    try {
        // The CSV file is checked first, so that a file that cannot be read
        // leaves no new contacts file behind.
        checkCsvReadable(csvPath);
        // A contacts file that does not exist is made empty, as File New makes
        // it, with reminders on; an existing one keeps the setting of record 1.
        const bool existed = QFileInfo::exists(contactsPath);
        ContactsFile file;
        file.open(contactsPath);
        const bool remindersOn = !existed || file.recordCount() == 0 || remindersOnInFile(file);

        ImportSettings settings;
        settings.remindersOn = [remindersOn] { return remindersOn; };
        const ImportOutcome outcome = importCsvFile(csvPath, file, settings);
        switch (outcome.result) {
            case ImportResult::Done:
                context.out << importDoneText(outcome.written) << "\n";
                return kOk;
            case ImportResult::NotCompatible:
                context.err << kNotCompatibleText << "\n";
                return kRefused;
            case ImportResult::NoRecognisedHeader:
                context.err << "no recognised header\n";
                return kRefused;
            case ImportResult::Failed:
                throw *outcome.error;
        }
    } catch (const AppError& error) {
        context.err << standardErrorText(error, NotifyWhom::Product) << "\n";
    }
    return kFailure;
}

const Registration registration{Command{
    QStringLiteral("import"),
    QStringLiteral("import FILE.DAT CSVFILE"),
    QStringLiteral("Adds the contacts of a CSV file (a provider's export or Tandor's own) to a\n"
                   "contacts file, made empty first when it does not exist. Lines that look like\n"
                   "a contact already on file are skipped. Prints \"D O N E !  N contacts\n"
                   "successfully imported.\"; a header of no known layout prints \"no recognised\n"
                   "header\" and a file without an e-mail column the window's message (exit 2)."),
    runImport,
}};

}  // namespace
}  // namespace tandor::batch
