// Birth dates in the forms exports write, and the order of day and month a
// file's dates show.
#include <gtest/gtest.h>

#include "exchange/BirthDates.h"

namespace tandor {
namespace {

TEST(BirthDates, FormsBecomeYearMonthDay) {
    const struct {
        const char* in;
        const char* monthFirst;
        const char* dayFirst;
    } cases[] = {
        {"1980-03-07", "19800307", "19800307"},
        {"1980/3/7", "19800307", "19800307"},
        {"1980-03-07T00:00:00Z", "19800307", "19800307"},
        {" 3/7/1980 0:00:00", "19800307", "19800703"},
        {"03-07-1980", "19800307", "19800703"},
        {"12/25/1980", "19801225", ""},  // no month 25
        {"25/12/1980", "", "19801225"},
        {"24.12.1979", "19791224", "19791224"},  // dots: day first
        {"19800307", "19800307", "19800307"},
        {"1984-02-29", "19840229", "19840229"},
        // No whole day of the calendar, or no year.
        {"1985-02-29", "", ""},
        {"--12-24", "", ""},
        {"12/24", "", ""},
        {"7/4/76", "", ""},
        {"0/0/00", "", ""},
        {"0000-00-00", "", ""},
        {"March 7, 1980", "", ""},
        {"", "", ""},
        {"1980-13-01", "", ""},
        {"99999999999999999999-1-1", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(birthdateFromText(c.in, DateOrder::MonthFirst), c.monthFirst) << c.in;
        EXPECT_EQ(birthdateFromText(c.in, DateOrder::DayFirst), c.dayFirst) << c.in;
    }
}

TEST(BirthDates, OnlyOneSeparatorAndTheDigitCountsOfTheForms) {
    const struct {
        const char* in;
        const char* expected;
    } cases[] = {
        {"1000-01-01", "10000101"},
        {"9999-12-31", "99991231"},
        {"1980-03/07", ""},  // two different separators
        {"1980-03-07-", ""},
        {"1980--03", ""},
        {"-1980-03-07", ""},
        {"1980-003-07", ""},   // a month of three digits
        {"12345-1-1", ""},     // a first number of five digits
        {"1/2/12345", ""},
        {"1980.3.7", "19800307"},     // the year first: year, month, day
        {"1980-3-7\n 5", "19800307"},  // a line break ends the date
    };
    for (const auto& c : cases) {
        EXPECT_EQ(birthdateFromText(c.in, DateOrder::MonthFirst), c.expected) << c.in;
    }
    // Digits of another script are taken as digits, and have no value.
    EXPECT_EQ(birthdateFromText(QString::fromUtf8("\u0661\u0669\u0668\u0660-03-07"),
                                DateOrder::MonthFirst),
              "");
}

TEST(BirthDates, SeparateYearMonthAndDay) {
    EXPECT_EQ(birthdateFromParts("1970", "11", "5"), "19701105");
    EXPECT_EQ(birthdateFromParts(" 2001 ", "02", "28"), "20010228");
    EXPECT_EQ(birthdateFromParts("", "11", "5"), "");  // no year
    EXPECT_EQ(birthdateFromParts("1970", "", "5"), "");
    EXPECT_EQ(birthdateFromParts("1970", "2", "30"), "");
    EXPECT_EQ(birthdateFromParts("70", "11", "5"), "");
    EXPECT_EQ(birthdateFromParts("1970", "Nov", "5"), "");
}

TEST(BirthDates, TheFilesOtherDatesShowTheOrder) {
    const auto orderOf = [](std::initializer_list<const char*> dates) {
        DateOrderEvidence evidence;
        for (const char* date : dates) {
            evidence.see(date);
        }
        return evidence.order();
    };
    EXPECT_EQ(orderOf({}), DateOrder::MonthFirst);
    EXPECT_EQ(orderOf({"3/4/1975", "5/6/1980"}), DateOrder::MonthFirst);
    EXPECT_EQ(orderOf({"3/4/1975", "25/12/1980"}), DateOrder::DayFirst);
    EXPECT_EQ(orderOf({"3/4/1975", "12/25/1980"}), DateOrder::MonthFirst);
    // Dates that contradict each other: the US order.
    EXPECT_EQ(orderOf({"25/12/1980", "12/25/1980"}), DateOrder::MonthFirst);
    // Years first and dotted dates show nothing about slashes.
    EXPECT_EQ(orderOf({"1980-12-25", "25.12.1980", "3/4/1975"}), DateOrder::MonthFirst);
}

}  // namespace
}  // namespace tandor
