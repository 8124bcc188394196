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

// The export name: the contacts file's full path with every occurrence of the
// program folder followed by a separator removed, then every ".DAT", then
// every ".dat" (exact case). Family.DAT in the program folder gives Family; a
// file elsewhere keeps its folders, so that its export path cannot be made.
QString exportName(const QString& contactsPath, const QString& programFolder);
// "TDRC_Family.csv", "TDRT_Family.txt" or "TDRV_Family.vcf".
QString exportFileName(ExportKind kind, const QString& name);

// The 18 column names of both files.
const QStringList& exportColumnNames();
// The 18 values of a record as exported: each field trimmed, the birth date
// YYYYMMDD as MM-DD-YYYY (empty when unknown); BirthdayReminder is not exported.
QStringList exportValues(const ContactRecord& record);
// One line of the file, without its line end. Values are written as they are;
// in a CSV line a value that holds a double quote, a comma or a line break
// (which no record written by the program holds, apart from quotes) is put in
// quotes with its quotes doubled, so that the line reads back as 18 values.
QString exportLine(ExportKind kind, const QStringList& values);

struct ExportOutcome {
    QString path;          // the file written
    QString fileName;      // its name, as the closing message gives it
    int linesWritten = 0;  // contacts (lines or cards), the header not counted
};

// Writes every contact of the open file, in record order, to the export file
// in the program folder (replacing a file of that name): the header, then one
// line per contact, each ended by CR LF, in Windows-1252 (a vCard file: one
// card per contact, in UTF-8, see VcardExport.h). Throws AppError on
// any failure; a partly written file stays as far as it was written, and the
// contacts file is only read.
ExportOutcome exportContacts(const ContactsFile& file, ExportKind kind, const QString& contactsPath,
                             const QString& programFolder);

// The closing message of an export and its title.
QString exportDoneText(ExportKind kind, const QString& fileName);
inline const QString kExportDoneTitle = QStringLiteral("Export file created");
inline const QString kNothingExportedText =
    QStringLiteral("Export file could not be created.  There were no contacts on file.");
inline const QString kNothingExportedTitle = QStringLiteral("Export file not created");

}  // namespace tandor
