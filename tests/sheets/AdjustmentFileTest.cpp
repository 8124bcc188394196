#include <gtest/gtest.h>

#include "support/PrintTestSupport.h"

#include "platform/AppError.h"
#include "sheets/AdjustmentFile.h"
#include "support/TestFiles.h"

using namespace tandor;
using test::readAll;
using test::slot;
using test::TempFolder;

TEST(AdjustmentFile, DefaultFileIsTheSuppliedOneAndReadsZero) {
    EXPECT_EQ(defaultAdjustmentFile(), readAll(test::sourcePath("data/TDRPARAM.TXT")));
    TempFolder folder;
    const QString dir = folder.withDefaultAdjustments();
    for (const QString& name : {kOnTheFly, kEnvelope, kBulkList}) {
        const Adjustment a = readAdjustment(dir, name);
        EXPECT_EQ(a.left, 0);
        EXPECT_EQ(a.top, 0);
    }
}

TEST(AdjustmentFile, RecordsAreFoundByExactNameAndTheLastOneWins) {
    const QByteArray bytes = slot("ONTHEFLY", "-1", "2") + slot("ENVELOPE", "5", "6") +
                             slot("ONTHEFLY", "7", "-8") + slot("onthefly", "9", "9") +
                             slot("BULK", "3", "3");
    EXPECT_EQ(adjustmentIn(bytes, kOnTheFly).left, 7);
    EXPECT_EQ(adjustmentIn(bytes, kOnTheFly).top, -8);
    EXPECT_EQ(adjustmentIn(bytes, kEnvelope).left, 5);
    EXPECT_EQ(adjustmentIn(bytes, kBulkList).left, 0);  // "BULK" is another name
    EXPECT_EQ(adjustmentIn(slot(" ONTHEFL", "4", "4"), kOnTheFly).left, 0);
}

TEST(AdjustmentFile, FieldsReadAsWholeNumbersHalfToEven) {
    EXPECT_EQ(adjustmentIn(slot("ONTHEFLY", "1.5", "2.5"), kOnTheFly).left, 2);
    EXPECT_EQ(adjustmentIn(slot("ONTHEFLY", "1.5", "2.5"), kOnTheFly).top, 2);
    EXPECT_EQ(adjustmentIn(slot("ONTHEFLY", " 7", "-.5"), kOnTheFly).left, 7);
    EXPECT_EQ(adjustmentIn(slot("ONTHEFLY", " 7", "-.5"), kOnTheFly).top, 0);
    EXPECT_EQ(adjustmentIn(slot("ONTHEFLY", "+3", "999"), kOnTheFly).top, 999);
}

TEST(AdjustmentFile, AFieldThatIsNotANumberFailsOnlyForItsOwnPath) {
    for (const char* bad : {"   ", "abc", "1a", "--1"}) {
        const QByteArray bytes = slot("ONTHEFLY", "0", bad) + slot("ENVELOPE", "4", "0");
        EXPECT_THROW(adjustmentIn(bytes, kOnTheFly), AppError) << bad;
        EXPECT_EQ(adjustmentIn(bytes, kEnvelope).left, 4);
    }
}

TEST(AdjustmentFile, RecordCountIsTheLengthOver18HalfToEven) {
    const QByteArray two = slot("ENVELOPE", "1", "1") + slot("ONTHEFLY", "2", "2");
    // 27 bytes: 1.5 slots round to 2, the short second slot reads with blanks -> not a number.
    EXPECT_THROW(adjustmentIn(slot("ENVELOPE", "1", "1") + "ONTHEFLY ", kOnTheFly), AppError);
    // 45 bytes: 2.5 slots round to 2, the half slot is not read.
    EXPECT_EQ(adjustmentIn(two + "ONTHEFLY ", kOnTheFly).left, 2);
    // 26 bytes: 1.44 -> 1.
    EXPECT_EQ(adjustmentIn(slot("ENVELOPE", "1", "1") + "ONTHEFLY", kOnTheFly).left, 0);
    // A 16-byte file is one record without its trailing bytes.
    EXPECT_EQ(adjustmentIn(slot("ONTHEFLY", "3", "4", " ", ""), kOnTheFly).top, 4);
}

// An answer is taken when it is empty or a number of at most three
// characters; a longer one is too high before it is looked at, any other is
// refused with its question's own text.
TEST(AdjustmentFile, AMarginsAnswerIsTakenOrRefusedWithItsReason) {
    const MarginsEntryQuestion left = marginsQuestions(MarginsKind::OnTheFly).left;
    ASSERT_FALSE(left.notNumber.isEmpty());
    const struct {
        const char* entry;
        const char* refusal;  // nullptr: taken; "" : the question's own text
    } cases[] = {
        {"", nullptr},        {"5", nullptr},       {"-12", nullptr},    {"999", nullptr},
        {"1000", "Number too high."}, {"abcd", "Number too high."}, {"abc", ""},
        {"1a", ""},
    };
    for (const auto& c : cases) {
        const std::optional<QString> refusal = marginsEntryRefusal(QString::fromLatin1(c.entry), left);
        if (!c.refusal) {
            EXPECT_FALSE(refusal) << c.entry;
        } else {
            ASSERT_TRUE(refusal) << c.entry;
            EXPECT_EQ(*refusal, *c.refusal ? QString::fromLatin1(c.refusal) : left.notNumber) << c.entry;
        }
    }
}
