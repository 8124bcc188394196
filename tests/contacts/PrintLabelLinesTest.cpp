#include <gtest/gtest.h>

#include "contacts/PrintLabelLines.h"

using namespace tandor;

namespace {

using Lines = std::array<QString, 5>;

ContactEntry acme() {
    ContactEntry e;
    e.fName = " John ";
    e.lName = "Smith ";
    e.fStreet = "1 Main St";
    e.city = "Springfield";
    e.state = "IL";
    e.zip = "62701";
    e.country = "USA";
    e.company = " Acme";
    e.includeCompany = true;
    return e;
}

}  // namespace

TEST(PrintLabelLines, TheSixCases) {
    const QString place = "Springfield, IL  62701";
    ContactEntry e = acme();
    // Company on.
    EXPECT_EQ(printLabelLines(e), (Lines{"John Smith", "Acme", "1 Main St", place, ""}));
    e.sStreet = "Apt 2";
    EXPECT_EQ(printLabelLines(e), (Lines{"John Smith", "Acme", "1 Main St", "Apt 2", place}));
    e.city = "";
    EXPECT_EQ(printLabelLines(e), (Lines{"John Smith", "Acme", "1 Main St", "Apt 2", ""}));
    // Company off: the box cleared, or the company empty.
    for (bool emptyCompany : {false, true}) {
        e = acme();
        if (emptyCompany) {
            e.company = "  ";
        } else {
            e.includeCompany = false;
        }
        EXPECT_EQ(printLabelLines(e), (Lines{"John Smith", "1 Main St", place, "", ""}));
        e.sStreet = "Apt 2";
        EXPECT_EQ(printLabelLines(e), (Lines{"John Smith", "1 Main St", "Apt 2", place, ""}));
        e.city = "";
        EXPECT_EQ(printLabelLines(e), (Lines{"John Smith", "1 Main St", "Apt 2", "", ""}));
    }
}

TEST(PrintLabelLines, NameLineAndEmptyAddress) {
    ContactEntry e;
    e.fName = "John";
    e.middleInit = "Q";
    e.lName = "Smith";
    EXPECT_EQ(printLabelLines(e)[0], "John Q Smith");
    // Each pair of spaces becomes one, in one pass: four become two.
    e.middleInit = "";
    e.fName = "John  ";
    e.lName = "  Smith";
    EXPECT_EQ(printLabelLines(e)[0], "John Smith");
    e.fName = "Jo  hn";
    EXPECT_EQ(printLabelLines(e)[0], "Jo hn Smith");
    e.fName = "Jo    hn";
    EXPECT_EQ(printLabelLines(e)[0], "Jo  hn Smith");
    // No street and no city.
    EXPECT_EQ(printLabelLines(e), (Lines{"Jo  hn Smith", "", "", "", ""}));
}
