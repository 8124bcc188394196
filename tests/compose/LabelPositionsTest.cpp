#include <gtest/gtest.h>

#include "support/PrintTestSupport.h"

#include "compose/LabelPositions.h"
#include "sheets/PrinterModels.h"

using namespace tandor;

TEST(PositionPadTable, ColumnsAndRowsOfTheThirtyPositions) {
    const int left[3] = {2, 35, 68};
    const int shifted[3] = {3, 36, 69};
    const int top[10] = {3, 10, 16, 23, 30, 36, 43, 50, 56, 63};
    for (int p = 1; p <= 30; ++p) {
        const auto ordinary = labelPads(p, false);
        const auto moved = labelPads(p, true);
        ASSERT_TRUE(ordinary && moved) << p;
        EXPECT_EQ(ordinary->left, left[(p - 1) % 3]) << p;
        EXPECT_EQ(moved->left, shifted[(p - 1) % 3]) << p;
        EXPECT_EQ(ordinary->top, top[(p - 1) / 3]) << p;
        EXPECT_EQ(moved->top, ordinary->top) << p;
    }
    EXPECT_EQ(labelPads(5, false)->left, 35);  // the middle label of row 2
    EXPECT_EQ(labelPads(5, false)->top, 10);
    EXPECT_FALSE(labelPads(0, false));
    EXPECT_FALSE(labelPads(31, false));
    EXPECT_FALSE(labelPads(-5, true));

    CompositionState s;
    s.leftPad = "abc";
    s.topPad = "x";
    writeLabelPads(s, 31, false);  // outside the sheet: the boxes keep their text
    EXPECT_EQ(s.leftPad, "abc");
    writeLabelPads(s, 30, true);
    EXPECT_EQ(s.leftPad, "69");
    EXPECT_EQ(s.topPad, "63");
}

TEST(ShiftedPrinter, DeviceNameContainsAModelCaseSensitively) {
    EXPECT_TRUE(isShiftedPrinter("HP DeskJet 640C/642C/648C Series"));
    EXPECT_TRUE(isShiftedPrinter("\\\\server\\HP Officejet Pro 8600"));
    EXPECT_TRUE(isShiftedPrinter("HP ENVY 6000 series"));
    EXPECT_FALSE(isShiftedPrinter("HP Envy 6000"));
    EXPECT_FALSE(isShiftedPrinter("HP OfficeJet Pro 9010"));
    EXPECT_FALSE(isShiftedPrinter("HP DeskJet 640C"));
    EXPECT_FALSE(isShiftedPrinter(""));
}

namespace {
CompositionState ranged(const QString& text) {
    CompositionState s;
    s.labelPositionText = text;
    s.labelCount = 99;
    s.endPosition = "old";
    return s;
}
}  // namespace

TEST(RangeRule, SplitsByLengthAndCountsTheLabels) {
    struct Case {
        const char* text;
        const char* start;
        const char* end;
        int count;
    };
    const Case cases[] = {
        {"5", "5", "old", 1},    {"5-", "5-", "old", 1},   {"4-9", "4", "9", 6},
        {"1-30", "1", "30", 30}, {"29-30", "29", "30", 2}, {"9-10", "9", "10", 2},
        {"1-2a", "1", "2a", 2},  {"a-5", "a", "5", 6},     {"5-5", "5", "5", 1},
    };
    for (const Case& c : cases) {
        CompositionState s = ranged(c.text);
        EXPECT_TRUE(applyRangeRule(s)) << c.text;
        EXPECT_EQ(s.startPosition, c.start) << c.text;
        EXPECT_EQ(s.endPosition, c.end) << c.text;
        EXPECT_EQ(s.labelCount, c.count) << c.text;
    }
    for (const char* refused : {"9-5", "12-8", "30-5"}) {
        CompositionState s = ranged(refused);
        EXPECT_FALSE(applyRangeRule(s)) << refused;
        EXPECT_EQ(s.labelCount, 99) << refused;
    }
    CompositionState twelve = ranged("12-8");  // start 1, end -8
    applyRangeRule(twelve);
    EXPECT_EQ(twelve.startPosition, "1");
    EXPECT_EQ(twelve.endPosition, "-8");
    CompositionState longer = ranged("1-2-3-4");  // fits no form: nothing set
    EXPECT_TRUE(applyRangeRule(longer));
    EXPECT_EQ(longer.labelCount, 99);
}

TEST(Centring, FifteenLessHalfTheLengthHalfToEven) {
    EXPECT_EQ(centringSpaces(""), 15);
    EXPECT_EQ(centringSpaces("a"), 14);        // 14.5 -> 14
    EXPECT_EQ(centringSpaces("abc"), 14);      // 13.5 -> 14
    EXPECT_EQ(centringSpaces("abcde"), 12);    // 12.5 -> 12
    EXPECT_EQ(centringSpaces("abcdefg"), 12);  // 11.5 -> 12
    EXPECT_EQ(centringSpaces(QString(28, 'x')), 1);
    EXPECT_EQ(centringSpaces(QString(29, 'x')), 0);  // 0.5 -> 0
    EXPECT_EQ(centringSpaces(QString(40, 'x')), 0);
}
