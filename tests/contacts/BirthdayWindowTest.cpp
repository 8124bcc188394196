#include "ContactWindowFixture.h"

using namespace tandor;
using namespace tandor::test;

namespace {

using BirthdayWindowTest = ContactWindowTest;

QByteArray born(const QByteArray& first, const QByteArray& last, const QByteArray& date,
                const QByteArray& reminder = "1") {
    return contact(
        {{"FName", first}, {"LName", last}, {"Birthdate", date}, {"BirthdayReminder", reminder}});
}

}  // namespace

TEST_F(BirthdayWindowTest, FileOpenAnnouncesComingBirthdaysInRecordOrder) {
    platform.setToday(QDate(2024, 3, 1));
    openFile({born("Ann", "Lee", "19800310"), born("Bob", "Ray", "19800317"),
              born("Cy", "Do", "19700302"), born("Di", "Fox", "        "),
              born("Ed", "Gee", "19900301")});
    ASSERT_EQ(platform.messages().size(), 2);
    EXPECT_EQ(messageTexts(), QStringList({"Ann Lee has a birthday coming up on 03/10",
                                           "Cy Do has a birthday coming up on 03/02"}));
    for (const RecordedMessage& m : platform.messages()) {
        EXPECT_EQ(m.title, QStringLiteral("Birthday reminder"));
        EXPECT_EQ(m.icon, MessageIcon::Information);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
    }
    // The birthday items were set before the check ran; File New runs no check.
    EXPECT_TRUE(mainChild<QAction>("mnuFileBdayOff")->isEnabled());
    platform.clearRecords();
    platform.answerOpenFile(path);
    trigger("mnuFileNew");
    EXPECT_TRUE(platform.messages().isEmpty());
}

TEST_F(BirthdayWindowTest, TheYearEndAndRemindersSwitchedOff) {
    platform.setToday(QDate(2024, 12, 28));
    openFile({born("Ann", "Lee", "19800103"), born("Bob", "Ray", "19801227")});
    EXPECT_EQ(messageTexts(), QStringList({"Ann Lee has a birthday coming up on 01/03"}));

    platform.clearRecords();
    openFile({born("Ann", "Lee", "19800103", "0"), born("Bob", "Ray", "19801230", "0")});
    EXPECT_TRUE(platform.messages().isEmpty());
    // An empty file: no check, both items disabled.
    openFile({});
    EXPECT_TRUE(platform.messages().isEmpty());
    EXPECT_FALSE(mainChild<QAction>("mnuFileBdayOn")->isEnabled());
    EXPECT_FALSE(mainChild<QAction>("mnuFileBdayOff")->isEnabled());
}

TEST_F(BirthdayWindowTest, EnableAndDisableRewriteEveryRecordAndTheMenus) {
    QList<QByteArray> off;
    for (const char* name : {"Al", "Bo", "Cy", "Di", "Ed"}) {
        off << born(name, "Lee", "", "0");
    }
    openFile(off);
    auto* on = mainChild<QAction>("mnuFileBdayOn");
    auto* offItem = mainChild<QAction>("mnuFileBdayOff");
    EXPECT_TRUE(on->isEnabled());
    EXPECT_FALSE(offItem->isEnabled());

    on->trigger();
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(platform.messages()[0].text,
              QStringLiteral("Birthday Reminders have been turned on."));
    EXPECT_EQ(platform.messages()[0].title, QStringLiteral("Birthday reminders enabled"));
    EXPECT_EQ(platform.messages()[0].icon, MessageIcon::Information);
    QByteArray expected = fileBytes(off);
    for (int n = 0; n < 5; ++n) {
        expected[513 * n + 510] = '1';
    }
    EXPECT_EQ(fileNow(), expected);
    EXPECT_FALSE(on->isEnabled());
    EXPECT_TRUE(offItem->isEnabled());

    offItem->trigger();
    EXPECT_EQ(platform.messages().last().text,
              QStringLiteral("Birthday Reminders have been turned off."));
    EXPECT_EQ(platform.messages().last().title, QStringLiteral("Birthday reminders disabled"));
    EXPECT_EQ(fileNow(), fileBytes(off));
    EXPECT_TRUE(on->isEnabled());
    EXPECT_FALSE(offItem->isEnabled());

    // A contact saved now takes the file's setting.
    click("cmdAddContact");
    QWidget* form = window("frmNewContact");
    ASSERT_NE(form, nullptr);
    box(form, "txtACLName")->setText("New");
    child<QPushButton>(form, "cmdSave")->click();
    EXPECT_EQ(recordNow(6).at(510), '0');
}

TEST_F(BirthdayWindowTest, AFailedSwitchCanBeRetriedOrLeftAsItWas) {
    openFile({born("Al", "Lee", "", "0"), born("Bo", "Lee", "", "0")});
    auto* on = mainChild<QAction>("mnuFileBdayOn");

    fault::arm(QStringLiteral("reminders.record"));
    platform.answerMessage(MessageAnswer::Cancel);
    on->trigger();
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(platform.messages()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(platform.messages()[0].buttons, MessageButtons::RetryCancel);
    // The file stays current with its setting as it was.
    EXPECT_TRUE(session.hasFile());
    EXPECT_TRUE(on->isEnabled());
    EXPECT_EQ(recordNow(1).at(510), '0');

    fault::arm(QStringLiteral("reminders.record"));
    platform.answerMessage(MessageAnswer::Retry);
    on->trigger();
    EXPECT_EQ(platform.messages().last().text,
              QStringLiteral("Birthday Reminders have been turned on."));
    EXPECT_EQ(recordNow(1).at(510), '1');
    EXPECT_EQ(recordNow(2).at(510), '1');
    EXPECT_FALSE(on->isEnabled());
}
