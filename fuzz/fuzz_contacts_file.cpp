// A contacts file of arbitrary bytes: opening it (which finishes a deletion
// that was interrupted, compacting away records marked "*DELETED*"), reading
// every record the way the windows, the list, the birthday check, the export
// and the duplicate test read them, deleting one record and switching the
// birthday reminders. Each step is checked against what the file must hold.
#include <QByteArray>
#include <QDate>
#include <QFile>

#include "FuzzSupport.h"
#include "contacts/BirthdayCheck.h"
#include "contacts/ContactEntry.h"
#include "exchange/ContactExport.h"
#include "exchange/DuplicateCheck.h"
#include "list/ContactLines.h"
#include "list/ListLine.h"
#include "store/ContactsFile.h"
#include "store/ReminderSwitch.h"

using namespace tandor;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// The records 1..count of the bytes, the partial last one padded with blanks.
QList<QByteArray> recordsOf(const QByteArray& bytes) {
    const qsizetype count = (bytes.size() + kRecordSize / 2) / kRecordSize;
    QList<QByteArray> records;
    for (qsizetype n = 0; n < count; ++n) {
        QByteArray record = bytes.mid(n * kRecordSize, kRecordSize);
        record.append(QByteArray(kRecordSize - record.size(), ' '));
        records.append(record);
    }
    return records;
}

bool marked(const QByteArray& record) {
    return record.startsWith(kDeletedMark);
}

// What the file holds once opened: unchanged, unless a record is marked; then
// the unmarked records in their order.
QByteArray afterOpening(const QByteArray& bytes) {
    const QList<QByteArray> records = recordsOf(bytes);
    if (std::none_of(records.begin(), records.end(), marked)) {
        return bytes;
    }
    QByteArray kept;
    for (const QByteArray& r : records) {
        if (!marked(r)) {
            kept += r;
        }
    }
    return kept;
}

void readEverything(const ContactsFile& file, const QByteArray& data) {
    const int count = file.recordCount();
    const QDate today(2026, 2, 27);
    const QString searchText = QString::fromLatin1(data.left(3));
    for (int n = 1; n <= count; ++n) {
        const ContactRecord record = file.read(n);
        fuzz::check(record.bytes().size() == kRecordSize, "a record of 513 bytes");
        const ContactEntry entry = entryFromRecord(record);
        (void)trimmedEntry(entry);
        (void)birthdateForDisplay(record.rawField(Field::Birthdate));
        const QStringList values = exportValues(record);
        fuzz::check(values.size() == exportColumnNames().size(), "an export line of 18 values");
        (void)exportLine(ExportKind::Csv, values);
        (void)exportLine(ExportKind::Text, values);
        (void)listLine(record, SortOrder::FirstName);
        (void)listLine(record, SortOrder::LastName);
        (void)birthdayAnnouncement(record, today);
    }
    (void)remindersOnInFile(file);
    (void)findContacts(file, SearchField::All, QString(), SortOrder::LastName);
    (void)findContacts(file, SearchField::City, searchText, SortOrder::FirstName);
    (void)birthdayAnnouncements(
        count, [&file](int n) { return file.read(n); }, today);

    DuplicateCheck duplicates(file, count);
    for (int n = 1; n <= count; ++n) {
        (void)duplicates.isDuplicate(file.read(n).fields());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = fuzz::scratchFile(QStringLiteral("contacts.DAT"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    ContactsFile file;
    file.open(path);
    const QByteArray opened = afterOpening(bytes);
    fuzz::check(fileBytes(path) == opened, "opening compacts away exactly the marked records");
    fuzz::check(!QFile::exists(path + QStringLiteral(".Tempf")), "no copy left beside the file");
    readEverything(file, bytes);

    // Deleting one record leaves the others, in their order.
    QList<QByteArray> records = recordsOf(opened);
    if (!records.isEmpty()) {
        const int n = static_cast<int>(size % static_cast<size_t>(records.size())) + 1;
        int confirmations = 0;
        file.deleteRecord(n, [&confirmations] { ++confirmations; });
        fuzz::check(confirmations == 1, "one confirmation");
        records.removeAt(n - 1);
        fuzz::check(fileBytes(path) == records.join(), "a deletion removes that record only");
        fuzz::check(file.recordCount() == records.size(), "the count after a deletion");
    }

    // Switching reminders changes byte 510 of each record and nothing else.
    const QByteArray before = fileBytes(path);
    setRemindersInFile(file, true);
    QByteArray expected = before;
    for (qsizetype at = 510; at < expected.size(); at += kRecordSize) {
        expected[at] = '1';
    }
    fuzz::check(fileBytes(path) == expected, "switching reminders on rewrites byte 510 only");
    fuzz::check(file.recordCount() == 0 || remindersOnInFile(file), "reminders read as on");
    return 0;
}
