// What the fuzzing, the fault injection and the random runs found, one case
// each, so that none comes back.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "DiskLimit.h"
#include "contacts/ContactEntry.h"
#include "contacts/LineParser.h"
#include "exchange/ImportRun.h"
#include "platform/AppError.h"
#include "platform/FaultPoint.h"
#include "platform/ScriptedPlatform.h"
#include "sheets/AdjustmentFile.h"
#include "store/ContactsFile.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

namespace tandor {
namespace {

using test::personBytes;

class FindingsTest : public ::testing::Test {
protected:
    void SetUp() override { fault::disarmAll(); }
    void TearDown() override { fault::disarmAll(); }

    QString write(const QList<QByteArray>& records) {
        return folder.write(QStringLiteral("Family.DAT"), test::fileBytes(records));
    }
    static int errorOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const AppError& e) {
            return e.number();
        }
        return 0;
    }

    test::TempFolder folder;
};

// Found by the label-line fuzzer ("Mr.*DELETED* Jm"): a first name that
// begins with the deletion mark was saved as a record marked deleted, and the
// next deletion or opening of the file removed that contact.
TEST_F(FindingsTest, AFirstNameBeginningWithTheDeletionMarkIsNotLost) {
    const QString path = write({personBytes("Al", "One")});
    {
        ContactsFile file;
        file.open(path);
        ContactEntry form;
        ASSERT_TRUE(
            fillFormFromLabelLines({"*DELETED* Smith", "1 Main St", "Reno, NV  89501"}, form));
        ASSERT_FALSE(runSavePass(form, EntryWindow::NewContactForm));
        file.append(buildContactRecord(form, true));

        const QByteArray csv =
            "First Name,MI,Last Name,Street1,Street2,City,State,Zip,Country,Company,"
            "Include Company in Address,Home Phone,Cell Phone,Work Phone,Email,Birthdate,"
            "Category,Notes\r\n*DELETED*x,,Jones,,,,,,,,0,,,,,,,\r\n";
        ASSERT_EQ(importCsv(csv, file).written, 1);
        file.deleteRecord(1);  // compacts the file
    }
    ContactsFile file;
    file.open(path);
    ASSERT_EQ(file.recordCount(), 2);
    EXPECT_EQ(file.read(1).field(Field::FName), QStringLiteral("DELETED*"));
    EXPECT_EQ(file.read(1).field(Field::LName), QStringLiteral("Smith"));
    EXPECT_EQ(file.read(2).field(Field::FName), QStringLiteral("DELETED*x"));
    EXPECT_FALSE(file.read(1).isMarkedDeleted() || file.read(2).isMarkedDeleted());
}

// Found by the full-disk cases: the part of a record that fitted stayed at
// the end of the file, which then counted a record too many or too few.
TEST_F(FindingsTest, AFullDiskLeavesOnlyWholeRecords) {
    const QList<QByteArray> records = {personBytes("Al", "One"), personBytes("Bo", "Two")};
    const QString path = write(records);
    ContactsFile file;
    file.open(path);
    for (const qint64 room : {100, 400}) {
        SCOPED_TRACE(room);
        test::DiskLimit full(2 * 513 + room);
        ASSERT_TRUE(full.effective());
        EXPECT_EQ(errorOf([&] { file.append(ContactRecord::fromBytes(personBytes("Cy", "X"))); }),
                  errors::kDiskFull);
        EXPECT_EQ(test::readAll(path), test::fileBytes(records));
        EXPECT_EQ(file.recordCount(), 2);
    }
    EXPECT_EQ(file.append(ContactRecord::fromBytes(personBytes("Cy", "Three"))), 3);
    EXPECT_EQ(QFile(path).size(), 3 * 513);
}

// Found by the removed-file cases: writes to a file removed since it was
// opened went to no file and were reported as saved; a deletion even made a
// new file of blank records in its place.
TEST_F(FindingsTest, AFileRemovedWhileOpenIsNeitherWrittenNorRemade) {
    const QString path = write({personBytes("Al", "One"), personBytes("Bo", "Two")});
    ContactsFile file;
    file.open(path);
    ASSERT_TRUE(QFile::remove(path));
    const ContactRecord record = ContactRecord::fromBytes(personBytes("Cy", "Three"));
    EXPECT_EQ(errorOf([&] { file.append(record); }), errors::kFileNotFound);
    EXPECT_EQ(errorOf([&] { file.write(1, record); }), errors::kFileNotFound);
    EXPECT_EQ(errorOf([&] { file.writeField(1, Field::BirthdayReminder, "0"); }),
              errors::kFileNotFound);
    bool confirmed = false;
    EXPECT_EQ(errorOf([&] { file.deleteRecord(1, [&] { confirmed = true; }); }),
              errors::kFileNotFound);
    EXPECT_FALSE(confirmed);
    EXPECT_FALSE(QFile::exists(path));
}

// Found by arming two steps of a deletion at once: when the file could not be
// reopened for writing after the mark (it became read-only), the mark could
// not be undone either and stayed at rest, to be compacted away whenever the
// file was next opened for writing.
TEST_F(FindingsTest, AMarkIsUndoneWhenTheFileCannotBeReopenedForWriting) {
    const QList<QByteArray> records = {personBytes("Al", "One"), personBytes("Bo", "Two")};
    const QString path = write(records);
    ContactsFile file;
    file.open(path);
    fault::arm(QStringLiteral("delete.reopen"));
    fault::arm(QStringLiteral("delete.undo.reopen"));
    EXPECT_EQ(errorOf([&] { file.deleteRecord(2); }), errors::kDeviceIo);
    EXPECT_EQ(test::readAll(path), test::fileBytes(records));
    EXPECT_TRUE(file.isOpen());
}

// Found by the full-disk case of the Margins command: the short copy of
// TDRPARAM.TXT replaced the file and the command said "D O N E !".
TEST_F(FindingsTest, AdjustmentsOnAFullDiskStayAsTheyWere) {
    const QString programFolder = folder.withDefaultAdjustments();
    const QString path = folder.file(kAdjustmentFileName);
    const QByteArray before = test::readAll(path);
    {
        test::DiskLimit full(10);
        ASSERT_TRUE(full.effective());
        EXPECT_NE(errorOf([&] { addToAdjustment(programFolder, kOnTheFly, "1", "2"); }), 0);
    }
    EXPECT_EQ(test::readAll(path), before);
    EXPECT_EQ(QDir(programFolder).entryList(QDir::Files | QDir::Hidden),
              QStringList{kAdjustmentFileName});
}

}  // namespace
}  // namespace tandor
