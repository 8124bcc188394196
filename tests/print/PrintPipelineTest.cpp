// The one print job every command goes through: the page each kind of job
// sets, the envelope on an envelope-size page, a job stopped part-way, and the
// preview's composition, which changes nothing.
#include <gtest/gtest.h>

#include "list/widgets/BulkLabelsCommand.h"
#include "sheets/AlignmentSheet.h"
#include "list/ListPrint.h"
#include "list/ListLine.h"
#include "sheets/LabelSheet.h"
#include "platform/PrintGrid.h"
#include "compose/PrintRuns.h"
#include "support/PrintTestSupport.h"

namespace tandor::test {
namespace {

// Stops the job when it reaches a page.
class StopAtPage : public JobProgress {
public:
    explicit StopAtPage(int page) : page_(page) {}
    bool pagesDone(int done, int) override { return done < page_; }

private:
    int page_;
};

ContactRecord person(const QString& first, const QString& last) {
    ContactFields f;
    f[Field::FName] = first;
    f[Field::LName] = last;
    f[Field::FStreet] = QStringLiteral("1 Elm St");
    f[Field::City] = QStringLiteral("Napa");
    return ContactRecord::build(f);
}

std::vector<ListEntry> entriesFor(const std::vector<ContactRecord>& records) {
    std::vector<ListEntry> entries;
    for (std::size_t i = 0; i < records.size(); ++i) {
        entries.push_back({listLine(records[i], SortOrder::FirstName), static_cast<int>(i) + 1});
    }
    return entries;
}

// The box the texts of a page fill, in points on the paper.
QRectF blockOf(const PrintedPage& page, const PageGeometry& geometry) {
    QRectF block;
    for (const PlacedText& t : page.texts) {
        const QRectF box(geometry.printable.left() + t.xPt, geometry.printable.top() + t.yPt,
                         t.text.size() * t.font.size * 0.6, printgrid::lineHeight(t.font.size));
        block = block.isNull() ? box : block.united(box);
    }
    return block;
}

TEST(PrintPipeline, EachKindOfJobStartsItsDialogOnItsOwnPageAndAPickDoesNotCarryOver) {
    PrintBench b;
    std::vector<PageSetup> requests;
    const auto asked = [&] { requests.push_back(b.platform.printRequests().last().page); };
    // An envelope with Envelope #10 picked in the dialog: one page, in the address area.
    b.chooseEnvelope(1);
    b.platform.pickPaper(PaperSize::Envelope10);
    b.print();
    asked();
    // Then a return-address sheet and a label sheet, each on its own Letter page.
    b.state.lines = {"Jane Doe", "1 Elm St", "Springfield, IL  62704", "", ""};
    runReturnAddressCommand(b.state, b.platform);
    asked();
    b.chooseLabel("1-30");
    b.print();
    asked();
    const std::vector<ContactRecord> records = {person("Ann", "Lee"), person("Bob", "Ray")};
    const std::vector<ListEntry> lines = entriesFor(records);
    runBulkLabelsCommand(b.platform, b.programFolder, lines,
                         [&records](int n) { return records.at(static_cast<std::size_t>(n - 1)); });
    asked();
    runListPrintCommand(b.platform, ListPrintRequest{&lines, {}, false, {}, QStringLiteral("Family")});
    asked();

    struct Expected {
        std::optional<PaperSize> paper;
        PageOrientation orientation;
    };
    const Expected expected[] = {
        {std::nullopt, PageOrientation::Landscape},       // envelope: the printer's own paper
        {PaperSize::Letter, PageOrientation::Portrait},   // return-address sheet
        {PaperSize::Letter, PageOrientation::Portrait},   // label sheet
        {PaperSize::Letter, PageOrientation::Portrait},   // bulk labels
        {std::nullopt, PageOrientation::Landscape},       // the printed list
    };
    const auto& documents = b.surface().documents();
    ASSERT_EQ(requests.size(), 5u);
    ASSERT_EQ(documents.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(requests[i].paper, expected[i].paper) << i;
        EXPECT_EQ(requests[i].orientation, expected[i].orientation) << i;
        EXPECT_EQ(documents[i].pages.size(), 1u) << i;  // nothing spills onto a second sheet
        EXPECT_EQ(documents[i].pages[0].orientation, expected[i].orientation) << i;
    }
    EXPECT_EQ(documents[1].pages[0].texts.size(), 80u * 3u);
    EXPECT_EQ(documents[2].pages[0].texts.size(), 30u * 3u);
}

TEST(PrintPipeline, OnAnEnvelopePageTheAddressLiesInTheAddressAreaOnOnePage) {
    struct Options {
        bool bold, large, centered, portrait, shifted;
    };
    const Options options[] = {{false, false, false, false, false}, {true, false, false, false, false},
                               {false, true, false, false, false},  {true, true, true, false, false},
                               {false, false, false, true, false},  {false, true, false, false, true},
                               {false, false, true, false, true}};
    for (int size = 1; size <= 7; ++size) {
        for (const Options& o : options) {
            PrintBench b;
            b.state.lines = {"Bartholomew J. Richardson", "12345 North Westmoreland Ave", "Suite 1200",
                             "Fort Lauderdale, FL  33301", "USA"};
            if (o.shifted) {
                b.platform.setPrinterName(QStringLiteral("HP ENVY 5530"));
            }
            b.chooseEnvelope(size);
            composition::setBold(b.state, o.bold);
            composition::setLargeFont(b.state, o.large);
            if (o.centered) {
                composition::clickCentered(b.state);
            }
            if (o.portrait) {
                composition::selectPortrait(b.state);
            }
            // The shifted model sets #10 itself; any other printer has it picked in the dialog.
            b.platform.answerPrint({.copies = 2});
            if (!o.shifted) {
                b.platform.pickPaper(PaperSize::Envelope10);
            }
            b.print();
            const std::string label = "size " + std::to_string(size) + " bold " + std::to_string(o.bold) +
                                      " large " + std::to_string(o.large) + " portrait " +
                                      std::to_string(o.portrait) + " shifted " + std::to_string(o.shifted);
            ASSERT_TRUE(b.platform.messages().isEmpty()) << label;
            const auto& documents = b.surface().documents();
            ASSERT_EQ(documents.size(), 2u) << label;  // one page per copy
            for (const PrintedDocument& d : documents) {
                ASSERT_EQ(d.pages.size(), 1u) << label;
                const PrintedPage& page = d.pages[0];
                EXPECT_EQ(page.texts.size(), 5u) << label;
                const PageGeometry geometry = b.surface().geometryOf(page.paper, page.orientation);
                const QRectF block = blockOf(page, geometry);
                const QSizeF paper = geometry.paper;
                EXPECT_GE(block.left(), 0.35 * paper.width() - 1e-6) << label;
                EXPECT_LE(block.left(), 0.55 * paper.width() + 1e-6) << label;
                EXPECT_GE(block.top(), 0.35 * paper.height() - 1e-6) << label;
                EXPECT_LE(block.top(), 0.60 * paper.height() + 1e-6) << label;
                EXPECT_LE(block.bottom(), geometry.printable.bottom() + 1e-6) << label;
                EXPECT_LE(block.right(), geometry.printable.right() + 1e-6) << label;
            }
        }
    }
}

TEST(PrintPipeline, AJobStoppedInItsProgressLeavesNothingPrintedAndTheWindowAsItWas) {
    for (const int stopAt : {0, 1, 2}) {  // 0: never stopped
        PrintBench b;
        b.chooseLabel("4-9");
        if (stopAt > 0) {
            b.platform.progressFactory = [stopAt] { return std::make_unique<StopAtPage>(stopAt); };
        }
        b.platform.answerPrint({.copies = 2});
        const QString startBefore = b.state.startPosition;
        b.print();
        EXPECT_TRUE(b.platform.messages().isEmpty()) << stopAt;
        if (stopAt == 0) {
            EXPECT_EQ(b.surface().documents().size(), 2u);
            EXPECT_EQ(b.state.startPosition, "10");
        } else {
            // Page 1 is the first copy's, page 2 the second's: what was sent is withdrawn.
            EXPECT_EQ(b.surface().documents().size(), stopAt == 1 ? 0u : 1u) << stopAt;
            EXPECT_EQ(b.ops().count("abandon document"), 1) << stopAt;
            EXPECT_EQ(b.ops().last(), "cancel output") << stopAt;
            EXPECT_EQ(b.state.startPosition, startBefore) << stopAt;
        }
    }
}

// The envelope's preview outlines the envelope (on screen only): against the
// bottom-left corner of a Letter page, long side along the page's long side;
// the whole page on an envelope page; none for a Custom size.
TEST(PrintPipeline, AnEnvelopePreviewOutlinesTheEnvelope) {
    const struct {
        int code;
        bool portrait;
        const char* printer;
        std::optional<QRectF> outline;  // points on the paper
    } cases[] = {
        {1, false, "PDF", QRectF(0, 612 - 297, 684, 297)},
        {3, false, "PDF", QRectF(0, 612 - 315, 414, 315)},
        {1, true, "PDF", QRectF(0, 792 - 684, 297, 684)},
        {1, false, "HP DeskJet 640C/642C/648C Series", QRectF(0, 0, 684, 297)},
        {7, false, "PDF", std::nullopt},
    };
    for (const auto& c : cases) {
        PrintBench b;
        b.platform.setPrinterName(QString::fromLatin1(c.printer));
        b.chooseEnvelope(c.code);
        if (c.portrait) {
            composition::clickPortrait(b.state);
        }
        const std::optional<PrintJob> job = previewJob(b.state, b.platform, b.programFolder);
        ASSERT_TRUE(job) << c.code;
        const std::vector<PreviewPage> pages = composeForPreview(b.platform, *job);
        ASSERT_EQ(pages.size(), 1u);
        ASSERT_EQ(pages[0].labelOutlines.size(), c.outline ? 1u : 0u) << c.code << c.printer;
        if (c.outline) {
            const QRectF& r = pages[0].labelOutlines[0];
            EXPECT_NEAR(r.left(), c.outline->left(), 0.01) << c.code << c.printer;
            EXPECT_NEAR(r.top(), c.outline->top(), 0.01) << c.code << c.printer;
            EXPECT_NEAR(r.width(), c.outline->width(), 0.01) << c.code << c.printer;
            EXPECT_NEAR(r.height(), c.outline->height(), 0.01) << c.code << c.printer;
        }
        // Nothing of the outline reaches the printer.
        b.print();
        ASSERT_EQ(b.surface().documents().size(), 1u);
        EXPECT_TRUE(b.surface().documents()[0].labelOutlines.empty());
        EXPECT_TRUE(b.surface().documents()[0].pages[0].rules.empty());
    }
}

TEST(PrintPipeline, APreviewComposesWhatPrintWouldPrintAndChangesNothing) {
    struct Case {
        const char* what;
        std::function<void(PrintBench&)> choose;
        std::size_t pages;
        std::size_t outlines;
        std::size_t texts;
    };
    const Case cases[] = {
        {"labels", [](PrintBench& b) { b.chooseLabel("1-30"); }, 1, 30, 30 * 3},
        {"envelope", [](PrintBench& b) { b.chooseEnvelope(1); }, 1, 1, 3},
        {"return-address sheet",
         [](PrintBench& b) {
             b.state.lines = {"Jane Doe", "1 Elm St", "Springfield, IL  62704", "", ""};
             b.state.returnAddressMode = true;
         },
         1, 80, 80 * 3},
    };
    for (const Case& c : cases) {
        PrintBench b;
        c.choose(b);
        const CompositionState before = b.state;
        const std::optional<PrintJob> job = previewJob(b.state, b.platform, b.programFolder);
        ASSERT_TRUE(job) << c.what;
        const std::vector<PreviewPage> pages = composeForPreview(b.platform, *job);
        ASSERT_EQ(pages.size(), c.pages) << c.what;
        EXPECT_EQ(pages[0].labelOutlines.size(), c.outlines) << c.what;
        EXPECT_EQ(pages[0].page.texts.size(), c.texts) << c.what;
        EXPECT_EQ(pages[0].geometry.paper, printgrid::paperSize(PaperSize::Letter, pages[0].page.orientation));
        // Nothing reached the printer and the window's state is as it was.
        EXPECT_TRUE(b.platform.printRequests().isEmpty()) << c.what;
        EXPECT_TRUE(b.surface().operations().isEmpty()) << c.what;
        EXPECT_EQ(b.state.startPosition, before.startPosition) << c.what;
        EXPECT_EQ(b.state.leftPad, before.leftPad) << c.what;
        EXPECT_EQ(b.state.topPad, before.topPad) << c.what;
        EXPECT_EQ(b.state.returnAddressMode, before.returnAddressMode) << c.what;
        EXPECT_EQ(b.state.boldVisible, before.boldVisible) << c.what;
    }
    // A refused check shows its message and composes nothing.
    PrintBench empty;
    empty.state.lines = {};
    empty.chooseLabel("5");
    EXPECT_FALSE(previewJob(empty.state, empty.platform, empty.programFolder));
    EXPECT_EQ(empty.platform.messages().size(), 1);
}

TEST(PrintPipeline, LabelOutlinesFollowTheSheetInBothOrientations) {
    const std::vector<QRectF> upright = sheetOutlines(defaultLabelSheet(), PageOrientation::Portrait);
    const std::vector<QRectF> turned = sheetOutlines(defaultLabelSheet(), PageOrientation::Landscape);
    ASSERT_EQ(upright.size(), 30u);
    ASSERT_EQ(turned.size(), 30u);
    const QRectF letter(QPointF(0, 0), printgrid::paperSize(PaperSize::Letter, PageOrientation::Portrait));
    for (std::size_t i = 0; i < upright.size(); ++i) {
        EXPECT_TRUE(letter.contains(upright[i])) << i;
        EXPECT_TRUE(letter.transposed().contains(turned[i])) << i;
        EXPECT_NEAR(turned[i].width(), upright[i].height(), 1e-9);
    }
    // Position 5 (row 2, column 2): 0.1875 + 2.75 in from the left, 1.5 in from the top.
    EXPECT_NEAR(upright[4].left(), (0.1875 + 2.75) * 72, 1e-9);
    EXPECT_NEAR(upright[4].top(), 1.5 * 72, 1e-9);
    EXPECT_EQ(sheetOutlines(returnAddressLabelSheet(), PageOrientation::Portrait).size(), 80u);
}

// An A4 sheet's jobs (labels, bulk labels, its alignment sheet) open on A4, and
// their previews show the sheet's own outlines; the alignment sheet's rules
// reach the preview and the printer alike.
TEST(PrintPipeline, AnA4SheetsJobsOpenOnA4WithTheSheetsOutlines) {
    const LabelSheet& sheet = *findLabelSheet(QStringLiteral("L7160"));
    const std::vector<QRectF> outlines = sheetOutlines(sheet, PageOrientation::Portrait);
    PrintBench b;
    b.state.sheetName = sheet.name;
    b.chooseLabel(QStringLiteral("1-21"));
    const std::optional<PrintJob> labels = previewJob(b.state, b.platform, b.programFolder);
    ASSERT_TRUE(labels);
    const std::vector<ContactRecord> records = {person("Ann", "Lee")};
    const std::vector<ListEntry> lines = entriesFor(records);
    const std::function<ContactRecord(int)> read = [&records](int) { return records[0]; };
    const PrintJob jobs[] = {*labels, bulkLabelsJob(lines, read, Adjustment{}, sheet),
                             alignmentSheetJob(sheet, Adjustment{})};
    const QSizeF a4 = printgrid::paperSize(PaperSize::A4, PageOrientation::Portrait);
    for (const PrintJob& job : jobs) {
        EXPECT_EQ(job.dialog.page.paper, PaperSize::A4);
        const std::vector<PreviewPage> pages = composeForPreview(b.platform, job);
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_EQ(pages[0].geometry.paper, a4);
        EXPECT_FALSE(pages[0].page.texts.empty());
    }
    EXPECT_EQ(composeForPreview(b.platform, jobs[0])[0].labelOutlines, outlines);
    // L7160: its second column starts 7.2 + 66.04 mm from the paper's left edge.
    EXPECT_NEAR(outlines[1].left() / 72 * 25.4, 7.2 + 66.04, 1e-9);
    EXPECT_EQ(outlines.size(), 21u);

    const std::vector<PreviewPage> alignment = composeForPreview(b.platform, jobs[2]);
    EXPECT_GE(alignment[0].page.rules.size(), 21u * 4u);
    runAlignmentSheetCommand(b.platform, b.programFolder, sheet);
    ASSERT_EQ(b.surface().documents().size(), 1u);
    EXPECT_EQ(b.platform.printRequests().last().page.paper, PaperSize::A4);
    EXPECT_EQ(b.surface().documents()[0].pages[0].rules, alignment[0].page.rules);
}

}  // namespace
}  // namespace tandor::test
