#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QUuid>

#include "store/ContactRecord.h"

namespace tandor {

class ContactsFile;

enum class ExportKind {
    Csv,    // "TDRC_" + name + ".csv", values separated by ","
    Text,   // "TDRT_" + name + ".txt", values separated by "|"
    Vcard,  // "TDRV_" + name + ".vcf", a vCard 3.0 card for each contact
};

// What one export carries from contact to contact.
struct ExportRun {
    QString contactsName;  // the contacts file's name, "Family.DAT"
    // The vCard export: how many cards of each content (by its UID) were
    // written so far.
    QHash<QUuid, int> cards;
};

// How one kind of export file is written. A new kind is a new format and a
// line in exportFormat().
class ExportFormat {
public:
    virtual ~ExportFormat() = default;
    // "TDRC_" + name + ".csv" and the like.
    virtual QString fileName(const QString& exportName) const = 0;
    // What the closing message calls the file: "A csv file".
    virtual QString description() const = 0;
    // The bytes before the first contact, and those of one contact.
    virtual QByteArray header() const = 0;
    virtual QByteArray contact(const ContactRecord& record, ExportRun& run) const = 0;
};
const ExportFormat& exportFormat(ExportKind kind);

// The export name: the contacts file's name with every occurrence of ".DAT",
// then every ".dat" (exact case), removed. Family.DAT gives Family, and so does
// /home/ann/Documents/Family.DAT.
QString exportName(const QString& contactsPath);
// Whether the contacts file lies in the program folder itself (not in a
// folder below it).
bool isInProgramFolder(const QString& contactsPath, const QString& programFolder);
// The folder the export file is written to: the program folder for a contacts
// file in it, the contacts file's own folder for any other.
QString exportFolder(const QString& contactsPath, const QString& programFolder);
// "TDRC_Family.csv", "TDRT_Family.txt" or "TDRV_Family.vcf".
QString exportFileName(ExportKind kind, const QString& name);

// The 18 column names of both files.
const QStringList& exportColumnNames();
// The 18 values of a record as exported: each field trimmed, the birth date
// YYYYMMDD as MM-DD-YYYY (empty when unknown or not a day of the calendar: an
// impossible date kept from an old file is left out, not corrected);
// BirthdayReminder is not exported.
QStringList exportValues(const ContactRecord& record);
// One line of the file, without its line end. Values are written as they are;
// in a CSV line a value that holds a double quote, a comma or a line break
// (which no record written by the program holds, apart from quotes) is put in
// quotes with its quotes doubled, so that the line reads back as 18 values.
QString exportLine(ExportKind kind, const QStringList& values);

struct ExportOutcome {
    QString path;          // the file written, its full path
    QString fileName;      // its name, as the closing message gives it
    int linesWritten = 0;  // contacts (lines or cards), the header not counted
    bool inProgramFolder = true;  // written to the program folder
};

// The record as an export file gives it: a stored birth date that is neither
// a day of the calendar nor a birthday without a year is left out. (The CSV
// and text exports also leave out a birthday without a year: their column
// holds MM-DD-YYYY. A vCard carries it, see VcardExport.h.)
ContactRecord exportedRecord(const ContactRecord& record);

// Writes every contact of the open file, in record order, to the export file
// in exportFolder() (replacing a file of that name): the header, then one
// line per contact, each ended by CR LF, in Windows-1252 (a vCard file: one
// card per contact, in UTF-8, see VcardExport.h). Throws AppError on
// any failure; a partly written file stays as far as it was written, and the
// contacts file is only read.
ExportOutcome exportContacts(const ContactsFile& file, ExportKind kind, const QString& contactsPath,
                             const QString& programFolder);

// The closing message of an export and its title. Its last line gives the
// full path of the file written.
QString exportDoneText(ExportKind kind, const ExportOutcome& outcome);
inline const QString kExportDoneTitle = QStringLiteral("Export file created");
inline const QString kNothingExportedText =
    QStringLiteral("Export file could not be created.  There were no contacts on file.");
inline const QString kNothingExportedTitle = QStringLiteral("Export file not created");

}  // namespace tandor
