#include <gtest/gtest.h>

#include <functional>

#include "platform/AppError.h"
#include "support/PrintTestSupport.h"
#include "support/PdfWords.h"

using namespace tandor;
using test::PrintBench;
using test::repeated;

namespace {

QStringList fiveLines(int column, const QStringList& lines, bool centred = false) {
    QStringList out;
    for (const QString& line : lines) {
        QString op = QStringLiteral("line [col %1] ").arg(column);
        if (centred && 15 - line.size() / 2.0 > 0.5) {
            op += QStringLiteral("[spc %1] ").arg(qRound(15 - line.size() / 2.0 - 0.01));
        }
        out.append(op + '"' + line + '"');
    }
    return out;
}

const QStringList kLines = {"John Q. Smith", "1234 Main Street", "", "Springfield, IL  62704", ""};
const QStringList kRunStart = {"orientation portrait",  "font size 10", "empty",
                               "font name Courier New", "italic off",   "bold off"};

}  // namespace

TEST(LabelPrint, OneLabelAtItsColumnBelowItsRow) {
    PrintBench b;
    b.chooseLabel("5");
    b.state.bold = true;
    b.print();
    QStringList expected = {"font name Courier New", "font size 10"};
    expected += kRunStart;
    expected += repeated("empty", 10);
    expected += fiveLines(35, kLines);
    expected += "end document";
    EXPECT_EQ(b.ops(), expected);
    EXPECT_TRUE(b.platform.messages().isEmpty());
    ASSERT_EQ(b.platform.printRequests().size(), 1);
    EXPECT_TRUE(b.platform.printRequests()[0].disablePrintToFile);
    // The text starts on print line Top + 2 of the page.
    ASSERT_EQ(b.surface().documents().size(), 1u);
    const PlacedText& first = b.surface().documents()[0].pages[0].texts[0];
    EXPECT_EQ(first.line, 12);
    EXPECT_EQ(first.column, 35);
    EXPECT_EQ(first.font, (FontSpec{"Courier New", 10, false, false}));
    EXPECT_FALSE(b.state.bold);  // the Bold box is cleared and hidden
    EXPECT_FALSE(b.state.boldVisible);
}

TEST(LabelPrint, ARangeGoesBackToTheTopForEachLabelAndCentres) {
    PrintBench b;
    b.chooseLabel("3-4");
    composition::clickCentered(b.state);
    b.state.lines = {"John", "", "abcde", QString(29, 'x'), "abcdefg"};
    b.print();
    QStringList expected = {"font name Courier New", "font size 10"};
    expected += kRunStart;
    expected += repeated("empty", 3);
    const QStringList centred = {"line [col 68] [spc 13] \"John\"", "line [col 68] [spc 15] \"\"",
                                 "line [col 68] [spc 12] \"abcde\"",
                                 "line [col 68] \"" + QString(29, 'x') + "\"",
                                 "line [col 68] [spc 12] \"abcdefg\""};
    expected += centred;
    expected += {"top-left", "empty"};
    expected += repeated("empty", 10);
    for (QString op : centred) {
        expected += op.replace("[col 68]", "[col 2]");
    }
    expected += "end document";
    EXPECT_EQ(b.ops(), expected);
    EXPECT_EQ(b.surface().documents().at(0).pages.size(), 1u);
}

TEST(LabelPrint, AfterARunTheFollowingPositionIsReadyAndPrintAgainRepeatsIt) {
    PrintBench b;
    b.chooseLabel("4-9");
    b.print();
    EXPECT_EQ(b.state.startPosition, "10");
    EXPECT_EQ(b.state.leftPad, "2");
    EXPECT_EQ(b.state.topPad, "23");
    EXPECT_EQ(b.state.labelPositionText, "4-9");
    EXPECT_EQ(b.state.positionCaption, "Label Position 4-9");

    b.print();
    ASSERT_EQ(b.surface().documents().size(), 2u);
    const QStringList first = RecordingSurface::pageGrid(b.surface().documents()[0].pages[0]);
    EXPECT_EQ(first, RecordingSurface::pageGrid(b.surface().documents()[1].pages[0]));
    EXPECT_EQ(b.surface().documents()[0].pages[0].texts.size(), 6u * 3);

    PrintBench end;
    end.chooseLabel("28-30");
    end.print();
    EXPECT_EQ(end.state.startPosition, "31");
    EXPECT_EQ(end.state.leftPad, "68");  // past the sheet the pads of 30 stay
    EXPECT_EQ(end.state.topPad, "63");
}

TEST(LabelPrint, EachCopyIsItsOwnDocumentWithTheSameLabels) {
    PrintBench b;
    b.chooseLabel("1-2");
    b.platform.answerPrint({false, 3, false});
    b.print();
    ASSERT_EQ(b.surface().documents().size(), 3u);
    for (const PrintedDocument& d : b.surface().documents()) {
        EXPECT_EQ(RecordingSurface::pageGrid(d.pages[0]),
                  RecordingSurface::pageGrid(b.surface().documents()[0].pages[0]));
    }
    EXPECT_EQ(b.ops().count("end document"), 3);
    EXPECT_EQ(b.state.startPosition, "3");
}

TEST(LabelPrint, AdjustmentAndShiftedPrinterMoveTheGrid) {
    PrintBench b;
    b.setAdjustments("ONTHEFLY -1  2  \r\nENVELOPE 9   9  \r\n");
    b.platform.setPrinterName("HP ENVY 6000 series");
    b.chooseLabel("5");
    EXPECT_EQ(b.state.leftPad, "35");  // the prompt uses the ordinary column
    b.print();
    EXPECT_EQ(b.state.startPosition, "6");
    EXPECT_EQ(b.state.leftPad, "69");  // the next position, shifted column
    QStringList expected = {"font name Courier New", "font size 10", "orientation portrait",
                            "font size 10",          "paper letter", "empty",
                            "font name Courier New", "italic off",   "bold off"};
    expected += repeated("empty", 12);
    expected += fiveLines(35, kLines);
    expected += "end document";
    EXPECT_EQ(b.ops(), expected);
    EXPECT_EQ(b.surface().documents().at(0).pages.at(0).paper, PaperSize::Letter);

    // The first label's column is decided by the printer current before the dialog.
    PrintBench before;
    before.platform.setPrinterName("HP Officejet Pro 8600");
    auto plain = std::make_shared<RecordingSurface>("Plain printer");
    before.platform.setPrintSurface(plain);
    before.chooseLabel("1-2");
    before.print();
    EXPECT_FALSE(plain->operations().contains("paper letter"));
    for (const PrintedPage& page : plain->documents().at(0).pages) {
        EXPECT_EQ(page.paper, std::nullopt) << "the printer's own paper";
    }
    EXPECT_TRUE(plain->operations().contains("line [col 3] \"John Q. Smith\""));
    EXPECT_TRUE(plain->operations().contains("line [col 35] \"John Q. Smith\""));
}

// A label sheet on a printer left at another paper: only a shifted printer is set to Letter.
TEST(LabelPrint, APlainPrinterKeepsItsPaperAndAShiftedOneGetsLetter) {
    if (!test::havePdfToText()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: the page sizes cannot be read";
    }
    struct Case {
        const char* printer;
        double width;  // inches
        double height;
    };
    const Case cases[] = {{"Plain", 4.125, 9.5}, {"HP ENVY 6000 series", 8.5, 11.0}};
    for (const Case& c : cases) {
        PrintBench b;
        const QString pdf = b.folder.file("labels.pdf");
        auto surface =
            std::make_shared<test::NamedPdfSurface>(pdf, QPageSize::Envelope10, c.printer);
        b.platform.setPrinterName(c.printer);
        b.platform.setPrintSurface(surface);
        b.chooseLabel("1");
        b.print();
        ASSERT_TRUE(b.platform.messages().isEmpty()) << c.printer;
        ASSERT_TRUE(surface->finish());
        const std::vector<test::Page> pages = test::pdfPages(pdf);
        ASSERT_EQ(pages.size(), 1u) << c.printer;
        EXPECT_NEAR(pages[0].width, c.width, 0.01) << c.printer;
        EXPECT_NEAR(pages[0].height, c.height, 0.01) << c.printer;
    }
}

TEST(LabelPrint, LandscapeUsesTwelvePoints) {
    PrintBench b;
    b.chooseLabel("1");
    composition::selectLandscape(b.state);
    b.print();
    EXPECT_EQ(b.ops().mid(2, 2), QStringList({"orientation landscape", "font size 12"}));
}

TEST(PrintCommand, ValidatesInOrderAndStopsAtTheFirstFailure) {
    struct Case {
        std::function<void(PrintBench&)> setUp;
        const char* text;
        const char* title;
        MessageIcon icon;
    };
    const auto noAlignment = [](PrintBench& b) {
        b.state.leftJustified = false;
        b.state.centered = false;
    };
    const Case cases[] = {
        {[&](PrintBench& b) {
             b.state.lines = {};
             noAlignment(b);
             b.chooseLabel("5");
         },
         "No information entered", "Missing Data", MessageIcon::Exclamation},
        {[&](PrintBench& b) { noAlignment(b); }, "Select Label stock or Envelope",
         "Media Selection", MessageIcon::Exclamation},
        {[&](PrintBench& b) {
             composition::clickEnvelope(b.state);
             noAlignment(b);
         },
         "Select Envelope size", "Envelope Size", MessageIcon::Exclamation},
        {[&](PrintBench& b) {
             b.chooseEnvelope(7);
             noAlignment(b);
         },
         "Select Left-Justified or Centered", "Text Alignment", MessageIcon::Exclamation},
        {[&](PrintBench& b) {
             b.chooseLabel("5");
             b.state.labelPositionText = "9-5";
         },
         "Label starting position cannot exceed ending position.", "Try again",
         MessageIcon::Information},
    };
    for (const Case& c : cases) {
        PrintBench b;
        c.setUp(b);
        b.print();
        ASSERT_EQ(b.platform.messages().size(), 1) << c.text;
        EXPECT_EQ(b.platform.messages()[0].text, c.text);
        EXPECT_EQ(b.platform.messages()[0].title, c.title);
        EXPECT_EQ(b.platform.messages()[0].icon, c.icon);
        EXPECT_EQ(b.platform.beeps(), 1) << c.text;
        EXPECT_TRUE(b.platform.printRequests().isEmpty()) << c.text;
        EXPECT_TRUE(b.ops().isEmpty()) << c.text;
    }

    PrintBench spaces;  // a line of blanks is filled
    spaces.state.lines = {"", "", "  ", "", ""};
    spaces.chooseLabel("1");
    spaces.print();
    EXPECT_TRUE(spaces.platform.messages().isEmpty());
    EXPECT_EQ(spaces.surface().documents().size(), 1u);
}

TEST(PrintCommand, CancelledDialogPrintsNothingAndSaysNothing) {
    PrintBench b;
    b.chooseLabel("5");
    b.platform.answerPrint({true, 1, false});
    b.print();
    EXPECT_TRUE(b.platform.messages().isEmpty());
    EXPECT_TRUE(b.ops().isEmpty());
    EXPECT_EQ(b.platform.printRequests().size(), 1);
}

TEST(PrintCommand, AFailureAtAnyStepAbandonsTheDocumentAndReportsThePrinter) {
    PrintBench reference;
    reference.chooseLabel("2-3");
    reference.platform.answerPrint({false, 2, false});
    reference.print();
    const int operations = static_cast<int>(reference.ops().size());
    const int firstEnd = static_cast<int>(reference.ops().indexOf("end document")) + 1;
    for (int n = 1; n <= operations; ++n) {
        PrintBench b;
        b.chooseLabel("2-3");
        b.platform.answerPrint({false, 2, false});
        b.surface().failAtOperation(n);
        EXPECT_NO_THROW(b.print());
        ASSERT_EQ(b.platform.messages().size(), 1) << n;
        EXPECT_EQ(b.platform.messages()[0].text, "A printer problem exists.  Check printer.");
        EXPECT_EQ(b.platform.messages()[0].title, "Printer error");
        EXPECT_EQ(b.platform.messages()[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(b.surface().abandonedDocuments(), 1) << n;
        EXPECT_EQ(b.surface().documents().size(), n <= firstEnd ? 0u : 1u) << n;
    }
}

TEST(PrintCommand, ABadAdjustmentRecordIsAPrinterProblemBeforeAnyCheck) {
    for (const QByteArray& file :
         {QByteArray("ONTHEFLY 1      \r\n"), QByteArray("ENVELOPE x   1  \r\n")}) {
        PrintBench b;
        b.setAdjustments(file);
        b.state.lines = {};
        b.print();
        ASSERT_EQ(b.platform.messages().size(), 1);
        EXPECT_EQ(b.platform.messages()[0].title, "Printer error");
        EXPECT_TRUE(b.platform.printRequests().isEmpty());
    }
    PrintBench b;  // huge margin boxes overflow: reported, never thrown
    b.chooseEnvelope(1);
    b.state.leftPad = "99999999";
    EXPECT_NO_THROW(b.print());
    EXPECT_EQ(b.platform.messages().last().title, "Printer error");
}
