#include <QFileInfo>

#include "batch/BatchCommand.h"
#include "exchange/ContactExport.h"
#include "platform/AppError.h"
#include "store/ContactsFile.h"

namespace tandor::batch {
namespace {

int runExport(const QStringList& args, Context& context) {
    Arguments arguments(args);
    const bool csv = arguments.takeFlag(QStringLiteral("--csv"));
    const bool text = arguments.takeFlag(QStringLiteral("--txt"));
    const QStringList positional = arguments.positional();
    if (!arguments.error().isEmpty() || positional.size() != 1 || csv == text) {
        context.err << "Usage: tandor-batch export FILE.DAT --csv|--txt\n";
        return kRefused;
    }
    const QFileInfo info(positional[0]);
    if (!info.isFile()) {
        context.err << "There is no contacts file " << positional[0] << ".\n";
        return kRefused;
    }
    const ExportKind kind = csv ? ExportKind::Csv : ExportKind::Text;
    try {
        ContactsFile file;
        file.openForReading(info.absoluteFilePath());
        const ExportOutcome outcome =
            exportContacts(file, kind, info.absoluteFilePath(), context.programFolder);
        if (outcome.linesWritten == 0) {
            context.err << kNothingExportedText << "\n";
            return kRefused;
        }
        context.out << exportDoneText(kind, outcome.fileName) << "\n";
        return kOk;
    } catch (const AppError& error) {
        context.err << standardErrorText(error) << "\n";
        return kFailure;
    }
}

const Registration registration{Command{
    QStringLiteral("export"),
    QStringLiteral("export FILE.DAT --csv|--txt"),
    QStringLiteral("Writes every contact to TDRC_name.csv (--csv) or TDRT_name.txt (--txt) in the\n"
                   "program folder, name being the contacts file's path with the program folder\n"
                   "and \".DAT\"/\".dat\" removed (a file outside the program folder cannot be\n"
                   "exported). A file without contacts gives a file holding only the header and\n"
                   "exits 2 with \"Export file could not be created...\"."),
    runExport,
}};

}  // namespace
}  // namespace tandor::batch
