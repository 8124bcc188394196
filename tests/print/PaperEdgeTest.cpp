// Placing by the paper's edge: the offset of each page, the characters a
// printer would cut off and what the user is told, the warning answered before
// anything prints, and the switch with its default.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <optional>

#include "appshell/widgets/ApplicationShell.h"
#include "compose/widgets/MainWindow.h"
#include "print/PaperEdge.h"
#include "print/PrintJob.h"
#include "platform/ScriptedPlatform.h"
#include "sheets/AdjustmentFile.h"
#include "sheets/AlignmentSheet.h"
#include "sheets/LabelSheet.h"
#include "support/TestFiles.h"

using namespace tandor;

namespace {

constexpr double kIn = 72.0;
const QRectF kLetter(0, 0, 8.5 * kIn, 11 * kIn);
// The PDF's printable area on Letter: 0.25 in at the sides, 0.056 in at the top, 0.1 in at the
// bottom.
const QRectF kPdfArea = kLetter.marginsRemoved(QMarginsF(18, 4.032, 18, 7.2));

PlacedText text(double xPt, double yPt, const QString& s) {
    PlacedText t;
    t.xPt = xPt;
    t.yPt = yPt;
    t.text = s;
    return t;  // 10-point Courier New: 6 points a character below
}

// Two rows of a 3-across sheet of 1 x 2 5/8 in labels, numbered across.
std::vector<QRectF> twoRows() {
    std::vector<QRectF> labels;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            labels.emplace_back((0.1875 + column * 2.75) * kIn, (0.5 + row) * kIn, 2.625 * kIn,
                                kIn);
        }
    }
    return labels;
}

}  // namespace

TEST(PaperEdge, OffsetsEachPageAndTellsWhatThePrinterWouldCut) {
    struct Case {
        const char* what;
        QMarginsF printer;  // the printer's margins, points
        std::vector<PlacedText> texts;
        bool labels;  // the document carries the sheet's labels
        QPointF offset;
        QString told;
    };
    const QString cannot = QStringLiteral(": the printer cannot print there.");
    const Case cases[] = {
        {"a printer without margins prints everything, 0.25 in and 0.056 in further in",
         QMarginsF(0, 0, 0, 0),
         {text(0, 0, "John Q. Smith"), text(540, 760, "ZIP")},
         true,
         QPointF(18, 4.032),
         {}},
        {"a laser at 0.17 in loses the first line at the top",
         QMarginsF(12.24, 12.24, 12.24, 12.24),
         {text(0, 0, "Header"), text(0, 40, "Body")},
         false,
         QPointF(5.76, -8.208),
         "Line 1 would lose 0.12 in at the top" + cannot},
        {"labels of the first column at a printer starting 0.33 in from the left",
         QMarginsF(23.76, 0, 0, 0),
         {text(0, 40, "Label one"), text(200, 40, "Label two"), text(0, 112, "Label four"),
          text(0, 124, "more of four")},
         true,
         QPointF(-5.76, 4.032),
         "Label 1 and 1 more in the first column would lose 0.08 in at the left" + cannot},
        {"blanks before a text print nothing",
         QMarginsF(23.76, 0, 0, 0),
         {text(0, 40, "   Smith")},
         true,
         QPointF(-5.76, 4.032),
         {}},
        {"lines reaching past a wide right margin; blanks after a text print nothing",
         QMarginsF(0, 0, 36, 0),
         {text(0, 0, "top"), text(520, 20, "ABCDEFGHI"), text(540, 40, "ABCD"),
          text(540, 60, "AB          ")},
         false,
         QPointF(18, 4.032),
         "Line 2 and 1 more would lose 0.23 in at the right" + cannot},
        {"past the PDF's own printable area a printer with its margins loses nothing more",
         QMarginsF(18, 4.032, 18, 7.2),
         {text(570, 0, "ABCDEFGH"), text(0, 760, "Low")},
         false,
         QPointF(0, 0),
         {}},
        {"two sides, each told",
         QMarginsF(23.76, 12.24, 0, 0),
         {text(0, 0, "Corner")},
         false,
         QPointF(-5.76, -8.208),
         "Line 1 would lose 0.08 in at the left" + cannot +
             "\nLine 1 would lose 0.12 in at the top" + cannot},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PrintedDocument document;
        document.pages.emplace_back();
        document.pages[0].texts = c.texts;
        if (c.labels) {
            document.labelOutlines = twoRows();
        }
        const EdgePlacement placement{kPdfArea, kLetter.marginsRemoved(c.printer)};
        EXPECT_NEAR(placement.offset().x(), c.offset.x(), 1e-6);
        EXPECT_NEAR(placement.offset().y(), c.offset.y(), 1e-6);
        const std::vector<CutText> cuts = cutTexts(
            document, [&](const PrintedPage&) { return placement; },
            [](const FontSpec&, const QString& s) { return 6.0 * s.size(); });
        EXPECT_EQ(cutWarning(document, cuts), c.told);
    }
}

// A job on a printer whose printable area starts 0.17 in from the top: its
// first line would be cut.
TEST(PaperEdge, TheWarningIsAnsweredBeforeAnythingPrints) {
    struct Case {
        const char* what;
        QString setting;
        std::optional<MessageAnswer> answer;
        bool warned;
        JobOutcome outcome;
    };
    const Case cases[] = {
        {"Cancel, the safe answer, prints nothing", "1", std::nullopt, true,
         JobOutcome::DialogCancelled},
        {"Print Anyway prints", "1", MessageAnswer::PrintAnyway, true, JobOutcome::Printed},
        {"placed from the printable area nothing is cut", "0", std::nullopt, false,
         JobOutcome::Printed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedPlatform platform;
        platform.writeSetting("Settings", kPlaceByPaperEdgeKey, c.setting);
        platform.recording()->setDeviceMargins(QMarginsF(12.24, 12.24, 12.24, 12.24));
        if (c.answer) {
            platform.answerMessage(*c.answer);
        }
        PrintJob job;
        job.compose = [](PrintSurface& s, const JobRun&) {
            s.printText("John Q. Smith");
            s.endDocument();
        };
        EXPECT_EQ(runPrintJob(platform, job).outcome, c.outcome);
        ASSERT_EQ(platform.messages().size(), c.warned ? 1 : 0);
        if (c.warned) {
            EXPECT_EQ(platform.messages()[0].text,
                      "Line 1 would lose 0.12 in at the top: the printer cannot print there.");
            EXPECT_EQ(platform.messages()[0].buttons, MessageButtons::PrintAnywayCancel);
        }
        EXPECT_EQ(platform.recording()->documents().size(),
                  c.outcome == JobOutcome::Printed ? 1u : 0u);
    }
}

// The Margins menu's switch: on for a folder whose adjustments are all 0 (or
// that has none), off for calibrated adjustments, until the user chooses; the
// alignment sheet says which placement it prints with.
TEST(PaperEdge, TheSwitchStartsFromTheAdjustmentsUntilTheUserChooses) {
    struct Case {
        const char* what;
        std::optional<QByteArray> adjustments;
        QString setting;
        bool on;
    };
    const Case cases[] = {
        {"no adjustment file", std::nullopt, {}, true},
        {"the file as supplied", defaultAdjustmentFile(), {}, true},
        {"an envelope calibrated", "ONTHEFLY 0   0  \r\nENVELOPE 2   -1 \r\n", {}, false},
        {"a field that is not a number", "ONTHEFLY 0   0  \r\nBULKLIST 0   1x \r\n", {}, false},
        {"the user chose it off", std::nullopt, "0", false},
        {"the user chose it on", "ONTHEFLY -1  0  \r\n", "1", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        if (c.adjustments) {
            folder.write(kAdjustmentFileName, *c.adjustments);
        }
        ScriptedPlatform platform;
        if (!c.setting.isEmpty()) {
            platform.writeSetting("Settings", kPlaceByPaperEdgeKey, c.setting);
        }
        ApplicationShell shell(platform, folder.path());
        QAction* item = shell.mainWindow().findChild<QAction*>("mnuPlaceByPaperEdge");
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->isCheckable());
        EXPECT_EQ(item->isChecked(), c.on);
        EXPECT_EQ(QFile::exists(folder.file(kAdjustmentFileName)), c.adjustments.has_value());

        const std::optional<PrintJob> sheet =
            preparedAlignmentSheet(platform, folder.path(), defaultLabelSheet());
        ASSERT_TRUE(sheet);
        QStringList texts;
        for (const PreviewPage& p : composeForPreview(platform, *sheet)) {
            for (const PlacedText& t : p.page.texts) {
                texts.append(t.text);
            }
        }
        EXPECT_TRUE(texts.contains(placementLine(c.on))) << texts.join(" | ").toStdString();

        item->trigger();
        EXPECT_EQ(platform.readSetting("Settings", kPlaceByPaperEdgeKey), c.on ? "0" : "1");
    }
}

// Calibrating the adjustments keeps the placement they were calibrated on.
TEST(PaperEdge, CalibratingKeepsThePlacementInUse) {
    test::TempFolder folder;
    ScriptedPlatform platform;
    {
        ApplicationShell shell(platform, folder.path());
        platform.answerInput("-1");
        platform.answerInput(QString());
        shell.mainWindow().findChild<QAction*>("mnuMarginOnTheFly")->trigger();
        ASSERT_FALSE(adjustmentsAllZero(folder.path()));
    }
    ApplicationShell again(platform, folder.path());
    EXPECT_TRUE(again.mainWindow().findChild<QAction*>("mnuPlaceByPaperEdge")->isChecked());
}
