#include <gtest/gtest.h>

#include <QFile>
#include <functional>

#include "sheets/SheetDesign.h"
#include "sheets/SheetDesignFile.h"
#include "support/TestFiles.h"

using namespace tandor;

namespace {

// The 30-up Letter sheet as typed in inches.
SheetDesignText letter30() {
    SheetDesignText t = newDesignText(LengthUnit::Inches);
    t.name = QStringLiteral("Pantry");
    return t;
}

// Avery L7160's layout as typed in millimetres.
SheetDesignText a4by21() {
    SheetDesignText t;
    t.name = QStringLiteral("A4 21-up");
    t.unit = LengthUnit::Millimetres;
    t.paper = DesignPaper::A4;
    t.labelWidth = QStringLiteral("63.5");
    t.labelHeight = QStringLiteral("38.1");
    t.columns = QStringLiteral("3");
    t.rows = QStringLiteral("7");
    t.left = QStringLiteral("7.2");
    t.top = QStringLiteral("15.1");
    t.pitchX = QStringLiteral("66");
    t.pitchY = QStringLiteral("38.1");
    return t;
}

struct DesignCase {
    const char* what;
    std::function<SheetDesignText()> typed;
    const char* problem;  // empty: the sheet can be saved
};

template <typename Change>
std::function<SheetDesignText()> changed(SheetDesignText (*base)(), Change change) {
    return [base, change] {
        SheetDesignText t = base();
        change(t);
        return t;
    };
}

const DesignCase kCases[] = {
    {"Letter 30-up", letter30, ""},
    {"A4 21-up", a4by21, ""},
    {"a postcard of its own size, one label",
     changed(letter30,
             [](SheetDesignText& t) {
                 t.paper = DesignPaper::Custom;
                 t.paperWidth = QStringLiteral("4");
                 t.paperHeight = QStringLiteral("6");
                 t.labelWidth = QStringLiteral("3.5");
                 t.labelHeight = QStringLiteral("5.5");
                 t.columns = t.rows = QStringLiteral("1");
                 t.left = t.top = QStringLiteral("0.25");
             }),
     ""},
    {"a comma for the decimal point", changed(letter30, [](SheetDesignText& t) { t.labelWidth = QStringLiteral("2,625"); }),
     ""},
    {"horizontal overlap", changed(letter30, [](SheetDesignText& t) { t.pitchX = QStringLiteral("2.5"); }),
     "Labels overlap: the horizontal pitch 2.50 in is less than the label width 2.63 in."},
    {"vertical overlap", changed(a4by21, [](SheetDesignText& t) { t.pitchY = QStringLiteral("37"); }),
     "Labels overlap: the vertical pitch 37.0 mm is less than the label height 38.1 mm."},
    {"last column off the right edge",
     changed(letter30,
             [](SheetDesignText& t) {
                 t.labelWidth = QStringLiteral("2.6");
                 t.left = QStringLiteral("0.6");
             }),
     "The labels of column 3 run 0.20 in off the right edge of the paper."},
    {"two columns off the right edge",
     changed(letter30,
             [](SheetDesignText& t) {
                 t.labelWidth = QStringLiteral("2.6");
                 t.left = QStringLiteral("0.2");
                 t.columns = QStringLiteral("5");
             }),
     "The labels of columns 4 to 5 run up to 5.30 in off the right edge of the paper."},
    {"a row off the bottom edge", changed(letter30, [](SheetDesignText& t) { t.rows = QStringLiteral("11"); }),
     "The labels of row 11 run 0.50 in off the bottom edge of the paper."},
    {"off the left edge", changed(letter30, [](SheetDesignText& t) { t.left = QStringLiteral("-0.1"); }),
     "The labels of column 1 run 0.10 in off the left edge of the paper."},
    {"off the top edge", changed(a4by21, [](SheetDesignText& t) { t.top = QStringLiteral("-2"); }),
     "The labels of row 1 run 2.0 mm off the top edge of the paper."},
    {"an A4 layout on Letter paper", changed(a4by21, [](SheetDesignText& t) { t.paper = DesignPaper::Letter; }),
     "The labels of row 7 run 2.4 mm off the bottom edge of the paper."},
    {"no name", changed(letter30, [](SheetDesignText& t) { t.name = QStringLiteral("  "); }), "Give the sheet a name."},
    {"a slash in the name", changed(letter30, [](SheetDesignText& t) { t.name = QStringLiteral("Mine/2"); }),
     "The name may not contain \"/\": it is the name of the sheet's file."},
    {"a name starting with a dot", changed(letter30, [](SheetDesignText& t) { t.name = QStringLiteral(".hidden"); }),
     "The name may not begin or end with a full stop."},
    {"zero label width", changed(letter30, [](SheetDesignText& t) { t.labelWidth = QStringLiteral("0"); }),
     "The label width must be more than 0."},
    {"negative paper height",
     changed(letter30,
             [](SheetDesignText& t) {
                 t.paper = DesignPaper::Custom;
                 t.paperWidth = QStringLiteral("8.5");
                 t.paperHeight = QStringLiteral("-11");
             }),
     "The paper height must be more than 0."},
    {"no columns", changed(letter30, [](SheetDesignText& t) { t.columns = QStringLiteral("0"); }),
     "The number of columns must be from 1 to 100."},
    {"rows not a whole number", changed(letter30, [](SheetDesignText& t) { t.rows = QStringLiteral("2.5"); }),
     "The number of rows must be a whole number."},
    {"a length that is not a number", changed(letter30, [](SheetDesignText& t) { t.pitchY = QStringLiteral("1 in"); }),
     "The vertical pitch \"1 in\" is not a number."},
    {"an empty length", changed(letter30, [](SheetDesignText& t) { t.top.clear(); }), "Type the top offset."},
};

SheetDesign jarLabels() {
    SheetDesign d;
    d.name = QStringLiteral("Jar labels & tags");
    d.description = QStringLiteral("Kitchen jars");
    d.unit = LengthUnit::Millimetres;
    d.paper = DesignPaper::Custom;
    d.paperWidth = 152.4;
    d.paperHeight = 101.6;
    d.labelWidth = 63.5;
    d.labelHeight = 38.1;
    d.columns = 2;
    d.rows = 2;
    d.left = 10;
    d.top = 9.5;
    d.pitchX = 70;
    d.pitchY = 44.45;
    return d;
}

}  // namespace

TEST(SheetDesignTest, EachDesignGetsItsMessage) {
    for (const DesignCase& c : kCases) {
        EXPECT_EQ(readDesign(c.typed()).problem.toStdString(), std::string(c.problem)) << c.what;
    }
}

TEST(SheetDesignTest, TheFileOfADesignIsTheGoldenOneAndReadsBackAsTheDesign) {
    const SheetDesign jar = jarLabels();
    ASSERT_TRUE(designProblem(jar).isEmpty()) << designProblem(jar).toStdString();
    const QByteArray written = designXml(jar);
    EXPECT_EQ(written.toStdString(), test::readAll(test::sourcePath(QStringLiteral("tests/data/sheets/jar-labels.xml"))).toStdString());
    const ReadSheetFile read = designFromXml(written);
    ASSERT_TRUE(read.design.has_value()) << read.problem.toStdString();
    EXPECT_EQ(*read.design, jar);

    // A Letter sheet in inches, its description made from the layout.
    SheetDesign letter = readDesign(letter30()).design;
    const QByteArray letterXml = designXml(letter);
    EXPECT_TRUE(letterXml.contains(R"(size="US-Letter" description="30 labels (3 x 10) of 2.625 x 1 in")"));
    EXPECT_TRUE(letterXml.contains(R"(<Layout nx="3" ny="10" x0="0.1875in" y0="0.5in" dx="2.75in" dy="1in"/>)"));
    const ReadSheetFile letterRead = designFromXml(letterXml);
    ASSERT_TRUE(letterRead.design.has_value());
    letter.description = QStringLiteral("30 labels (3 x 10) of 2.625 x 1 in");
    EXPECT_EQ(*letterRead.design, letter);

    // Only simple single-layout files are read; each other file is refused with its reason.
    const struct {
        const char* from;
        const char* to;
        const char* problem;  // empty: read
    } changes[] = {
        {"</Label-rectangle>", R"(<Layout nx="1" ny="1" x0="0" y0="0" dx="0" dy="0"/></Label-rectangle>)",
         "The sheet is not one block of rectangular labels; it cannot be edited here."},
        {"</Template>", R"(</Template><Template brand="User" part="Jar 2" equiv="Jar labels &amp; tags"/>)",
         "The file holds 2 templates; only a file of one sheet can be edited here."},
        {"<Label-rectangle", "<Label-round radius=\"1in\"/><Label-rectangle",
         "The sheet is not one block of rectangular labels; it cannot be edited here."},
        {R"(size="Other")", R"(size="A5")", "The paper \"A5\" is not Letter, A4 or a size of its own."},
        {R"(x0="10mm")", R"(x0="ten mm")", "The length x0=\"ten mm\" cannot be read."},
        {R"( dx="70mm")", "", "The length dx=\"\" cannot be read."},
        {R"( height="101.6mm")", "", "The length height=\"\" cannot be read."},
        {R"(x0="10mm")", R"(x0="10.mm")", ""},
        {"</Glabels-templates>", "", "The file is not a label-template file: Premature end of document. (line 11)."},
    };
    for (const auto& c : changes) {
        const ReadSheetFile read = designFromXml(QByteArray(written).replace(c.from, c.to));
        EXPECT_EQ(read.problem.toStdString(), std::string(c.problem)) << c.from << " -> " << c.to;
        EXPECT_EQ(read.design.has_value(), read.problem.isEmpty()) << c.from << " -> " << c.to;
    }
}

TEST(SheetDesignTest, SavedSheetsAreListedReadAndDeleted) {
    const test::TempFolder folder;
    const QString sheets = folder.file(QStringLiteral("sheets"));
    writeSheetFile(sheets, jarLabels());
    EXPECT_EQ(userSheetNames(sheets), QStringList{QStringLiteral("Jar labels & tags")});
    const ReadSheetFile read = readSheetFile(sheets, QStringLiteral("Jar labels & tags"));
    ASSERT_TRUE(read.design.has_value());
    EXPECT_EQ(*read.design, jarLabels());
    deleteSheetFile(sheets, QStringLiteral("Jar labels & tags"));
    EXPECT_TRUE(userSheetNames(sheets).isEmpty());
}
