// The cleaning rules of an import: birth dates, states, phones, streets,
// cities, ZIP codes and countries, per layout.
#include <gtest/gtest.h>

#include "ExchangeTestSupport.h"
#include "exchange/ImportValues.h"
#include "platform/Ansi.h"

namespace tandor {
namespace {

const ImportLayout& layoutNamed(const char* name) {
    for (const ImportLayout& layout : importLayouts()) {
        if (layout.name == QLatin1String(name)) {
            return layout;
        }
    }
    throw std::logic_error("no such layout");
}

ContactFields cleaned(const char* layout, ContactFields values) {
    cleanValues(values, layoutNamed(layout).cleaning);
    return values;
}

QString cleanedField(const char* layout, Field field, const char* value) {
    ContactFields values;
    values[field] = QString::fromUtf8(value);
    return cleaned(layout, values)[field];
}

TEST(ImportCleaning, FlattenedValuesKeepOneLineAndNoCommas) {
    EXPECT_EQ(flattenedValue(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a b c d"));
    EXPECT_EQ(flattenedValue(QStringLiteral("1,2")), QStringLiteral("1 2"));
    // Every control character: below 32, DEL and 128-159.
    EXPECT_EQ(flattenedValue(QString::fromUtf8("\x01x\x1f\x7f\u0085\u009f")),
              QStringLiteral(" x    "));
    // The characters next to them, and those beyond Latin-1, stay.
    const QString kept = QString::fromUtf8("\x20~\u00a0\u00e9\u20ac\U0001F600");
    EXPECT_EQ(flattenedValue(kept), kept);
    EXPECT_EQ(upperCaseKept(QString::fromUtf8("az\u00e9{\u00df")), QString::fromUtf8("AZ\u00c9{\u00df"));
}

TEST(ImportCleaning, YahooAndPrimaryPhoneBirthDates) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"3/7/1980", "19800307"},
        {"12/5/1980", "19801205"},
        {"3/17/1980", "19800317"},
        {"03/17/1980", "19800317"},
        {"13/05/1980", ""},
        {"12/32/1980", ""},
        {"7/4/76", ""},
        {"", ""},
        {"1980-03-07", ""},
        {"4/10/2001", "20010410"},
        {"3/7/1880", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cleanedField("Yahoo", Field::Birthdate, c.in), c.out) << c.in;
        EXPECT_EQ(cleanedField("Primary-Phone", Field::Birthdate, c.in), c.out) << c.in;
    }
}

TEST(ImportCleaning, OwnExportBirthDatesUseDashesAndNoRangeCheck) {
    EXPECT_EQ(cleanedField("own-export", Field::Birthdate, "04-10-1980"), "19800410");
    EXPECT_EQ(cleanedField("own-export", Field::Birthdate, "4-1-1975"), "19750401");
    EXPECT_EQ(cleanedField("own-export", Field::Birthdate, "12-5-1980"), "19801205");
    EXPECT_EQ(cleanedField("own-export", Field::Birthdate, "13-40-1980"), "19801340");
    EXPECT_EQ(birthdateAsStored("3/7/1980", QLatin1Char('/'), false), "19800307");
}

TEST(ImportCleaning, Phones) {
    // Yahoo: kept with a "-" and four digits at the end; Home takes Work.
    EXPECT_EQ(cleanedField("Yahoo", Field::HPhone, "(212) 555-1234"), "(212) 555-1234");
    EXPECT_EQ(cleanedField("Yahoo", Field::HPhone, "555 1234"), "");
    EXPECT_EQ(cleanedField("Yahoo", Field::CPhone, "555-12x4"), "");
    EXPECT_EQ(cleanedField("Yahoo", Field::WPhone, "555-1234 "), "555-1234 ");
    ContactFields work;
    work[Field::WPhone] = QStringLiteral("555-9876");
    const ContactFields yahoo = cleaned("Yahoo", work);
    EXPECT_EQ(yahoo[Field::HPhone], "555-9876");
    EXPECT_EQ(yahoo[Field::WPhone], "555-9876");
    // Primary-Phone: "+", "(" and ")" removed first.
    EXPECT_EQ(cleanedField("Primary-Phone", Field::HPhone, "+1 (212) 555-1234"), "1 212 555-1234");
    EXPECT_EQ(cleanedField("Primary-Phone", Field::CPhone, "+47 466 88 000"), "");
    // own-export: four digits at the end are enough, the work phone is free.
    EXPECT_EQ(cleanedField("own-export", Field::HPhone, "555 1234"), "555 1234");
    EXPECT_EQ(cleanedField("own-export", Field::CPhone, "call me"), "");
    EXPECT_EQ(cleanedField("own-export", Field::WPhone, "call me"), "call me");
}

TEST(ImportCleaning, AddressValues) {
    EXPECT_EQ(cleanedField("Yahoo", Field::State, "ca"), "CA");
    EXPECT_EQ(cleanedField("Yahoo", Field::State, "Calif."), "");
    EXPECT_EQ(cleanedField("own-export", Field::State, "C1"), "");
    EXPECT_EQ(cleanedField("own-export", Field::State, "#A"), "");
    EXPECT_EQ(cleanedField("Yahoo", Field::Zip, "92101-1234"), "92101-1234");
    EXPECT_EQ(cleanedField("Yahoo", Field::Zip, "SW1A 1AA"), "");
    EXPECT_EQ(cleanedField("own-export", Field::Zip, "9210"), "9210");
    EXPECT_EQ(cleanedField("Yahoo", Field::City, "Area 51"), "");
    EXPECT_EQ(cleanedField("Yahoo", Field::City, "Springfield"), "Springfield");
    EXPECT_EQ(cleanedField("own-export", Field::Country, "Zone #5"), "");
    EXPECT_EQ(cleanedField("Yahoo", Field::FStreet, "Main"), "");
    EXPECT_EQ(cleanedField("Yahoo", Field::FStreet, "1 Main"), "1 Main");
    EXPECT_EQ(cleanedField("own-export", Field::FStreet, "Main"), "Main");
    // The other layouts leave addresses and states as taken.
    EXPECT_EQ(cleanedField("Primary-Phone", Field::State, "ca"), "ca");
    EXPECT_EQ(cleanedField("generic", Field::City, "Area 51"), "Area 51");
}

TEST(ImportCleaning, ThroughAWholeYahooRun) {
    test::ImportTarget target;
    target.import(test::csvLines({test::yahooHeader(), test::lineWith(33, {{0, "Ann"},
                                                                           {9, "555-9876"},
                                                                           {27, "Main"},
                                                                           {28, "Area 51"},
                                                                           {29, "Calif."},
                                                                           {30, "ABCDE"},
                                                                           {31, "#1 Land"},
                                                                           {32, "13/05/1980"}})}));
    ASSERT_EQ(target.contacts().size(), 1);
    EXPECT_EQ(target.contacts()[0], test::contact({{"FName", "Ann"},
                                                   {"HPhone", "555-9876"},
                                                   {"WPhone", "555-9876"},
                                                   {"IncludeCompany", "1"},
                                                   {"BirthdayReminder", "1"}}));
}

TEST(ImportCleaning, ValuesAreCutToTheirFieldWidthsWhenWritten) {
    test::ImportTarget target;
    const QString longMail = QString(60, u'm') + QStringLiteral("@x.com");
    target.import(test::csvLines({test::ownExportHeader(),
                                  "Christopher Robin,,A Very Long Last Name Indeed,,,,,,,,,,,"
                                  "555-123-45678901," +
                                      longMail + ",,,"}));
    ASSERT_EQ(target.contacts().size(), 1);
    const ContactFields got = target.contacts()[0];
    EXPECT_EQ(got[Field::FName], "Christopher");
    EXPECT_EQ(got[Field::LName], "A Very Long Last");
    EXPECT_EQ(got[Field::WPhone], "555-123-45678");
    EXPECT_EQ(got[Field::Email], longMail.left(50));
}

TEST(ImportCleaning, LayoutsOfTodaysExportsCleanAsTheOwnExportLayout) {
    for (const char* layout : {"Google CSV", "Thunderbird", "Windows Address Book", "Outlook"}) {
        SCOPED_TRACE(layout);
        EXPECT_EQ(cleanedField(layout, Field::State, "ca"), "CA");
        EXPECT_EQ(cleanedField(layout, Field::State, "Niedersachsen"), "");
        EXPECT_EQ(cleanedField(layout, Field::Zip, "0357"), "0357");
        EXPECT_EQ(cleanedField(layout, Field::Zip, "SW1A 1AA"), "");
        EXPECT_EQ(cleanedField(layout, Field::City, "Area 51"), "");
        EXPECT_EQ(cleanedField(layout, Field::FStreet, "Main"), "Main");
        // Phones must end in a number, read on their digits; none needs a "-".
        EXPECT_EQ(cleanedField(layout, Field::HPhone, "+33 1 42 68 53 00"), "+33 1 42 68 53 00");
        EXPECT_EQ(cleanedField(layout, Field::CPhone, "+49 89 1234-5"), "+49 89 1234-5");
        EXPECT_EQ(cleanedField(layout, Field::CPhone, "(0)6.12.34.56.78"), "(0)6.12.34.56.78");
        EXPECT_EQ(cleanedField(layout, Field::WPhone, "phone work"), "");
        EXPECT_EQ(cleanedField(layout, Field::WPhone, "555-1234 x12"), "");
        // Birth dates are stored by the reading; the century test stays.
        EXPECT_EQ(cleanedField(layout, Field::Birthdate, "19800307"), "19800307");
        EXPECT_EQ(cleanedField(layout, Field::Birthdate, "18800307"), "");
    }
}

}  // namespace
}  // namespace tandor
