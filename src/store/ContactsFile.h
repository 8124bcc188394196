#pragma once

#include <QFile>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "store/ContactRecord.h"

namespace tandor {

// A headerless file of 513-byte contact records, open for random access by
// record number (from 1). The record count is the file length / 513, taken to
// the nearest whole number (an exact half to the even neighbour), recomputed
// from the file length every time.
//
// Every failure throws AppError with the number and description the error
// routines show: 52 "Bad file name or number" (no file open), 53 "File not
// found", 57 "Device I/O error", 61 "Disk full", 63 "Bad record number",
// 70 "Permission denied", 75 "Path/File access error", 76 "Path not found".
//
// Reading in record order is cheap: records are read ahead 64 at a time. The
// file is assumed not to be changed by anything else (another program or
// another ContactsFile object) while it is open.
class ContactsFile {
public:
    ContactsFile();
    ~ContactsFile();
    ContactsFile(const ContactsFile&) = delete;
    ContactsFile& operator=(const ContactsFile&) = delete;

    // Opens the file for reading and writing, creating it empty when it does not
    // exist. A file that may only be read is opened for reading (every write
    // then fails with 70). A deletion that was interrupted (a record still
    // marked "*DELETED*") is finished here: the marked records are compacted
    // away; when that cannot be done the file opens as it is.
    void open(const QString& path);
    // The same for a file that must exist already: 53 "File not found" when it does not.
    void openExisting(const QString& path);
    // Opens a file that must exist for reading only, as the commands that only
    // show contacts do: its bytes are never changed, and records marked for
    // deletion are left out. Record numbers and the count are then those the
    // file will have once that deletion is finished.
    void openForReading(const QString& path);
    // Closing a file that is not open is not an error.
    void close();
    bool isOpen() const;
    bool isWritable() const;
    QString path() const;

    int recordCount() const;
    // Record n (1..count). The partial last record of a file whose length is not
    // a multiple of 513 is padded with blanks; a number past the end reads as a
    // blank record; a number below 1 fails with 63.
    ContactRecord read(int n) const;
    // Overwrites record n in place (n from 1; count + 1 appends; beyond fails with 63).
    void write(int n, const ContactRecord& record);
    // Overwrites one field of record n (1..count) in place. The part of a field
    // that lies past the end of a partial last record is not written: the file
    // length never changes.
    void writeField(int n, Field field, const QString& value);
    // Writes the record at count + 1 and returns its number.
    int append(const ContactRecord& record);
    // Forces what was written onto the disk.
    void flush();
    // Appends one contact and forces it onto the disk. When that fails the
    // file is cut back to its former length, so that saving the contact again
    // does not store it twice.
    int appendFlushed(const ContactRecord& record);

    // Appends many contacts in one pass, as an import does. The file's length
    // is read once, at the first record; records are gathered and written
    // kBulkRecords at a time (one write of about 64 KB), and finish() writes
    // the rest and forces the file onto the disk once. A record is stored only
    // once written out: stored() tells how many of this pass are. A write that
    // fails part-way keeps the records it wrote whole (the file is cut back to
    // the end of the last one) and throws; the records gathered after them are
    // not stored. Nothing else may write the file while an appender is in use.
    class Appender {
    public:
        static constexpr int kBulkRecords = 128;  // 65,664 bytes a write

        explicit Appender(ContactsFile& file);
        // Writes out what is gathered (a failure is not reported: call
        // finish() to know).
        ~Appender();
        Appender(const Appender&) = delete;
        Appender& operator=(const Appender&) = delete;

        // Gathers the record as the one after the last; returns its number.
        int append(const ContactRecord& record);
        // Writes out the records gathered and, when this pass stored any,
        // forces the file onto the disk.
        void finish();
        int stored() const { return stored_; }

    private:
        void begin();
        void writeOut();

        ContactsFile& file_;
        bool begun_ = false;
        int next_ = 0;               // the number the next record gets
        qint64 bufferOffset_ = 0;    // where the gathered records go
        bool tailFirst_ = false;     // the file ends in a partial record
        QByteArray buffer_;
        int gathered_ = 0;
        int stored_ = 0;
    };
    // Appends the records in one pass through an Appender and forces them
    // onto the disk. On failure the records written whole stay, and it throws.
    void appendAll(const std::vector<ContactRecord>& records);

    // Deletes record n (1..count, else 63): marks its FName "*DELETED*" and
    // writes it back, closes and reopens the file, calls atConfirmation (where
    // the browser says "Contact deleted!"), then compacts the file. The
    // compacted copy is built beside the contacts file and replaces it
    // atomically once it is complete and flushed; on any failure (the callback
    // throwing included) the mark is undone and every contact stays on disk,
    // and the failure is thrown. The file is open again afterwards.
    void deleteRecord(int n, const std::function<void()>& atConfirmation = {});

private:
    void openFile(const QString& path, bool mustWrite, bool create = false, bool readOnly = false);
    ContactRecord readStored(int n) const;
    // Leaves the records marked for deletion out of the count and the record
    // numbers, as a file open only for reading shows them.
    void hideMarkedRecords();
    void finishInterruptedDeletion();
    void undoMark(const QString& path, int n, const ContactRecord& original, QFile& guard);
    void requireOpen() const;
    void requireWritable() const;
    // On a write that fails part-way the file is cut back to its former
    // length, or with wholeRecords (data of whole records written at the end
    // of the file) to the end of the last record written whole.
    void writeAt(qint64 offset, const char* data, qint64 size, bool wholeRecords = false);

    std::unique_ptr<QFile> file_;
    QString path_;
    bool writable_ = false;
    // Opened for reading with marked records left out: the stored numbers of
    // the records shown, in order.
    bool hidesMarked_ = false;
    std::vector<int> shown_;
    // Records read ahead from the file position cacheStart_.
    mutable QByteArray cache_;
    mutable qint64 cacheStart_ = 0;
};

// The contacts file's setting of birthday reminders, read from record 1:
// true when its BirthdayReminder is "1".
bool remindersOnInFile(const ContactsFile& file);

}  // namespace tandor
