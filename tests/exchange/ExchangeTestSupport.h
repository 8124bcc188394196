#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <ostream>

#include "exchange/ImportRun.h"
#include "store/ContactRecord.h"
#include "store/ContactsFile.h"
#include "support/TestFiles.h"

namespace tandor::test {

// A contacts file in a temporary folder, open, and import runs into it.
class ImportTarget {
public:
    explicit ImportTarget(const QByteArray& initialBytes = {});

    ImportOutcome import(const QByteArray& csv, bool remindersOn = true);
    // Every record on file, its fields trimmed.
    QList<ContactFields> contacts() const;
    // The same, each contact as its nineteen fields joined by "|".
    QStringList lines() const;
    QByteArray bytes() const { return readAll(path_); }
    ContactsFile& file() { return file_; }
    const QString& path() const { return path_; }
    TempFolder& folder() { return folder_; }

private:
    TempFolder folder_;
    QString path_;
    ContactsFile file_;
};

// Contact values from name = value pairs ("FName", "Ann"); others empty.
ContactFields contact(std::initializer_list<std::pair<const char*, const char*>> values);
// The record of such values.
QByteArray contactBytes(std::initializer_list<std::pair<const char*, const char*>> values);

// CSV lines joined by CR LF, with a final CR LF.
QByteArray csvLines(const QStringList& lines);

// Headers of the kinds the providers write.
QString yahooHeader();         // 55 columns, "Yahoo! Phone" at 14
QString primaryPhoneHeader();  // the web-mail "Outlook" header, Birthday at 8, E-mail Address at 14
QString ownExportHeader();     // the header the export writes
// The same header with every column in double quotes.
QString quoted(const QString& header);

// A data line with values at given positions (others empty), `columns` long.
QString lineWith(int columns, std::initializer_list<std::pair<int, const char*>> values);

}  // namespace tandor::test

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
