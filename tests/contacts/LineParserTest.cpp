#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "contacts/LineParser.h"

using namespace tandor;

namespace {

// The boxes the parse writes, as "FName=John; MiddleInit=Q; ...".
QString written(const LabelLinesParse& parse) {
    QStringList parts;
    for (ParsedBox box : kParsedBoxes) {
        if (parse[box].written) {
            parts.append(parsedBoxName(box) + QLatin1Char('=') + parse[box].text);
        }
    }
    return parts.join(QStringLiteral("; "));
}

QString parse(const QString& l1, const QString& l2 = {}, const QString& l3 = {},
              const QString& l4 = {}, const QString& l5 = {}) {
    return written(parseLabelLines({l1, l2, l3, l4, l5}));
}

// Line 2 alone (line 1 empty): the street and the rest of line 2.
QString street(const QString& line2) {
    return parse({}, line2);
}

}  // namespace

TEST(LineParser, EdgeCasesOfTheAddContactCommand) {
    EXPECT_EQ(parse("John Q. Smith", "123 Main Street Apt 4", "Springfield, IL 62704"),
              "FName=John; MiddleInit=Q; LName=Smith; FStreet=123 Main Street; SStreet=Apt 4; "
              "City=Springfield; State=IL; Zip=62704");
    EXPECT_EQ(parse("Mr. John Smith"), "FName=John; MiddleInit=; LName=John Smith");
    EXPECT_EQ(parse("Mary Ann Smith"), "FName=Mary; MiddleInit=; LName=Ann Smith");
    EXPECT_TRUE(parseLabelLines({"Cher", "12 Oak Lane", "", "", ""}).refused);
    EXPECT_EQ(parse("Cher", "12 Oak Lane"), "");
    EXPECT_EQ(parse("", "Main Street 12", "Reno NV 89501"), "");
    EXPECT_EQ(parse("", "PO Box 77", "Reno NV 89501"),
              "FStreet=PO Box 77; SStreet=; City=Reno; State=NV; Zip=89501");
    EXPECT_EQ(parse("", "12 Oak Lane", "Apt 5", "Boston, MA 02101-1234"),
              "FStreet=12 Oak Lane; SStreet=Apt 5; City=Boston; State=MA; Zip=02101-1234");
    EXPECT_EQ(parse("", "12 Oak Lane", "Ely NV 8930"), "FStreet=12 Oak Lane; SStreet=");
    const LabelLinesParse none = parseLabelLines({"", "", "", "", ""});
    EXPECT_FALSE(none.refused);
    EXPECT_EQ(written(none), "");
}

TEST(LineParser, NameLineTitlesInitialAndLastName) {
    // Titles leave the first name; the last name is counted from the full line.
    EXPECT_EQ(parse("Mrs. Jane Doe"), "FName=Jane; MiddleInit=; LName=Jane Doe");
    EXPECT_EQ(parse("Dr Bob Jones"), "FName=Bob; MiddleInit=; LName=Bob Jones");
    EXPECT_EQ(parse("Miss Ann Lee"), "FName=Ann; MiddleInit=; LName=Ann Lee");
    EXPECT_EQ(parse("John Smith Jr."), "FName=John; MiddleInit=; LName=Smith Jr");
    // An initial without a full stop; the last hit in character order wins.
    EXPECT_EQ(parse("John Q Smith"), "FName=John; MiddleInit=Q; LName=Smith");
    EXPECT_EQ(parse("John a Q Smith"), "FName=John; MiddleInit=a; LName=Q Smith");
    // The characters between "Z" and "a" make the initial empty.
    EXPECT_EQ(parse("Al _ Capone"), "FName=Al; MiddleInit=; LName=_ Capone");
    EXPECT_EQ(parse("Al B _ Capone"), "FName=Al; MiddleInit=; LName=B _ Capone");
    // The initial is searched from position 3.
    EXPECT_EQ(parse("A B Smith"), "FName=A; MiddleInit=; LName=B Smith");
    // No space in the name part (within its first 18 characters): no first name.
    EXPECT_EQ(parse(" Cher"), "FName=; MiddleInit=; LName=Cher");
    EXPECT_EQ(parse("Dr. Smith"), "FName=; MiddleInit=; LName=Dr Smith");
    EXPECT_EQ(parse("Christopherabcdefghij Smith"),
              "FName=; MiddleInit=; LName=Christopherabcdefghij Smith");
}

TEST(LineParser, StreetTypeGroups) {
    struct Case {
        const char* line;
        const char* expected;
    };
    const Case cases[] = {
        {"12 Elm ave Apt 3", "FStreet=12 Elm ave; SStreet=Apt 3"},
        {"12 Elm Ave Apt 3", "FStreet=12 Elm Ave Apt 3; SStreet="},  // no group detects "Ave"
        {"55 Park Avenue", "FStreet=55 Park Avenue; SStreet="},
        {"9 Elm st Unit 2", "FStreet=9 Elm st; SStreet=Unit 2"},
        {"12 Stone st 4", "FStreet=12 Sto; SStreet=ne st 4"},  // key " st" found in " Stone"
        {"123 Main Street Apt 4", "FStreet=123 Main Street; SStreet=Apt 4"},
        {"700 Sunset Blvd Ste 4", "FStreet=700 Sunset Blvd; SStreet=Ste 4"},
        {"700 Sunset Blvd", "FStreet=700 Sunset Blvd; SStreet="},
        {"1 Ocean Boulevard", "FStreet=1 Ocean Boulevard; SStreet="},
        {"4 Oak cir 2", "FStreet=4 Oak cir; SStreet=2"},
        {"4 Pine Circle", "FStreet=4 Pine Circle; SStreet="},
        {"8 Elm ct 5", "FStreet=8 Elm ct; SStreet=5"},
        {"8 ELM CT", "FStreet=8 ELM CT; SStreet="},
        {"3 King Court", "FStreet=3 King Court; SStreet="},
        {"5 Lake Dr Apt 2", "FStreet=5 Lake Dr; SStreet=Apt 2"},
        {"10 Main Drive", "FStreet=10 Main Drive; SStreet="},
        {"100 State HWY 9", "FStreet=100 State HWY; SStreet=9"},
        {"1 Coast Highway", "FStreet=1 Coast Highway; SStreet="},
        {"6 Maple ln 2", "FStreet=6 Maple ln; SStreet=2"},
        {"12 Oak Lane", "FStreet=12 Oak Lane; SStreet="},
        {"9 Lee pkwy 1", "FStreet=9 Lee pkwy; SStreet=1"},
        {"2 Blue Parkway", "FStreet=2 Blue Parkway; SStreet="},
        {"4 ELM PL 3", "FStreet=4 ELM PL; SStreet=3"},
        {"7 Grove Place", "FStreet=7 Grove Place; SStreet="},
        {"12 Mill Rd", "FStreet=12 Mill Rd; SStreet="},
        {"12 Mill Road", "FStreet=12 Mill Road; SStreet="},
        {"3 Vista ter 6", "FStreet=3 Vista ter; SStreet=6"},
        {"3 Hill Terrace", "FStreet=3 Hill Terrace; SStreet="},
        {"45 Sunny Way #2", "FStreet=45 Sunny Way; SStreet=#2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(street(c.line), c.expected) << c.line;
    }
}

TEST(LineParser, StreetTypeWordAtTheEndOfTheLineIsKeptWhole) {
    EXPECT_EQ(parse("Peter O'Neil", "77 Harbor Blvd", "Boston, MA 02110"),
              "FName=Peter; MiddleInit=; LName=O'Neil; FStreet=77 Harbor Blvd; SStreet=; "
              "City=Boston; State=MA; Zip=02110");
    const char* const lines[] = {"12 Main Blvd", "1234 Sunset Blvd", "77 Harbor blvd",
                                 "77 Harbor Blvd.", "8 Oak LN",      "8 Oak CT"};
    for (const char* line : lines) {
        EXPECT_EQ(street(line),
                  QStringLiteral("FStreet=%1; SStreet=").arg(QString::fromLatin1(line).remove(u'.')))
            << line;
    }
}

TEST(LineParser, CommaHashAndTheRestOfLineTwo) {
    EXPECT_EQ(street("12 Main, Apt 4"), "FStreet=12 Main; SStreet=Apt 4");
    EXPECT_EQ(street("12 Elm #4"), "FStreet=12 Elm; SStreet=#4");
    EXPECT_EQ(street("4 Ox Way #2"), "FStreet=4 Ox Way; SStreet=#2");  // " Way" before position 8
    EXPECT_EQ(street("12 Elm #4 Apt"), "FStreet=12 Elm; SStreet=#4 Apt");
    EXPECT_EQ(street("12 Elm #4 APT Apt apt"), "FStreet=12 Elm #4 APT Apt apt; SStreet=");
    // The rest is cut from the line as typed, dots included; a repeated last
    // letter followed by a space is dropped with that space.
    EXPECT_EQ(street("1 N. Main Street 5"), "FStreet=1 N Main Street; SStreet=5");
    EXPECT_EQ(street("P.O. Box 9"), "FStreet=PO Box 9; SStreet=9");
    // A comma or "#" only before position 6 leaves the street empty.
    EXPECT_EQ(street("12, Main"), "FStreet=; SStreet=12 Main");
    EXPECT_EQ(street("1 A #4"), "FStreet=; SStreet=1 A #4");
    // Not a street: nothing of lines 2 to 4 is written.
    EXPECT_EQ(street("Main Street 12"), "");
    EXPECT_EQ(street("   "), "");
    EXPECT_EQ(street("..."), "");
}

TEST(LineParser, SecondStreetLineCityStateAndZip) {
    EXPECT_EQ(parse("", "12 Oak Lane", "Ste 200", "Reno, NV 89501-0001"),
              "FStreet=12 Oak Lane; SStreet=Ste 200; City=Reno; State=NV; Zip=89501-0001");
    // A rest on line 2 makes line 3 the city line, whatever it holds.
    EXPECT_EQ(parse("", "9 Elm st Unit 2", "Apt 7", "Reno, NV 89501"),
              "FStreet=9 Elm st; SStreet=Unit 2");
    // Twelve characters are too many for a second street line.
    EXPECT_EQ(parse("", "12 Oak Lane", "Suite 100000", "Reno, NV 89501").section("; ", 0, 2),
              "FStreet=12 Oak Lane; SStreet=; City=Suite");
    EXPECT_EQ(parse("", "12 Oak Lane", "Springfield IL 62704"),
              "FStreet=12 Oak Lane; SStreet=; City=Springfield; State=IL; Zip=62704");
    EXPECT_EQ(parse("", "12 Oak Lane", "Boston MA 02101-1234"),
              "FStreet=12 Oak Lane; SStreet=; City=Boston; State=MA; Zip=02101-1234");
    // A city head without a comma and without a space from position 5, or
    // with its comma before position 3: no city.
    EXPECT_EQ(parse("", "12 Oak Lane", "Springfieldville 12345"),
              "FStreet=12 Oak Lane; SStreet=; City=; State=12; Zip=12345");
    EXPECT_TRUE(parse("", "12 Oak Lane", ",Springfield IL 62704").contains("City=; "));
}

TEST(LineParser, BoxesNotReachedKeepTheFormsText) {
    ContactEntry form;
    form.fName = "old";
    form.city = "Old Town";
    form.company = "Acme";
    parseLabelLines({"Ann Lee", "", "", "", ""}).applyTo(form);
    EXPECT_EQ(form.fName, "Ann");
    EXPECT_EQ(form.lName, "Lee");
    EXPECT_EQ(form.city, "Old Town");
    EXPECT_EQ(form.company, "Acme");
}

TEST(LineParser, ARefusalLeavesTheFormAlone) {
    ContactEntry form;
    form.fName = "kept";
    EXPECT_FALSE(fillFormFromLabelLines({"Cher", "12 Oak Lane", "", "", ""}, form));
    ContactEntry untouched;
    untouched.fName = "kept";
    EXPECT_EQ(form, untouched);

    EXPECT_TRUE(fillFormFromLabelLines({"Ann Lee", "", "", "", ""}, form));
    EXPECT_TRUE(fillFormFromLabelLines({"", "", "", "", ""}, form));
    EXPECT_EQ(form.fName, "Ann");
}

TEST(LineParser, AnyLinesParseWithoutFailing) {
    // Random lines of the characters the rules look at: no input may fail, the
    // refusal depends only on line 1, and the name boxes only on line 1.
    const QString alphabet = QStringLiteral("  .,#-_aZzQ09 PO BStreAvLnWy");
    QRandomGenerator random(20240611);
    for (int i = 0; i < 20000; ++i) {
        std::array<QString, 5> lines;
        for (QString& line : lines) {
            const int length = random.bounded(0, 26);
            for (int k = 0; k < length; ++k) {
                line.append(alphabet[random.bounded(alphabet.size())]);
            }
        }
        const LabelLinesParse p = parseLabelLines(lines);
        const bool lineOneBad = !lines[0].isEmpty() && !lines[0].contains(' ');
        ASSERT_EQ(p.refused, lineOneBad) << lines[0].toStdString();
        if (!p.refused) {
            EXPECT_EQ(p[ParsedBox::FName].written, !lines[0].isEmpty());
            EXPECT_LE(p[ParsedBox::MiddleInit].text.size(), 1);
        }
        for (ParsedBox box : kParsedBoxes) {
            if (!p[box].written) {
                EXPECT_TRUE(p[box].text.isEmpty());
            }
        }
    }
}

TEST(LineParser, TitlesWithoutAFullStopAreDroppedFromTheFirstName) {
    const std::pair<const char*, const char*> cases[] = {
        {"Mr John Smith", "John"}, {"Mrs Ann Lee", "Ann"},  {"Ms Jo Doe", "Jo"},
        {"Miss Kay Lu", "Kay"},    {"Dr Bob Jones", "Bob"}, {"Mrs. Ann Lee", "Ann"},
    };
    for (const auto& [line, first] : cases) {
        EXPECT_EQ(parseLabelLines({line, {}, {}, {}, {}})[ParsedBox::FName].text, first) << line;
    }
}

TEST(LineParser, ControlCharactersInTheLinesCountAsSpaces) {
    const LabelLinesParse p = parseLabelLines({"Ann\tLee", "12\tOak Lane", {}, {}, {}});
    ASSERT_FALSE(p.refused);
    EXPECT_EQ(p[ParsedBox::FName].text, "Ann");
    EXPECT_EQ(p[ParsedBox::LName].text, "Lee");
    EXPECT_EQ(p[ParsedBox::FStreet].text, "12 Oak Lane");
}
