#include "exchange/ImportRun.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "exchange/ContactSource.h"
#include "exchange/DuplicateCheck.h"
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

// Makes the source that reads a device.
using SourceFor = std::unique_ptr<ContactSource> (*)(QIODevice&);

// The intake of every format: each contact the source reads is cleaned by the
// rules it names, tested for a name and against the contacts on file, and
// kept; failures throw and are turned into the outcome by the callers.
void run(QIODevice& device, SourceFor sourceFor, const DuplicateCheck& duplicates,
         const ImportSettings& settings, const ContactSink& keep, ImportOutcome& outcome) {
    const std::unique_ptr<ContactSource> source = sourceFor(device);
    const std::optional<QString> format = source->recognise();
    if (!format) {
        outcome.result = ImportResult::NoRecognisedHeader;
        return;
    }
    outcome.layout = *format;
    if (settings.layoutRecognised) {
        settings.layoutRecognised(*format);
    }
    if (!source->prepare()) {
        outcome.result = ImportResult::NotCompatible;
        return;
    }
    while (std::optional<SourceItem> item = source->next()) {
        if (item->kind == SourceItem::Kind::SkippedByLayout) {
            ++outcome.skippedByLayout;
            continue;
        }
        if (item->kind == SourceItem::Kind::Unreadable) {
            ++outcome.unreadable;
            continue;
        }
        ContactFields& values = item->values;
        cleanValues(values, source->cleaning());
        if (holdsNoContact(values)) {
            ++outcome.withoutName;
            ++outcome.empty;
            continue;
        }
        if (source->needsName() && lacksName(values)) {
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

// Opens the file at path and hands it to read; a file that cannot be opened
// is a failed run.
template <typename Read>
ImportOutcome withFile(const QString& path, Read read) {
    QFile csv(path);
    try {
        openCsv(csv);
    } catch (const AppError& error) {
        ImportOutcome outcome;
        outcome.result = ImportResult::Failed;
        outcome.error = error;
        return outcome;
    }
    return read(csv);
}

ImportOutcome importWith(QIODevice& device, SourceFor sourceFor, ContactsFile& file,
                         const ImportSettings& settings) {
    ImportOutcome outcome;
    // Nothing else writes the file during a run: the records go one after
    // the other at its end, written in one pass.
    ContactsFile::Appender appender(file);
    try {
        const DuplicateCheck duplicates(file, file.recordCount());
        run(
            device, sourceFor, duplicates, settings,
            [&appender](const ContactRecord& record) {
                fault::hit("import.write");
                appender.append(record);
            },
            outcome);
        appender.finish();
    } catch (const AppError& error) {
        outcome.result = ImportResult::Failed;
        outcome.error = error;
        // The contacts taken before the failure are kept, as far as they can
        // be written.
        try {
            appender.finish();
        } catch (const AppError&) {
            // The failure already caught is the one reported.
        }
    }
    outcome.written = appender.stored();
    return outcome;
}

ImportOutcome previewWith(QIODevice& device, SourceFor sourceFor, const DuplicateCheck& onFile,
                          const ContactSink& contact, const ImportSettings& settings) {
    ImportOutcome outcome;
    try {
        run(device, sourceFor, onFile, settings, contact, outcome);
    } catch (const AppError& error) {
        outcome.result = ImportResult::Failed;
        outcome.error = error;
    }
    return outcome;
}

}  // namespace

ImportOutcome importCsv(QIODevice& csv, ContactsFile& file, const ImportSettings& settings) {
    return importWith(csv, csvSource, file, settings);
}

ImportOutcome importCsv(const QByteArray& csv, ContactsFile& file, const ImportSettings& settings) {
    QBuffer buffer;
    buffer.setData(csv);
    buffer.open(QIODevice::ReadOnly);
    return importCsv(buffer, file, settings);
}

ImportOutcome importCsvFile(const QString& path, ContactsFile& file,
                            const ImportSettings& settings) {
    return withFile(path, [&](QFile& csv) { return importCsv(csv, file, settings); });
}

ImportOutcome previewCsv(QIODevice& csv, const DuplicateCheck& onFile,
                         const std::function<void(const ContactRecord&)>& contact,
                         const ImportSettings& settings) {
    return previewWith(csv, csvSource, onFile, contact, settings);
}

ImportOutcome previewCsvFile(const QString& path, const DuplicateCheck& onFile,
                             const std::function<void(const ContactRecord&)>& contact,
                             const ImportSettings& settings) {
    return withFile(path, [&](QFile& csv) { return previewCsv(csv, onFile, contact, settings); });
}

ImportOutcome importContacts(QIODevice& device, ContactsFile& file,
                             const ImportSettings& settings) {
    return importWith(device, openContactSource, file, settings);
}

ImportOutcome importContacts(const QByteArray& bytes, ContactsFile& file,
                             const ImportSettings& settings) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return importContacts(buffer, file, settings);
}

ImportOutcome importContactsFile(const QString& path, ContactsFile& file,
                                 const ImportSettings& settings) {
    return withFile(path, [&](QFile& in) { return importContacts(in, file, settings); });
}

ImportOutcome previewContacts(QIODevice& device, const DuplicateCheck& onFile,
                              const std::function<void(const ContactRecord&)>& contact,
                              const ImportSettings& settings) {
    return previewWith(device, openContactSource, onFile, contact, settings);
}

ImportOutcome previewContactsFile(const QString& path, const DuplicateCheck& onFile,
                                  const std::function<void(const ContactRecord&)>& contact,
                                  const ImportSettings& settings) {
    return withFile(path,
                    [&](QFile& in) { return previewContacts(in, onFile, contact, settings); });
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

QString importDoneText(const ImportOutcome& outcome) {
    QString text = importDoneText(outcome.written);
    if (outcome.unreadable == 1) {
        text += QStringLiteral("  1 card could not be read.");
    } else if (outcome.unreadable > 1) {
        text += QStringLiteral("  ") + QString::number(outcome.unreadable) +
                QStringLiteral(" cards could not be read.");
    }
    // A line for each kind of contact left out, so that "0 contacts" says why.
    const auto skipped = [&text](int count, const char* one, const char* many) {
        if (count == 1) {
            text += QStringLiteral("\n1 contact ") + QLatin1String(one);
        } else if (count > 1) {
            text += QLatin1Char('\n') + QString::number(count) + QStringLiteral(" contacts ") +
                    QLatin1String(many);
        }
    };
    skipped(outcome.duplicates, "was already on file and was skipped.",
            "were already on file and were skipped.");
    // An empty line is no contact and goes unmentioned.
    skipped(outcome.withoutName - outcome.empty, "had no name and was skipped.",
            "had no name and were skipped.");
    return text;
}

}  // namespace tandor
