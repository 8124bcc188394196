// The label sheets on paper: the PDF pages of tandor-batch, rendered with
// pdftoppm and measured by their ink.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <random>

#include "sheets/LabelSheet.h"
#include "sheets/SheetDesignFile.h"
#include "sheets/SheetLibrary.h"
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
    QImage printAndRender(const QStringList& args, int expectedPages = 1, const QStringList& environment = {}) {
        const QString pdf = folder.file("out.pdf");
        QFile::remove(pdf);
        const BatchRun run = runBatch(QStringList{"--program-folder", programFolder} + args +
                                      QStringList{"-o", pdf}, environment);
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

// The ink of each label of a page: every inked dot is counted to the label
// nearest to it, so that ink that strays is found wherever it goes.
std::vector<QRectF> inkByLabel(const QImage& image, const LabelSheet& sheet) {
    std::vector<QRectF> labels;
    for (int p = 1; p <= sheet.count(); ++p) {
        labels.push_back(sheet.labelRectIn(p));
    }
    std::vector<QRect> dots(labels.size());
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (image.format() == QImage::Format_Grayscale8 ? line[x] >= 128 : !inked(image, x, y)) {
                continue;
            }
            const QPointF at((x + 0.5) / kDpi, (y + 0.5) / kDpi);
            std::size_t nearest = 0;
            double best = 1e9;
            for (std::size_t i = 0; i < labels.size(); ++i) {
                const double dx = std::max({labels[i].left() - at.x(), 0.0, at.x() - labels[i].right()});
                const double dy = std::max({labels[i].top() - at.y(), 0.0, at.y() - labels[i].bottom()});
                const double d = dx * dx + dy * dy;
                if (d < best) {
                    best = d;
                    nearest = i;
                }
            }
            dots[nearest] |= QRect(x, y, 1, 1);
        }
    }
    std::vector<QRectF> ink;
    for (const QRect& r : dots) {
        ink.push_back(r.isNull() ? QRectF()
                                 : QRectF(double(r.left()) / kDpi, double(r.top()) / kDpi,
                                          double(r.width()) / kDpi, double(r.height()) / kDpi));
    }
    return ink;
}

// Each label's ink lies inside the label with kSpare to spare and spans its
// lines (at least lines - 1 line pitches).
void expectInkInsideLabels(const QImage& page, const LabelSheet& sheet, int lines,
                           const std::string& what) {
    const std::vector<QRectF> ink = inkByLabel(page, sheet);
    for (int p = 1; p <= sheet.count(); ++p) {
        const QRectF& i = ink[static_cast<std::size_t>(p - 1)];
        const QRectF label = sheet.labelRectIn(p);
        const std::string where = what + " position " + std::to_string(p);
        ASSERT_FALSE(i.isEmpty()) << where;
        EXPECT_GT(i.height(), (lines - 1) * sheet.linePitchPt() / 72) << where;
        EXPECT_GE(i.left() - label.left(), kSpare) << where;
        EXPECT_GE(label.right() - i.right(), kSpare) << where;
        EXPECT_GE(i.top() - label.top(), kSpare) << where;
        EXPECT_GE(label.bottom() - i.bottom(), kSpare) << where;
    }
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

// The environment of a tandor-batch that knows only the sheets it is built
// with and those of the per-user folder under `dataHome`: no data folder of
// the system (where the label-template library is) is searched.
QStringList builtInSheetsOnly(TempFolder& folder, const QString& dataHome) {
    QDir().mkpath(folder.file("no-system-data"));
    return {"XDG_DATA_DIRS=" + folder.file("no-system-data"), "XDG_DATA_HOME=" + dataHome};
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
                expectInkInsideLabels(page, sheet, 5,
                                      std::string(name) + (centred ? " centred " : " ") +
                                          std::to_string(characters));
            }
        }
    }
}

// Sheets of the label-template library, 30 drawn at random, half on A4 and
// half on Letter, and every sheet of several layouts: every position printed
// with the widest address of five lines (cut to the sheet's lines) keeps its
// ink inside its label.
TEST_F(SheetsBatch, EveryAddressLiesInsideItsLabelOnLibrarySheets) {
    std::vector<const LabelSheet*> a4, letter, layouts;
    for (const LabelSheet& sheet : labelSheets()) {
        if (!sheet.builtIn) {
            (sheet.layouts.size() > 1 ? layouts : sheet.paper == PaperSize::A4 ? a4 : letter).push_back(&sheet);
        }
    }
    if (a4.empty() || letter.empty()) {
        const char* why = "the label-template library (Debian package glabels-data) is not installed";
        if (qgetenv("CI") == "true") {
            FAIL() << why;
        }
        GTEST_SKIP() << why;
    }
    std::mt19937 random(20261207);
    std::vector<const LabelSheet*> drawn;
    for (auto* sheets : {&a4, &letter}) {
        std::shuffle(sheets->begin(), sheets->end(), random);
        drawn.insert(drawn.end(), sheets->begin(), sheets->begin() + std::min<std::size_t>(15, sheets->size()));
    }
    drawn.insert(drawn.end(), layouts.begin(), layouts.end());
    for (const LabelSheet* sheet : drawn) {
        const QString range = sheet->count() == 1 ? QStringLiteral("1") : QStringLiteral("1-%1").arg(sheet->count());
        const QImage page = printAndRender(QStringList{"labels", "--sheet", sheet->name, "--positions", range,
                                                       "--center"} +
                                           widestAddress(sheet->characters));
        ASSERT_FALSE(page.isNull()) << sheet->name.toStdString();
        expectInkInsideLabels(page, *sheet, sheet->textLines, sheet->name.toStdString());
    }
}

// A sheet the user saves in the folder sheets of the per-user program folder
// is listed and printed on by its name.
TEST_F(SheetsBatch, TheUsersOwnSheetsAreReadFromTheirFolder) {
    const QStringList environment = builtInSheetsOnly(folder, folder.path());
    QDir().mkpath(folder.file("Tandor/sheets"));
    folder.write("Tandor/sheets/mine.xml", R"(<?xml version="1.0"?><Glabels-templates>
        <Template brand="Acme" part="U-1" size="US-Letter" description="Mine">
          <Label-rectangle id="0" width="4in" height="2in">
            <Layout nx="2" ny="5" x0="0.2in" y0="0.5in" dx="4.1in" dy="2in"/></Label-rectangle></Template>
        </Glabels-templates>)");
    const BatchRun list = runBatch({"sheets"}, environment);
    const BatchRun print = runBatch({"labels", "--sheet", "acme u-1", "-o", folder.file("mine.pdf"), "A"}, environment);
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    // The heading, the five built-in sheets and the user's.
    EXPECT_EQ(list.out.count(QLatin1Char('\n')), 7) << list.out.toStdString();
    EXPECT_TRUE(list.out.contains(
        QRegularExpression("^Acme +U-1 +Mine +Letter +2 x 4 in +10  Acme U-1$", QRegularExpression::MultilineOption)))
        << list.out.toStdString();
    EXPECT_EQ(print.exitCode, 0) << print.err.toStdString();
}

// A sheet made in New Label Sheet... (its file as the dialog writes it) is
// printed on by its name, every address inside its label.
TEST_F(SheetsBatch, ASheetOfTheUsersOwnDesignPrintsInsideItsLabels) {
    const QStringList environment = builtInSheetsOnly(folder, folder.path());
    SheetDesign design;
    design.name = QStringLiteral("Pantry jars");
    design.unit = LengthUnit::Millimetres;
    design.paper = DesignPaper::A4;
    design.labelWidth = 63.5;
    design.labelHeight = 38.1;
    design.columns = 3;
    design.rows = 7;
    design.left = 7.2;
    design.top = 15.1;
    design.pitchX = 66.0;
    design.pitchY = 38.1;
    ASSERT_EQ(designProblem(design), QString());
    const QString sheets = folder.file("Tandor/sheets");
    QDir().mkpath(sheets);
    folder.write("Tandor/sheets/Pantry jars.xml", designXml(design));
    const QList<LabelSheet> loaded = loadLabelSheets({sheets});
    const auto mine = std::find_if(loaded.begin(), loaded.end(), [](const LabelSheet& s) { return !s.builtIn; });
    ASSERT_NE(mine, loaded.end());
    const QImage page = printAndRender(QStringList{"labels", "--sheet", "User Pantry jars", "--positions", "1-21"} +
                                           widestAddress(mine->characters),
                                       1, environment);
    ASSERT_FALSE(page.isNull());
    expectInkInsideLabels(page, *mine, mine->textLines, "Pantry jars");
}

// A sheet of many equivalents and a long description takes three part numbers
// and its columns' widths in the list; with the library of sheets (when
// installed) every row of the list reads in 120 columns.
TEST_F(SheetsBatch, TheListReadsInAHundredAndTwentyColumns) {
    QString templates = R"(<?xml version="1.0"?><Glabels-templates>
        <Template brand="Acme" part="P-1" size="A4" description="Labels for parcels, jars, files and folders">
          <Label-rectangle id="0" width="63.8528mm" height="33.8667mm">
            <Layout nx="3" ny="8" x0="7mm" y0="13mm" dx="66mm" dy="34mm"/></Label-rectangle></Template>)";
    for (int i = 2; i <= 30; ++i) {
        templates += QStringLiteral(R"(<Template brand="Acme" part="P-%1" equiv="P-1"/>)").arg(i);
    }
    QDir().mkpath(folder.file("Tandor/sheets"));
    folder.write("Tandor/sheets/many.xml", (templates + "</Glabels-templates>").toUtf8());
    const BatchRun own = runBatch({"sheets", "--search", "acme"}, builtInSheetsOnly(folder, folder.path()));
    EXPECT_EQ(own.exitCode, 0) << own.err.toStdString();
    EXPECT_TRUE(own.out.contains(QRegularExpression(
        R"(^Acme +P-1 / P-2 / P-3 / \.\.\. +Labels for parcels\.\.\. +A4 +63\.9 x 33\.9 mm +24  Acme P-1$)",
        QRegularExpression::MultilineOption)))
        << own.out.toStdString();
    // Every row's name starts where the heading's does, at column 100 at the
    // latest: a name of 21 characters ends by column 120.
    const BatchRun all = runBatch({"sheets"});
    EXPECT_EQ(all.exitCode, 0) << all.err.toStdString();
    const QStringList lines = all.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 1);
    const qsizetype nameColumn = lines[0].indexOf(QStringLiteral("Name for --sheet"));
    EXPECT_LE(nameColumn, 99) << lines[0].toStdString();
    QSet<QString> named;
    for (const QString& line : lines.mid(1)) {
        if (line.mid(nameColumn - 2, 2) == QStringLiteral("  ") && line.at(nameColumn - 3) != QLatin1Char(' ')) {
            named.insert(line.mid(nameColumn));
        }
    }
    for (const LabelSheet& sheet : labelSheets()) {
        EXPECT_TRUE(named.contains(sheet.name)) << sheet.name.toStdString() << " is not in its column";
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
        if (!sheet->builtIn) {
            continue;
        }
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
            const QRectF r = sheet->outlineIn(p);
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
    TempFolder folder;
    const QStringList environment = builtInSheetsOnly(folder, folder.file("home"));
    const BatchRun a4 = runBatch({"sheets", "--search", "AVERY a4"}, environment);
    EXPECT_EQ(a4.exitCode, 0) << a4.err.toStdString();
    const QStringList lines = a4.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << a4.out.toStdString();
    EXPECT_TRUE(lines[0].contains(QRegularExpression("^Maker +Part +Description +Paper +Label size +Count  Name for --sheet$")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith("  L7160") && lines[2].endsWith("  L7163")) << a4.out.toStdString();
    const BatchRun none = runBatch({"sheets", "--search", "avery zzzz"}, environment);
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.contains("no label sheet matches avery zzzz")) << none.err.toStdString();

    const QString pdf = folder.file("l7163.pdf");
    const BatchRun made = runBatch({"labels", "--sheet", "avery j8163", "-o", pdf, "A"}, environment);
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
