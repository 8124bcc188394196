// Counting, reading, writing and appending records, damaged files, failures.
#include <gtest/gtest.h>
#include <QFile>
#include <QRandomGenerator>

#include "StoreTestHelpers.h"
#include "platform/AppError.h"
#include "platform/Numbers.h"
#include "store/ContactsFile.h"
#include "support/ReadOnly.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

namespace tandor {
namespace {

using test::personBytes;

class ContactsFileTest : public test::StoreTest {
protected:
    test::TempFolder folder;

    QString fileOf(int records) {
        QList<QByteArray> list;
        for (int i = 1; i <= records; ++i) {
            list.append(personBytes("P" + QByteArray::number(i), "Last" + QByteArray::number(i)));
        }
        return folder.write("C.DAT", test::fileBytes(list));
    }
};

int errorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

TEST_F(ContactsFileTest, CountIsLengthOver513ToTheNearest) {
    const std::pair<int, int> cases[] = {{0, 0},    {256, 0},  {257, 1},  {513, 1},
                                         {769, 1},  {770, 2},  {1026, 2}, {1282, 2},
                                         {1283, 3}, {1539, 3}, {5130, 10}};
    for (const auto& [length, count] : cases) {
        const QString path = folder.write("L.DAT", QByteArray(length, 'x'));
        ContactsFile file;
        file.open(path);
        EXPECT_EQ(file.recordCount(), count) << length << " bytes";
    }
    // The same as rounding half to even for every length, since 513 is odd.
    QFile f(folder.file("R.DAT"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ContactsFile file;
    for (int length = 0; length <= 3000; length += 7) {
        f.resize(length);
        f.flush();
        file.open(folder.file("R.DAT"));
        ASSERT_EQ(file.recordCount(), roundHalfEven(length / 513.0)) << length;
    }
}

TEST_F(ContactsFileTest, AppendGoesToCountPlusOne) {
    const QString path = fileOf(2);  // 1026 bytes
    const QByteArray before = test::readAll(path);
    ContactsFile file;
    file.open(path);
    const QByteArray third = personBytes("Cy", "Third");
    EXPECT_EQ(file.append(ContactRecord::fromBytes(third)), 3);
    EXPECT_EQ(file.recordCount(), 3);
    const QByteArray after = test::readAll(path);
    ASSERT_EQ(after.size(), 1539);
    EXPECT_EQ(after.left(1026), before);
    EXPECT_EQ(after.mid(1026), third);
}

TEST_F(ContactsFileTest, DamagedLengths) {
    // 1283 bytes: 3 records, the third only partly there and padded with blanks.
    QByteArray bytes = test::fileBytes({personBytes("Ann", "A"), personBytes("Bob", "B")}) +
                       personBytes("Cy", "C").left(257);
    QString path = folder.write("D.DAT", bytes);
    ContactsFile file;
    file.open(path);
    ASSERT_EQ(file.recordCount(), 3);
    EXPECT_EQ(file.read(3).bytes(), personBytes("Cy", "C").left(257) + QByteArray(256, ' '));
    EXPECT_EQ(file.read(3).field(Field::FName), QStringLiteral("Cy"));
    EXPECT_EQ(file.append(ContactRecord::fromBytes(personBytes("Di", "D"))), 4);
    EXPECT_EQ(QFileInfo(path).size(), 4 * 513);

    // 1282 bytes: 2 records; the next one overwrites the fragment.
    path = folder.write("E.DAT", bytes.left(1282));
    file.open(path);
    ASSERT_EQ(file.recordCount(), 2);
    EXPECT_EQ(file.append(ContactRecord::fromBytes(personBytes("Di", "D"))), 3);
    EXPECT_EQ(test::readAll(path).mid(1026), personBytes("Di", "D"));
}

TEST_F(ContactsFileTest, ReadingNeverFailsOnGarbage) {
    QByteArray garbage(5000, '\0');
    for (char& c : garbage) {
        c = static_cast<char>(QRandomGenerator::global()->bounded(256));
    }
    for (int at = 0; at < garbage.size(); at += 513) {
        garbage[at] = '\0';  // no record looks marked for deletion
    }
    const QString path = folder.write("G.DAT", garbage);
    ContactsFile file;
    file.open(path);
    ASSERT_EQ(file.recordCount(), 10);
    for (int n = 1; n <= 12; ++n) {
        const ContactRecord record = file.read(n);
        EXPECT_EQ(record.bytes().size(), 513);
        for (const FieldLayout& f : recordLayout()) {
            EXPECT_LE(record.rawField(f.field).size(), f.width);
        }
    }
    EXPECT_EQ(file.read(1).bytes(), garbage.left(513));
    EXPECT_EQ(file.read(10).bytes(), garbage.mid(9 * 513) + QByteArray(130, ' '));
    EXPECT_EQ(file.read(11), ContactRecord());
    EXPECT_EQ(test::readAll(path), garbage);
}

TEST_F(ContactsFileTest, WriteOverwritesOneRecordInPlace) {
    const QString path = fileOf(3);
    const QByteArray before = test::readAll(path);
    ContactsFile file;
    file.open(path);
    ContactRecord record = file.read(2);
    record.setField(Field::LName, QStringLiteral("Changed"));
    file.write(2, record);
    EXPECT_EQ(file.read(2).field(Field::LName), QStringLiteral("Changed"));
    const QByteArray after = test::readAll(path);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.left(513), before.left(513));
    EXPECT_EQ(after.mid(1026), before.mid(1026));

    // Outside 1..count + 1 is refused and changes nothing.
    EXPECT_EQ(errorNumberOf([&] { file.write(0, record); }), 63);
    EXPECT_EQ(errorNumberOf([&] { file.write(5, record); }), 63);
    EXPECT_EQ(errorNumberOf([&] { file.read(0); }), 63);
    EXPECT_EQ(test::readAll(path), after);
}

TEST_F(ContactsFileTest, OpeningClosingAndRefusals) {
    ContactsFile file;
    EXPECT_NO_THROW(file.close());
    EXPECT_EQ(errorNumberOf([&] { file.recordCount(); }), 52);
    EXPECT_EQ(errorNumberOf([&] { file.read(1); }), 52);
    EXPECT_EQ(errorNumberOf([&] { file.append(ContactRecord()); }), 52);

    // A missing file is created empty.
    file.open(folder.file("NEW.DAT"));
    EXPECT_TRUE(QFileInfo::exists(folder.file("NEW.DAT")));
    EXPECT_EQ(file.recordCount(), 0);
    EXPECT_FALSE(remindersOnInFile(file));
    file.close();
    EXPECT_NO_THROW(file.close());
    EXPECT_FALSE(file.isOpen());

    EXPECT_EQ(errorNumberOf([&] { file.open(folder.file("no/such/folder/X.DAT")); }), 76);
    EXPECT_EQ(errorNumberOf([&] { file.open(folder.path()); }), 75);
    EXPECT_EQ(errorNumberOf([&] { file.open(QString()); }), 52);
    EXPECT_EQ(errorNumberOf([&] { file.openExisting(folder.file("MISSING.DAT")); }), 53);
    EXPECT_FALSE(QFileInfo::exists(folder.file("MISSING.DAT")));
    EXPECT_FALSE(file.isOpen());
}

TEST_F(ContactsFileTest, ReadOnlyFileCanBeReadButNotChanged) {
    const QString path = fileOf(3);
    const QByteArray before = test::readAll(path);
    test::ReadOnly readOnly(path);
    if (!readOnly.effective()) {
        GTEST_SKIP() << "this file system does not refuse writing here";
    }
    ContactsFile file;
    file.open(path);
    EXPECT_FALSE(file.isWritable());
    EXPECT_EQ(file.recordCount(), 3);
    EXPECT_EQ(file.read(3).field(Field::FName), QStringLiteral("P3"));
    EXPECT_EQ(errorNumberOf([&] { file.append(ContactRecord()); }), 70);
    EXPECT_EQ(errorNumberOf([&] { file.write(1, ContactRecord()); }), 70);
    EXPECT_EQ(errorNumberOf([&] { file.deleteRecord(2); }), 70);
    EXPECT_EQ(test::readAll(path), before);
}

TEST_F(ContactsFileTest, FailedAppendLeavesTheFileAsItWas) {
    const QString path = fileOf(2);
    const QByteArray before = test::readAll(path);
    ContactsFile file;
    file.open(path);
    fault::startRecording();
    file.append(ContactRecord::fromBytes(personBytes("Cy", "C")));
    const QStringList steps = fault::recordedHits();
    ASSERT_FALSE(steps.isEmpty());
    for (const QString& step : steps) {
        fault::disarmAll();
        file.close();
        folder.write("C.DAT", before);
        file.open(path);
        fault::arm(step);
        EXPECT_EQ(errorNumberOf([&] { file.append(ContactRecord()); }), 57) << step.toStdString();
        EXPECT_EQ(test::readAll(path), before) << step.toStdString();
        EXPECT_EQ(file.append(ContactRecord::fromBytes(personBytes("Cy", "C"))), 3);
    }
}

}  // namespace
}  // namespace tandor
