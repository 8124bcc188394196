#include <gtest/gtest.h>

#include <vector>

#include "contacts/BirthdayCheck.h"

using namespace tandor;

namespace {

ContactRecord contact(const QString& first, const QString& last, const QString& birthdate,
                      const QString& reminder = "1") {
    ContactFields f;
    f[Field::FName] = first;
    f[Field::LName] = last;
    f[Field::Birthdate] = birthdate;
    f[Field::BirthdayReminder] = reminder;
    return ContactRecord::build(f);
}

std::optional<QString> announce(const QString& birthdate, const QDate& today,
                                const QString& reminder = "1") {
    return birthdayAnnouncement(contact("Ann", "Lee", birthdate, reminder), today);
}

}  // namespace

TEST(BirthdayCheck, AnnouncesBirthdaysOneToFifteenDaysAhead) {
    const QDate march1(2026, 3, 1);
    EXPECT_EQ(announce("19800310", march1), "Ann Lee has a birthday coming up on 03/10");
    EXPECT_EQ(announce("19800310", march1, "0"), std::nullopt);
    EXPECT_EQ(announce("19800310", march1, " "), std::nullopt);
    EXPECT_EQ(announce("19800301", march1), std::nullopt);  // today
    EXPECT_TRUE(announce("19800302", march1));              // tomorrow
    EXPECT_TRUE(announce("19800316", march1));              // 15 days ahead
    EXPECT_EQ(announce("19800317", march1), std::nullopt);  // 16 days ahead
    EXPECT_EQ(announce("19800228", march1), std::nullopt);  // passed this year
    EXPECT_EQ(announce("", march1), std::nullopt);
    // A birthday without a year (the year 0000) is announced like any other.
    EXPECT_EQ(announce("00000310", march1), "Ann Lee has a birthday coming up on 03/10");
    // Names are trimmed as stored; the year is not shown.
    EXPECT_EQ(birthdayAnnouncement(contact("  Bo", "Li  ", "20011212"), QDate(2026, 12, 1)),
              "Bo Li has a birthday coming up on 12/12");
}

TEST(BirthdayCheck, TheNextOccurrenceCrossesTheYearEnd) {
    EXPECT_EQ(announce("19900103", QDate(2026, 12, 28)),
              "Ann Lee has a birthday coming up on 01/03");
    EXPECT_TRUE(announce("19901231", QDate(2026, 12, 28)));
    EXPECT_TRUE(announce("19900112", QDate(2026, 12, 28)));   // 15 days
    EXPECT_FALSE(announce("19900113", QDate(2026, 12, 28)));  // 16 days
    EXPECT_FALSE(announce("19901227", QDate(2026, 12, 28)));  // next one is a year away
}

TEST(BirthdayCheck, TwentyNinthOfFebruary) {
    // A common year: announced for 28 February, shown as stored.
    EXPECT_EQ(announce("19960229", QDate(2027, 2, 20)),
              "Ann Lee has a birthday coming up on 02/29");
    EXPECT_FALSE(announce("19960229", QDate(2027, 2, 28)));  // "today"
    EXPECT_TRUE(announce("19960229", QDate(2027, 2, 13)));   // 15 days before the 28th
    EXPECT_FALSE(announce("19960229", QDate(2027, 2, 12)));
    // A leap year: the 29th itself.
    EXPECT_TRUE(announce("19960229", QDate(2028, 2, 28)));
    EXPECT_TRUE(announce("19960229", QDate(2028, 2, 14)));
    EXPECT_FALSE(announce("19960229", QDate(2028, 2, 29)));
    // Across the year end into a leap year.
    EXPECT_FALSE(announce("19960229", QDate(2027, 12, 31)));
}

TEST(BirthdayCheck, InvalidDatesAreSkipped) {
    const QDate today(2026, 3, 1);
    for (const char* stored : {"19801310", "19800010", "19800332", "19800230", "19800431",
                               "1980 3 5", "abcdefgh", "198003", "00000000"}) {
        EXPECT_EQ(announce(stored, today), std::nullopt) << stored;
    }
    // Spaces inside are removed before the date is read.
    EXPECT_TRUE(announce("1980 0305", today) == std::nullopt);  // seven characters left
}

TEST(BirthdayCheck, AnnouncementsInRecordOrder) {
    const std::vector<ContactRecord> records = {
        contact("Ann", "Lee", "19800310"), contact("Bob", "Ray", "19800420"),
        contact("Cy", "Do", "19700305"),   contact("Di", "Fu", "19700306", "0"),
        contact("Ed", "Go", "20000314"),
    };
    const RecordReader read = [&records](int n) { return records.at(n - 1); };
    const QStringList expected = {"Ann Lee has a birthday coming up on 03/10",
                                  "Cy Do has a birthday coming up on 03/05",
                                  "Ed Go has a birthday coming up on 03/14"};
    EXPECT_EQ(birthdayAnnouncements(5, read, QDate(2026, 3, 1)), expected);

    // Each announcement is handed on before the next record is read.
    int readSoFar = 0;
    QList<int> readWhenAnnounced;
    QStringList announced;
    forEachBirthdayAnnouncement(
        5,
        [&](int n) {
            readSoFar = n;
            return records.at(n - 1);
        },
        QDate(2026, 3, 1),
        [&](const QString& text) {
            announced.append(text);
            readWhenAnnounced.append(readSoFar);
        });
    EXPECT_EQ(announced, expected);
    EXPECT_EQ(readWhenAnnounced, (QList<int>{1, 3, 5}));
}
