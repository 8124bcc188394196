// What the user typed reaches the file whole: control characters become
// spaces, upper case never loses a character, lengths count characters, and a
// new record never leaves a hole after a partial last record.
#include <gtest/gtest.h>

#include "StoreTestHelpers.h"
#include "contacts/ContactEntry.h"
#include "store/ContactsFile.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

namespace tandor {
namespace {

ContactEntry entryNamed(const QString& first, const QString& last) {
    ContactEntry e;
    e.fName = first;
    e.lName = last;
    return e;
}

TEST(KeptAsGiven, ControlCharactersBecomeSpacesBeforeTheLimits) {
    struct Case {
        EntryBox box;
        QString typed;
        QString saved;
    };
    const QString tab = QStringLiteral("\t");
    const std::vector<Case> cases = {
        {EntryBox::LName, "In" + tab + "Name", "In Name"},
        {EntryBox::FName, "Ann\r\nMarie", "Ann  Marie"},
        // 16 characters once the line feed is a space: still within the limit.
        {EntryBox::City, "San\nFrancisco 12", "San Francisco 12"},
        {EntryBox::Notes, "a" + QString(QChar(1)) + "b" + QChar(0x7f) + "c" + QChar(0x85) + "d",
         "a b c d"},
        {EntryBox::Email, "ann@x.com" + tab, nullptr},  // the space the tab became is refused
    };
    for (const EntryWindow window : {EntryWindow::NewContactForm, EntryWindow::Browser}) {
        for (const Case& c : cases) {
            ContactEntry e = entryNamed("Ann", "Lee");
            e.text(c.box) = c.typed;
            const std::optional<FieldRefusal> refusal = runSavePass(e, window);
            if (c.saved.isNull()) {
                ASSERT_TRUE(refusal) << c.typed.toStdString();
                EXPECT_EQ(refusal->text, "Email address cannot contain a space.");
                continue;
            }
            ASSERT_FALSE(refusal) << c.typed.toStdString() << ": " << refusal->text.toStdString();
            EXPECT_EQ(e.text(c.box), c.saved);
            const ContactRecord record = buildContactRecord(e, true);
            EXPECT_FALSE(record.bytes().contains('\t') || record.bytes().left(511).contains('\n'));
        }
    }
}

TEST(KeptAsGiven, StoredControlCharactersReadAsSpaces) {
    QByteArray bytes = test::recordBytes({{"FName", "Ann\r"},
                                          {"LName", "In\tName"},
                                          {"City", "Reno\n"},
                                          {"Notes",
                                           "a\x1f"
                                           "b"}});
    const ContactRecord record = ContactRecord::fromBytes(bytes);
    EXPECT_EQ(record.field(Field::FName), "Ann");
    EXPECT_EQ(record.field(Field::LName), "In Name");
    EXPECT_EQ(record.rawField(Field::City), "Reno" + QString(12, ' '));
    EXPECT_EQ(record.field(Field::Notes), "a b");
    EXPECT_EQ(entryFromRecord(record).lName, "In Name");
}

TEST(KeptAsGiven, UpperCaseKeepsCharactersWithoutASingleUpperCaseInTheCodePage) {
    struct Case {
        QString initial, state, country;
        QByteArray initialByte, stateBytes, countryBytes;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("\u00b5"), "ca", QString(19, QChar(0xdf)), "\xb5", "CA",
         QByteArray(19, '\xdf')},
        {QStringLiteral("\u00e9"), QStringLiteral("\u00ff\u00e0"), QStringLiteral("\u0161a\u0153"),
         "\xc9", "\x9f\xc0",
         "\x8a"
         "A\x8c"},
        // No upper case at all, or one outside the code page: kept as typed.
        {"1", QStringLiteral("\u0149x"), QStringLiteral("\u0149 \u00df"), "1", "?X", "? \xdf"},
    };
    for (const Case& c : cases) {
        ContactEntry e = entryNamed("Ann", "Lee");
        e.middleInit = c.initial;
        e.state = c.state;
        e.country = c.country;
        ASSERT_FALSE(runSavePass(e, EntryWindow::NewContactForm)) << c.country.toStdString();
        const QByteArray bytes = buildContactRecord(e, true).bytes();
        EXPECT_EQ(bytes.mid(12, 1), c.initialByte);
        EXPECT_EQ(bytes.mid(95, 2), c.stateBytes);
        EXPECT_EQ(bytes.mid(109, 19).trimmed(), c.countryBytes);
    }
}

TEST(KeptAsGiven, LimitsCountCharactersNotCodeUnits) {
    const QString smile = QStringLiteral("\U0001F600");
    ContactEntry e = entryNamed("Ann" + smile + "1234567", QString(15, 'x') + smile);
    e.middleInit = smile;
    e.state = smile + "x";
    ASSERT_FALSE(runSavePass(e, EntryWindow::NewContactForm));
    const ContactRecord record = buildContactRecord(e, true);
    EXPECT_EQ(record.field(Field::FName), "Ann?1234567");
    EXPECT_EQ(record.field(Field::LName), QString(15, 'x') + "?");

    ContactEntry tooLong = entryNamed("Ann" + smile + "12345678", "Lee");
    ASSERT_TRUE(runSavePass(tooLong, EntryWindow::NewContactForm));
    ContactEntry twoInitials = entryNamed("Ann", "Lee");
    twoInitials.middleInit = smile + smile;
    EXPECT_EQ(runSavePass(twoInitials, EntryWindow::Browser)->focus, EntryBox::MiddleInit);
}

class PartialRecordTest : public test::StoreTest {
protected:
    test::TempFolder folder;
};

TEST_F(PartialRecordTest, AppendingPadsAPartialLastRecordWithItsBlanksAndSeparators) {
    const QByteArray first = test::personBytes("Ann", "Lee");
    const QByteArray second = test::personBytes("Bob", "Ray");
    for (const int kept : {300, 257, 512}) {
        SCOPED_TRACE(kept);
        const QString path = folder.write("D.DAT", first + second.left(kept));
        ContactsFile file;
        file.open(path);
        ASSERT_EQ(file.recordCount(), 2);
        const ContactRecord before = file.read(2);
        const QByteArray third = test::personBytes("Cy", "Day");
        EXPECT_EQ(file.append(ContactRecord::fromBytes(third)), 3);

        const QByteArray after = test::readAll(path);
        ASSERT_EQ(after.size(), 3 * 513);
        EXPECT_FALSE(after.contains('\0'));
        EXPECT_EQ(after.mid(513, kept), second.left(kept));
        EXPECT_EQ(after.mid(513 + kept, 513 - kept), ContactRecord().bytes().mid(kept));
        EXPECT_EQ(after.mid(1026), third);
        EXPECT_EQ(file.read(2).fields(), before.fields());
    }
}

}  // namespace
}  // namespace tandor
