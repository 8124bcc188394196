// Label sheets as data: the sheets of templates, the sheets built in from the
// resource, the sheets read from a folder with their character grid, and the
// library that holds them.
#include <gtest/gtest.h>

#include <QComboBox>
#include <memory>

#include "appshell/widgets/ApplicationShell.h"
#include "compose/widgets/MainWindow.h"
#include "list/BulkLabels.h"
#include "platform/ScriptedPlatform.h"
#include "support/PrintTestSupport.h"
#include "sheets/LabelSheet.h"
#include "sheets/SheetLibrary.h"
#include "sheets/SheetTemplateReader.h"
#include "sheets/TemplateSheets.h"
#include "support/TestFiles.h"

using namespace tandor;

namespace {

QByteArray templates(const char* body) {
    return QByteArray("<?xml version=\"1.0\"?>\n<Glabels-templates>\n") + body +
           "\n</Glabels-templates>\n";
}

}  // namespace

TEST(TemplateSheets, RectanglesOnA4AndLetterInEveryUnit) {
    constexpr double mm = 1.0 / 25.4;
    const struct {
        const char* what;
        const char* xml;
        int sheets;  // read; the first is checked below
        PaperSize paper;
        double width, height;
        std::vector<SheetLayout> layouts;
        QStringList equivalents;  // attached when the folder is loaded
    } cases[] = {
        {"inches and an equivalent",
         R"(<Template brand="Avery" part="9160" size="US-Letter" _description="Address Labels">
              <Label-rectangle id="0" width="2.625in" height="1in" round="0.0625in">
                <Markup-margin size="0.0625in"/>
                <Layout nx="3" ny="10" x0="0.1875in" y0="0.5in" dx="2.75in" dy="1in"/>
              </Label-rectangle></Template>
            <Template brand="Avery" part="9260" equiv="9160"/>)",
         1, PaperSize::Letter, 2.625, 1.0, {{3, 10, 0.1875, 0.5, 2.75, 1.0}}, {"9260"}},
        {"millimetres, points without a unit, centimetres and picas",
         R"(<Template brand="Herma" part="4226" size="A4" description="Etiketten">
              <Label-rectangle id="0" width="70mm" height="72" round="0">
                <Layout nx="3" ny="8" x0="0cm" y0="6pc" dx="7cm" dy="1in"/>
              </Label-rectangle></Template>)",
         1, PaperSize::A4, 70 * mm, 1.0, {{3, 8, 0.0, 1.0, 70 * mm, 1.0}}, {}},
        {"two layouts, numbered one after the other",
         R"(<Template brand="Zweckform" part="3490" size="A4" description="Mixed">
              <Label-rectangle id="0" width="90mm" height="30mm">
                <Layout nx="2" ny="4" x0="10mm" y0="10mm" dx="95mm" dy="35mm"/>
                <Layout nx="1" ny="3" x0="10mm" y0="160mm" dx="0" dy="35mm"/>
              </Label-rectangle></Template>)",
         1, PaperSize::A4, 90 * mm, 30 * mm,
         {{2, 4, 10 * mm, 10 * mm, 95 * mm, 35 * mm}, {1, 3, 10 * mm, 160 * mm, 0, 35 * mm}}, {}},
        {"round, elliptical and CD labels, other papers and overlaps are passed over",
         R"(<Template brand="A" part="1" size="US-Letter" description="Round">
              <Label-round id="0" radius="1in"><Layout nx="1" ny="1" x0="1in" y0="1in" dx="0" dy="0"/></Label-round></Template>
            <Template brand="A" part="2" size="A4" description="Oval">
              <Label-ellipse id="0" width="2in" height="1in"><Layout nx="1" ny="1" x0="1in" y0="1in" dx="0" dy="0"/></Label-ellipse></Template>
            <Template brand="A" part="3" size="A4" description="CD">
              <Label-cd id="0" radius="58mm" hole="20mm"><Layout nx="1" ny="2" x0="1in" y0="1in" dx="0" dy="5in"/></Label-cd></Template>
            <Template brand="A" part="4" size="A5" description="Small paper">
              <Label-rectangle id="0" width="2in" height="1in"><Layout nx="1" ny="1" x0="1in" y0="1in" dx="0" dy="0"/></Label-rectangle></Template>
            <Template brand="A" part="5" size="Other" width="4in" height="6in" description="Other">
              <Label-rectangle id="0" width="2in" height="1in"><Layout nx="1" ny="1" x0="1in" y0="1in" dx="0" dy="0"/></Label-rectangle></Template>
            <Template brand="A" part="6" size="US-Letter" description="Off the paper">
              <Label-rectangle id="0" width="4in" height="1in"><Layout nx="3" ny="1" x0="0.5in" y0="1in" dx="4in" dy="0"/></Label-rectangle></Template>
            <Template brand="A" part="7" size="US-Letter" description="Overlapping">
              <Label-rectangle id="0" width="2in" height="1in"><Layout nx="2" ny="1" x0="0.5in" y0="1in" dx="1in" dy="0"/></Label-rectangle></Template>
            <Template brand="A" part="9" size="A4" description="One layout twice">
              <Label-rectangle id="0" width="170mm" height="54mm">
                <Layout nx="1" ny="5" x0="20mm" y0="14mm" dx="170mm" dy="54mm"/>
                <Layout nx="1" ny="5" x0="20mm" y0="14mm" dx="170mm" dy="54mm"/></Label-rectangle></Template>
            <Template brand="A" part="10" size="US-Letter" description="Layouts overlapping by 0.025in">
              <Label-rectangle id="0" width="2in" height="1in">
                <Layout nx="1" ny="1" x0="1in" y0="1in" dx="0" dy="0"/>
                <Layout nx="1" ny="1" x0="1in" y0="1.975in" dx="0" dy="0"/></Label-rectangle></Template>
            <Template brand="A" part="8" size="US-Letter" description="Unreadable">
              <Label-rectangle id="0" width="two in" height="1in"><Layout nx="1" ny="1" x0="1in" y0="1in" dx="0" dy="0"/></Label-rectangle></Template>)",
         0, PaperSize::Letter, 0, 0, {}, {}},
    };
    for (const auto& c : cases) {
        const SheetTemplateFile file = SheetTemplateReader(templates(c.xml)).read();
        EXPECT_TRUE(file.error.isEmpty()) << c.what;
        const QList<LabelSheet> read = sheetsOfTemplates(file.templates);
        ASSERT_EQ(read.size(), c.sheets) << c.what;
        if (c.sheets == 0) {
            continue;
        }
        const LabelSheet& s = read.front();
        EXPECT_EQ(s.paper, c.paper) << c.what;
        EXPECT_NEAR(s.labelWidthIn, c.width, 1e-9) << c.what;
        EXPECT_NEAR(s.labelHeightIn, c.height, 1e-9) << c.what;
        ASSERT_EQ(s.layouts.size(), c.layouts.size()) << c.what;
        for (std::size_t i = 0; i < c.layouts.size(); ++i) {
            const SheetLayout& got = s.layouts[i];
            const SheetLayout& want = c.layouts[i];
            EXPECT_EQ(got.columns, want.columns) << c.what;
            EXPECT_EQ(got.rows, want.rows) << c.what;
            for (const auto& [a, b] : {std::pair{got.firstLeftIn, want.firstLeftIn},
                                       {got.firstTopIn, want.firstTopIn},
                                       {got.pitchXIn, want.pitchXIn},
                                       {got.pitchYIn, want.pitchYIn}}) {
                EXPECT_NEAR(a, b, 1e-9) << c.what;
            }
        }
        test::TempFolder folder;
        folder.write("library.xml", templates(c.xml));
        const QList<LabelSheet> loaded = loadLabelSheets({folder.path()});
        ASSERT_GT(loaded.size(), 5) << c.what;
        EXPECT_EQ(loaded.at(5).equivalents, c.equivalents) << c.what;
        EXPECT_EQ(loaded.at(5).name, s.maker + " " + s.part) << c.what;
    }
}

// The positions of a sheet of two layouts run through the first, then the second.
TEST(LabelSheet, PositionsRunLayoutByLayout) {
    LabelSheet s;
    s.labelWidthIn = 1.0;
    s.labelHeightIn = 0.5;
    s.layouts = {{2, 3, 0.5, 1.0, 1.5, 1.0}, {1, 2, 4.0, 6.0, 0, 2.0}};
    EXPECT_EQ(s.count(), 8);
    EXPECT_EQ(s.rowCount(), 5);
    const struct {
        int position, column, row;
        double left, top;
    } cases[] = {{1, 0, 0, 0.5, 1.0}, {2, 1, 0, 2.0, 1.0}, {6, 1, 2, 2.0, 3.0},
                 {7, 0, 3, 4.0, 6.0}, {8, 0, 4, 4.0, 8.0}};
    for (const auto& c : cases) {
        EXPECT_EQ(s.columnOf(c.position), c.column) << c.position;
        EXPECT_EQ(s.rowOf(c.position), c.row) << c.position;
        EXPECT_EQ(s.firstPositionOfRow(c.row) + c.column, c.position) << c.position;
        EXPECT_EQ(s.outlineIn(c.position), QRectF(c.left, c.top, 1.0, 0.5)) << c.position;
    }
    EXPECT_EQ(s.columnsInRow(3), 1);
}

// The five sheets read from the built-in resource are the sheets the program
// always printed on: the same geometry and the same LeftPads and TopPads.
TEST(LabelLibrary, BuiltInSheetsAreTheFiveWrittenSheets) {
    constexpr double mm = 1.0 / 25.4;
    const struct {
        const char* name;
        const char* parts;
        PaperSize paper;
        int columns, rows;
        double width, height, left, top, pitchX, pitchY;
        double fontSize;
        int lines, characters;
        std::vector<int> leftPads, topPads;
    } cases[] = {
        {"5160", "Avery 5160 / 8160", PaperSize::Letter, 3, 10, 2.625, 1.0, 0.1875, 0.5, 2.75, 1.0,
         10, 5, 30, {2, 35, 68}, {3, 10, 16, 23, 30, 36, 43, 50, 56, 63}},
        {"5161", "Avery 5161 / 8161", PaperSize::Letter, 2, 10, 4.0, 1.0, 0.15625, 0.5, 4.1875, 1.0,
         10, 5, 45, {1, 52}, {3, 10, 16, 23, 30, 36, 43, 50, 57, 63}},
        {"L7160", "Avery L7160 / J8160", PaperSize::A4, 3, 7, 63.5 * mm, 38.1 * mm, 7.2 * mm,
         15.15 * mm, 66.04 * mm, 38.1 * mm, 10, 5, 27, {3, 34, 65}, {5, 15, 25, 35, 45, 56, 66}},
        {"L7163", "Avery L7163 / J8163", PaperSize::A4, 2, 7, 99.1 * mm, 38.1 * mm, 4.65 * mm,
         15.15 * mm, 101.6 * mm, 38.1 * mm, 10, 5, 43, {2, 50}, {5, 15, 25, 35, 45, 56, 66}},
        {"5167", "Avery 5167 / 8167 / 18167", PaperSize::Letter, 4, 20, 1.75, 0.5, 0.28125, 0.5,
         2.0625, 0.5, 8, 3, 30, {3, 35, 66, 97},
         {5, 9, 13, 17, 21, 25, 29, 33, 38, 42, 46, 50, 54, 59, 63, 68, 72, 76, 80, 84}},
    };
    // A library that names the same sheets (by part or equivalent) replaces none of them.
    test::TempFolder folder;
    folder.write("same.xml", templates(R"(
        <Template brand="Avery" part="8160" size="A4" description="Not the 30-up sheet">
          <Label-rectangle id="0" width="70mm" height="37mm">
            <Layout nx="3" ny="8" x0="0" y0="0" dx="70mm" dy="37mm"/></Label-rectangle></Template>
        <Template brand="avery" part="l7163" size="A4" description="Not L7163 either">
          <Label-rectangle id="0" width="70mm" height="37mm">
            <Layout nx="3" ny="8" x0="0" y0="0" dx="70mm" dy="37mm"/></Label-rectangle></Template>)"));
    const QList<LabelSheet> sheets = loadLabelSheets({folder.path()});
    ASSERT_EQ(sheets.size(), 5);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const LabelSheet& s = sheets.at(static_cast<qsizetype>(i));
        EXPECT_EQ(s.name, c.name);
        EXPECT_TRUE(s.builtIn) << c.name;
        EXPECT_EQ(s.parts, c.parts);
        EXPECT_EQ(s.paper, c.paper) << c.name;
        EXPECT_EQ(s.count(), c.columns * c.rows) << c.name;
        EXPECT_EQ(s.fontSize, c.fontSize) << c.name;
        EXPECT_EQ(s.textLines, c.lines) << c.name;
        EXPECT_EQ(s.characters, c.characters) << c.name;
        for (int p = 1; p <= s.count(); ++p) {
            const int column = (p - 1) % c.columns;
            const int row = (p - 1) / c.columns;
            const QRectF outline = s.outlineIn(p);
            EXPECT_DOUBLE_EQ(outline.left(), c.left + column * c.pitchX) << c.name << " " << p;
            EXPECT_DOUBLE_EQ(outline.top(), c.top + row * c.pitchY) << c.name << " " << p;
            EXPECT_DOUBLE_EQ(outline.width(), c.width) << c.name;
            EXPECT_DOUBLE_EQ(outline.height(), c.height) << c.name;
            EXPECT_EQ(s.leftPadAt(p), c.leftPads[static_cast<std::size_t>(column)]) << c.name << " " << p;
            EXPECT_EQ(s.topPadAt(p), c.topPads[static_cast<std::size_t>(row)]) << c.name << " " << p;
        }
    }
    EXPECT_EQ(sheets.at(4).use, SheetUse::ReturnAddress);
    EXPECT_TRUE(sheets.at(3).otherReading.has_value());
}

// A sheet of the user's folder: found by its name, part and equivalents, with
// the largest font and the most lines its labels hold.
TEST(LabelLibrary, FolderSheetsGetTheirGridAndAreFoundByTheirParts) {
    test::TempFolder folder;
    // One row of 0.55 in labels placed so that three 8-point lines stand centred
    // on the print grid: four lines, or three at 10 points, cannot fit.
    const double lineIn = 8 * 1.0714 / 72;
    const QString smallTop = QString::number(0.056 + 5.5 * lineIn - 0.275, 'f', 6);
    folder.write("mine.xml", templates(QStringLiteral(R"(
        <Template brand="Herma" part="4226" size="A4" description="Large">
          <Label-rectangle id="0" width="100mm" height="1.5in">
            <Layout nx="2" ny="5" x0="4mm" y0="20mm" dx="102mm" dy="1.6in"/></Label-rectangle></Template>
        <Template brand="Herma" part="10226" equiv="4226"/>
        <Template brand="Acme" part="S-1" size="US-Letter" description="Small">
          <Label-rectangle id="0" width="3in" height="0.55in">
            <Layout nx="2" ny="1" x0="1in" y0="%1in" dx="3.5in" dy="0"/></Label-rectangle></Template>
        <Template brand="Acme" part="T-1" size="US-Letter" description="Too small">
          <Label-rectangle id="0" width="3in" height="0.3in">
            <Layout nx="2" ny="10" x0="1in" y0="1in" dx="3.5in" dy="0.5in"/></Label-rectangle></Template>
        <Template brand="Acme" part="N-1" size="US-Letter" description="Too narrow">
          <Label-rectangle id="0" width="0.7in" height="3in">
            <Layout nx="4" ny="1" x0="1in" y0="1in" dx="1.5in" dy="0"/></Label-rectangle></Template>)")
                                                   .arg(smallTop)
                                                   .toLatin1()
                                                   .constData()));
    SheetLibrary::program().reload({folder.path()});
    const struct {
        const char* asked;
        const char* found;  // nullptr: none
        double fontSize;
        int lines;
    } cases[] = {
        {"Herma 4226", "Herma 4226", 12, 5}, {"herma 10226", "Herma 4226", 12, 5},
        {"4226", "Herma 4226", 12, 5},       {"Acme S-1", "Acme S-1", 8, 3},
        {"s-1", "Acme S-1", 8, 3},           {"Acme T-1", nullptr, 0, 0},
        {"N-1", nullptr, 0, 0},              {"Herma", nullptr, 0, 0},
        {"8160", "5160", 10, 5},
    };
    for (const auto& c : cases) {
        const LabelSheet* s = findLabelSheet(c.asked);
        if (!c.found) {
            EXPECT_FALSE(s) << c.asked;
            continue;
        }
        ASSERT_TRUE(s) << c.asked;
        EXPECT_EQ(s->name, c.found) << c.asked;
        EXPECT_EQ(s->fontSize, c.fontSize) << c.asked;
        EXPECT_EQ(s->textLines, c.lines) << c.asked;
    }
    const LabelSheet& herma = *findLabelSheet("Herma 4226");
    EXPECT_EQ(herma.parts, "Herma 4226 / 10226");
    EXPECT_EQ(herma.detail, "Large");
    EXPECT_EQ(herma.description(), "Herma 4226 / 10226: A4, 10 labels (2 x 5) of 100 x 38.1 mm");
    // 100 mm less the margins, at 12 points (0.1 in a character).
    EXPECT_GE(herma.characters, 36);
    EXPECT_LE(herma.characters, 38);
    EXPECT_EQ(addressSheets().size(), 6);
    SheetLibrary::program().reload();
}

// Bulk labels on a sheet of two layouts whose labels take three lines: each
// row of a layout at its TopPad, each label at its LeftPad, every address cut
// to three lines.
TEST(LabelLibrary, BulkLabelsFollowTheLayoutsAndTheSheetsLines) {
    LabelSheet sheet;
    sheet.paper = PaperSize::Letter;
    sheet.labelWidthIn = 3.5;
    sheet.labelHeightIn = 0.6;
    sheet.layouts = {{2, 2, 0.5, 1.0, 4.0, 1.0}, {1, 2, 2.5, 4.0, 0, 1.5}};
    sheet.fontSize = 8;
    sheet.textLines = 3;
    std::vector<ListEntry> lines;
    for (int n = 1; n <= 6; ++n) {
        lines.push_back(ListEntry{QStringLiteral("line %1").arg(n), n});
    }
    RecordingSurface surface;
    printBulkLabelRun(
        surface, lines,
        [](int n) {
            ContactRecord r;
            r.setField(Field::FName, QStringLiteral("F%1").arg(n));
            r.setField(Field::Company, QStringLiteral("Company"));
            r.setField(Field::IncludeCompany, QStringLiteral("1"));
            r.setField(Field::FStreet, QStringLiteral("Street"));
            r.setField(Field::City, QStringLiteral("Town"));
            return r;
        },
        Adjustment{1, 2}, sheet);
    surface.endDocument();
    const auto& pages = surface.documents().at(0).pages;
    ASSERT_EQ(pages.size(), 1u);
    int names = 0;
    for (const PlacedText& t : pages[0].texts) {
        EXPECT_FALSE(t.text.contains("Town")) << "a fourth line was printed";
        if (!t.text.startsWith('F')) {
            continue;
        }
        const int position = t.text.mid(1).trimmed().toInt();
        EXPECT_EQ(t.line, sheet.topPadAt(position) + 2 + 2) << position;
        EXPECT_EQ(t.column, sheet.leftPadAt(position) + 1) << position;
        ++names;
    }
    EXPECT_EQ(names, 6);
}

// A reload replaces the library's list, letting the one before go, and says
// so; the main window's sheet list follows the program's library by itself.
TEST(SheetLibrary, AReloadReplacesTheListAndTheSheetListFollows) {
    test::TempFolder sheets;
    sheets.write("herma.xml", templates(R"(
        <Template brand="Herma" part="4226" size="A4" description="Large">
          <Label-rectangle id="0" width="100mm" height="1.5in">
            <Layout nx="2" ny="5" x0="4mm" y0="20mm" dx="102mm" dy="1.6in"/></Label-rectangle></Template>)"));
    SheetLibrary library;
    int changes = 0;
    QObject::connect(&library, &SheetLibrary::changed, [&changes] { ++changes; });
    library.reload({sheets.path()});
    ASSERT_NE(library.find("Herma 4226"), nullptr);
    const std::weak_ptr<const QList<LabelSheet>> before = library.snapshot();
    library.reload({sheets.path()});
    EXPECT_TRUE(before.expired()) << "the list before the reload is kept";
    EXPECT_EQ(library.sheets().size(), 6);
    library.reload({});
    EXPECT_EQ(library.find("Herma 4226"), nullptr);
    EXPECT_EQ(changes, 3);

    SheetLibrary::program().reload({});
    const test::TempFolder folder;
    ScriptedPlatform platform;
    ApplicationShell shell(platform, folder.withDefaultAdjustments());
    auto* list = shell.mainWindow().findChild<QComboBox*>(QStringLiteral("cboLMSheet"));
    ASSERT_NE(list, nullptr);
    const int builtIn = list->count();
    SheetLibrary::program().reload({sheets.path()});
    EXPECT_EQ(list->count(), builtIn + 1);
    EXPECT_NE(list->findData(QStringLiteral("Herma 4226")), -1);
    SheetLibrary::program().reload();
}
