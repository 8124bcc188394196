#include <gtest/gtest.h>

#include "ListTestSupport.h"
#include "list/ListPrint.h"
#include "platform/ScriptedPlatform.h"

using namespace tandor;

namespace {

const QString kHeaderLine = QStringLiteral(
    "line [col 2] \"Name\" [col 30] \"City\" [col 48] \"ST\" [col 52] \"Zip\" [col 64] \"Home\" "
    "[col 78] "
    "\"Cell\" [col 92] \"Email Address\"");

std::vector<ListEntry> sampleLines() {
    return {{"Ann Lee\tReno            \tNV\t89501     \t                      \t212-555-1212   "
             "\tann@x.com   ",
             1},
            {"pasted without tabs", 0},
            {"A\t\tB", 0}};
}

class ListPrintTest : public ::testing::Test {
protected:
    ScriptedPlatform platform;
    std::vector<ListEntry> lines = sampleLines();
    ListPrintRequest request;

    ListPrintTest() {
        request.lines = &lines;
        request.fileTitle = "Family";
    }
    RecordingSurface& surface() { return *platform.recording(); }
    const QStringList& ops() { return surface().operations(); }
};

}  // namespace

TEST(ListPageEstimate, IsLinesOverFiftyFourPlusOneRoundedHalfToEven) {
    EXPECT_EQ(listPageEstimate(0), 1);
    EXPECT_EQ(listPageEstimate(26), 1);
    EXPECT_EQ(listPageEstimate(27), 2);
    EXPECT_EQ(listPageEstimate(81), 2);
    EXPECT_EQ(listPageEstimate(82), 3);
    EXPECT_EQ(listPageEstimate(100), 3);
}

TEST_F(ListPrintTest, TheWholeListHasTitleFileLineHeaderAndTheColumnsOfEachLine) {
    runListPrintCommand(platform, request);
    ASSERT_EQ(platform.printRequests().size(), 1);
    const PrintDialogRequest& dialog = platform.printRequests()[0];
    EXPECT_EQ(dialog.minPage, 1);
    EXPECT_EQ(dialog.maxPage, 1);
    EXPECT_EQ(dialog.fromPage, 1);
    EXPECT_EQ(dialog.toPage, 1);
    EXPECT_FALSE(dialog.offerSelection);
    EXPECT_FALSE(dialog.disablePrintToFile);
    EXPECT_EQ(ops(),
              QStringList(
                  {"font name Courier New", "font size 10", "italic off", "orientation landscape",
                   "empty", "font size 24", "line [col 18] \"Tandor\"", "font size 10", "empty",
                   "line [col 48] \"File: Family\"", "empty", kHeaderLine,
                   "line [col 2] \"Ann Lee\" [col 30] \"Reno\" [col 48] \"NV\" [col 52] \"89501\" "
                   "[col 64] \"\" [col 78] \"212-555-1212\" [col 92] \"ann@x.com\"",
                   "line [col 2] \"pasted without tabs\"", "line [col 2] \"A\" [col 30] \"\"",
                   "empty", "new page", "end document"}));
    ASSERT_EQ(surface().documents().size(), 1u);
    EXPECT_EQ(surface().documents()[0].pages.size(), 1u);
    EXPECT_EQ(surface().documents()[0].pages[0].orientation, PageOrientation::Landscape);
    EXPECT_TRUE(platform.messages().isEmpty());
}

TEST_F(ListPrintTest, ALongNamePushesTheCityToTheNextLine) {
    lines = {{QString(29, 'N') + "\tReno\tNV\tz\th\tc\te", 1}};
    runListPrintCommand(platform, request);
    ASSERT_EQ(surface().documents().size(), 1u);
    const QStringList grid = RecordingSurface::pageGrid(surface().documents()[0].pages[0]);
    ASSERT_GE(grid.size(), 2);
    EXPECT_EQ(grid[grid.size() - 2], " " + QString(29, 'N'));
    EXPECT_EQ(grid.last().mid(29, 4), "Reno");
    EXPECT_TRUE(grid.last().endsWith(" e"));
    EXPECT_TRUE(platform.messages().isEmpty());
}

// An eighth piece has no report column: the document is abandoned. A line
// whose empty piece ends it before the eighth prints.
TEST_F(ListPrintTest, AnEighthPieceIsAPrinterProblem) {
    lines = {{"a\tb\t\tc\td\te\tf\tg\th", 1}};
    runListPrintCommand(platform, request);
    EXPECT_EQ(surface().documents().size(), 1u);
    EXPECT_TRUE(platform.messages().isEmpty());

    lines = {{"Ann\tReno\tNV\tz\th\tc\te\textra", 1}};
    runListPrintCommand(platform, request);
    EXPECT_EQ(surface().documents().size(), 1u);
    EXPECT_EQ(surface().abandonedDocuments(), 1);
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(platform.messages()[0].title, "Printer error");
    EXPECT_EQ(platform.messages()[0].text, "A printer problem exists.  Check printer.");
}

TEST_F(ListPrintTest, EachCopyIsADocumentOfItsOwn) {
    platform.answerPrint({false, 2, false});
    runListPrintCommand(platform, request);
    ASSERT_EQ(surface().documents().size(), 2u);
    for (const PrintedDocument& doc : surface().documents()) {
        EXPECT_EQ(doc.pages[0].texts.front().text, "Tandor");
        EXPECT_EQ(doc.pages[0].texts[1].text, "File: Family");
    }
}

TEST_F(ListPrintTest, OffersTheSelectionOnlyWhenSomethingIsSelected) {
    request.selectedRows = {2};
    runListPrintCommand(platform, request);
    request.selectedRows.clear();
    request.headerSelectedText = "City";
    runListPrintCommand(platform, request);
    ASSERT_EQ(platform.printRequests().size(), 2);
    for (const PrintDialogRequest& dialog : platform.printRequests()) {
        EXPECT_TRUE(dialog.offerSelection);
        EXPECT_TRUE(dialog.disablePrintToFile);
    }
}

TEST_F(ListPrintTest, ASelectionOfLinesPrintsTheHeaderAndTheLinesAsShownOnce) {
    lines = {{"c\tthree", 3}, {"a\tone", 1}, {"b\ttwo", 2}};
    request.selectedRows = {0, 2};
    platform.answerPrint({false, 3, true});
    runListPrintCommand(platform, request);
    EXPECT_EQ(ops(), QStringList({"font name Courier New", "font size 10", "italic off",
                                  "font name MS Sans Serif", "font size 10", "italic off",
                                  kHeaderLine, "empty", "line \"c\tthree\"", "line \"b\ttwo\"",
                                  "new page", "end document"}));
    EXPECT_EQ(surface().documents().size(), 1u);
}

TEST_F(ListPrintTest, ASelectionInTheHeaderBoxPrintsItsText) {
    request.headerBoxActive = true;
    request.headerSelectedText = "ST     Zip";
    platform.answerPrint({false, 1, true});
    runListPrintCommand(platform, request);
    EXPECT_EQ(ops().mid(3),
              QStringList({"font name Courier New", "font size 10", "italic off", "empty",
                           "line \"ST     Zip\"", "new page", "end document"}));
}

TEST_F(ListPrintTest, CancelEndsSilentlyAndAFailureAbandonsWithThePrinterMessage) {
    platform.answerPrint({true, 1, false});
    runListPrintCommand(platform, request);
    EXPECT_TRUE(ops().isEmpty());
    EXPECT_TRUE(platform.messages().isEmpty());

    surface().failAtOperation(8);
    runListPrintCommand(platform, request);
    EXPECT_EQ(surface().abandonedDocuments(), 1);
    EXPECT_TRUE(surface().documents().empty());
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(platform.messages()[0].text, "A printer problem exists.  Check printer.");
    EXPECT_EQ(platform.messages()[0].title, "Printer error");
    EXPECT_EQ(platform.messages()[0].icon, MessageIcon::Exclamation);
}
