#include <gtest/gtest.h>

#include "platform/ScriptedPlatform.h"
#include "sheets/SheetSearch.h"

using namespace tandor;

namespace {

LabelSheet sheet(const char* name, const char* maker, const char* part, QStringList equivalents,
                 const char* detail, PaperSize paper, int textLines = 5) {
    LabelSheet s;
    s.name = QString::fromLatin1(name);
    s.maker = QString::fromLatin1(maker);
    s.part = QString::fromLatin1(part);
    s.equivalents = equivalents;
    s.detail = QString::fromLatin1(detail);
    s.paper = paper;
    s.layouts = {SheetLayout{3, 10, 0.1875, 0.5, 2.75, 1.0}};
    s.labelWidthIn = 2.625;
    s.labelHeightIn = 1.0;
    s.textLines = textLines;
    return s;
}

// Five sheets of four makers: 5160 is two makers' part number, 8160 two
// makers' equivalent, J8160 one maker's part and another's equivalent.
const QList<LabelSheet> kSheets = {
    sheet("5160", "Avery", "5160", {"8160"}, "Address Labels", PaperSize::Letter),
    sheet("acme-5160", "Acme", "5160", {}, "Shipping Labels", PaperSize::Letter),
    sheet("L7160", "Avery", "L7160", {"J8160"}, "Address Labels", PaperSize::A4),
    sheet("herma-4226", "Herma", "4226", {"8160"}, "Address Labels", PaperSize::A4, 3),
    sheet("zw-j8160", "Zweckform", "J8160", {}, "Mini Labels", PaperSize::A4),
};

QStringList names(const QList<const LabelSheet*>& sheets) {
    QStringList out;
    for (const LabelSheet* s : sheets) {
        out << s->name;
    }
    return out;
}

}  // namespace

TEST(SheetSearch, WordsFindSheetsWithTheRecentOnesFirst) {
    const struct {
        const char* text;
        QStringList recent;
        QStringList found;
    } cases[] = {
        {"", {}, {"5160", "acme-5160", "L7160", "herma-4226", "zw-j8160"}},
        {"", {"acme-5160", "gone"}, {"acme-5160", "5160", "L7160", "herma-4226", "zw-j8160"}},
        {"avery", {}, {"5160", "L7160"}},
        {"ADDRESS labels", {}, {"5160", "L7160", "herma-4226"}},
        {"  address   a4 ", {"herma-4226"}, {"herma-4226", "L7160"}},
        {"avery shipping", {}, {}},  // every word must match
        // A sheet with the part number itself comes before one that only holds it.
        {"8160", {}, {"5160", "herma-4226", "L7160", "zw-j8160"}},
        {"8160", {"zw-j8160", "L7160"}, {"zw-j8160", "L7160", "5160", "herma-4226"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(names(searchSheets(kSheets, QString::fromLatin1(c.text), c.recent)), c.found) << c.text;
    }
}

TEST(SheetSearch, NamesGivenToSheetResolveOrAreRefusedWithWhatToType) {
    const struct {
        const char* name;
        const char* found;             // nullptr: refused
        QStringList inMessage;         // what the refusal says
    } cases[] = {
        {"5160", "5160", {}},          // a sheet's own name before the part number two makers share
        {"Acme 5160", "acme-5160", {}},
        {" avery  5160 ", "5160", {}},
        {"Avery 8160", "5160", {}},
        {"J8160", "zw-j8160", {}},     // its own part number before another sheet's equivalent
        {"avery j8160", "L7160", {}},
        {"l7160", "L7160", {}},
        {"4226", "herma-4226", {}},
        {"8160", nullptr, {"8160 is the part number of 2 label sheets", "--sheet 5160 ", "--sheet herma-4226 ",
                           "Avery 5160 / 8160 Address Labels: Letter, 30 labels of 1 x 2 5/8 in",
                           "Herma 4226 / 8160 Address Labels: A4"}},
        {"9999", nullptr, {"no label sheet is called 9999", "tandor-batch sheets --search 9999"}},
        {"Avery", nullptr, {"tandor-batch sheets --search Avery"}},
        {"", nullptr, {"tandor-batch sheets --search"}},
    };
    for (const auto& c : cases) {
        const SheetResolution r = resolveSheet(kSheets, QString::fromLatin1(c.name));
        if (c.found) {
            ASSERT_NE(r.sheet, nullptr) << c.name << ": " << r.error.toStdString();
            EXPECT_EQ(r.sheet->name, c.found) << c.name;
        } else {
            EXPECT_EQ(r.sheet, nullptr) << c.name;
            for (const QString& part : c.inMessage) {
                EXPECT_TRUE(r.error.contains(part)) << c.name << ": " << r.error.toStdString();
            }
        }
    }
    // The real list: the maker and the part number, as on the box.
    EXPECT_EQ(resolveSheet("Avery L7163").sheet, findLabelSheet("L7163"));
    EXPECT_EQ(sheetLinesNote(kSheets[3]), "3 lines a label");
    EXPECT_EQ(sheetLinesNote(kSheets[0]), "");
}

TEST(SheetSearch, AChosenSheetIsRememberedAtTheFrontOfTheRecentOnes) {
    ScriptedPlatform platform;
    for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "c"}) {
        rememberSheet(platform, QString::fromLatin1(name));
    }
    EXPECT_EQ(platform.readSetting("Settings", kSheetSettingKey), "c");
    EXPECT_EQ(recentSheets(platform), QStringList({"c", "i", "h", "g", "f", "e", "d", "b"}));
}

// The figures of a sheet read as its maker writes them, in the list, its
// caption and its description: millimetres to one decimal, inches in
// sixteenths where they are exact and else to two decimals, "1 label".
TEST(SheetSearch, FiguresReadAsTheMakersWriteThem) {
    const struct {
        bool metric;
        double widthIn, heightIn;
        int columns, rows;
        const char* size;
        const char* labels;
    } cases[] = {
        {true, 63.8528 / 25.4, 33.8667 / 25.4, 3, 8, "63.9 x 33.9 mm", "24 labels"},
        {true, 38.0746 / 25.4, 21.209 / 25.4, 5, 13, "38.1 x 21.2 mm", "65 labels"},
        {true, 100.0 / 25.4, 38.1 / 25.4, 2, 7, "100 x 38.1 mm", "14 labels"},
        {true, 210.0 / 25.4, 297.0 / 25.4, 1, 1, "210 x 297 mm", "1 label"},
        {false, 2.625, 1.0, 3, 10, "1 x 2 5/8 in", "30 labels"},
        {false, 1.9375, 0.6875, 4, 15, "11/16 x 1 15/16 in", "60 labels"},
        {false, 4.0004, 0.4995, 2, 20, "1/2 x 4 in", "40 labels"},
        {false, 2.3333, 1.1, 3, 9, "1.10 x 2.33 in", "27 labels"},
        {false, 6.0, 4.0, 1, 1, "4 x 6 in", "1 label"},
    };
    for (const auto& c : cases) {
        LabelSheet s = sheet("acme-1", "Acme", "1", {}, "", c.metric ? PaperSize::A4 : PaperSize::Letter);
        s.parts = QStringLiteral("Acme 1");
        s.metric = c.metric;
        s.labelWidthIn = c.widthIn;
        s.labelHeightIn = c.heightIn;
        s.layouts = {SheetLayout{c.columns, c.rows, 0.2, 0.2, c.widthIn, c.heightIn}};
        const QString paper = c.metric ? QStringLiteral("A4") : QStringLiteral("Letter");
        const QString shown = QStringLiteral("%1, %2 of %3").arg(paper, c.labels, c.size);
        EXPECT_EQ(labelSizeText(s), c.size);
        EXPECT_EQ(sheetSummary(s), "Acme 1: " + shown);
        EXPECT_EQ(sheetCaption(s), "Acme 1: " + shown);
        EXPECT_EQ(s.description(), QStringLiteral("Acme 1: %1, %2 (%3 x %4) of %5")
                                       .arg(paper, c.labels)
                                       .arg(c.columns)
                                       .arg(c.rows)
                                       .arg(c.size));
    }
    // A sheet of many equivalents lists three of its part numbers.
    LabelSheet many = sheet("acme-1", "Acme", "1", {"2", "3", "4", "5"}, "Tags", PaperSize::Letter);
    EXPECT_EQ(sheetSummary(many), "Acme 1 / 2 / 3 / ... Tags: Letter, 30 labels of 1 x 2 5/8 in");
    many.equivalents = {"2", "3"};
    EXPECT_EQ(sheetSummary(many), "Acme 1 / 2 / 3 Tags: Letter, 30 labels of 1 x 2 5/8 in");
}
