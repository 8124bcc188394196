#pragma once

#include <QFile>
#include <QString>
#include <functional>
#include <memory>

#include "store/ContactRecord.h"

namespace tandor {

// A headerless file of 513-byte contact records, open for random access by
// record number (from 1). The record count is the file length / 513, taken to
// the nearest whole number (an exact half to the even neighbour), recomputed
// from the file length every time.
//
// Every failure throws AppError with the number and description the error
// routines show.
class ContactsFile {
public:
    ContactsFile();
    ~ContactsFile();
    ContactsFile(const ContactsFile&) = delete;
    ContactsFile& operator=(const ContactsFile&) = delete;

    // Opens the file for reading and writing, creating it empty when it does not exist.
    void open(const QString& path);
    // Closing a file that is not open is not an error.
    void close();
    bool isOpen() const;
    QString path() const;

    int recordCount() const;
    // Record n (1..count). The partial last record of a file whose length is not
    // a multiple of 513 is padded with blanks; a number past the end reads as a
    // blank record.
    ContactRecord read(int n) const;
    // Overwrites record n in place (n from 1; count + 1 appends).
    void write(int n, const ContactRecord& record);
    // Writes the record at count + 1 and returns its number.
    int append(const ContactRecord& record);
    void flush();

    // Deletes record n: marks its FName "*DELETED*" and writes it back, closes
    // and reopens the file, calls atConfirmation (where the browser says
    // "Contact deleted!"), then compacts the file. The compacted copy is built
    // beside the contacts file and replaces it atomically once it is complete
    // and flushed; on any failure the mark is undone and every contact stays on
    // disk, and the failure is thrown. The file is open again afterwards.
    void deleteRecord(int n, const std::function<void()>& atConfirmation = {});

private:
    std::unique_ptr<QFile> file_;
    QString path_;
};

// The contacts file's setting of birthday reminders, read from record 1:
// true when its BirthdayReminder is "1".
bool remindersOnInFile(const ContactsFile& file);

}  // namespace tandor
