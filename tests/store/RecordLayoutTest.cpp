// The record byte for byte: a file laid out from the record table by the test
// itself is read back by the program, and what the program writes is the same.
#include <gtest/gtest.h>
#include <QFile>

#include "store/ContactsFile.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

namespace tandor {
namespace {

using test::fieldOffset;
using test::fieldWidth;
using test::recordBytes;

// Three contacts using every field, one with Windows-1252 letters.
QList<QMap<QString, QByteArray>> goldenContacts() {
    return {
        {{"FName", "Ann"},
         {"MiddleInit", "B"},
         {"LName", "Lee"},
         {"FStreet", "12 Oak St"},
         {"SStreet", "Apt 4"},
         {"City", "Springfield"},
         {"State", "IL"},
         {"Zip", "62704"},
         {"Country", "USA"},
         {"HPhone", "217-555-0101"},
         {"CPhone", "217-555-0102"},
         {"WPhone", "217-555-0199"},
         {"Email", "ann@example.com"},
         {"Birthdate", "19800410"},
         {"Category", "Family;Friends"},
         {"Notes", "Likes tulips"},
         {"Company", "Lee & Co"},
         {"IncludeCompany", "1"},
         {"BirthdayReminder", "1"}},
        {{"FName", "Zo\xEB"},
         {"LName", "M\xFCller"},
         {"City", "K\xF6ln"},
         {"Birthdate", "        "},
         {"Email", QByteArray(50, 'x')},
         {"Notes", QByteArray(160, 'n')},
         {"IncludeCompany", "0"},
         {"BirthdayReminder", "1"}},
        {{"FName", "Maximiliano"},
         {"LName", "Oppenheimer-Sto"},
         {"Zip", "10001-1234"},
         {"IncludeCompany", "0"},
         {"BirthdayReminder", "1"}},
    };
}

ContactFields fieldsOf(const QMap<QString, QByteArray>& values) {
    ContactFields fields;
    for (const FieldLayout& f : recordLayout()) {
        fields[f.field] =
            trimSpaces(QString::fromLatin1(values.value(QString::fromLatin1(f.name))));
    }
    return fields;
}

TEST(RecordLayout, GoldenFileReadsBackAndIsWrittenIdentically) {
    test::TempFolder folder;
    QList<QByteArray> records;
    for (const auto& contact : goldenContacts()) {
        records.append(recordBytes(contact));
    }
    const QByteArray golden = test::fileBytes(records);
    ASSERT_EQ(golden.size(), 3 * 513);
    const QString goldenPath = folder.write("GOLDEN.DAT", golden);

    ContactsFile file;
    file.open(goldenPath);
    ASSERT_EQ(file.recordCount(), 3);
    EXPECT_TRUE(remindersOnInFile(file));
    for (int n = 1; n <= 3; ++n) {
        const ContactRecord record = file.read(n);
        EXPECT_EQ(record.bytes(), records[n - 1]) << "record " << n;
        EXPECT_EQ(record.fields(), fieldsOf(goldenContacts()[n - 1])) << "record " << n;
    }
    EXPECT_EQ(file.read(2).field(Field::FName), QString::fromUtf8("Zoë"));
    EXPECT_EQ(file.read(2).field(Field::City), QString::fromUtf8("Köln"));
    EXPECT_EQ(file.read(1).field(Field::Company), QStringLiteral("Lee & Co"));

    // The same contacts written by the program from their values.
    ContactsFile written;
    written.open(folder.file("WRITTEN.DAT"));
    for (const auto& contact : goldenContacts()) {
        written.append(ContactRecord::build(fieldsOf(contact)));
    }
    written.close();
    EXPECT_EQ(test::readAll(folder.file("WRITTEN.DAT")), golden);
}

TEST(RecordLayout, EveryFieldSitsAtItsOffsetBetweenSeparators) {
    ContactFields fields;
    for (const FieldLayout& f : recordLayout()) {
        fields[f.field] = QString(200, QLatin1Char(f.name[0]));
    }
    const QByteArray bytes = ContactRecord::build(fields).bytes();
    ASSERT_EQ(bytes.size(), 513);
    for (const FieldLayout& f : recordLayout()) {
        const QString name = QString::fromLatin1(f.name);
        const int offset = fieldOffset(name);
        const int width = fieldWidth(name);
        EXPECT_EQ(bytes.mid(offset, width), QByteArray(width, f.name[0])) << f.name;
        EXPECT_EQ(bytes[offset + width], name == "BirthdayReminder" ? '\r' : '|') << f.name;
    }
    EXPECT_EQ(bytes.right(2), QByteArray("\r\n"));
}

TEST(RecordLayout, BuildingARecordLeavesTheNextOneBlank) {
    ContactFields fields;
    for (const FieldLayout& f : recordLayout()) {
        fields[f.field] = QStringLiteral("x");
    }
    const ContactRecord full = ContactRecord::build(fields);
    ContactRecord changed;
    changed.setField(Field::City, QStringLiteral("Salem"));
    const QByteArray blank = ContactRecord().bytes();
    ASSERT_EQ(blank.size(), kRecordSize);
    EXPECT_EQ(blank.count('|'), kFieldCount - 1);
    EXPECT_TRUE(blank.endsWith("\r\n"));
    EXPECT_EQ(blank.count(' '), kRecordSize - (kFieldCount - 1) - 2);
    EXPECT_EQ(full.field(Field::City), "x");
    EXPECT_EQ(changed.field(Field::City), "Salem");
    EXPECT_EQ(ContactRecord().field(Field::City), "");
}

TEST(RecordLayout, WritingRuleRemovesLeadingSpacesCutsAndPads) {
    ContactRecord record;
    record.setField(Field::FName, QStringLiteral("  Ann"));
    EXPECT_EQ(record.bytes().left(12), QByteArray("Ann        |"));
    EXPECT_EQ(record.field(Field::FName), QStringLiteral("Ann"));

    record.setField(Field::FName, QStringLiteral("Christophera"));  // 12 characters
    EXPECT_EQ(record.bytes().left(12), QByteArray("Christopher|"));

    // Trailing spaces are kept (the padding absorbs them); the reader trims.
    record.setField(Field::LName, QStringLiteral("Lee  "));
    EXPECT_EQ(record.rawField(Field::LName), QStringLiteral("Lee             "));
    EXPECT_EQ(record.field(Field::LName), QStringLiteral("Lee"));

    // Windows-1252, and "?" for what it cannot hold.
    record.setField(Field::City, QString::fromUtf8("Zürich €"));
    EXPECT_EQ(record.bytes().mid(fieldOffset("City"), 8), QByteArray("Z\xFCrich \x80"));
    record.setField(Field::City, QString::fromUtf8("Москва"));
    EXPECT_EQ(record.field(Field::City), QStringLiteral("??????"));

    record.setField(Field::Notes, QString());
    EXPECT_EQ(record.bytes().mid(fieldOffset("Notes"), 160), QByteArray(160, ' '));
    EXPECT_EQ(record.bytes().size(), 513);
}

TEST(RecordLayout, BirthDateDisplay) {
    EXPECT_EQ(birthdateForDisplay(QStringLiteral("        ")), QString());
    EXPECT_EQ(birthdateForDisplay(QStringLiteral("19800410")), QStringLiteral("04/10/1980"));
    EXPECT_EQ(birthdateForDisplay(QStringLiteral("00000000")), QString());
    EXPECT_EQ(birthdateForDisplay(QStringLiteral("20011231")), QStringLiteral("12/31/2001"));
    // Shorter values (edited by hand) are trimmed first, then cut into parts.
    EXPECT_EQ(birthdateForDisplay(QStringLiteral("1980    ")), QStringLiteral("//1980"));
    EXPECT_EQ(birthdateForDisplay(QStringLiteral("1980041 ")), QStringLiteral("04/1/1980"));
}

}  // namespace
}  // namespace tandor
