#include <gtest/gtest.h>

#include "platform/PrintGrid.h"
#include "support/PrintTestSupport.h"
#include "support/PdfWords.h"

using namespace tandor;
using test::PrintBench;
using test::repeated;

namespace {

// The operations after the empty line that opens the run: the font choices,
// then how many empty lines lead to the text.
struct EnvelopeRun {
    QStringList fontOps;
    int emptyLines = 0;
    QString firstLine;
};

EnvelopeRun afterFirstEmpty(const QStringList& ops) {
    EnvelopeRun run;
    qsizetype i = ops.indexOf("empty") + 1;
    for (; i < ops.size() && ops[i] != "empty" && !ops[i].startsWith("line"); ++i) {
        run.fontOps.append(ops[i]);
    }
    for (; i < ops.size() && ops[i] == "empty"; ++i) {
        ++run.emptyLines;
    }
    run.firstLine = i < ops.size() ? ops[i] : QString();
    return run;
}

}  // namespace

TEST(EnvelopePrint, BusinessEnvelopeInLandscape) {
    PrintBench b;
    b.chooseEnvelope(1);
    EXPECT_EQ(b.state.leftPad, "38");
    EXPECT_EQ(b.state.topPad, "33");
    b.print();
    QStringList expected = {"font name Courier New", "font size 10", "orientation landscape",
                            "font size 12",          "empty",        "font name Courier New",
                            "font name Courier New", "italic off",   "bold off"};
    expected += repeated("empty", 33);
    for (const QString& line : b.state.lines) {
        expected += "line [col 38] \"" + line + "\"";
    }
    expected += "end document";
    EXPECT_EQ(b.ops(), expected);
    EXPECT_EQ(b.state.labelCount, 1);
    const PlacedText& first = b.surface().documents().at(0).pages.at(0).texts.at(0);
    EXPECT_EQ(first.font, (FontSpec{"Courier New", 12, false, false}));
    EXPECT_NEAR(first.yPt, 34 * printgrid::lineHeight(12), 1e-6);
}

// On a Letter page (a plain printer); a shifted printer's #10 envelope page
// is the address-area layout of the print pipeline's tests.
TEST(EnvelopePrint, BoldAndLargeFontMoveTheText) {
    struct Case {
        bool bold;
        bool large;
        QStringList fontOps;
        int emptyLines;
        int column;
    };
    const QStringList trebuchet = {"font name Courier New", "font name Trebuchet MS",
                                   "font size 14", "italic on"};
    const Case cases[] = {
        {true, false, QStringList{"font name Courier New", "bold on", "font name Courier New", "italic off"}, 32,
         38},
        {false, true, trebuchet + QStringList{"bold off"}, 25, 42},
        {true, true,
         QStringList{"font name Courier New", "bold on", "font name Trebuchet MS", "font size 14",
                     "italic on"},
         24, 42},
    };
    for (const Case& c : cases) {
        PrintBench b;
        b.platform.setPrinterName("Plain");
        b.chooseEnvelope(1);
        composition::clickBold(b.state, c.bold);
        composition::clickLargeFont(b.state, c.large);
        b.print();
        ASSERT_TRUE(b.platform.messages().isEmpty())
            << b.platform.messages().at(0).text.toStdString();
        const EnvelopeRun run = afterFirstEmpty(b.ops());
        EXPECT_EQ(run.fontOps, c.fontOps) << c.bold << c.large;
        EXPECT_EQ(run.emptyLines, c.emptyLines) << c.bold << c.large;
        EXPECT_EQ(run.firstLine, QStringLiteral("line [col %1] \"John Q. Smith\"").arg(c.column));
        EXPECT_FALSE(b.ops().contains("paper envelope 10"));

        const PrintedDocument& document = b.surface().documents().at(0);
        ASSERT_EQ(document.pages.size(), 1u);
        EXPECT_EQ(document.pages[0].paper, std::nullopt);
        const PlacedText& first = document.pages[0].texts.at(0);
        EXPECT_EQ(first.font.name, c.large ? "Trebuchet MS" : "Courier New");
        EXPECT_EQ(first.font.size, c.large ? 14 : 12);
        EXPECT_EQ(first.font.italic, c.large);
        EXPECT_EQ(first.font.bold, c.bold);
        // One 12-point line, then the empty lines in the chosen font.
        EXPECT_NEAR(first.yPt,
                    printgrid::lineHeight(12) + c.emptyLines * printgrid::lineHeight(first.font.size), 1e-6);
    }
}

TEST(EnvelopePrint, AdjustmentTypedBoxesAndPortrait) {
    PrintBench adjusted;
    adjusted.setAdjustments("ONTHEFLY 5   5  \r\nENVELOPE 2   3  \r\n");
    adjusted.chooseEnvelope(6);  // option column: 44, 30
    composition::clickCentered(adjusted.state);
    adjusted.state.lines = {"abcde", "", "", "", ""};
    adjusted.print();
    EnvelopeRun run = afterFirstEmpty(adjusted.ops());
    EXPECT_EQ(run.emptyLines, 33);
    EXPECT_EQ(run.firstLine, "line [col 46] [spc 12] \"abcde\"");

    PrintBench typed;  // a TopPad without a number and an upward adjustment: no empty lines
    typed.setAdjustments("ENVELOPE 0   -1 \r\n");
    typed.chooseEnvelope(7);
    typed.state.leftPad = "12abc";
    typed.state.topPad = "abc";
    typed.print();
    run = afterFirstEmpty(typed.ops());
    EXPECT_EQ(run.emptyLines, 0);
    EXPECT_EQ(run.firstLine, "line [col 12] \"John Q. Smith\"");

    PrintBench portrait;
    portrait.chooseEnvelope(1);
    composition::selectPortrait(portrait.state);
    portrait.print();
    EXPECT_EQ(portrait.ops().mid(2, 2), QStringList({"orientation portrait", "font size 10"}));
    run = afterFirstEmpty(portrait.ops());
    EXPECT_EQ(run.emptyLines, 3);
    EXPECT_EQ(run.firstLine, "line [col 2] \"John Q. Smith\"");
}

TEST(EnvelopePrint, CopiesAreSeparateEnvelopesAndLabelStateIsUntouched) {
    PrintBench b;
    b.chooseEnvelope(2);
    b.state.startPosition = "7";
    b.platform.answerPrint({false, 2, false});
    b.print();
    EXPECT_EQ(b.surface().documents().size(), 2u);
    EXPECT_EQ(b.state.startPosition, "7");
    EXPECT_EQ(b.state.leftPad, "28");
    EXPECT_EQ(b.state.topPad, "39");
}

// Only a shifted printer is given a paper size; any other keeps the page its
// user set (here A4 in landscape, or Envelope #10 picked in the dialog). On an
// envelope page the envelope is one page with the address in its address area.
TEST(EnvelopePrint, OnAnEnvelopePageTheAddressLandsInTheAddressAreaOfOnePage) {
    if (!test::havePdfToText()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: the page sizes cannot be read";
    }
    struct Case {
        const char* printer;
        QPageSize::PageSizeId paper;
        double width;  // inches
        double height;
    };
    const Case cases[] = {{"Plain", QPageSize::A4, 11.69, 8.27},
                          {"Plain", QPageSize::Envelope10, 9.5, 4.125},
                          {"HP DeskJet 640C/642C/648C", QPageSize::A4, 9.5, 4.125}};
    for (const Case& c : cases) {
        for (const bool large : {false, true}) {
            PrintBench b;
            const QString pdf = b.folder.file("envelope.pdf");
            auto surface = std::make_shared<test::NamedPdfSurface>(pdf, c.paper, c.printer);
            b.platform.setPrinterName(c.printer);
            b.platform.setPrintSurface(surface);
            b.chooseEnvelope(1);
            composition::clickLargeFont(b.state, large);
            b.print();
            ASSERT_TRUE(b.platform.messages().isEmpty()) << c.printer;
            ASSERT_TRUE(surface->finish());
            const std::vector<test::Page> pages = test::pdfPages(pdf);
            ASSERT_EQ(pages.size(), 1u) << c.printer;
            const test::Page& page = pages[0];
            EXPECT_NEAR(page.width, c.width, 0.01) << c.printer;
            EXPECT_NEAR(page.height, c.height, 0.01) << c.printer;
            ASSERT_FALSE(page.words.empty());
            EXPECT_EQ(page.words.at(0).text, "John") << c.printer;
            if (c.width > 10) {
                continue;  // a plain page: the written layout
            }
            double left = page.width, top = page.height, right = 0, bottom = 0;
            for (const test::Word& w : page.words) {
                left = std::min(left, w.x0);
                top = std::min(top, w.y0);
                right = std::max(right, w.x1);
                bottom = std::max(bottom, w.y1);
            }
            EXPECT_GE(left / page.width, 0.35) << c.printer << large;
            EXPECT_LE(left / page.width, 0.55) << c.printer << large;
            EXPECT_GE(top / page.height, 0.35 - 0.02) << c.printer << large;  // word boxes start above the line
            EXPECT_LE(top / page.height, 0.60) << c.printer << large;
            EXPECT_LE(bottom, page.height) << c.printer << large;
            EXPECT_LE(right, page.width) << c.printer << large;
        }
    }
}
