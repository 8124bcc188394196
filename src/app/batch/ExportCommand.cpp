#include <QFileInfo>

#include "batch/BatchCommand.h"
#include "exchange/ContactExport.h"
#include "store/ContactsFile.h"

namespace tandor::batch {
namespace {

int runExport(const QStringList& args, Context& context) {
    Arguments arguments(args);
    const bool csv = arguments.takeFlag(QStringLiteral("--csv"));
    const bool text = arguments.takeFlag(QStringLiteral("--txt"));
    const bool vcard = arguments.takeFlag(QStringLiteral("--vcard"));
    const QStringList positional = arguments.positional();
    if (!arguments.error().isEmpty() || positional.size() != 1 ||
        int(csv) + int(text) + int(vcard) != 1) {
        context.err << "Usage: tandor-batch export FILE.DAT --csv|--txt|--vcard\n";
        return kRefused;
    }
    const QFileInfo info(positional[0]);
    if (!info.isFile()) {
        context.err << "There is no contacts file " << positional[0] << ".\n";
        return kRefused;
    }
    const ExportKind kind = csv ? ExportKind::Csv : text ? ExportKind::Text : ExportKind::Vcard;
    ContactsFile file;
    file.openForReading(info.absoluteFilePath());
    const ExportOutcome outcome =
        exportContacts(file, kind, info.absoluteFilePath(), context.programFolder);
    if (outcome.linesWritten == 0) {
        context.err << kNothingExportedText << "\n";
        return kRefused;
    }
    context.out << exportDoneText(kind, outcome) << "\n";
    return kOk;
}

const Registration registration{Command{
    QStringLiteral("export"),
    QStringLiteral("export FILE.DAT --csv|--txt|--vcard"),
    QStringLiteral("Writes every contact to TDRC_name.csv (--csv), TDRT_name.txt (--txt) or\n"
                   "TDRV_name.vcf (--vcard, vCard 3.0 in UTF-8) in the contacts file's own\n"
                   "folder (the program folder for a file in it), name being the contacts\n"
                   "file's name with \".DAT\"/\".dat\" removed: Office.DAT gives TDRC_Office.csv.\n"
                   "The message ends with the full path of the file written. A file\n"
                   "without contacts gives a file holding only the header (an empty vCard file)\n"
                   "and exits 2 with \"Export file could not be created...\"."),
    runExport,
}};

}  // namespace
}  // namespace tandor::batch
