#include <gtest/gtest.h>

#include "ListTestSupport.h"
#include "list/ContactLines.h"
#include "list/TabStops.h"
#include "list/widgets/ContactListModel.h"
#include "store/ContactsFile.h"
#include "support/TestFiles.h"

using namespace tandor;
using test::contact;
using test::person;

namespace {

const QString kTab = QStringLiteral("\t");

QString spaces(int n) {
    return QString(n, QLatin1Char(' '));
}

// John Smith of Springfield with a middle initial and phones as given.
ContactRecord john(const QString& initial, const QString& home = {}, const QString& cell = {}) {
    return contact({{Field::FName, "John"},
                    {Field::MiddleInit, initial},
                    {Field::LName, "Smith"},
                    {Field::City, "Springfield"},
                    {Field::State, "IL"},
                    {Field::Zip, "62704"},
                    {Field::HPhone, home},
                    {Field::CPhone, cell},
                    {Field::Email, "js@example.com"}});
}

// The six columns after the name of john(): city, state, ZIP at full width, phones, e-mail.
QString johnColumns(const QString& home, const QString& cell) {
    return kTab + "Springfield" + spaces(5) + kTab + "IL" + kTab + "62704" + spaces(5) + kTab +
           home + kTab + cell + kTab + "js@example.com" + spaces(36);
}

}  // namespace

TEST(ListLine, ShowsACapitalInitialWithAFullStopAndNoOtherInitial) {
    const QString blankPhones = johnColumns(spaces(22), spaces(22));
    EXPECT_EQ(listLine(john("Q"), SortOrder::FirstName), "John Q. Smith" + blankPhones);
    EXPECT_EQ(listLine(john("Q"), SortOrder::LastName), "Smith, John Q. " + blankPhones);
    for (const QString& none : {QStringLiteral("q"), QStringLiteral(""), QStringLiteral("7")}) {
        EXPECT_EQ(listLine(john(none), SortOrder::FirstName), "John Smith" + blankPhones)
            << none.toStdString();
        EXPECT_EQ(listLine(john(none), SortOrder::LastName), "Smith, John " + blankPhones)
            << none.toStdString();
    }
}

TEST(ListLine, APhoneShowsItsStoredWidthOnlyWhenItBeginsWithANumberOfAtLeastOne) {
    EXPECT_EQ(listLine(john("", "(212) 555-1212", "212-555-1212"), SortOrder::FirstName),
              "John Smith" + johnColumns(spaces(22), "212-555-1212   "));
    EXPECT_EQ(phoneColumn("555-1212       "), "555-1212       ");
    EXPECT_EQ(phoneColumn("0-800-555-1212 "), spaces(22));
    EXPECT_EQ(phoneColumn("-1             "), spaces(22));
    EXPECT_EQ(phoneColumn(spaces(15)), spaces(22));
}

TEST(ListLine, AContactWithoutLastNameBeginsWithACommaInLastNameOrder) {
    const ContactRecord cher = contact({{Field::FName, "Cher"}});
    EXPECT_TRUE(listLine(cher, SortOrder::LastName).startsWith(", Cher \t"));
    EXPECT_TRUE(listLine(cher, SortOrder::FirstName).startsWith("Cher \t"));
}

TEST(ListOrder, IsCaseInsensitiveAndPutsAnEmptyLastNameFirst) {
    std::vector<ListEntry> entries =
        test::entriesFor({person("Eve", "Evans"), person("Anna", "de Vries"),
                          person("Bob", "Davis"), person("Cher", ""), person("al", "Zed")},
                         SortOrder::LastName);
    sortEntries(entries);
    QStringList names;
    for (const ListEntry& e : entries) {
        names.append(e.text.section(kTab, 0, 0));
    }
    EXPECT_EQ(names, QStringList(
                         {", Cher ", "Davis, Bob ", "de Vries, Anna ", "Evans, Eve ", "Zed, al "}));
    EXPECT_EQ(entries.front().recordNumber, 4);
}

TEST(ListOrder, MergingKeepsEqualLinesInTheOrderTheyCame) {
    std::vector<ListEntry> list{{"b", 1}, {"D", 2}};
    mergeEntries(list, {{"d", 3}, {"A", 4}, {"c", 0}, {"B", 5}});
    std::vector<std::pair<QString, int>> got;
    for (const ListEntry& e : list) {
        got.emplace_back(e.text, e.recordNumber);
    }
    EXPECT_EQ(got, (std::vector<std::pair<QString, int>>{
                       {"A", 4}, {"b", 1}, {"B", 5}, {"c", 0}, {"D", 2}, {"d", 3}}));
    EXPECT_EQ(sortedPosition(list, "b"), 3u);
    EXPECT_EQ(sortedPosition(list, ""), 0u);
}

TEST(ContactSearch, IsAContainmentTestOverTheTrimmedField) {
    const ContactRecord r = contact({{Field::City, "San Diego"},
                                     {Field::Zip, "K1A 0B1"},
                                     {Field::Category, "Work;Family"},
                                     {Field::Company, "Acme"},
                                     {Field::Email, "Ann@Example.com"}});
    EXPECT_TRUE(contactMatches(r, SearchField::City, "san"));
    EXPECT_TRUE(contactMatches(r, SearchField::City, "N DIE"));
    EXPECT_FALSE(
        contactMatches(r, SearchField::City, "Diego "));  // trailing blanks are trimmed away
    EXPECT_TRUE(contactMatches(r, SearchField::Category, "fam"));
    EXPECT_TRUE(contactMatches(r, SearchField::Email, "ann@"));
    EXPECT_TRUE(contactMatches(r, SearchField::Company, "ACME"));
    EXPECT_TRUE(contactMatches(r, SearchField::Zip, "K1A"));
    EXPECT_FALSE(contactMatches(r, SearchField::Zip, "k1a"));
    EXPECT_TRUE(contactMatches(r, SearchField::All, "anything"));
    // An empty search text takes the contacts whose field is not blank.
    EXPECT_TRUE(contactMatches(r, SearchField::City, ""));
    EXPECT_FALSE(contactMatches(r, SearchField::State, ""));
    EXPECT_FALSE(contactMatches(r, SearchField::FirstName, ""));
}

TEST(ContactSearch, OptionsCarryTheirTitlesAndResultNames) {
    EXPECT_EQ(searchOptions().size(), 9u);
    EXPECT_STREQ(searchOption(SearchField::Zip).inputTitle, "Zip code Search");
    EXPECT_STREQ(searchOption(SearchField::Zip).resultName, "Zip");
    EXPECT_STREQ(searchOption(SearchField::Company).inputTitle, "Company Search");
    EXPECT_STREQ(searchOption(SearchField::Company).resultName, "Company name");
    EXPECT_STREQ(searchOption(SearchField::Category).control, "optSearchCat");
    EXPECT_EQ(searchFieldNamed("company"), SearchField::Company);
    EXPECT_FALSE(searchFieldNamed("Company").has_value());
}

TEST(FindContacts, ListsTheTakenContactsInOrderWithTheirRecordNumbers) {
    test::TempFolder folder;
    const QString path = folder.file("Family.DAT");
    test::writeContacts(
        path, {person("Al", "One", "San Diego", "92101"), person("Bo", "Two", "Boston", "02101"),
               person("Cy", "Three", "Pleasanton", "94566"),
               person("Di", "Four", "Santa Fe", "92104"), person("Ed", "Five", "", "")});
    ContactsFile file;
    file.openExisting(path);

    FoundContacts san = findContacts(file, SearchField::City, "san", SortOrder::FirstName);
    EXPECT_EQ(san.found, 3);
    ASSERT_EQ(san.entries.size(), 3u);
    EXPECT_TRUE(san.entries[0].text.startsWith("Al One\tSan Diego"));
    EXPECT_TRUE(san.entries[1].text.startsWith("Cy Three\tPleasanton"));
    EXPECT_TRUE(san.entries[2].text.startsWith("Di Four\tSanta Fe"));
    EXPECT_EQ(san.entries[1].recordNumber, 3);
    EXPECT_EQ(resultCaption(san, "san"), "City = san");

    FoundContacts zip = findContacts(file, SearchField::Zip, "9210", SortOrder::LastName);
    EXPECT_EQ(zip.found, 2);
    EXPECT_TRUE(zip.entries[0].text.startsWith("Four, Di \t"));
    EXPECT_TRUE(zip.entries[1].text.startsWith("One, Al \t"));

    FoundContacts blank = findContacts(file, SearchField::City, "", SortOrder::FirstName);
    EXPECT_EQ(blank.found, 4);  // every contact with a city
    EXPECT_EQ(resultCaption(blank, ""), "City = ");

    FoundContacts none = findContacts(file, SearchField::State, "zz", SortOrder::FirstName);
    EXPECT_EQ(none.found, 0);
    EXPECT_EQ(resultCaption(none, "zz"), " = zz");
    EXPECT_EQ(countCaption(none.found), "Contacts Found = 0");

    FoundContacts all = findContacts(file, SearchField::All, "", SortOrder::FirstName);
    EXPECT_EQ(all.found, 5);
    EXPECT_EQ(all.resultName, "");
}

TEST(ListEditText, CopyPutsALineBreakBeforeEachLineAndPasteSplitsAtLineBreaks) {
    EXPECT_EQ(copiedLinesText({"A", "B"}), "\r\nA\r\nB");
    EXPECT_EQ(copiedLinesText({}), "");
    EXPECT_EQ(pastedLines("\r\nA\r\nB"), QStringList({"", "A", "B"}));
    EXPECT_EQ(pastedLines("A\r\n"), QStringList({"A", ""}));
    EXPECT_EQ(pastedLines("A\nB"), QStringList({"A\nB"}));  // only CR LF pairs split
    EXPECT_TRUE(pastedLines("").isEmpty());
}

TEST(TabStops, EachPieceStartsAtTheFirstStopRightOfTheTextDrawn) {
    // Every character 4 wide: a stop of 100 quarter-characters lies at 100.
    const auto width = [](const QString& s) { return s.size() * 4.0; };
    const TabRuler ruler = measureTabStops({100, 110, 120, 154, 176, 212, 242}, QString(80, ' '), width);
    EXPECT_EQ(ruler.stops, (std::vector<double>{100, 110, 120, 154, 176, 212, 242}));
    EXPECT_EQ(tabPieceOffsets({"Ann", "Boston", "MA", "02101", "", "", "e"}, ruler, width),
              (std::vector<double>{0, 100, 154, 176, 212, 242, 274}));
    // A name reaching past 100 pushes the city to 110; one ending exactly on a stop to the next.
    EXPECT_EQ(tabPieceOffsets({QString(26, 'x'), "c"}, ruler, width), (std::vector<double>{0, 110}));
    EXPECT_EQ(tabPieceOffsets({QString(25, 'x'), "c"}, ruler, width), (std::vector<double>{0, 110}));
    // Past the last stop, stops follow every eight characters.
    EXPECT_EQ(tabPieceOffsets({QString(70, 'x'), "c"}, ruler, width), (std::vector<double>{0, 306}));
}

TEST(TabStops, StopsStandWhereTheRulerPutsItsCharactersInAnyFont) {
    // A face whose characters are not all alike: "M" 9, blank 3, others 5.
    const auto width = [](const QString& s) {
        double w = 0;
        for (const QChar c : s) {
            w += c == 'M' ? 9 : c == ' ' ? 3 : 5;
        }
        return w;
    };
    const struct {
        std::vector<int> stops;
        QString ruler;
        std::vector<double> at;
        double character;
    } cases[] = {
        // "MM" is 18 wide, a blank 3: "City" starts at 24 and "ST" at 50; 60 in all.
        {{16, 40}, "MM  City  ST", {24, 50}, 5},
        // Between characters and past the ruler's end: its average width.
        {{2, 54}, "MM  City  ST", {2.5, 60 + 1.5 * 5}, 5},
        // No ruler: the width of "0".
        {{8, 10}, "", {10, 12.5}, 5},
    };
    for (const auto& c : cases) {
        const TabRuler ruler = measureTabStops(c.stops, c.ruler, width);
        EXPECT_EQ(ruler.stops, c.at) << c.ruler.toStdString();
        EXPECT_DOUBLE_EQ(ruler.character, c.character) << c.ruler.toStdString();
    }
    // The list's own header: each column starts under its heading's first letter.
    const std::vector<int> stops(kListTabStops.begin(), kListTabStops.end());
    const TabRuler header = measureTabStops(stops, kListHeaderText, width);
    const QStringList headings{"City", "ST", "Zip", "Home", "Cell", "Email Address"};
    for (int i = 0; i < headings.size(); ++i) {
        const qsizetype at = kListHeaderText.indexOf(headings[i]);
        EXPECT_EQ(at * 4, stops[i]) << headings[i].toStdString();
        EXPECT_EQ(header.stops[i], width(kListHeaderText.left(at))) << headings[i].toStdString();
    }
}

TEST(ContactListModel, KeepsLinesSortedAndRemovesRunsOfRows) {
    ContactListModel model;
    model.addEntries({{"b", 1}, {"a", 2}, {"c", 3}});
    EXPECT_EQ(model.addLine("B2"), 2);
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.data(model.index(2), Qt::DisplayRole).toString(), "B2");
    EXPECT_EQ(model.data(model.index(2), ContactListModel::kRecordNumberRole).toInt(), 0);
    EXPECT_EQ(model.data(model.index(0), ContactListModel::kRecordNumberRole).toInt(), 2);
    model.removeRows({3, 0, 2, 3});
    EXPECT_EQ(test::textsOf(model.entries()), QStringList({"b"}));
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
}
