// Switching birthday reminders rewrites byte 510 of every record and nothing else.
#include <gtest/gtest.h>
#include <QFileInfo>

#include "StoreTestHelpers.h"
#include "platform/AppError.h"
#include "store/ContactsDocument.h"
#include "store/ReminderSwitch.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

namespace tandor {
namespace {

using test::personBytes;

class ReminderSwitchTest : public test::StoreTest {
protected:
    test::TempFolder folder;
};

QByteArray withReminder(QByteArray bytes, char value) {
    for (qsizetype at = 510; at < bytes.size(); at += 513) {
        bytes[at] = value;
    }
    return bytes;
}

TEST_F(ReminderSwitchTest, RewritesByte510OfEveryRecord) {
    const QByteArray before = test::fileBytes(
        {personBytes("A", "A", '0'), personBytes("B", "B", '1'), personBytes("C", "C", ' '),
         personBytes("D", "D", '0'), personBytes("E", "E", 'x')});
    const QString path = folder.write("F.DAT", before);
    ContactsFile file;
    file.open(path);
    EXPECT_FALSE(remindersOnInFile(file));

    setRemindersInFile(file, true);
    EXPECT_EQ(test::readAll(path), withReminder(before, '1'));
    EXPECT_TRUE(remindersOnInFile(file));

    setRemindersInFile(file, false);
    EXPECT_EQ(test::readAll(path), withReminder(before, '0'));
    EXPECT_FALSE(remindersOnInFile(file));
}

TEST_F(ReminderSwitchTest, PartialLastRecordKeepsTheFileLength) {
    const QByteArray whole =
        test::fileBytes({personBytes("A", "A", '0'), personBytes("B", "B", '0')});
    QByteArray before = whole + personBytes("C", "C", '0').left(300);  // count 3
    const QString path = folder.write("F.DAT", before);
    ContactsFile file;
    file.open(path);
    ASSERT_EQ(file.recordCount(), 3);
    setRemindersInFile(file, true);
    const QByteArray after = test::readAll(path);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after.left(1026), withReminder(whole, '1'));
    EXPECT_EQ(after.mid(1026), before.mid(1026));
}

TEST_F(ReminderSwitchTest, FailurePartWayKeepsTheFileSettingAndRepeatingFinishes) {
    QList<QByteArray> records;
    for (int i = 0; i < 5; ++i) {
        records.append(personBytes("P", QByteArray::number(i), '1'));
    }
    const QByteArray before = test::fileBytes(records);
    const QString path = folder.write("F.DAT", before);
    ContactsFile file;
    file.open(path);
    const int lengthBefore = static_cast<int>(QFileInfo(path).size());
    fault::arm("reminders.record", 2);
    EXPECT_THROW(setRemindersInFile(file, false), AppError);
    EXPECT_TRUE(remindersOnInFile(file));  // record 1 still says on
    EXPECT_EQ(QFileInfo(path).size(), lengthBefore);
    setRemindersInFile(file, false);
    EXPECT_EQ(test::readAll(path), withReminder(before, '0'));
}

TEST_F(ReminderSwitchTest, TheSwitchSaysWhatToTellTheUserAndSetsTheReminders) {
    const QString path = folder.write(
        "F.DAT", test::fileBytes({personBytes("A", "A", '0'), personBytes("B", "B", '0')}));
    ContactsDocument session(folder.path());
    session.openChosen(FileChoice::Open, path);
    EXPECT_EQ(session.reminders(), Reminders::Off);

    EXPECT_EQ(
        session.switchReminders(true),
        (DocumentNotice{"Birthday Reminders have been turned on.", "Birthday reminders enabled"}));
    EXPECT_EQ(session.reminders(), Reminders::On);
    EXPECT_EQ(test::readAll(path).at(510 + 513), '1');

    EXPECT_EQ(session.switchReminders(false),
              (DocumentNotice{"Birthday Reminders have been turned off.",
                              "Birthday reminders disabled"}));
    EXPECT_EQ(session.reminders(), Reminders::Off);
    EXPECT_EQ(test::readAll(path).at(510), '0');

    // A failure leaves the reminders as they were.
    fault::arm("reminders.record");
    EXPECT_THROW(session.switchReminders(true), AppError);
    EXPECT_EQ(session.reminders(), Reminders::Off);
}

}  // namespace
}  // namespace tandor
