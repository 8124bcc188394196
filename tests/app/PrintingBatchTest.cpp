#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <map>

#include "platform/PrintGrid.h"
#include "support/PdfWords.h"
#include "support/TestFiles.h"

using namespace tandor;
using namespace tandor::test;
using test::TempFolder;

namespace {

class PrintingBatch : public ::testing::Test {
protected:
    void SetUp() override {
        if (!havePdfToText()) {
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: the PDF placement tests "
                            "cannot read the output";
        }
    }
    // Runs a printing command into a PDF of the temporary folder and reads its pages.
    std::vector<Page> print(const QStringList& args) {
        const QString pdf = folder.file("out.pdf");
        QFile::remove(pdf);
        const BatchRun run = runBatch(QStringList{"--program-folder", programFolder} + args +
                                      QStringList{"-o", pdf});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return pdfPages(pdf);
    }
    TempFolder folder;
    QString programFolder = folder.withDefaultAdjustments();
};

const QStringList kAddress = {"John Q. Smith", "1234 Main Street", "Apt 5",
                              "Springfield, IL  62704"};

}  // namespace

TEST_F(PrintingBatch, FullSheetPutsEachAddressInsideItsLabel) {
    const QStringList longest = {"Bartholomew J. Richardson.", "12345 North Westmoreland A",
                                 "Building 7, Suite 1200 Ea", "Fort Lauderdale, FL  33301",
                                 "United States of America X"};
    struct Case {
        QStringList lines;
        QStringList options;
    };
    const Case cases[] = {
        {kAddress, {}}, {longest, {}}, {longest, {"--center"}}, {kAddress, {"--center"}}};
    for (const Case& c : cases) {
        const std::vector<Page> pages =
            print(QStringList{"labels", "--positions", "1-30"} + c.options + c.lines);
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_NEAR(pages[0].width, 8.5, 1e-3);
        EXPECT_NEAR(pages[0].height, 11.0, 1e-3);
        const auto labels = wordsByLabel(pages[0], kAvery5160);
        ASSERT_EQ(labels.size(), 30u) << c.lines.join('|').toStdString();
        for (const auto& [position, label] : labels) {
            EXPECT_GE(position, 1);
            EXPECT_LE(position, 30);
            EXPECT_EQ(label.words, wordsOf(c.lines)) << position;
            EXPECT_EQ(label.overflow, 0.0)
                << "position " << position << " " << c.options.join(' ').toStdString();
        }
    }
}

TEST_F(PrintingBatch, OnePositionPrintsOnlyThatLabel) {
    const std::vector<Page> pages = print(QStringList{"labels", "--positions", "5"} + kAddress);
    ASSERT_EQ(pages.size(), 1u);
    const auto labels = wordsByLabel(pages[0], kAvery5160);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels.begin()->first, 5);
    EXPECT_EQ(labels.begin()->second.words, wordsOf(kAddress));
    EXPECT_EQ(labels.begin()->second.overflow, 0.0);

    EXPECT_EQ(print(QStringList{"labels", "--positions", "4-9", "--copies", "2"} + kAddress).size(),
              2u);
}

TEST_F(PrintingBatch, TheOnTheFlyAdjustmentMovesTheLabels) {
    const double plain = print(QStringList{"labels"} + kAddress).at(0).words.at(0).x0;
    folder.write("TDRPARAM.TXT", "ONTHEFLY 1   0  \r\n");
    const double moved = print(QStringList{"labels"} + kAddress).at(0).words.at(0).x0;
    EXPECT_NEAR(moved - plain, 1.0 / 12, 1e-3);  // one column of 10-point Courier New

    folder.write("TDRPARAM.TXT", "ONTHEFLY 1   ?  \r\n");
    const BatchRun run =
        runBatch({"--program-folder", programFolder, "labels", "-o", folder.file("bad.pdf"), "x"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("A printer problem exists.  Check printer."));
    EXPECT_FALSE(QFile::exists(folder.file("bad.pdf")));
}

TEST_F(PrintingBatch, ReturnLabelsFillTheSheetOf80) {
    // Measured: no uniform line pitch holds all 20 rows of this sheet (its extra
    // empty lines after rows 8, 13 and 15). With the chosen grid the three lines
    // of rows 1 and 16 reach 0.015 in below their labels and those of rows 8 and
    // 13 start 0.016 in above theirs; every other row lies wholly inside.
    constexpr double kWorstRowOverflow = 0.016;
    const QStringList widest = {"Annabelle Q. Leeward", "1234 Oakwood Lane #5",
                                "Reno, NV  89501-1234"};
    for (const QStringList& lines :
         {QStringList{"Ann Lee", "12 Oak Ln", "Reno, NV 89501"}, widest}) {
        const std::vector<Page> pages = print(QStringList{"return-labels"} + lines);
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_NEAR(pages[0].width, 8.5, 1e-3);
        const auto labels = wordsByLabel(pages[0], kAvery5167);
        ASSERT_EQ(labels.size(), 80u);
        double worst = 0;
        for (const auto& [position, label] : labels) {
            const int row = (position - 1) / 4 + 1;
            EXPECT_EQ(label.words, wordsOf(lines)) << position;
            const bool tightRow = row == 1 || row == 8 || row == 13 || row == 16;
            EXPECT_LE(label.overflow, tightRow ? kWorstRowOverflow : 0.0)
                << "label " << position << " row " << row;
            worst = std::max(worst, label.overflow);
        }
        EXPECT_GT(worst, 0.010);  // the grid choice above still stands
    }
}

TEST_F(PrintingBatch, EnvelopeTextStartsAtItsColumnAndLine) {
    const double top = printgrid::kPdfTopMarginInches;
    const double left = printgrid::kPdfLeftMarginInches;
    std::vector<Page> pages =
        print({"envelope", "--size", "1", "John Q. Smith", "1234 Main Street"});
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].width, 11.0, 1e-3);  // landscape
    const Word& first = pages[0].words.at(0);
    EXPECT_EQ(first.text, "John");
    EXPECT_NEAR(first.x0, left + 37 * 0.1, 0.002);  // column 38 of 12-point Courier New
    EXPECT_NEAR(first.y0, top + 34 * printgrid::lineHeight(12) / 72, 0.002);

    pages = print({"envelope", "--size", "2", "--portrait", "--left", "10", "--top", "5x", "John"});
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].width, 8.5, 1e-3);
    EXPECT_NEAR(pages[0].words.at(0).x0, left + 9 / 12.0, 0.002);
    EXPECT_NEAR(pages[0].words.at(0).y0, top + 6 * printgrid::lineHeight(10) / 72, 0.002);

    pages = print({"envelope", "--size", "1", "--large", "--bold", "--copies", "3", "John"});
    EXPECT_EQ(pages.size(), 3u);
}

TEST(PrintingBatchRefusals, RefusalsPrintTheMessageAndWriteNothing) {
    TempFolder folder;
    const QString program = folder.withDefaultAdjustments();
    const QString pdf = folder.write("kept.pdf", "old content");
    struct Case {
        QStringList args;
        const char* message;
    };
    const Case cases[] = {
        {{"labels", "--positions", "123", "x"},
         "Use a dash when specifying a range of labels to print."},
        {{"labels", "--positions", "25-35", "x"}, "Label position cannot exceed 30"},
        {{"labels", "--positions", "9-5", "x"},
         "Label starting position cannot exceed ending position."},
        {{"labels", "--positions", "ab", "x"}, "Select Label stock or Envelope"},
        {{"labels", "", ""}, "No information entered"},
        {{"envelope", "x"}, "Select Envelope size"},
        {{"return-labels"}, "Fill in Lines 1, 2, and 3, then press Print."},
        {{"return-labels", "a", "b", "c", "d"}, "Leave Lines 4 and 5 blank"},
    };
    for (const Case& c : cases) {
        const BatchRun run =
            runBatch(QStringList{"--program-folder", program} + c.args + QStringList{"-o", pdf});
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_EQ(test::readAll(pdf), "old content") << c.message;
    }
    QStringList files = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    EXPECT_EQ(files, QStringList({"TDRPARAM.TXT", "kept.pdf"}));  // no partial PDF left behind

    for (const QStringList& bad :
         {QStringList{"labels", "x"}, QStringList{"envelope", "--size", "8", "-o", pdf, "x"},
          QStringList{"labels", "--copies", "0", "-o", pdf, "x"},
          QStringList{"return-labels", "--bogus", "-o", pdf, "x"}}) {
        EXPECT_EQ(runBatch(bad).exitCode, 1) << bad.join(' ').toStdString();
    }
}

TEST(PrintingBatchHelp, DocumentsEveryPrintingCommand) {
    const BatchRun help = runBatch({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* usage : {"labels [--sheet NAME] [--positions SPEC] [--center] [--landscape] [--outlines] "
                              "[--copies N] (-o OUT.pdf | --printer NAME) LINE1 [LINE2 ... LINE5]",
                              "alignment-sheet [--sheet NAME] [--copies N] (-o OUT.pdf | "
                              "--printer NAME)",
                              "envelope --size 1..7 [--bold] [--large] [--portrait] [--center] "
                              "[--left N] [--top N] [--copies N] (-o OUT.pdf | --printer NAME) "
                              "LINE1 [... LINE5]",
                              "return-labels [--outlines] [--copies N] (-o OUT.pdf | --printer NAME) LINE1 "
                              "LINE2 LINE3"}) {
        EXPECT_TRUE(help.out.contains(usage)) << usage;
    }
}

// --outlines draws every label of the sheet into the PDF, at the sheet's
// geometry: each label's left and top edges are dark on the page drawn at
// 72 dots an inch, and without the option they are blank paper.
TEST_F(PrintingBatch, OutlinesDrawEveryLabelOfTheSheetAtItsPlace) {
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty()) {
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed: the page cannot be drawn";
    }
    struct Case {
        QStringList command;
        Sheet sheet;
    };
    const Case cases[] = {{{"labels", "--positions", "1-30", "John"}, kAvery5160},
                          {{"return-labels", "Jane Doe", "1 Elm St", "Napa, CA  94558"}, kAvery5167}};
    for (const Case& c : cases) {
        for (const bool outlines : {false, true}) {
            const QString pdf = folder.file("outlined.pdf");
            QStringList args = QStringList{"--program-folder", programFolder} + c.command;
            if (outlines) {
                args.insert(3, "--outlines");
            }
            const BatchRun run = runBatch(args + QStringList{"-o", pdf});
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
            const QString base = folder.file("outlined");
            ASSERT_EQ(QProcess::execute(pdftoppm, {"-r", "72", "-gray", "-singlefile", pdf, base}), 0);
            const QImage page(base + ".pgm");
            ASSERT_FALSE(page.isNull());
            // The darkest dot within a dot of a point of the page (inches).
            const auto darkest = [&page](double x, double y) {
                int least = 255;
                for (int dx = -1; dx <= 1; ++dx) {
                    for (int dy = -1; dy <= 1; ++dy) {
                        least = std::min(least, qGray(page.pixel(qRound(x * 72) + dx, qRound(y * 72) + dy)));
                    }
                }
                return least;
            };
            const Sheet& s = c.sheet;
            for (int row = 0; row < s.rows; ++row) {
                for (int column = 0; column < s.columns; ++column) {
                    const double left = s.left + column * s.pitchX;
                    const double top = s.top + row * s.pitchY;
                    const int leftEdge = darkest(left, top + s.height * 0.5);
                    const int topEdge = darkest(left + s.width * 0.75, top);
                    if (outlines) {
                        EXPECT_LT(leftEdge, 200) << c.command[0].toStdString() << " row " << row << " column " << column;
                        EXPECT_LT(topEdge, 200) << c.command[0].toStdString() << " row " << row << " column " << column;
                    } else {
                        EXPECT_EQ(std::min(leftEdge, topEdge), 255) << c.command[0].toStdString();
                    }
                }
            }
        }
    }
}
