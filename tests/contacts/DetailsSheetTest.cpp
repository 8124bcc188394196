#include <gtest/gtest.h>

#include <QLocale>
#include <map>

#include "contacts/DetailsSheet.h"
#include "platform/PrintGrid.h"
#include "platform/ScriptedPlatform.h"

using namespace tandor;

namespace {

const QString kDigits = "0123456789";
QString run(int length) {
    QString s;
    while (s.size() < length) {
        s += kDigits;
    }
    return s.left(length);
}

ContactEntry annLee() {
    ContactEntry e;
    e.fName = " Ann ";
    e.middleInit = "Q";
    e.lName = "Lee";
    e.fStreet = "12 Oak Lane";
    e.sStreet = "Apt 5";
    e.city = "Boston";
    e.state = "MA";
    e.zip = "02101";
    e.country = "USA";
    e.company = "Acme";
    e.birthdate = "04/10/1980";
    e.hPhone = "212-555-1234";
    e.cPhone = "212-555-9876";
    e.wPhone = "212-5550000";
    e.email = "ann@example.com";
    e.category = "  " + run(80);
    e.notes = "N" + run(159) + "  ";
    e.includeCompany = true;
    return e;
}

struct Placed {
    int line;
    int column;
    double size;
    QString text;
    bool operator==(const Placed&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Placed& p) {
    return os << "line " << p.line << " col " << p.column << " size " << p.size << " \""
              << p.text.toStdString() << "\"";
}

std::vector<Placed> placed(const PrintedPage& page) {
    std::vector<Placed> out;
    for (const PlacedText& t : page.texts) {
        out.push_back({t.line, t.column, t.font.size, t.text});
    }
    return out;
}

// The font size of each print line of the sheet, lines 1 to 43.
double sizeOfLine(int line) {
    if (line <= 3) {
        return 12;
    }
    if (line <= 5) {
        return 16;
    }
    if (line <= 9) {
        return 14;
    }
    return line == 10 ? 10 : 12;
}

const QDate kToday(2026, 3, 1);

}  // namespace

TEST(DetailsSheet, EveryLineWithItsSizeAndColumns) {
    ScriptedPlatform platform;
    runDetailsPrint(annLee(), {}, kToday, platform);
    RecordingSurface& s = *platform.recording();
    ASSERT_EQ(s.documents().size(), 1u);
    ASSERT_EQ(s.documents()[0].pages.size(), 1u);
    const PrintedPage& page = s.documents()[0].pages[0];

    const QString rule(70, '_');
    const QString category = run(80);
    const QString notes = "N" + run(159);
    const std::vector<Placed> expected = {
        {4, 22, 16, "Tandor"},
        {6, 27, 14, "Contact Details"},
        {10, 35, 10, "Date of report:"},
        {10, 51, 10, reportDateText(kToday)},
        {12, 8, 12, rule},
        {15, 8, 12, "Ann Q Lee"},
        {17, 8, 12, "12 Oak Lane  Apt 5"},
        {19, 8, 12, "Boston, MA  02101"},
        {22, 8, 12, "Company Name:"},
        {22, 24, 12, "Acme"},
        {25, 8, 12, "Country:"},
        {25, 18, 12, "USA"},
        {25, 40, 12, "Birthdate:"},
        {25, 52, 12, "04/10/1980"},
        {28, 8, 12, "Home Phone:"},
        {28, 21, 12, "212-555-1234"},
        {28, 37, 12, "Cell:"},
        {28, 44, 12, "212-555-9876"},
        {28, 60, 12, "Work:"},
        {28, 67, 12, "212-5550000"},
        {31, 8, 12, "Email Address:"},
        {31, 24, 12, "ann@example.com"},
        {34, 8, 12, "Category:"},
        {34, 19, 12, category.left(61)},
        {35, 19, 12, category.mid(61)},
        {38, 8, 12, "Notes:"},
        {38, 16, 12, notes.left(61)},
        {39, 15, 12, notes.mid(61, 53)},
        {40, 15, 12, notes.mid(114)},
        {43, 8, 12, rule},
    };
    EXPECT_EQ(placed(page), expected);
    EXPECT_EQ(notes.mid(114).size(), 46);

    // The empty lines carry their sizes too: each text's top is the sum of the
    // heights of the lines above it.
    std::map<int, double> top;
    double y = 0;
    for (int line = 1; line <= 43; ++line) {
        top[line] = y;
        y += printgrid::lineHeight(sizeOfLine(line));
    }
    for (const PlacedText& t : page.texts) {
        EXPECT_NEAR(t.yPt, top[t.line], 1e-6) << t.text.toStdString();
        EXPECT_EQ(t.font.name, "Courier New");
        EXPECT_FALSE(t.font.italic);
    }
    EXPECT_EQ(page.orientation, PageOrientation::Portrait);
    EXPECT_EQ(s.operations().mid(0, 4), QStringList({"font name Courier New", "font size 12",
                                                     "italic off", "orientation portrait"}));
    EXPECT_EQ(reportDateText(kToday), QLocale::system().toString(kToday, QLocale::ShortFormat));
    EXPECT_TRUE(platform.printRequests().at(0).offerSelection);
    EXPECT_TRUE(platform.messages().isEmpty());
}

TEST(DetailsSheet, EmptyValuesLeaveTheirPlaceBlank) {
    ContactEntry e;
    e.fName = "John";
    e.lName = "Smith";
    RecordingSurface s;
    printDetailsSheet(s, e, "3/1/26");
    s.endDocument();
    const QStringList grid = RecordingSurface::pageGrid(s.documents()[0].pages[0]);
    EXPECT_TRUE(grid.contains("       John  Smith"));  // an empty initial leaves two spaces
    EXPECT_TRUE(grid.contains("       Company Name:"));
    EXPECT_TRUE(grid.contains("       ,   "));  // the city line of an empty address
    EXPECT_TRUE(grid.contains("       Notes:"));
}

TEST(DetailsSheet, CopiesArePagesOfOneDocument) {
    ScriptedPlatform platform;
    platform.answerPrint({.copies = 3});
    runDetailsPrint(annLee(), {}, kToday, platform);
    const RecordingSurface& s = *platform.recording();
    ASSERT_EQ(s.documents().size(), 1u);
    const auto& pages = s.documents()[0].pages;
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(placed(pages[1]), placed(pages[0]));
    EXPECT_EQ(placed(pages[2]), placed(pages[0]));
    EXPECT_EQ(s.operations().count("end document"), 1);
    EXPECT_EQ(s.operations().count("new page"), 3);
}

TEST(DetailsSheet, SelectionPrintsTheFocusedTextOnce) {
    ScriptedPlatform platform;
    platform.answerPrint({.copies = 3, .selection = true});
    runDetailsPrint(annLee(), {true, "selected part\nof the notes"}, kToday, platform);
    const RecordingSurface& s = *platform.recording();
    ASSERT_EQ(s.documents().size(), 1u);
    ASSERT_EQ(s.documents()[0].pages.size(), 1u);
    EXPECT_EQ(placed(s.documents()[0].pages[0]),
              (std::vector<Placed>{{2, 1, 12, "selected part"}, {3, 1, 12, "of the notes"}}));
    EXPECT_EQ(s.operations().count("end document"), 1);

    // The focus outside a text box: nothing printed, no document begun.
    ScriptedPlatform other;
    other.answerPrint({.selection = true});
    runDetailsPrint(annLee(), {false, {}}, kToday, other);
    EXPECT_TRUE(other.recording()->documents().empty());
    EXPECT_EQ(other.recording()->operations().count("end document"), 0);
    EXPECT_FALSE(other.recording()->operations().join(' ').contains("line"));
    EXPECT_TRUE(other.messages().isEmpty());
}

TEST(DetailsSheet, CancelIsSilentAndFailuresAbandonTheDocument) {
    ScriptedPlatform cancelled;
    cancelled.answerPrint({.cancel = true});
    runDetailsPrint(annLee(), {}, kToday, cancelled);
    EXPECT_TRUE(cancelled.recording()->operations().isEmpty());
    EXPECT_TRUE(cancelled.messages().isEmpty());

    // Count the operations of two copies, then fail at each of a few of them,
    // the end of the document included.
    ScriptedPlatform counting;
    counting.answerPrint({.copies = 2});
    runDetailsPrint(annLee(), {}, kToday, counting);
    const int end =
        static_cast<int>(counting.recording()->operations().lastIndexOf("end document")) + 1;
    ASSERT_GT(end, 100);
    for (int failAt : {1, 5, end / 2 + 3, end}) {
        ScriptedPlatform platform;
        platform.answerPrint({.copies = 2});
        platform.recording()->failAtOperation(failAt);
        runDetailsPrint(annLee(), {}, kToday, platform);
        EXPECT_TRUE(platform.recording()->documents().empty()) << failAt;
        EXPECT_EQ(platform.recording()->abandonedDocuments(), 1) << failAt;
        ASSERT_EQ(platform.messages().size(), 1) << failAt;
        EXPECT_EQ(platform.messages()[0].text, "A printer problem exists.  Check printer.");
        EXPECT_EQ(platform.messages()[0].title, "Printer error.");
        EXPECT_EQ(platform.messages()[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(platform.messages()[0].buttons, MessageButtons::Ok);
    }
}
