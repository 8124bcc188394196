// Which layout a header has, and the header columns each layout reads.
#include <gtest/gtest.h>

#include "ExchangeTestSupport.h"
#include "exchange/ImportLayouts.h"

namespace tandor {
namespace {

QString layoutOf(const QString& headerText) {
    const ImportLayout* layout = recogniseLayout(headerText);
    return layout ? layout->name : QStringLiteral("none");
}

std::optional<QStringList> preparedHeader(const QString& headerText) {
    const ImportLayout* layout = recogniseLayout(headerText);
    EXPECT_NE(layout, nullptr) << headerText.toStdString();
    return layout ? layout->prepareHeader(headerText.split(QLatin1Char(','))) : std::nullopt;
}

TEST(ImportLayouts, AreTriedInTheirOrder) {
    EXPECT_EQ(layoutOf(test::yahooHeader()), "Yahoo");
    EXPECT_EQ(layoutOf("First,Last,Yahoo Phone"), "Yahoo");
    // The web-mail header has "Primary Phone" and "Web Page" (and "Name,",
    // which the generic row would take).
    EXPECT_EQ(layoutOf(test::primaryPhoneHeader()), "Primary-Phone");
    EXPECT_EQ(layoutOf("First Name,Last Name,Middle Name,Name,E-mail Address"), "Name-E-mail");
    EXPECT_EQ(layoutOf("First Name,Last Name,E-mail Address"), "Name-E-mail");
    EXPECT_EQ(layoutOf(test::ownExportHeader()), "own-export");
    EXPECT_EQ(layoutOf("First Name,Last Name,Email,Phone"), "generic");
    EXPECT_EQ(layoutOf("Name,E-mail,Notes"), "generic");

    EXPECT_EQ(layoutOf("Given Name,Family Name,E-mail 1 - Value"), "generic");
    EXPECT_EQ(layoutOf("First,Last,Email"), "none");  // no "Name,"
    EXPECT_EQ(layoutOf("Name,Distribution Lists,Email"), "none");
    EXPECT_EQ(layoutOf("Title,Name,Suffix,Initials,Web Page,Email"), "none");
    EXPECT_EQ(layoutOf("Name,Birthdate,Category,Notes"), "none");
    EXPECT_EQ(layoutOf(""), "none");
    // Exact case: "email address" is not "E-mail Address".
    EXPECT_EQ(layoutOf("first name,last name,email"), "none");
}

TEST(ImportLayouts, PrepareTheHeaderColumnsTheyRead) {
    // Primary-Phone: the first 21 columns.
    const auto primary = preparedHeader(test::primaryPhoneHeader());
    ASSERT_TRUE(primary);
    EXPECT_EQ(primary->size(), 21);
    EXPECT_EQ(primary->last(), "Mobile Phone");

    // Name-E-mail: from "First Name," through the first "Name,E-mail Address".
    EXPECT_EQ(preparedHeader("Title,First Name,Last Name,Name,E-mail Address,Home Phone"),
              (QStringList{"First Name", "Last Name", "Name", "E-mail Address"}));
    // A cut that begins inside a column keeps that column's part.
    EXPECT_EQ(preparedHeader("Given First Name,Last Name,Name,E-mail Address"),
              (QStringList{"First Name", "Last Name", "Name", "E-mail Address"}));
    // Without "First Name," the whole header.
    EXPECT_EQ(preparedHeader("Nickname,Last Name,Name,E-mail Address,Notes"),
              (QStringList{"Nickname", "Last Name", "Name", "E-mail Address", "Notes"}));

    // Generic: cut before the comma after the e-mail column; the last of the
    // four names in their order wins, not the rightmost.
    EXPECT_EQ(preparedHeader("First Name,Last Name,Email,Phone"),
              (QStringList{"First Name", "Last Name", "Email"}));
    EXPECT_EQ(preparedHeader("First Name,Last Name,Email,Title,E-mail,Phone"),
              (QStringList{"First Name", "Last Name", "Email"}));
    EXPECT_EQ(preparedHeader("First Name,E-mail,Last Name,Email Address,Phone"),
              (QStringList{"First Name", "E-mail"}));
    EXPECT_EQ(preparedHeader("First Name,Last Name,Email"), std::nullopt);
    EXPECT_EQ(preparedHeader("Name,E-mail 1 - Value,Notes"), std::nullopt);
}

TEST(ImportLayouts, CutJoinedValuesKeepsCommasInsideValues) {
    const QStringList values{"a", "Smith, Jr.", "", "b"};  // joined: a,Smith, Jr.,,b
    EXPECT_EQ(cutJoinedValues(values, 0, 13), (QStringList{"a", "Smith, Jr.", ""}));
    EXPECT_EQ(cutJoinedValues(values, 2, 7), (QStringList{"Smith"}));
    EXPECT_EQ(cutJoinedValues(values, 1, 14), (QStringList{"", "Smith, Jr.", "", ""}));
    EXPECT_EQ(cutJoinedValues(values, 0, 100), values);
    EXPECT_EQ(cutJoinedValues({}, 0, 5), QStringList());
}

}  // namespace
}  // namespace tandor
