#include <gtest/gtest.h>

#include <algorithm>

#include "list/BulkLabels.h"
#include "compose/LabelPositions.h"
#include "support/PrintTestSupport.h"

using namespace tandor;

TEST(LabelSheets, NamesAndPartNumbersFindTheirSheet) {
    const struct {
        const char* asked;
        const char* found;  // nullptr: none
    } cases[] = {{"5160", "5160"},   {"8160", "5160"},   {"Avery 5161", "5161"},
                 {"l7160", "L7160"}, {"J8160", "L7160"}, {" j8163 ", "L7163"},
                 {"18167", "5167"},  {"7160", nullptr},  {"", nullptr},
                 {"Avery", nullptr}};
    for (const auto& c : cases) {
        const LabelSheet* sheet = findLabelSheet(c.asked);
        if (c.found) {
            ASSERT_TRUE(sheet) << c.asked;
            EXPECT_EQ(sheet->name, c.found) << c.asked;
        } else {
            // None of the built-in sheets (the template library may have one of that name).
            EXPECT_TRUE(!sheet || !sheet->builtIn) << c.asked;
        }
    }
    EXPECT_EQ(addressSheetOr("5167").name, "5160");  // the return-address sheet takes no addresses
    EXPECT_EQ(addressSheetOr("nonsense").name, "5160");
    const QList<const LabelSheet*> sheets = addressSheets();
    EXPECT_EQ(std::count_if(sheets.begin(), sheets.end(), [](const LabelSheet* s) { return s->builtIn; }),
              4);
    EXPECT_EQ(findLabelSheet("L7163")->description(),
              "Avery L7163 / J8163: A4, 14 labels (2 x 7) of 99.1 x 38.1 mm");
    EXPECT_EQ(defaultLabelSheet().description(),
              "Avery 5160 / 8160: Letter, 30 labels (3 x 10) of 1 x 2 5/8 in");
}

// L7163 by both readings: the first label is 4.65 mm or 3.35 mm from the
// left, the second 106.25 mm or 106.35 mm; only the part both agree on counts.
TEST(LabelSheets, TwoReadingsLeaveTheLabelBothAgreeOn) {
    const LabelSheet& s = *findLabelSheet("L7163");
    const QRectF first = s.labelRectIn(1);
    EXPECT_NEAR(first.left() * 25.4, 4.65, 1e-9);
    EXPECT_NEAR(first.right() * 25.4, 3.35 + 99.1, 1e-9);
    const QRectF second = s.labelRectIn(14);
    EXPECT_NEAR(second.left() * 25.4, 3.35 + 103.0, 1e-9);
    EXPECT_NEAR(second.right() * 25.4, 4.65 + 101.6 + 99.1, 1e-9);
    EXPECT_NEAR(second.top() * 25.4, 15.15 + 6 * 38.1, 1e-9);
}

// The prompt and its refusals name the count of the chosen sheet.
TEST(LabelSheets, PositionPromptUsesTheSheetsCount) {
    const struct {
        const char* sheet;
        const char* answer;
        const char* title;  // of the refusal; nullptr: accepted
        const char* text;
    } cases[] = {
        {"L7160", "22", "Maximum is 21", "Label position cannot exceed 21"},
        {"L7160", "1-21", nullptr, nullptr},
        {"L7163", "15", "Maximum is 14", "Label position cannot exceed 14"},
        {"5161", "1-100", "Maximum is 20",
         "No more than 20 labels may be printed.  To print an entire sheet, enter 1-20."},
        {"5160", "31", "Maximum is 30", "Label position cannot exceed 30"},
    };
    for (const auto& c : cases) {
        test::PrintBench b;
        b.state.sheetName = c.sheet;
        b.platform.answerInput(c.answer);
        composition::clickLabel(b.state);
        askLabelPosition(b.state, b.platform);
        const int count = findLabelSheet(c.sheet)->count();
        ASSERT_FALSE(b.platform.inputs().isEmpty());
        EXPECT_TRUE(b.platform.inputs().first().prompt.contains(
            QStringLiteral("[a number between 1 and %1]").arg(count)))
            << c.sheet;
        EXPECT_TRUE(
            b.platform.inputs().first().prompt.endsWith(QStringLiteral("enter 1-%1.").arg(count)))
            << c.sheet;
        if (c.title) {
            ASSERT_FALSE(b.platform.messages().isEmpty()) << c.answer;
            EXPECT_EQ(b.platform.messages().first().title, c.title) << c.answer;
            EXPECT_EQ(b.platform.messages().first().text, c.text) << c.answer;
        } else {
            EXPECT_TRUE(b.platform.messages().isEmpty()) << c.answer;
            EXPECT_EQ(b.state.labelCount, count);
        }
    }
}

// Choosing another sheet with Label stock selected asks for the position again;
// printing then goes to the new sheet's paper and pads.
TEST(LabelSheets, ChangingTheSheetAsksAgainAndPrintsOnItsPaper) {
    test::PrintBench b;
    b.chooseLabel("25");
    b.platform.answerInput("21");
    ASSERT_TRUE(composition::chooseSheet(b.state, "L7160"));
    askLabelPosition(b.state, b.platform);
    ASSERT_EQ(b.platform.inputs().size(), 1);
    EXPECT_EQ(b.state.positionCaption, "Label Position 21");
    const LabelPads pads = *labelPads(21, 0, *findLabelSheet("L7160"));
    EXPECT_EQ(b.state.leftPad, QString::number(pads.left));
    EXPECT_EQ(b.state.topPad, QString::number(pads.top));
    b.print();
    const PrintedPage& page = b.surface().documents().at(0).pages.at(0);
    EXPECT_EQ(page.paper, PaperSize::A4);
    EXPECT_EQ(page.texts.at(0).line, pads.top + 2);
    EXPECT_EQ(page.texts.at(0).column, pads.left);

    EXPECT_FALSE(composition::chooseSheet(b.state, "L7160"));  // the same sheet: nothing asked
    EXPECT_EQ(b.platform.inputs().size(), 1);
}

// Bulk labels on a sheet of 21: rows of three at the rows' TopPads, a new page
// after 21 labels.
TEST(LabelSheets, BulkLabelsFillEachSheetThenStartANewPage) {
    const LabelSheet& sheet = *findLabelSheet("L7160");
    std::vector<ListEntry> lines;
    for (int n = 1; n <= 23; ++n) {
        lines.push_back(ListEntry{QStringLiteral("line %1").arg(n), n});
    }
    RecordingSurface surface;
    printBulkLabelRun(
        surface, lines,
        [](int n) {
            ContactRecord r;
            r.setField(Field::FName, QStringLiteral("F%1").arg(n));
            return r;
        },
        Adjustment{1, 2}, sheet);
    surface.endDocument();
    const auto& pages = surface.documents().at(0).pages;
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].paper, PaperSize::A4);
    int names = 0;
    for (const PlacedText& t : pages[0].texts) {
        if (!t.text.startsWith('F')) {
            continue;
        }
        const int n = t.text.mid(1).trimmed().toInt();
        const int position = n;
        EXPECT_EQ(t.line, sheet.topPad(sheet.rowOf(position)) + 2 + 2) << n;
        EXPECT_EQ(t.column, sheet.leftPad(sheet.columnOf(position)) + 1) << n;
        ++names;
    }
    EXPECT_EQ(names, 21);
    EXPECT_EQ(pages[1].texts.at(0).text, "F22 ");
}
