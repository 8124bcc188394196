// The label sheets on paper: the PDF pages of tandor-batch, rendered with
// pdftoppm and measured by their ink.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cmath>

#include "sheets/LabelSheet.h"
#include "sheets/SheetSearch.h"
#include "support/PdfWords.h"
#include "support/TestFiles.h"

using namespace tandor;
using namespace tandor::test;

namespace {

constexpr int kDpi = 150;
constexpr double kSpare = 0.05;  // inches of label left around the ink on every side

class SheetsBatch : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("pdftoppm").isEmpty() || !havePdfToText()) {
            GTEST_SKIP() << "pdftoppm and pdftotext (poppler-utils) are needed to measure the PDF";
        }
    }
    // Runs the batch tool into out.pdf and renders its first page in grey.
    QImage printAndRender(const QStringList& args, int expectedPages = 1) {
        const QString pdf = folder.file("out.pdf");
        QFile::remove(pdf);
        const BatchRun run = runBatch(QStringList{"--program-folder", programFolder} + args +
                                      QStringList{"-o", pdf});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        pages = pdfPages(pdf);
        EXPECT_EQ(pages.size(), static_cast<std::size_t>(expectedPages));
        QProcess render;
        render.start("pdftoppm", {"-gray", "-r", QString::number(kDpi), "-f", "1", "-l", "1",
                                  "-singlefile", pdf, folder.file("page")});
        render.waitForFinished(60000);
        return QImage(folder.file("page.pgm"));
    }
    TempFolder folder;
    QString programFolder = folder.withDefaultAdjustments();
    std::vector<Page> pages;
};

bool inked(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

// The ink inside a rectangle of the page (inches), as a rectangle in inches.
QRectF inkIn(const QImage& image, const QRectF& areaIn) {
    const int x0 = std::max(0, static_cast<int>(std::floor(areaIn.left() * kDpi)));
    const int y0 = std::max(0, static_cast<int>(std::floor(areaIn.top() * kDpi)));
    const int x1 = std::min(image.width(), static_cast<int>(std::ceil(areaIn.right() * kDpi)));
    const int y1 = std::min(image.height(), static_cast<int>(std::ceil(areaIn.bottom() * kDpi)));
    int left = x1, right = -1, top = y1, bottom = -1;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (inked(image, x, y)) {
                left = std::min(left, x);
                right = std::max(right, x + 1);
                top = std::min(top, y);
                bottom = std::max(bottom, y + 1);
            }
        }
    }
    if (right < 0) {
        return {};
    }
    return {double(left) / kDpi, double(top) / kDpi, double(right - left) / kDpi,
            double(bottom - top) / kDpi};
}

// The part of the page nearer to a label than to any other: the ink of one
// address is measured there, so that ink that strays is found wherever it goes.
QRectF cellOf(const LabelSheet& sheet, int position, const QSizeF& pageIn) {
    const QRectF label = sheet.labelRectIn(position);
    const int c = sheet.columnOf(position);
    const int r = sheet.rowOf(position);
    const double gapX = sheet.pitchXIn - sheet.labelWidthIn;
    const double gapY = sheet.pitchYIn - sheet.labelHeightIn;
    const double left = c == 0 ? 0.0 : label.left() - gapX / 2;
    const double right = c == sheet.columns - 1 ? pageIn.width() : label.right() + gapX / 2;
    const double top = r == 0 ? 0.0 : label.top() - gapY / 2;
    const double bottom = r == sheet.rows - 1 ? pageIn.height() : label.bottom() + gapY / 2;
    return {left, top, right - left, bottom - top};
}

// Five lines of the label's full width, made of the glyphs that reach
// furthest up (accents), down (descenders) and to the sides.
QStringList widestAddress(int characters) {
    const QString glyphs = QStringLiteral("W\u00c5Mgj_|@\u00c9Qy");
    QStringList lines;
    for (int i = 0; i < 5; ++i) {
        QString line;
        for (int k = 0; k < characters; ++k) {
            line += glyphs.at((k + i * 3) % glyphs.size());
        }
        lines << line;
    }
    return lines;
}

}  // namespace

TEST_F(SheetsBatch, EveryAddressLiesInsideItsLabelOnTheNewSheets) {
    for (const char* name : {"L7160", "L7163", "5161"}) {
        const LabelSheet& sheet = *findLabelSheet(name);
        for (const bool centred : {false, true}) {
            for (int characters : {sheet.characters, 3}) {
                QStringList args = {"labels", "--sheet", name, "--positions",
                                    QStringLiteral("1-%1").arg(sheet.count())};
                if (centred) {
                    args << "--center";
                }
                const QImage page = printAndRender(args + widestAddress(characters));
                ASSERT_FALSE(page.isNull()) << name;
                ASSERT_EQ(pages.size(), 1u);
                const QSizeF pageIn(pages[0].width, pages[0].height);
                EXPECT_NEAR(pageIn.width(), sheet.paper == PaperSize::A4 ? 8.27 : 8.5, 0.01);
                EXPECT_NEAR(pageIn.height(), sheet.paper == PaperSize::A4 ? 11.69 : 11.0, 0.01);
                for (int p = 1; p <= sheet.count(); ++p) {
                    const QRectF ink = inkIn(page, cellOf(sheet, p, pageIn));
                    const QRectF label = sheet.labelRectIn(p);
                    const std::string where = std::string(name) + " position " + std::to_string(p) +
                                              (centred ? " centred" : "") + " " +
                                              std::to_string(characters);
                    ASSERT_FALSE(ink.isEmpty()) << where;
                    // All five lines are there: the ink spans at least four line pitches.
                    EXPECT_GT(ink.height(), 4 * sheet.linePitchPt() / 72) << where;
                    EXPECT_GE(ink.left() - label.left(), kSpare) << where;
                    EXPECT_GE(label.right() - ink.right(), kSpare) << where;
                    EXPECT_GE(ink.top() - label.top(), kSpare) << where;
                    EXPECT_GE(label.bottom() - ink.bottom(), kSpare) << where;
                }
            }
        }
    }
}

TEST_F(SheetsBatch, SheetsAreListedAndAnUnknownSheetIsRefused) {
    const BatchRun list = runBatch({"sheets"});
    EXPECT_EQ(list.exitCode, 0);
    for (const LabelSheet& sheet : labelSheets()) {
        EXPECT_TRUE(list.out.contains("  " + sheet.name + "\n")) << sheet.name.toStdString();
    }
    EXPECT_TRUE(list.out.contains(QRegularExpression(
        "^Avery +L7160 / J8160 +Address Labels +A4 +63.5 x 38.1 mm +21  L7160$", QRegularExpression::MultilineOption)))
        << list.out.toStdString();
    const QString pdf = folder.file("refused.pdf");
    for (const QStringList& args :
         {QStringList{"labels", "--sheet", "L9999", "-o", pdf, "A"},
          QStringList{"bulk-labels", "--sheet", "5167", "-o", pdf, folder.file("none.DAT")},
          QStringList{"alignment-sheet", "--sheet", "", "-o", pdf}}) {
        const BatchRun run = runBatch(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

// The outlines of the alignment sheet stand on the sheet's geometry: a rule
// within 0.01 in of every edge of every label.
TEST_F(SheetsBatch, AlignmentSheetOutlinesFallOnTheGeometry) {
    for (const LabelSheet* sheet : addressSheets()) {
        const QImage page = printAndRender({"alignment-sheet", "--sheet", sheet->name});
        ASSERT_FALSE(page.isNull());
        const int reach = static_cast<int>(std::ceil(0.01 * kDpi));
        // The share of an edge that is inked on the best pixel line within reach.
        auto edgeInk = [&](bool vertical, double at, double from, double to) {
            double best = 0.0;
            const int centre = static_cast<int>(std::lround(at * kDpi));
            const int a = static_cast<int>(std::ceil((from + 0.1) * kDpi));
            const int b = static_cast<int>(std::floor((to - 0.1) * kDpi));
            for (int d = -reach; d <= reach; ++d) {
                int inkedPixels = 0;
                for (int t = a; t < b; ++t) {
                    const int x = vertical ? centre + d : t;
                    const int y = vertical ? t : centre + d;
                    // A rule half a pixel wide may fall between two rows of pixels.
                    if (inked(page, x, y) ||
                        inked(page, vertical ? x + 1 : x, vertical ? y : y + 1)) {
                        ++inkedPixels;
                    }
                }
                best = std::max(best, double(inkedPixels) / std::max(1, b - a));
            }
            return best;
        };
        for (int p = 1; p <= sheet->count(); ++p) {
            const QRectF r(sheet->firstLeftIn + sheet->columnOf(p) * sheet->pitchXIn,
                           sheet->firstTopIn + sheet->rowOf(p) * sheet->pitchYIn,
                           sheet->labelWidthIn, sheet->labelHeightIn);
            const std::string where = sheet->name.toStdString() + " position " + std::to_string(p);
            EXPECT_GT(edgeInk(true, r.left(), r.top(), r.bottom()), 0.95) << where << " left";
            EXPECT_GT(edgeInk(true, r.right(), r.top(), r.bottom()), 0.95) << where << " right";
            EXPECT_GT(edgeInk(false, r.top(), r.left(), r.right()), 0.95) << where << " top";
            EXPECT_GT(edgeInk(false, r.bottom(), r.left(), r.right()), 0.95) << where << " bottom";
        }
        // The scale numbers -5 to +5 of the last label are on the page.
        ASSERT_EQ(pages.size(), 1u);
        QStringList words;
        for (const Word& w : pages[0].words) {
            words << w.text;
        }
        for (const char* number : {"-5", "+5", "0", "+1", "-1"}) {
            EXPECT_TRUE(words.contains(number)) << sheet->name.toStdString() << " " << number;
        }
    }
}

// sheets --search lists the matches under a heading; --sheet takes the maker
// and the part number as on the box.
TEST(SheetsCommand, SearchListsTheMatchesAndSheetTakesMakerAndPart) {
    const BatchRun a4 = runBatch({"sheets", "--search", "AVERY a4"});
    EXPECT_EQ(a4.exitCode, 0) << a4.err.toStdString();
    const QStringList lines = a4.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << a4.out.toStdString();
    EXPECT_TRUE(lines[0].contains(QRegularExpression("^Maker +Part +Description +Paper +Label size +Count  Name for --sheet$")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith("  L7160") && lines[2].endsWith("  L7163")) << a4.out.toStdString();
    const BatchRun none = runBatch({"sheets", "--search", "avery zzzz"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.contains("no label sheet matches avery zzzz")) << none.err.toStdString();

    TempFolder folder;
    const QString pdf = folder.file("l7163.pdf");
    const BatchRun made = runBatch({"labels", "--sheet", "avery j8163", "-o", pdf, "A"});
    EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_TRUE(QFile::exists(pdf));
}

// A part number that sheets of two makers share is refused with the names
// that tell them apart.
TEST(SheetsCommand, APartNumberOfTwoMakersIsRefusedWithTheirNames) {
    // The sheets that have a part number as their own, and those that hold it
    // as an equivalent; a sheet named so would be taken by its name.
    QMap<QString, QList<const LabelSheet*>> owners;
    QMap<QString, QList<const LabelSheet*>> holders;
    QSet<QString> names;
    for (const LabelSheet& sheet : labelSheets()) {
        names.insert(sheet.name.toUpper());
        owners[sheet.part.toUpper()].append(&sheet);
        for (const QString& part : sheet.equivalents) {
            holders[part.toUpper()].append(&sheet);
        }
    }
    for (const QString& part : owners.keys() + holders.keys()) {
        const QList<const LabelSheet*> matches = owners.value(part).isEmpty() ? holders.value(part) : owners.value(part);
        QSet<QString> makers;
        for (const LabelSheet* s : matches) {
            makers.insert(s->maker);
        }
        if (makers.size() < 2 || names.contains(part)) {
            continue;
        }
        TempFolder folder;
        const QString pdf = folder.file("refused.pdf");
        const BatchRun run = runBatch({"labels", "--sheet", part, "-o", pdf, "A"});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_FALSE(QFile::exists(pdf));
        EXPECT_TRUE(run.err.contains(QStringLiteral("is the part number of %1 label sheets").arg(matches.size())))
            << run.err.toStdString();
        for (const LabelSheet* s : matches) {
            const QString typed = s->name.contains(' ') ? '"' + s->name + '"' : s->name;
            EXPECT_TRUE(run.err.contains("--sheet " + typed)) << run.err.toStdString();
        }
        return;
    }
    GTEST_SKIP() << "no two makers' sheets share a part number in this list";
}
