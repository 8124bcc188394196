#include <QFile>
#include <QFileInfo>

#include "batch/BatchCommand.h"
#include "batch/DocumentForChange.h"
#include "exchange/DuplicateCheck.h"
#include "exchange/ImportRun.h"
#include "platform/AppError.h"
#include "store/ContactsDocument.h"
#include "store/ContactsFile.h"
#include "store/FileError.h"

namespace tandor::batch {
namespace {

// The contacts of a file as a run would find them on file, read without
// opening the file for writing: a file that does not exist holds none, and a
// record left marked by an interrupted deletion is not counted (opening the
// file would compact it away). Also gives the file's reminder setting.
DuplicateCheck contactsOnFile(const QString& path, bool& remindersOn) {
    DuplicateCheck onFile;
    remindersOn = true;
    QFile file(path);
    if (file.exists()) {
        if (QFileInfo(path).isDir()) {
            throw fileerror::make(errors::kPathFileAccess);
        }
        errno = 0;
        if (!file.open(QIODevice::ReadOnly)) {
            throw fileerror::openFailure(path, errno);
        }
        const qint64 count = (file.size() + kRecordSize / 2) / kRecordSize;
        bool first = true;
        for (qint64 n = 0; n < count; ++n) {
            const ContactRecord record = ContactRecord::fromBytes(file.read(kRecordSize));
            if (record.isMarkedDeleted()) {
                continue;
            }
            if (first) {
                remindersOn = record.field(Field::BirthdayReminder) == QLatin1String("1");
                first = false;
            }
            onFile.add(record);
        }
    }
    onFile.finish();
    return onFile;
}

// A contact as one line: its nineteen fields as the record holds them.
QString contactLine(const ContactRecord& record) {
    QStringList fields;
    for (const QString& value : record.fields().values) {
        fields.append(value);
    }
    return fields.join(QLatin1Char('|'));
}

int runImport(const QStringList& args, Context& context) {
    Arguments arguments(args);
    const bool dryRun = arguments.takeFlag(QStringLiteral("--dry-run"));
    const QStringList positional = arguments.positional();
    if (!arguments.error().isEmpty() || positional.size() != 2) {
        context.err << "Usage: tandor-batch import [--dry-run] FILE.DAT CSVFILE|VCFFILE\n";
        return kRefused;
    }
    const QString contactsPath = positional[0];
    const QString csvPath = positional[1];
    // The CSV file is checked first, so that a file that cannot be read
    // leaves no new contacts file behind.
    checkCsvReadable(csvPath);
    ImportOutcome outcome;
    if (dryRun) {
        bool remindersOn = true;
        const DuplicateCheck onFile = contactsOnFile(contactsPath, remindersOn);
        ImportSettings settings;
        settings.remindersOn = [remindersOn] { return remindersOn; };
        settings.layoutRecognised = [&context](const QString& layout) {
            context.out << "Layout: " << layout << "\n";
        };
        outcome = previewContactsFile(
            csvPath, onFile,
            [&context](const ContactRecord& record) { context.out << contactLine(record) << "\n"; },
            settings);
    } else {
        // A contacts file that does not exist is made empty, as File New
        // makes it, with reminders on; an existing one keeps the setting
        // of record 1.
        DocumentForChange document(context.programFolder, contactsPath);
        const bool remindersOn = document->remindersOn();
        ImportSettings settings;
        settings.remindersOn = [remindersOn] { return remindersOn; };
        outcome = document->appendMany(
            [&](ContactsFile& file) { return importContactsFile(csvPath, file, settings); });
    }
    switch (outcome.result) {
        case ImportResult::Done:
            if (dryRun) {
                context.out << "Imported: " << outcome.written << "\n"
                            << "Skipped as duplicates: " << outcome.duplicates << "\n"
                            << "Skipped for lack of a name: " << outcome.withoutName << "\n";
                if (outcome.skippedByLayout > 0) {
                    context.out << "Skipped by the layout's line tests: " << outcome.skippedByLayout
                                << "\n";
                }
                if (outcome.unreadable > 0) {
                    context.out << "Cards that could not be read: " << outcome.unreadable << "\n";
                }
            } else {
                context.out << importDoneText(outcome) << "\n";
            }
            return kOk;
        case ImportResult::NotCompatible:
            context.err << kNotCompatibleText << "\n";
            return kRefused;
        case ImportResult::NoRecognisedHeader:
            context.err << "no recognised header\n";
            return kRefused;
        case ImportResult::Failed:
            break;
    }
    throw *outcome.error;
}

const Registration registration{Command{
    QStringLiteral("import"),
    QStringLiteral("import [--dry-run] FILE.DAT CSVFILE|VCFFILE"),
    QStringLiteral(
        "Adds the contacts of a CSV file (a provider's export or Tandor's own) or of a\n"
        "vCard file (2.1, 3.0 or 4.0, known by its first line BEGIN:VCARD whatever its\n"
        "name) to a contacts file, made empty first when it does not exist. Contacts\n"
        "that look like one already on file are skipped. Prints \"D O N E !  N contacts\n"
        "successfully imported.\" (followed by \"  N cards could not be read.\" when some\n"
        "cards of a vCard file could not be read), then the lines \"N contacts were\n"
        "already on file and were skipped.\" and \"N contacts had no name and were\n"
        "skipped.\" when there were such contacts; a header of no known layout prints\n"
        "\"no recognised header\" and a file without an e-mail column the window's\n"
        "message (exit 2).\n"
        "--dry-run writes nothing: it prints \"Layout: NAME\", each contact that would be\n"
        "written as its fields joined by \"|\" (FName|MiddleInit|LName|FStreet|SStreet|\n"
        "City|State|Zip|Country|HPhone|CPhone|WPhone|Email|Birthdate|Category|Notes|\n"
        "Company|IncludeCompany|BirthdayReminder), then the lines \"Imported: N\",\n"
        "\"Skipped as duplicates: N\" and \"Skipped for lack of a name: N\" (and \"Skipped\n"
        "by the layout's line tests: N\" when the older layouts' line tests skipped some,\n"
        "\"Cards that could not be read: N\" when some could not)."),
    runImport,
    NotifyWhom::Product,
}};

}  // namespace
}  // namespace tandor::batch
