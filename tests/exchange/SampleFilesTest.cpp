// The real exports of the sample folder: each is read by the layout its
// header has and arrives whole, and a second import writes nothing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <vector>

#include "ExchangeTestSupport.h"

namespace tandor {
namespace {

struct Sample {
    const char* file;
    const char* layout;
    int withoutName;  // lines skipped for lack of a name
    // Each contact written, as its nineteen fields joined by "|" (FName,
    // MiddleInit, LName, FStreet, SStreet, City, State, Zip, Country, HPhone,
    // CPhone, WPhone, Email, Birthdate, Category, Notes, Company,
    // IncludeCompany, BirthdayReminder).
    std::vector<const char*> contacts;
};

// What each file holds, checked against the file by hand. Where a value of
// the file is missing here, a cleaning rule took it: placeholders such as
// "homephone", "home_zip" or "phone work" that are no phone number or ZIP
// code, states longer than two letters ("West Java"), and the Yahoo layout's
// phones without "-". Values are cut to their field widths ("(800) 000-0000"
// to 13 characters) and commas and line breaks become spaces.
const std::vector<Sample> kSamples = {
    {"gmail-1.csv",
     "Google CSV (older)",
     0,
     {"Firstname|M|Lastname|home_street|home_pobox|home_city|||home_country||||home@aaa.pl|"
      "19751212|Test|note\"note|company|1|1"}},
    {"gmail-2.csv",
     "Google CSV (older)",
     0,
     {"Ando||family||||||||+49227913452|||||||1|1", "Anna||family||||||||+494471707801|||||||1|1",
      "Anne||family||||||||01235684494|||||||1|1",
      "axel||gert||||||||+4921234435||abc@here.de||kunden|rutan||1|1",
      "Bus Winsen||family|Niedersachsen Ring 22||Winsen||||021224351809||||||||1|1"}},
    {"gmail-3.csv",
     "Gmail CSV (oldest)",
     0,
     {"Joe||User||||||||||joeuser@example.com|||||1|1",
      "Some||Guy||||||||||someguy@example.com|||||1|1"}},
    {"gmail-5.csv",
     "Gmail CSV (oldest)",
     0,
     {"John||Doe|Foo Street||||||9999999|9999999||john@example.com||||Example  Corp.|1|1",
      "Jeniffer||Doe|Foo Street||||||9999999|9999999||jeniffer@example.com||||Example  "
      "Corp.|1|1"}},
    {"outlook-3.csv",
     "Outlook",
     0,
     {"Larsen||||||||||+47 466 88 000|||||||1|1", "Svein||Heimdal||||||||901 06 000|||||||1|1"}},
    {"outlook-4.csv",
     "Outlook",
     1,  // a line holding only an e-mail address
     {"John||Doe||||||||91551000||||myContacts;starred|||1|1",
      "Jane||Doe||||||||+4741644000||||myContacts;starred|||1|1",
      "Norway||Doe|50B Industrigata||Oslo||0357|Norway||+47 111111||mail@hotmail.com||Restored "
      "from Samsung - SM-G950F;myContacts|||1|1",
      "John||Cruickshank|10 Vard\u00e5slia||Kristiansand S||4637|Norway||+474800000||||"
      "myContacts|||1|1"}},
    {"outlook-8.csv",
     "Outlook",
     0,
     {"Firman||Wandayandi|Foo Street||Bandung||99999|Indonesia|99999999|999999999|99999999|"
      "firman@php.net|||It's multiline  memo.|Foo|1|1"}},
    {"thunderbird-1.csv",
     "Thunderbird",
     0,
     {"contact||one||||||||||contact1@invalid|||||1|1",
      "contact||two||||||||||contact2@invalid|||here's some unicode text\u2026||1|1"}},
    {"thunderbird-2.csv",
     "Thunderbird",
     0,
     {"Acer||America|||||||||(800) 000-000|||||Acer America|1|1"}},
    {"thunderbird-3.csv",
     "Thunderbird",
     0,
     {"Firstname||Lastname|Priv address||City|||USA||||test@domain.tld|19701115|||"
      "Organization|1|1"}},
    {"wab-1.csv",
     "Windows Address Book",
     0,
     {"Firman||Wandayandi|Foo Street||Bandung||99999|Indonesia|99999999|999999999|99999999|"
      "firman@php.net|||It's multiline  memo.|Foo|1|1"}},
    {"wab-2.csv",
     "Windows Address Book",
     0,
     {"foo||bar|Foo Street 8  20 Building||foo||9999999|Afghanistan||999999999||foo@bar.com|||"
      "I'm multiline  memo.|foo|1|1"}},
    {"wab-3.csv",
     "Windows Address Book",
     0,
     {"foo|f|bar|Foo Street 8||foo||9999999|Afghanistan||999999999||foo@bar.com|||Nothing "
      "about foo!|foo|1|1"}},
    {"yahoo-1.csv",
     "Yahoo",
     0,
     {"Joe||User||||||||||joe.user@example.com|||||1|1",
      "Jane||User||||||||||jane.user@example.com|||||1|1"}},
    {"yahoo-3.csv",
     "Yahoo",
     0,
     {"Firman||Wandayandi|Foo Street||Bandung||99999|Indonesia||||firman@php.net|||It's multiline  memo.|Foo|1|1"}},
};

TEST(SampleFiles, EachImportsWholeAndASecondRunWritesNothing) {
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(s.file);
        const QString path = test::samplePath(QStringLiteral("csv/") + QLatin1String(s.file));
        ASSERT_TRUE(QFileInfo::exists(path));
        test::ImportTarget target;
        const ImportOutcome first = importCsvFile(path, target.file());
        EXPECT_EQ(first.result, ImportResult::Done);
        EXPECT_EQ(first.layout, QLatin1String(s.layout));
        EXPECT_EQ(first.withoutName, s.withoutName);
        EXPECT_EQ(first.duplicates, 0);
        QStringList expected;
        for (const char* line : s.contacts) {
            expected.append(QString::fromUtf8(line));
        }
        EXPECT_EQ(target.lines(), expected);
        EXPECT_EQ(target.bytes().size(), first.written * kRecordSize);

        const QByteArray before = target.bytes();
        const ImportOutcome second = importCsvFile(path, target.file());
        EXPECT_EQ(second.result, ImportResult::Done);
        EXPECT_EQ(second.written, 0);
        EXPECT_EQ(second.duplicates, first.written);
        EXPECT_EQ(target.bytes(), before);
    }
}

// Every file of the folder is one of the samples above.
TEST(SampleFiles, TheTableCoversTheFolder) {
    const QDir folder(QFileInfo(test::samplePath("csv/yahoo-1.csv")).path());
    QStringList listed;
    for (const Sample& s : kSamples) {
        listed.append(QLatin1String(s.file));
    }
    EXPECT_EQ(folder.entryList({"*.csv"}, QDir::Files, QDir::Name), listed);
}

TEST(SampleFiles, ValuesComeOutOfQuotesAndByteOrderMarks) {
    test::ImportTarget yahoo;
    importCsvFile(test::samplePath("csv/yahoo-3.csv"), yahoo.file());
    ASSERT_EQ(yahoo.contacts().size(), 1);
    EXPECT_EQ(yahoo.contacts()[0], test::contact({{"FName", "Firman"},
                                                  {"LName", "Wandayandi"},
                                                  {"FStreet", "Foo Street"},
                                                  {"City", "Bandung"},
                                                  {"Zip", "99999"},
                                                  {"Country", "Indonesia"},
                                                  {"Notes", "It's multiline  memo."},
                                                  {"Email", "firman@php.net"},
                                                  {"Company", "Foo"},
                                                  {"IncludeCompany", "1"},
                                                  {"BirthdayReminder", "1"}}));

    test::ImportTarget wab;
    importCsvFile(test::samplePath("csv/wab-2.csv"), wab.file());
    ASSERT_EQ(wab.contacts().size(), 1);
    EXPECT_EQ(wab.contacts()[0][Field::Email], "foo@bar.com");
}

}  // namespace
}  // namespace tandor
