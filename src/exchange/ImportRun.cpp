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
#include "exchange/NamedColumns.h"
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

// What a run does with each contact it keeps: append it, or show it.
using ContactSink = std::function<void(const ContactRecord&)>;

// Whether the values give a name to file the contact under.
bool lacksName(const ContactFields& values) {
    for (const Field f : {Field::FName, Field::LName, Field::Company}) {
        if (!trimSpaces(values[f]).isEmpty()) {
            return false;
        }
    }
    return true;
}

// The order of day and month that the dates of the lines left show; the
// reader is back at its first record afterwards.
DateOrder dateOrderOfFile(CsvReader& reader, const NamedColumns& named) {
    DateOrderEvidence evidence;
    while (const std::optional<QStringList> line = reader.next()) {
        for (const QString& date : named.dates(*line)) {
            evidence.see(date);
        }
    }
    reader.restart(reader.separator());
    return evidence.order();
}

// The run itself; failures throw and are turned into the outcome by the callers.
void run(QIODevice& csv, const DuplicateTest& duplicates, const ImportSettings& settings,
         const ContactSink& keep, ImportOutcome& outcome) {
    CsvReader reader(csv);
    std::optional<QStringList> header = reader.next();
    if (!header) {
        throw fileerror::make(errors::kInputPastEnd);
    }
    const QChar separator = separatorOfHeader(*header);
    if (separator != reader.separator()) {
        reader.restart(separator);
        header = reader.next();
    }
    const ImportLayout* layout = recogniseLayout(header->join(QLatin1Char(',')));
    if (!layout) {
        outcome.result = ImportResult::NoRecognisedHeader;
        return;
    }
    outcome.layout = layout->name;
    if (settings.layoutRecognised) {
        settings.layoutRecognised(layout->name);
    }
    const std::optional<QStringList> columns = layout->prepareHeader(*header);
    if (!columns) {
        outcome.result = ImportResult::NotCompatible;
        return;
    }
    std::optional<NamedColumns> named;
    DateOrder order = DateOrder::MonthFirst;
    if (layout->namedColumns) {
        named.emplace(*layout->namedColumns, *header);
        if (named->readsDates()) {
            order = dateOrderOfFile(reader, *named);
            reader.next();  // the header again
        }
    }
    const qsizetype columnsBefore =
        layout->columnsBeforeHeader ? layout->columnsBeforeHeader(*header) : 0;
    while (const std::optional<QStringList> read = reader.next()) {
        const QStringList line = layout->prepareLine(read->mid(columnsBefore));
        if (layout->skipLine(line, line.join(QLatin1Char(',')))) {
            ++outcome.skippedByLayout;
            continue;
        }
        ContactFields values = takeValues(*layout, *columns, line);
        if (named) {
            named->take(layout->prepareNamedLine ? layout->prepareNamedLine(*read) : *read, order,
                        values);
        }
        cleanValues(values, layout->cleaning);
        if (holdsNoContact(values) || (layout->needsName && lacksName(values))) {
            ++outcome.withoutName;
            continue;
        }
        if (duplicates.isDuplicate(values)) {
            ++outcome.duplicates;
            continue;
        }
        values[Field::BirthdayReminder] =
            settings.remindersOn() ? QStringLiteral("1") : QStringLiteral("0");
        keep(ContactRecord::build(values));
        ++outcome.written;
    }
    outcome.result = ImportResult::Done;
}

// Opens the CSV file at path and hands it to readCsv; a file that cannot be
// opened is a failed run.
template <typename ReadCsv>
ImportOutcome withCsvFile(const QString& path, ReadCsv readCsv) {
    QFile csv(path);
    try {
        openCsv(csv);
    } catch (const AppError& error) {
        ImportOutcome outcome;
        outcome.result = ImportResult::Failed;
        outcome.error = error;
        return outcome;
    }
    return readCsv(csv);
}

}  // namespace

ImportOutcome importCsv(QIODevice& csv, ContactsFile& file, const ImportSettings& settings) {
    ImportOutcome outcome;
    try {
        const DuplicateTest duplicates(file, file.recordCount());
        run(
            csv, duplicates, settings,
            [&file](const ContactRecord& record) {
                fault::hit("import.write");
                // Nothing else writes the file during a run: the record goes
                // to count + 1, the number after the one last written.
                file.append(record);
            },
            outcome);
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
    return withCsvFile(path, [&](QFile& csv) { return importCsv(csv, file, settings); });
}

ImportOutcome previewCsv(QIODevice& csv, const DuplicateTest& onFile,
                         const std::function<void(const ContactRecord&)>& contact,
                         const ImportSettings& settings) {
    ImportOutcome outcome;
    try {
        run(csv, onFile, settings, contact, outcome);
    } catch (const AppError& error) {
        outcome.result = ImportResult::Failed;
        outcome.error = error;
    }
    return outcome;
}

ImportOutcome previewCsvFile(const QString& path, const DuplicateTest& onFile,
                             const std::function<void(const ContactRecord&)>& contact,
                             const ImportSettings& settings) {
    return withCsvFile(path,
                       [&](QFile& csv) { return previewCsv(csv, onFile, contact, settings); });
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
