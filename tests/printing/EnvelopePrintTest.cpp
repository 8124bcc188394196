#include <gtest/gtest.h>

#include "platform/PrintGrid.h"
#include "printing/PrintTestSupport.h"
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

TEST(EnvelopePrint, BoldLargeFontAndShiftedPrinterMoveTheText) {
    struct Case {
        bool bold;
        bool large;
        const char* printer;
        QStringList fontOps;
        int emptyLines;
        int column;
    };
    const QStringList courier = {"font name Courier New", "font name Courier New", "italic off"};
    const QStringList trebuchet = {"font name Courier New", "font name Trebuchet MS",
                                   "font size 14", "italic on"};
    const Case cases[] = {
        {false, false, "HP ENVY 5000", courier + QStringList{"bold off"}, 31, 38},
        {true, false, "Plain",
         QStringList{"font name Courier New", "bold on", "font name Courier New", "italic off"}, 32,
         38},
        {false, true, "Plain", trebuchet + QStringList{"bold off"}, 25, 42},
        {true, true, "Plain",
         QStringList{"font name Courier New", "bold on", "font name Trebuchet MS", "font size 14",
                     "italic on"},
         24, 42},
        {false, true, "HP DeskJet 640C/642C/648C", trebuchet + QStringList{"bold off"}, 23, 42},
    };
    for (const Case& c : cases) {
        PrintBench b;
        b.platform.setPrinterName(c.printer);
        b.chooseEnvelope(1);
        composition::clickBold(b.state, c.bold);
        composition::clickLargeFont(b.state, c.large);
        b.print();
        ASSERT_TRUE(b.platform.messages().isEmpty())
            << b.platform.messages().at(0).text.toStdString();
        const EnvelopeRun run = afterFirstEmpty(b.ops());
        EXPECT_EQ(run.fontOps, c.fontOps) << c.printer << c.bold << c.large;
        EXPECT_EQ(run.emptyLines, c.emptyLines) << c.printer << c.bold << c.large;
        EXPECT_EQ(run.firstLine, QStringLiteral("line [col %1] \"John Q. Smith\"").arg(c.column));
        EXPECT_EQ(b.ops().contains("paper envelope 10"), QString(c.printer) != "Plain");

        // On the #10 envelope of a shifted printer the empty lines run past the
        // envelope's height, so the text may start on a later page.
        const PrintedDocument& document = b.surface().documents().at(0);
        for (const PrintedPage& page : document.pages) {
            EXPECT_EQ(page.paper, QString(c.printer) == "Plain"
                                      ? std::nullopt
                                      : std::optional(PaperSize::Envelope10))
                << c.printer;
        }
        const PlacedText& first = document.pages.back().texts.at(0);
        EXPECT_EQ(first.font.name, c.large ? "Trebuchet MS" : "Courier New");
        EXPECT_EQ(first.font.size, c.large ? 14 : 12);
        EXPECT_EQ(first.font.italic, c.large);
        EXPECT_EQ(first.font.bold, c.bold);
        // One 12-point line, then the empty lines in the chosen font.
        if (document.pages.size() == 1) {
            EXPECT_NEAR(
                first.yPt,
                printgrid::lineHeight(12) + c.emptyLines * printgrid::lineHeight(first.font.size),
                1e-6);
        } else {
            EXPECT_NE(QString(c.printer), "Plain");
        }
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
// user set, here A4 in landscape.
TEST(EnvelopePrint, APlainPrinterKeepsItsPaperAndAShiftedOneGetsTheEnvelope) {
    if (!test::havePdfToText()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: the page sizes cannot be read";
    }
    struct Case {
        const char* printer;
        double width;  // inches
        double height;
    };
    const Case cases[] = {{"Plain", 11.69, 8.27}, {"HP DeskJet 640C/642C/648C", 9.5, 4.125}};
    for (const Case& c : cases) {
        PrintBench b;
        const QString pdf = b.folder.file("envelope.pdf");
        auto surface = std::make_shared<test::NamedPdfSurface>(pdf, QPageSize::A4, c.printer);
        b.platform.setPrinterName(c.printer);
        b.platform.setPrintSurface(surface);
        b.chooseEnvelope(1);
        b.print();
        ASSERT_TRUE(b.platform.messages().isEmpty()) << c.printer;
        ASSERT_TRUE(surface->finish());
        const std::vector<test::Page> pages = test::pdfPages(pdf);
        ASSERT_FALSE(pages.empty()) << c.printer;
        for (const test::Page& page : pages) {
            EXPECT_NEAR(page.width, c.width, 0.01) << c.printer;
            EXPECT_NEAR(page.height, c.height, 0.01) << c.printer;
        }
        EXPECT_EQ(pages.back().words.at(0).text, "John") << c.printer;
    }
}
