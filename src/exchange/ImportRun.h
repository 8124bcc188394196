#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>
#include <optional>

#include "platform/AppError.h"

namespace tandor {

class ContactRecord;
class ContactsFile;
class DuplicateCheck;

enum class ImportResult {
    Done,                // every line read; `written` contacts were added
    NotCompatible,       // "CSV file not compatible with import function."
    NoRecognisedHeader,  // the first line has none of the layouts: nothing happens
    Failed,              // `error` happened; the contacts written before it stay
};

struct ImportOutcome {
    ImportResult result = ImportResult::Done;
    int written = 0;  // in a preview: the contacts that would be written
    // The data lines not written: duplicates of a contact on file, lines that
    // give no name (a line that gives nothing at all included), and lines the
    // line tests of the older layouts skip.
    int duplicates = 0;
    int withoutName = 0;
    int empty = 0;  // of withoutName: the lines or cards that give nothing at all
    int skippedByLayout = 0;
    // The contacts of a vCard file that could not be read (a card of an
    // unknown version, or one in which no line could be read).
    int unreadable = 0;
    QString layout;  // the name of the layout recognised, empty when none
    std::optional<AppError> error;
};

struct ImportSettings {
    // Whether birthday reminders are on for the file, asked as each contact
    // is written (its BirthdayReminder is "1" then, else "0").
    std::function<bool()> remindersOn = [] { return true; };
    // Told the name of the layout as soon as the header is recognised.
    std::function<void(const QString& layout)> layoutRecognised;
};

// One import run: reads the CSV text from the device (open for reading and
// able to seek back to its start; a header whose columns are separated by
// ";" makes the file read with that separator), recognises its header, and
// appends every
// line that passes the layout's tests and is not a duplicate of a contact on
// file when the run started to the open contacts file, as complete records.
// Never throws an AppError: failures come back as Failed. The contacts file
// is flushed to disk at the end of a run that wrote something.
ImportOutcome importCsv(QIODevice& csv, ContactsFile& file, const ImportSettings& settings = {});
ImportOutcome importCsv(const QByteArray& csv, ContactsFile& file,
                        const ImportSettings& settings = {});
// The file at a path; a file that cannot be opened is Failed.
ImportOutcome importCsvFile(const QString& path, ContactsFile& file,
                            const ImportSettings& settings = {});

// A run that writes nothing: each contact the run would write is handed to
// `contact`, as its record, in the order it would be written; the duplicate
// test is the one given (the contacts on file).
ImportOutcome previewCsv(QIODevice& csv, const DuplicateCheck& onFile,
                         const std::function<void(const ContactRecord&)>& contact,
                         const ImportSettings& settings = {});
ImportOutcome previewCsvFile(const QString& path, const DuplicateCheck& onFile,
                             const std::function<void(const ContactRecord&)>& contact,
                             const ImportSettings& settings = {});

// The same runs for a file of any format the import reads, recognised by its
// content: a vCard file (VcardSource.h), else a CSV file as above. For a vCard
// file the layout is "vCard"; it is never NoRecognisedHeader or NotCompatible.
ImportOutcome importContacts(QIODevice& device, ContactsFile& file,
                             const ImportSettings& settings = {});
ImportOutcome importContacts(const QByteArray& bytes, ContactsFile& file,
                             const ImportSettings& settings = {});
ImportOutcome importContactsFile(const QString& path, ContactsFile& file,
                                 const ImportSettings& settings = {});
ImportOutcome previewContacts(QIODevice& device, const DuplicateCheck& onFile,
                              const std::function<void(const ContactRecord&)>& contact,
                              const ImportSettings& settings = {});
ImportOutcome previewContactsFile(const QString& path, const DuplicateCheck& onFile,
                                  const std::function<void(const ContactRecord&)>& contact,
                                  const ImportSettings& settings = {});

// Opens a CSV file for reading and closes it again, as choosing the file
// does: throws the AppError of a file that cannot be read.
void checkCsvReadable(const QString& path);

// The texts the import shows.
QString importDoneText(int written);  // "D O N E !  N contacts successfully imported."
// The same, followed by "  N cards could not be read." when some could not,
// then a line "N contacts were already on file and were skipped." and a line
// "N contacts had no name and were skipped." (empty lines not counted) when
// there were such contacts.
QString importDoneText(const ImportOutcome& outcome);
inline const QString kImportDoneTitle = QStringLiteral("Import completed");
inline const QString kNotCompatibleText =
    QStringLiteral("CSV file not compatible with import function.");
inline const QString kNotCompatibleTitle = QStringLiteral("No contacts imported");
inline const QString kNoCsvFileText =
    QStringLiteral("Click 'Open csv file' to select a file to import.");
inline const QString kNoCsvFileTitle = QStringLiteral("No csv file selected");

}  // namespace tandor
