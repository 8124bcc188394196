#include <gtest/gtest.h>

#include "platform/AppError.h"
#include "platform/PrintGrid.h"
#include "platform/RecordingSurface.h"

using namespace tandor;

namespace {

const PlacedText& onlyText(const RecordingSurface& s, std::size_t doc = 0, std::size_t page = 0) {
    return s.documents().at(doc).pages.at(page).texts.at(0);
}

}  // namespace

TEST(GridSurface, MovesToColumnsAndCountsLinesFromTheTop) {
    RecordingSurface s;
    s.setFontSize(10);
    s.printEmptyLine();
    s.printEmptyLines(2);
    s.printAt(5, QStringLiteral("abc"));
    s.endDocument();
    const PlacedText& t = onlyText(s);
    EXPECT_EQ(t.line, 4);
    EXPECT_EQ(t.column, 5);
    EXPECT_DOUBLE_EQ(t.xPt, 4 * 6.0);
    EXPECT_NEAR(t.yPt, 3 * 10 * printgrid::kLinePitchPerPoint, 1e-9);
}

TEST(GridSurface, ColumnBelowOneCountsAsOneAndSpacesBelowOnePrintNothing) {
    RecordingSurface s;
    s.printLine({PrintItem::column(-3), PrintItem::spaces(0), PrintItem::spaces(-2), PrintItem::textItem("x")});
    s.printLine({PrintItem::column(2), PrintItem::spaces(3), PrintItem::textItem("y")});
    s.endDocument();
    const auto& texts = s.documents()[0].pages[0].texts;
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].column, 1);
    EXPECT_EQ(texts[1].column, 5);
}

TEST(GridSurface, AColumnTheLineHasPassedGoesToTheNextLine) {
    RecordingSurface s;
    s.printLine({PrintItem::column(1), PrintItem::textItem("0123456789"), PrintItem::column(11),
                 PrintItem::textItem("fits"), PrintItem::column(12), PrintItem::textItem("pushed")});
    s.printAt(1, QStringLiteral("next"));
    s.endDocument();
    const QStringList grid = RecordingSurface::pageGrid(s.documents()[0].pages[0]);
    EXPECT_EQ(grid, QStringList({"0123456789fits", "           pushed", "next"}));
}

TEST(GridSurface, AnOpenLineContinuesWithTheNextPrint) {
    RecordingSurface s;
    s.printAt(2, QStringLiteral("a"), LineEnd::KeepOpen);
    s.printAt(5, QStringLiteral("b"), LineEnd::KeepOpen);
    s.printLine({});
    s.printAt(1, QStringLiteral("c"));
    s.endDocument();
    EXPECT_EQ(RecordingSurface::pageGrid(s.documents()[0].pages[0]), QStringList({" a  b", "c"}));
}

TEST(GridSurface, LineBreaksInsideATextStartNewLines) {
    RecordingSurface s;
    s.printAt(3, QStringLiteral("one\r\ntwo\nthree"));
    s.endDocument();
    EXPECT_EQ(RecordingSurface::pageGrid(s.documents()[0].pages[0]),
              QStringList({"  one", "two", "three"}));
}

TEST(GridSurface, ALineThatWouldPassTheBottomStartsANewPage) {
    RecordingSurface s;
    s.setFontSize(10);
    const double height = printgrid::pdfPrintableSize(PaperSize::Letter, PageOrientation::Portrait).height();
    const int perPage = static_cast<int>(height / printgrid::lineHeight(10));
    for (int i = 1; i <= perPage + 1; ++i) {
        s.printAt(1, QString::number(i));
    }
    s.endDocument();
    ASSERT_EQ(s.documents()[0].pages.size(), 2u);
    EXPECT_EQ(s.documents()[0].pages[0].texts.back().text, QString::number(perPage));
    EXPECT_EQ(s.documents()[0].pages[1].texts.front().text, QString::number(perPage + 1));
    EXPECT_EQ(s.documents()[0].pages[1].texts.front().line, 1);
}

TEST(GridSurface, APaperSizeHoldsForItsOwnDocumentOnly) {
    RecordingSurface s;
    s.printAt(1, QStringLiteral("own size"));
    s.endDocument();
    s.setPaperSize(PaperSize::Envelope10);
    s.printAt(1, QStringLiteral("envelope"));
    s.newPage();
    s.printAt(1, QStringLiteral("envelope, second page"));
    s.endDocument();
    s.printAt(1, QStringLiteral("own size again"));
    s.endDocument();
    s.setPaperSize(PaperSize::Letter);
    s.printAt(1, QStringLiteral("gone"));
    s.abandonDocument();
    EXPECT_FALSE(s.paper().has_value());
    s.printAt(1, QStringLiteral("after the abandoned one"));
    s.endDocument();

    const auto& docs = s.documents();
    ASSERT_EQ(docs.size(), 4u);
    EXPECT_EQ(docs[0].pages[0].paper, std::nullopt);
    ASSERT_EQ(docs[1].pages.size(), 2u);
    EXPECT_EQ(docs[1].pages[0].paper, PaperSize::Envelope10);
    EXPECT_EQ(docs[1].pages[1].paper, PaperSize::Envelope10);
    EXPECT_EQ(docs[2].pages[0].paper, std::nullopt);
    EXPECT_EQ(docs[3].pages[0].paper, std::nullopt);
    EXPECT_EQ(s.operations().filter(QStringLiteral("paper")),
              QStringList({"paper envelope 10", "paper letter"}));
}

TEST(GridSurface, TheSetPaperSizeDecidesWhereThePageEnds) {
    const double envelopeHeight =
        printgrid::pdfPrintableSize(PaperSize::Envelope10, PageOrientation::Landscape).height();
    const int perEnvelope = static_cast<int>(envelopeHeight / printgrid::lineHeight(12));
    auto pagesFor = [&](std::optional<PaperSize> paper) {
        RecordingSurface s;
        s.setOrientation(PageOrientation::Landscape);
        if (paper) {
            s.setPaperSize(*paper);
        }
        s.setFontSize(12);
        for (int i = 1; i <= perEnvelope + 1; ++i) {
            s.printAt(1, QString::number(i));
        }
        s.endDocument();
        return s.documents().at(0).pages.size();
    };
    EXPECT_EQ(pagesFor(PaperSize::Envelope10), 2u);
    EXPECT_EQ(pagesFor(std::nullopt), 1u) << "without a size the grid's own page is Letter";
    EXPECT_EQ(pagesFor(PaperSize::Letter), 1u);
}

TEST(GridSurface, ANewPageRightBeforeTheEndAddsNoBlankSheet) {
    RecordingSurface s;
    s.printAt(1, QStringLiteral("only"));
    s.newPage();
    s.endDocument();
    EXPECT_EQ(s.documents()[0].pages.size(), 1u);

    s.printAt(1, QStringLiteral("a"));
    s.newPage();
    EXPECT_TRUE(s.currentPageBlank());
    s.newPage();
    s.printAt(1, QStringLiteral("b"));
    EXPECT_FALSE(s.currentPageBlank());
    s.endDocument();
    EXPECT_EQ(s.documents()[1].pages.size(), 3u) << "a blank page between two printed pages stays";
}

TEST(GridSurface, MovesBackToTheTopOrToAHeight) {
    RecordingSurface s;
    s.printEmptyLines(5);
    s.moveToTopLeft();
    s.printAt(1, QStringLiteral("top"));
    s.moveToLeftEdgeAt(40);
    s.printAt(3, QStringLiteral("low"));
    s.endDocument();
    const auto& texts = s.documents()[0].pages[0].texts;
    EXPECT_DOUBLE_EQ(texts[0].yPt, 0.0);
    EXPECT_DOUBLE_EQ(texts[1].yPt, 2.0);  // 40 twips
    EXPECT_EQ(texts[1].column, 3);
}

TEST(GridSurface, LinesFollowTheFontSizeAndColumnsTheFont) {
    RecordingSurface s;
    s.setFontSize(16);
    s.printEmptyLine();
    s.setFontSize(12);
    s.printAt(8, QStringLiteral("x"));
    s.endDocument();
    const PlacedText& t = onlyText(s);
    EXPECT_NEAR(t.yPt, 16 * printgrid::kLinePitchPerPoint, 1e-9);
    EXPECT_DOUBLE_EQ(t.xPt, 7 * 12 * 0.6);
    EXPECT_EQ(t.font.size, 12);
}

TEST(GridSurface, AbandonDiscardsTheDocumentAndEachEndIsADocument) {
    RecordingSurface s;
    s.printAt(1, QStringLiteral("gone"));
    s.abandonDocument();
    s.printAt(1, QStringLiteral("first"));
    s.endDocument();
    s.printAt(1, QStringLiteral("second"));
    s.endDocument();
    s.endDocument();  // nothing printed: no document
    ASSERT_EQ(s.documents().size(), 2u);
    EXPECT_EQ(onlyText(s, 0).text, QStringLiteral("first"));
    EXPECT_EQ(onlyText(s, 1).text, QStringLiteral("second"));
    EXPECT_EQ(s.abandonedDocuments(), 1);
}

TEST(RecordingSurface, RecordsOperationsAndFailsWhereTold) {
    RecordingSurface s;
    s.setFontName(QStringLiteral("Courier New"));
    s.setFontSize(10);
    s.setBold(false);
    s.printLine({PrintItem::column(2), PrintItem::spaces(3), PrintItem::textItem("x")});
    s.printEmptyLine();
    EXPECT_EQ(s.operations(), QStringList({"font name Courier New", "font size 10", "bold off",
                                           "line [col 2] [spc 3] \"x\"", "empty"}));
    s.failAtOperation(7);
    s.printEmptyLine();
    EXPECT_THROW(s.printEmptyLine(), AppError);
}

TEST(PrintGrid, CourierNewHasTwelveColumnsAnInchAtTenPoints) {
    FontSpec courier;
    EXPECT_NEAR(columnWidth(courier), 6.0, 0.01);
    EXPECT_NEAR(textWidth(courier, QStringLiteral("0123456789")), 60.0, 0.1);
    FontSpec large{QStringLiteral("Trebuchet MS"), 14, false, true};
    EXPECT_GT(columnWidth(large), 5.0);
    EXPECT_LT(columnWidth(large), 10.0);
    EXPECT_NE(resolvedFamily(QStringLiteral("Trebuchet MS")), resolvedFamily(QStringLiteral("Courier New")));
}
