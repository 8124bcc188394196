// Exports of today's providers written for these tests, with other people and
// the quirks real files have: quoted and unquoted values, CR LF and LF, byte-
// order marks, UTF-8 and Windows-1252 accents, empty and missing columns,
// multi-line values, ";" separators, several e-mails and phones. Each arrives
// whole (cut to the field widths), and a second import writes nothing.
#include <gtest/gtest.h>


#include "ExchangeTestSupport.h"
#include "exchange/ImportLayouts.h"
#include "exchange/NamedColumns.h"
#include "platform/Ansi.h"

namespace tandor {
namespace {

// One line of a file: the values at their positions, in quotes when they
// hold the separator, a quote or a line break (or always).
QString row(int columns, std::initializer_list<std::pair<int, const char*>> values,
            QChar separator = u',', bool quoteAll = false) {
    QStringList cells(columns);
    for (const auto& [at, text] : values) {
        QString value = QString::fromUtf8(text);
        if (quoteAll || value.contains(separator) || value.contains(u'"') ||
            value.contains(u'\n') || value.contains(u'\r')) {
            value = u'"' + value.replace(u'"', QStringLiteral("\"\"")) + u'"';
        }
        cells[at] = value;
    }
    if (quoteAll) {
        for (QString& c : cells) {
            if (c.isEmpty()) {
                c = QStringLiteral("\"\"");
            }
        }
    }
    return cells.join(separator);
}

enum class Bytes { Utf8, Utf8Bom, Ansi };

QByteArray fileOf(const QStringList& lines, const char* ending, Bytes bytes) {
    const QString text = lines.join(QLatin1String(ending)) + QLatin1String(ending);
    switch (bytes) {
        case Bytes::Utf8Bom:
            return "\xEF\xBB\xBF" + text.toUtf8();
        case Bytes::Ansi:
            return toAnsi(text);
        default:
            return text.toUtf8();
    }
}

// A contact as the record holds it, its fields joined by "|"; every contact
// of these layouts has IncludeCompany "1", and reminders are on.
QString whole(std::initializer_list<std::pair<const char*, const char*>> values) {
    ContactFields c = test::contact(values);
    c[Field::IncludeCompany] = QStringLiteral("1");
    c[Field::BirthdayReminder] = QStringLiteral("1");
    return QStringList(c.values.begin(), c.values.end()).join(u'|');
}

struct Expected {
    const char* layout;
    QStringList contacts;
    int withoutName = 0;
};

void expectWhole(const QByteArray& csv, const Expected& expected) {
    test::ImportTarget target;
    const ImportOutcome first = target.import(csv);
    EXPECT_EQ(first.result, ImportResult::Done);
    EXPECT_EQ(first.layout, QLatin1String(expected.layout));
    EXPECT_EQ(target.lines(), expected.contacts);
    EXPECT_EQ(first.withoutName, expected.withoutName);

    const QByteArray before = target.bytes();
    const ImportOutcome second = target.import(csv);
    EXPECT_EQ(second.written, 0);
    EXPECT_EQ(second.duplicates, expected.contacts.size());
    EXPECT_EQ(target.bytes(), before);
}

const QString kGoogle = QStringLiteral(
    "First Name,Middle Name,Last Name,Phonetic First Name,Phonetic Middle Name,Phonetic Last "
    "Name,Name Prefix,Name Suffix,Nickname,File As,Organization Name,Organization Title,"
    "Organization Department,Birthday,Notes,Photo,Labels,E-mail 1 - Label,E-mail 1 - Value,"
    "E-mail 2 - Label,E-mail 2 - Value,Phone 1 - Label,Phone 1 - Value,Phone 2 - Label,Phone 2 - "
    "Value,Phone 3 - Label,Phone 3 - Value,Address 1 - Label,Address 1 - Formatted,Address 1 - "
    "Street,Address 1 - City,Address 1 - PO Box,Address 1 - Region,Address 1 - Postal Code,"
    "Address 1 - Country,Address 1 - Extended Address,Address 2 - Label,Address 2 - Formatted,"
    "Address 2 - Street,Address 2 - City,Address 2 - PO Box,Address 2 - Region,Address 2 - "
    "Postal Code,Address 2 - Country,Address 2 - Extended Address,Website 1 - Label,Website 1 - "
    "Value");

TEST(ProviderExports, GoogleCsv) {
    const QStringList lines = {
        kGoogle,
        row(47, {{0, "Ren\u00e9e"},
                 {1, "Luz"},
                 {2, "Ortiz-Blanco"},
                 {10, "Blanco & Hijos"},
                 {13, "1984-02-29"},
                 {14, "Met at the fair\nlikes tulips"},
                 {16, "Family ::: * myContacts ::: * starred"},
                 {17, "* Home"},
                 {18, "renee@example.org ::: r.ortiz@example.com"},
                 {21, "Work"},
                 {22, "+1 303-555-0182"},
                 {23, "Mobile"},
                 {24, "(720) 555-0199 ::: (720) 555-0100"},
                 {25, "Home Fax"},
                 {26, "303-555-0111"},
                 {27, "Work"},
                 {29, "1600 Market St"},
                 {30, "Denver"},
                 {32, "CO"},
                 {33, "80202"},
                 {34, "United States"},
                 {36, "Home"},
                 {38, "742 Evergreen Terrace\nUnit 5"},
                 {39, "Springfield"},
                 {41, "or"},
                 {42, "97477"},
                 {43, "USA"},
                 {46, "https://example.org"}}),
        // A last name only, a birthday without a year, a "Main" phone.
        row(47,
            {{2, "Wong"}, {13, "--07-04"}, {16, "* myContacts"}, {21, "Main"}, {22, "555 0142"}}),
        row(47, {{17, "* Other"}, {18, "nobody@example.com"}}),  // no name
        row(47, {{10, "Acme Plumbing"}, {16, "Trades"}, {21, "Work"}, {22, "555-0100"}}),
    };
    expectWhole(
        fileOf(lines, "\n", Bytes::Utf8),
        {"Google CSV",
         {whole({{"FName", "Ren\u00e9e"},
                 {"MiddleInit", "L"},
                 {"LName", "Ortiz-Blanco"},
                 {"FStreet", "742 Evergreen Terrace"},
                 {"SStreet", "Unit 5"},
                 {"City", "Springfield"},
                 {"State", "OR"},
                 {"Zip", "97477"},
                 {"Country", "USA"},
                 {"CPhone", "(720) 555-0199"},
                 {"WPhone", "+1 303-555-01"},
                 {"Email", "renee@example.org"},
                 {"Birthdate", "19840229"},
                 {"Category", "Family"},
                 {"Notes", "Met at the fair likes tulips"},
                 {"Company", "Blanco & Hijos"}}),
          whole({{"LName", "Wong"}, {"HPhone", "555 0142"}}),
          whole({{"WPhone", "555-0100"}, {"Category", "Trades"}, {"Company", "Acme Plumbing"}})},
         1});
}

TEST(ProviderExports, OlderGoogleCsvQuotedWithCrLf) {
    const QString header = QStringLiteral(
        "Name,Given Name,Additional Name,Family Name,Yomi Name,Given Name Yomi,Additional Name "
        "Yomi,Family Name Yomi,Name Prefix,Name Suffix,Initials,Nickname,Short Name,Maiden Name,"
        "Birthday,Gender,Location,Billing Information,Directory Server,Mileage,Occupation,Hobby,"
        "Sensitivity,Priority,Subject,Notes,Group Membership,E-mail 1 - Type,E-mail 1 - Value,"
        "E-mail 2 - Type,E-mail 2 - Value,Phone 1 - Type,Phone 1 - Value,Phone 2 - Type,Phone 2 - "
        "Value,Address 1 - Type,Address 1 - Formatted,Address 1 - Street,Address 1 - City,Address "
        "1 - PO Box,Address 1 - Region,Address 1 - Postal Code,Address 1 - Country,Address 1 - "
        "Extended Address,Organization 1 - Type,Organization 1 - Name,Organization 1 - Title");
    const QStringList lines = {
        test::quoted(header),
        // Only the full name; the first e-mail cell empty, the second filled.
        row(47,
            {{0, "Mary Ann van Dyke"},
             {14, "1975-12-12"},
             {26, "Book Club ::: * My Contacts"},
             {27, "* Other"},
             {29, "Work"},
             {30, "mary@example.net"},
             {31, "Mobile"},
             {32, "+49 171 5550123 ::: +49 171 5550124"},
             {35, "Other"},
             {37, "Hauptstra\u00dfe 5"},
             {38, "M\u00fcnchen"},
             {41, "80331"},
             {42, "Germany"},
             {45, "Stadtwerke"}},
            u',', true),
        row(47,
            {{0, "Zo\u00eb Ng"},
             {1, "Zo\u00eb"},
             {3, "Ng"},
             {14, "1990-07-15"},
             {31, "Home"},
             {32, "020 7946 0018"},
             {33, "Work"},
             {34, "020 7946 0999"}},
            u',', true),
    };
    expectWhole(fileOf(lines, "\r\n", Bytes::Utf8), {"Google CSV (older)",
                                                     {whole({{"FName", "Mary Ann va"},
                                                             {"LName", "Dyke"},
                                                             {"FStreet", "Hauptstra\u00dfe 5"},
                                                             {"City", "M\u00fcnchen"},
                                                             {"Zip", "80331"},
                                                             {"Country", "Germany"},
                                                             {"CPhone", "+49 171 5550123"},
                                                             {"Email", "mary@example.net"},
                                                             {"Birthdate", "19751212"},
                                                             {"Category", "Book Club"},
                                                             {"Company", "Stadtwerke"}}),
                                                      whole({{"FName", "Zo\u00eb"},
                                                             {"LName", "Ng"},
                                                             {"HPhone", "020 7946 0018"},
                                                             {"WPhone", "020 7946 0999"},
                                                             {"Birthdate", "19900715"}})}});
}

const QString kThunderbird = QStringLiteral(
    "First Name,Last Name,Display Name,Nickname,Primary Email,Secondary Email,Screen Name,Work "
    "Phone,Home Phone,Fax Number,Pager Number,Mobile Number,Home Address,Home Address 2,Home City,"
    "Home State,Home ZipCode,Home Country,Work Address,Work Address 2,Work City,Work State,Work "
    "ZipCode,Work Country,Job Title,Department,Organization,Web Page 1,Web Page 2,Birth Year,"
    "Birth Month,Birth Day,Custom 1,Custom 2,Custom 3,Custom 4,Notes");

TEST(ProviderExports, ThunderbirdInWindows1252WithLf) {
    const QStringList lines = {
        kThunderbird,
        // The display name only, the second e-mail, the work address, no birth year.
        row(37, {{2, "Zo\u00eb M\u00fcller-L\u00fcdenscheidt"},
                 {5, "zoe@example.de"},
                 {11, "+49 30 1234567"},
                 {18, "Friedrichstra\u00dfe 100"},
                 {19, "3. OG"},
                 {20, "Berlin"},
                 {22, "10117"},
                 {23, "Germany"},
                 {26, "Acme GmbH"},
                 {30, "2"},
                 {31, "14"},
                 {36, "no year known"}}),
        row(37, {{0, "Sam"},
                 {1, "Park"},
                 {4, "sam@example.com"},
                 {7, "555-0456"},
                 {8, "555-0123"},
                 {12, "12 Oak Ave"},
                 {14, "Portland"},
                 {15, "me"},
                 {16, "04101"},
                 {29, "1988"},
                 {30, "7"},
                 {31, "4"}}),
    };
    expectWhole(fileOf(lines, "\n", Bytes::Ansi), {"Thunderbird",
                                                   {whole({{"FName", "Zo\u00eb"},
                                                           {"LName", "M\u00fcller-L\u00fcdensche"},
                                                           {"FStreet", "Friedrichstra\u00dfe 100"},
                                                           {"SStreet", "3. OG"},
                                                           {"City", "Berlin"},
                                                           {"Zip", "10117"},
                                                           {"Country", "Germany"},
                                                           {"CPhone", "+49 30 1234567"},
                                                           {"Email", "zoe@example.de"},
                                                           {"Notes", "no year known"},
                                                           {"Company", "Acme GmbH"}}),
                                                    whole({{"FName", "Sam"},
                                                           {"LName", "Park"},
                                                           {"FStreet", "12 Oak Ave"},
                                                           {"City", "Portland"},
                                                           {"State", "ME"},
                                                           {"Zip", "04101"},
                                                           {"HPhone", "555-0123"},
                                                           {"WPhone", "555-0456"},
                                                           {"Email", "sam@example.com"},
                                                           {"Birthdate", "19880704"}})}});
}

TEST(ProviderExports, WindowsAddressBookWithSemicolons) {
    const QString header = QStringLiteral(
        "First Name;Last Name;Middle Name;Name;Nickname;E-mail Address;Home Street;Home City;Home "
        "Postal Code;Home State;Home Country/Region;Home Phone;Home Fax;Mobile Phone;Personal Web "
        "Page;Business Street;Business City;Business Postal Code;Business State;Business "
        "Country/Region;Business Web Page;Business Phone;Business Fax;Pager;Company;Job Title;"
        "Department;Office Location;Notes");
    const QStringList lines = {
        header,
        // The name in one column, the business address when the home one is empty.
        row(29,
            {{3, "Jean-Luc Picard"},
             {5, "jl.picard@example.fr"},
             {15, "12, rue de la Paix"},
             {16, "Paris"},
             {17, "75002"},
             {19, "France"},
             {21, "+33 1 42 68 53 00"},
             {24, "Starfleet"},
             {28, "Earl Grey, hot"}},
            u';'),
        row(29,
            {{0, "Ann"},
             {1, "Lee"},
             {2, "Marie"},
             {3, "Ann Lee"},
             {5, "ann@example.com"},
             {6, "1 Main St"},
             {7, "Springfield"},
             {8, "62704"},
             {9, "IL"},
             {10, "United States of America"},
             {11, "217-555-0100"},
             {13, "217-555-0199"}},
            u';'),
        "",
        ";;;;;",
    };
    expectWhole(fileOf(lines, "\r\n", Bytes::Utf8Bom), {"Windows Address Book",
                                                        {whole({{"FName", "Jean-Luc"},
                                                                {"LName", "Picard"},
                                                                {"FStreet", "12  rue de la Paix"},
                                                                {"City", "Paris"},
                                                                {"Zip", "75002"},
                                                                {"Country", "France"},
                                                                {"WPhone", "+33 1 42 68 5"},
                                                                {"Email", "jl.picard@example.fr"},
                                                                {"Notes", "Earl Grey  hot"},
                                                                {"Company", "Starfleet"}}),
                                                         whole({{"FName", "Ann"},
                                                                {"MiddleInit", "M"},
                                                                {"LName", "Lee"},
                                                                {"FStreet", "1 Main St"},
                                                                {"City", "Springfield"},
                                                                {"State", "IL"},
                                                                {"Zip", "62704"},
                                                                {"Country", "United States of Am"},
                                                                {"HPhone", "217-555-0100"},
                                                                {"CPhone", "217-555-0199"},
                                                                {"Email", "ann@example.com"}})},
                                                        2});
}

TEST(ProviderExports, OutlookQuotedWithDayFirstDates) {
    const QString header = QStringLiteral(
        "Title,First Name,Middle Name,Last Name,Suffix,Company,Department,Job Title,Business "
        "Street,Business Street 2,Business City,Business State,Business Postal Code,Business "
        "Country/Region,Home Street,Home Street 2,Home City,Home State,Home Postal Code,Home "
        "Country/Region,Business Phone,Home Phone,Mobile Phone,Primary Phone,Anniversary,Birthday,"
        "Categories,E-mail Address,E-mail 2 Address,Notes,Web Page");
    const QStringList lines = {
        test::quoted(header),
        // A street of two lines; "17/3/1985" shows the file's dates are day first.
        row(31,
            {{0, "Dr."},
             {1, "Siobh\u00e1n"},
             {3, "O'Brien"},
             {14, "Flat 2\r\n14 Harbour Road"},
             {16, "Dublin"},
             {19, "Ireland"},
             {22, "+353 87 555 0101"},
             {24, "0/0/00"},
             {25, "17/3/1985"},
             {26, "Friends;Sailing"},
             {27, "siobhan@example.ie"},
             {29, "Call after 6"}},
            u',', true),
        // The business address, the second e-mail, the primary phone as home phone.
        row(31,
            {{1, "Tom"},
             {3, "Baker"},
             {5, "Gallifrey Ltd"},
             {8, "1 Police Box Lane"},
             {10, "Cardiff"},
             {13, "Wales"},
             {20, "029 2018 0000"},
             {23, "029 2018 0001"},
             {24, "23/11/1963"},
             {25, "3/4/1975"},
             {28, "tom@example.co.uk"}},
            u',', true),
        row(31, {{24, "0/0/00"}, {25, "0/0/00"}}, u',', true),
    };
    expectWhole(fileOf(lines, "\r\n", Bytes::Utf8Bom), {"Outlook",
                                                        {whole({{"FName", "Siobh\u00e1n"},
                                                                {"LName", "O'Brien"},
                                                                {"FStreet", "Flat 2"},
                                                                {"SStreet", "14 Harbour Road"},
                                                                {"City", "Dublin"},
                                                                {"Country", "Ireland"},
                                                                {"CPhone", "+353 87 555 010"},
                                                                {"Email", "siobhan@example.ie"},
                                                                {"Birthdate", "19850317"},
                                                                {"Category", "Friends;Sailing"},
                                                                {"Notes", "Call after 6"}}),
                                                         whole({{"FName", "Tom"},
                                                                {"LName", "Baker"},
                                                                {"FStreet", "1 Police Box Lane"},
                                                                {"City", "Cardiff"},
                                                                {"Country", "Wales"},
                                                                {"HPhone", "029 2018 0001"},
                                                                {"WPhone", "029 2018 0000"},
                                                                {"Email", "tom@example.co.uk"},
                                                                {"Birthdate", "19750403"},
                                                                {"Company", "Gallifrey Ltd"}})},
                                                        1});
}

TEST(ProviderExports, EuropeanOutlookWithSemicolonsInWindows1252) {
    // The Outlook.com column order, separated by ";".
    const QString header = QStringLiteral(
        "First Name;Middle Name;Last Name;Title;Suffix;Nickname;Given Yomi;Surname Yomi;E-mail "
        "Address;E-mail 2 Address;E-mail 3 Address;Home Phone;Home Phone 2;Business Phone;"
        "Business Phone 2;Mobile Phone;Car Phone;Other Phone;Primary Phone;Pager;Business Fax;Home "
        "Fax;Other Fax;Company Main Phone;Callback;Radio Phone;Telex;TTY/TDD Phone;IMAddress;Job "
        "Title;Department;Company;Office Location;Manager's Name;Assistant's Name;Assistant's "
        "Phone;Company Yomi;Business Street;Business City;Business State;Business Postal Code;"
        "Business Country/Region;Home Street;Home City;Home State;Home Postal Code;Home "
        "Country/Region;Other Street;Other City;Other State;Other Postal Code;Other "
        "Country/Region;Personal Web Page;Spouse;Schools;Hobby;Location;Web Page;Birthday;"
        "Anniversary;Notes");
    const QStringList lines = {
        header,
        row(61,
            {{0, "J\u00fcrgen"},
             {2, "Wei\u00df"},
             {8, "j.weiss@example.de"},
             {11, "+49 89 1234-5"},
             {31, "Brauerei Wei\u00df"},
             {42, "Leopoldstra\u00dfe 1, Hinterhaus"},
             {43, "M\u00fcnchen"},
             {45, "80802"},
             {46, "Deutschland"},
             {58, "24.12.1979"},
             {60, "Notiz; mit Semikolon"}},
            u';'),
    };
    expectWhole(fileOf(lines, "\r\n", Bytes::Ansi),
                {"Outlook",
                 {whole({{"FName", "J\u00fcrgen"},
                         {"LName", "Wei\u00df"},
                         {"FStreet", "Leopoldstra\u00dfe 1  Hinterhaus"},
                         {"City", "M\u00fcnchen"},
                         {"Zip", "80802"},
                         {"Country", "Deutschland"},
                         {"HPhone", "+49 89 1234-5"},
                         {"Email", "j.weiss@example.de"},
                         {"Birthdate", "19791224"},
                         {"Notes", "Notiz; mit Semikolon"},
                         {"Company", "Brauerei Wei\u00df"}})}});
}

TEST(ProviderExports, MissingColumnsAndShortLines) {
    // A header cut short and lines shorter than it: what is there arrives.
    expectWhole(fileOf({kThunderbird.section(u',', 0, 17), "Ann,Lee,,,ann@x.com",
                        "Bob,Ray,,,bob@x.com,,,,555-0100,,,,9 Elm St,,Albany,NY"},
                       "\r\n", Bytes::Utf8),
                {"Thunderbird",
                 {whole({{"FName", "Ann"}, {"LName", "Lee"}, {"Email", "ann@x.com"}}),
                  whole({{"FName", "Bob"},
                         {"LName", "Ray"},
                         {"FStreet", "9 Elm St"},
                         {"City", "Albany"},
                         {"State", "NY"},
                         {"HPhone", "555-0100"},
                         {"Email", "bob@x.com"}})}});
    expectWhole(fileOf({"First Name,Last Name,E-mail 1 - Value,Phone 1 - Label,Phone 1 - Value",
                        "Cy,Day,cy@x.com", "Di,,,Mobile,555-0101"},
                       "\n", Bytes::Utf8),
                {"Google CSV",
                 {whole({{"FName", "Cy"}, {"LName", "Day"}, {"Email", "cy@x.com"}}),
                  whole({{"FName", "Di"}, {"CPhone", "555-0101"}})}});
}

TEST(ProviderExports, TheWebMailOutlookHeaderKeepsItsRulesAndGainsTheAddress) {
    // The Primary-Phone layout's own header, with business columns added.
    const QString header = test::primaryPhoneHeader() +
                           ",Business Street,Business City,Business State,Business Postal Code,"
                           "Business Country,Business Phone,Categories";
    const QStringList lines = {
        header,
        row(41, {{0, "Ann"},
                 {2, "Lee"},
                 {13, "Neighbour"},
                 {14, "ann@example.com"},
                 {18, "+47 466 88 000"},
                 {20, "555-1234"},
                 {34, "9 Elm St"},
                 {35, "Albany"},
                 {36, "ny"},
                 {37, "12207"},
                 {38, "USA"},
                 {39, "(518) 555-0100"},
                 {40, "Work"}}),
        row(41, {{0, "Cy"}, {2, "Day"}, {24, "1 Main St"}}),  // no e-mail: skipped as before
    };
    test::ImportTarget target;
    const ImportOutcome outcome = target.import(fileOf(lines, "\r\n", Bytes::Utf8));
    EXPECT_EQ(outcome.layout, "Primary-Phone");
    EXPECT_EQ(outcome.skippedByLayout, 1);
    // Its phone rules stay (a phone needs a "-"), and its state is not
    // changed to upper case.
    EXPECT_EQ(target.lines(), QStringList{whole({{"FName", "Ann"},
                                                 {"LName", "Lee"},
                                                 {"FStreet", "9 Elm St"},
                                                 {"City", "Albany"},
                                                 {"State", "ny"},
                                                 {"Zip", "12207"},
                                                 {"Country", "USA"},
                                                 {"CPhone", "555-1234"},
                                                 {"WPhone", "(518) 555-010"},
                                                 {"Email", "ann@example.com"},
                                                 {"Category", "Work"},
                                                 {"Notes", "Neighbour"}})});
}

TEST(ProviderExports, EachHeaderGoesToItsLayoutAndTheOlderOnesStay) {
    const auto layoutOf = [](const QString& header) {
        const ImportLayout* layout = recogniseLayout(header);
        return layout ? layout->name : QStringLiteral("none");
    };
    EXPECT_EQ(layoutOf(kGoogle), "Google CSV");
    EXPECT_EQ(layoutOf("Name,Given Name,Additional Name,Family Name,E-mail 1 - Value"),
              "Google CSV (older)");
    EXPECT_EQ(layoutOf("Name,E-mail,Notes,Section 1 - Description,Section 1 - Email"),
              "Gmail CSV (oldest)");
    EXPECT_EQ(layoutOf(kThunderbird), "Thunderbird");
    EXPECT_EQ(layoutOf("First Name,Last Name,Name,Nickname,E-mail Address,Home Street"),
              "Windows Address Book");
    EXPECT_EQ(
        layoutOf("First Name,Middle Name,Last Name,Title,E-mail Address,Primary Phone,Web Page"),
        "Outlook");
    EXPECT_EQ(layoutOf("First Name,Last Name,E-mail 2 Address,E-mail Address,Business Phone"),
              "Outlook");
    // Headers the older layouts read keep them.
    EXPECT_EQ(layoutOf(test::primaryPhoneHeader()), "Primary-Phone");
    EXPECT_EQ(layoutOf(test::yahooHeader()), "Yahoo");
    EXPECT_EQ(layoutOf(test::ownExportHeader()), "own-export");
    EXPECT_EQ(layoutOf("First Name,Last Name,Middle Name,Name,E-mail Address,Home Street"),
              "Name-E-mail");
    EXPECT_EQ(layoutOf("First Name,Last Name,Email,Phone,Home Street"), "generic");
    EXPECT_EQ(layoutOf("Name,E-mail,Notes"), "generic");
    EXPECT_EQ(layoutOf("Given Name,Family Name,E-mail 1 - Value"), "generic");
    EXPECT_EQ(layoutOf("First Name,Last Name,Email,Labels"), "generic");
    EXPECT_EQ(layoutOf("First Name,Last Name,File As,Labels"), "Google CSV");
}

TEST(ProviderExports, NoiseNeverCrashesOrDamagesTheFile) {
    const QStringList headers = {
        kGoogle,
        kThunderbird,
        "Name,Given Name,Additional Name,Family Name,Birthday,E-mail 1 - Value,Phone 1 - "
        "Type,Phone 1 - Value,Address 1 - Type,Address 1 - Street,Group Membership",
        "First Name;Last Name;Name;E-mail Address;Home Street;Birthday;Anniversary",
        "Title,First Name,Last Name,Birthday,Primary Phone,Web Page,Home Street,Categories",
        "Name,E-mail,Notes,Section 1 - Address,Section 1 - Phone",
    };
    const QByteArray alphabet("\",;\r\n@aZ19 -/.:#*\t\xC3\xA9\xEF\xBB\xBF\xFF");
    const QByteArray before = test::contactBytes({{"FName", "Ann"}, {"LName", "Lee"}});
    for (unsigned seed = 1; seed <= 90; ++seed) {
        std::srand(seed);
        QByteArray bytes(1 + std::rand() % 3000, '\0');
        for (char& b : bytes) {
            b = seed % 3 ? alphabet[std::rand() % alphabet.size()]
                         : static_cast<char>(std::rand() % 256);
        }
        for (int i = 0; i < 20; ++i) {  // Google's own separators and dates among the noise
            const char* pieces[] = {" ::: ",      "* Home",     "Mobile",
                                    "25/12/1980", "1980-02-30", "--1-1"};
            bytes.insert(std::rand() % bytes.size(), pieces[std::rand() % 6]);
        }
        bytes.prepend(test::csvLines({headers[seed % headers.size()]}));
        test::ImportTarget target(before);
        const ImportOutcome outcome = target.import(bytes);
        EXPECT_EQ(outcome.result, ImportResult::Done) << seed;
        const QByteArray after = target.bytes();
        ASSERT_EQ(after.size(), (1 + outcome.written) * kRecordSize) << seed;
        EXPECT_EQ(after.left(kRecordSize), before) << seed;
        for (qsizetype at = 0; at < after.size(); at += kRecordSize) {
            EXPECT_EQ(after.mid(at + kRecordSize - 2, 2), "\r\n") << seed;
            EXPECT_EQ(
                ContactRecord::fromBytes(after.mid(at, kRecordSize)),
                ContactRecord::build(ContactRecord::fromBytes(after.mid(at, kRecordSize)).fields()))
                << seed;
        }
    }
}

TEST(ProviderExports, AHeaderOfManyColumnsDoesNotSlowEachLine) {
    // A column named many times and numbered columns by the thousand: each
    // line still looks at a bounded number of them.
    QStringList header = {"First Name", "Last Name", "Labels", "Birthday"};
    for (int n = 1; n <= 40000; ++n) {
        header << QStringLiteral("Notes") << QStringLiteral("Phone %1 - Value").arg(n);
    }
    QByteArray csv = header.join(u',').toUtf8() + "\r\n";
    for (int i = 0; i < 20000; ++i) {
        csv += ",,,1/2/1980\r\n";
    }
    const ImportLayout* google = recogniseLayout(header.join(u','));
    ASSERT_NE(google, nullptr);
    ASSERT_TRUE(google->namedColumns);
    EXPECT_LE(NamedColumns(*google->namedColumns, header).columnsRead(), 1000);

    test::ImportTarget target;
    const ImportOutcome outcome = target.import(csv);
    EXPECT_EQ(outcome.layout, "Google CSV");
    EXPECT_EQ(outcome.withoutName, 20000);
    EXPECT_TRUE(target.bytes().isEmpty());
}

}  // namespace
}  // namespace tandor
