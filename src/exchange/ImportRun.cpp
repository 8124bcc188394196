#include "exchange/ImportRun.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "exchange/CsvReader.h"
#include "exchange/DuplicateTest.h"
#include "exchange/ImportLayouts.h"
#include "exchange/ImportValues.h"
#include "platform/FaultPoint.h"
#include "store/ContactsFile.h"
#include "store/FileError.h"

namespace tandor {
namespace {

void openCsv(QFile& csv) {
    const QFileInfo info(csv.fileName());
    if (csv.fileName().isEmpty()) {
        throw fileerror::make(errors::kBadFileName);
    }
    if (!info.exists()) {
        throw fileerror::make(info.dir().exists() ? errors::kFileNotFound : errors::kPathNotFound);
    }
    if (info.isDir()) {
        throw fileerror::make(errors::kPathFileAccess);
    }
    fault::hit("import.open");
    errno = 0;
    if (!csv.open(QIODevice::ReadOnly)) {
        throw fileerror::openFailure(csv.fileName(), errno);
    }
}

// The run itself; failures throw and are turned into the outcome by importCsv.
void run(QIODevice& csv, ContactsFile& file, const ImportSettings& settings,
         ImportOutcome& outcome) {
    const int onFile = file.recordCount();
    CsvReader reader(csv);
    const std::optional<QStringList> header = reader.next();
    if (!header) {
        throw fileerror::make(errors::kInputPastEnd);
    }
    const ImportLayout* layout = recogniseLayout(header->join(QLatin1Char(',')));
    if (!layout) {
        outcome.result = ImportResult::NoRecognisedHeader;
        return;
    }
    outcome.layout = layout->name;
    const std::optional<QStringList> columns = layout->prepareHeader(*header);
    if (!columns) {
        outcome.result = ImportResult::NotCompatible;
        return;
    }
    const DuplicateTest duplicates(file, onFile);
    while (const std::optional<QStringList> read = reader.next()) {
        const QStringList line = layout->prepareLine(*read);
        if (layout->skipLine(line, line.join(QLatin1Char(',')))) {
            continue;
        }
        ContactFields values = takeValues(*layout, *columns, line);
        cleanValues(values, layout->cleaning);
        if (holdsNoContact(values) || duplicates.isDuplicate(values)) {
            continue;
        }
        values[Field::BirthdayReminder] =
            settings.remindersOn() ? QStringLiteral("1") : QStringLiteral("0");
        const ContactRecord record = ContactRecord::build(values);
        fault::hit("import.write");
        // Nothing else writes the file during a run: the record goes to
        // count + 1, the number after the one last written.
        file.append(record);
        ++outcome.written;
    }
    outcome.result = ImportResult::Done;
}

}  // namespace

ImportOutcome importCsv(QIODevice& csv, ContactsFile& file, const ImportSettings& settings) {
    ImportOutcome outcome;
    try {
        run(csv, file, settings, outcome);
        if (outcome.written > 0) {
            file.flush();
        }
    } catch (const AppError& error) {
        outcome.result = ImportResult::Failed;
        outcome.error = error;
        if (outcome.written > 0) {
            try {
                file.flush();
            } catch (const AppError&) {
                // The failure already caught is the one reported.
            }
        }
    }
    return outcome;
}

ImportOutcome importCsv(const QByteArray& csv, ContactsFile& file, const ImportSettings& settings) {
    QBuffer buffer;
    buffer.setData(csv);
    buffer.open(QIODevice::ReadOnly);
    return importCsv(buffer, file, settings);
}

ImportOutcome importCsvFile(const QString& path, ContactsFile& file,
                            const ImportSettings& settings) {
    QFile csv(path);
    try {
        openCsv(csv);
    } catch (const AppError& error) {
        ImportOutcome outcome;
        outcome.result = ImportResult::Failed;
        outcome.error = error;
        return outcome;
    }
    return importCsv(csv, file, settings);
}

void checkCsvReadable(const QString& path) {
    QFile csv(path);
    openCsv(csv);
    csv.close();
}

QString importDoneText(int written) {
    return QStringLiteral("D O N E !  ") + QString::number(written) +
           QStringLiteral(" contacts successfully imported.");
}

}  // namespace tandor
