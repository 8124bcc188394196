#include <gtest/gtest.h>

#include "platform/AppError.h"
#include "platform/Numbers.h"

using namespace tandor;

TEST(LeadingNumber, ReadsTheNumberItsLeadingCharactersSpell) {
    EXPECT_EQ(leadingNumber(u"12abc"), 12);
    EXPECT_EQ(leadingNumber(u"abc"), 0);
    EXPECT_EQ(leadingNumber(u""), 0);
    EXPECT_EQ(leadingNumber(u"   7"), 7);
    EXPECT_EQ(leadingNumber(u"5-"), 5);
    EXPECT_EQ(leadingNumber(u"-5"), -5);
    EXPECT_EQ(leadingNumber(u"+3x"), 3);
    EXPECT_DOUBLE_EQ(leadingNumber(u"1.5"), 1.5);
    EXPECT_DOUBLE_EQ(leadingNumber(u".25"), 0.25);
    EXPECT_EQ(leadingNumber(u"-"), 0);
    EXPECT_EQ(leadingNumber(u"12-8"), 12);
    EXPECT_EQ(leadingNumber(u"1 2"), 1);
}

TEST(RoundHalfEven, ExactHalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(12.5), 12);
    EXPECT_EQ(roundHalfEven(11.5), 12);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(2.5001), 3);
}

TEST(ToInt16, RoundsAndOverflowsOutsideTheRange) {
    EXPECT_EQ(toInt16(32767), 32767);
    EXPECT_EQ(toInt16(-32768), -32768);
    EXPECT_EQ(toInt16(1.5), 2);
    try {
        toInt16(40000);
        FAIL() << "no overflow";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_THROW(toInt16(-32769), AppError);
}

TEST(ReadsAsNumber, AcceptsSignDigitsOnePointAndBlanks) {
    EXPECT_TRUE(readsAsNumber(u"12"));
    EXPECT_TRUE(readsAsNumber(u" -1 "));
    EXPECT_TRUE(readsAsNumber(u"+1.5"));
    EXPECT_TRUE(readsAsNumber(u"1."));
    EXPECT_TRUE(readsAsNumber(u".5"));
    EXPECT_FALSE(readsAsNumber(u""));
    EXPECT_FALSE(readsAsNumber(u"   "));
    EXPECT_FALSE(readsAsNumber(u"abc"));
    EXPECT_FALSE(readsAsNumber(u"1.2.3"));
    EXPECT_FALSE(readsAsNumber(u"-"));
    EXPECT_FALSE(readsAsNumber(u"12x4"));
    EXPECT_FALSE(readsAsNumber(u"1 2"));
}

TEST(ShortestDecimal, WritesWholeAndFractionalSums) {
    EXPECT_EQ(shortestDecimal(-2), QStringLiteral("-2"));
    EXPECT_EQ(shortestDecimal(198), QStringLiteral("198"));
    EXPECT_EQ(shortestDecimal(1.5), QStringLiteral("1.5"));
    EXPECT_EQ(shortestDecimal(0), QStringLiteral("0"));
}

TEST(StandardError, BuildsTheMessageWithItsTwoEndings) {
    EXPECT_EQ(standardErrorText(53, QStringLiteral("File not found")),
              QStringLiteral("An error has occurred. Error number 53 -- File not found.  Try again, or notify author."));
    EXPECT_EQ(standardErrorText(AppError(75, QStringLiteral("Path/File access error")), NotifyWhom::Product),
              QStringLiteral("An error has occurred. Error number 75 -- Path/File access error.  Try again, or notify Tandor."));
}
