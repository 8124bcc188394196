// Whole import runs: each layout from the headers its provider writes, the
// skip tests, the written records, and what a run does with bad input.
#include <gtest/gtest.h>

#include "ExchangeTestSupport.h"
#include "platform/FaultPoint.h"

namespace tandor {
namespace {

using test::contact;
using test::csvLines;
using test::lineWith;

// A line quoted as Outlook and Yahoo write it: every value in quotes.
QString quotedLine(const QString& line) {
    return test::quoted(line);
}

class ImportRun : public ::testing::TestWithParam<bool> {
protected:
    bool quotedFile() const { return GetParam(); }
    QString header(const QString& text) const { return quotedFile() ? test::quoted(text) : text; }
    QString line(const QString& text) const { return quotedFile() ? quotedLine(text) : text; }
};

TEST_P(ImportRun, YahooLayout) {
    test::ImportTarget target;
    const QString ann = lineWith(55, {{0, "Ann"},
                                      {1, "Marie"},
                                      {2, "Lee"},
                                      {4, "ann@x.com.au"},
                                      {5, "Friends"},
                                      {8, "(212) 555-1234"},
                                      {9, "555-9876"},
                                      {12, "555 1234"},
                                      {21, "Acme"},
                                      {27, "12 Main Street"},
                                      {28, "Springfield"},
                                      {29, "ca"},
                                      {30, "92101-1234"},
                                      {31, "USA"},
                                      {32, "3/7/1980"},
                                      {38, "a comment"}});
    const ImportOutcome outcome = target.import(csvLines({header(test::yahooHeader()), line(ann)}));
    EXPECT_EQ(outcome.result, ImportResult::Done);
    EXPECT_EQ(outcome.layout, "Yahoo");
    EXPECT_EQ(outcome.written, 1);
    EXPECT_EQ(target.contacts(), QList<ContactFields>{contact({{"FName", "Ann"},
                                                               {"MiddleInit", "M"},
                                                               {"LName", "Lee"},
                                                               {"FStreet", "12 Main Street"},
                                                               {"City", "Springfield"},
                                                               {"State", "CA"},
                                                               {"Zip", "92101-1234"},
                                                               {"Country", "USA"},
                                                               {"HPhone", "(212) 555-1234"},
                                                               {"WPhone", "555-9876"},
                                                               {"Email", "ann@x.com.au"},
                                                               {"Birthdate", "19800307"},
                                                               {"Category", "Friends"},
                                                               {"Notes", "a comment"},
                                                               {"Company", "Acme"},
                                                               {"IncludeCompany", "1"},
                                                               {"BirthdayReminder", "1"}})});
}

TEST_P(ImportRun, PrimaryPhoneLayoutReadsItsTableAndTheAddressByName) {
    test::ImportTarget target;
    const QString h = test::primaryPhoneHeader();
    const QStringList lines = {
        header(h),
        line(lineWith(34, {{0, "Ann"},
                           {1, "marie"},
                           {2, "Lee"},
                           {8, "12/5/1980"},
                           {14, "ann@example.de"},
                           {18, "+1 (212) 555-1234"},
                           {20, "555 1234"},
                           {24, "1 Main Street"},
                           {32, "Acme"}})),
        line(lineWith(34, {{0, "Bob"}, {14, "bob@example.com"}})),  // no last name: skipped
        line(lineWith(34, {{0, "Cy"}, {2, "Day"}})),                // no e-mail: skipped
        line(lineWith(3, {{0, "Di"}, {2, "Eve"}})),                 // a short line: skipped
    };
    const ImportOutcome outcome = target.import(csvLines(lines), false);
    EXPECT_EQ(outcome.layout, "Primary-Phone");
    EXPECT_EQ(outcome.written, 1);
    EXPECT_EQ(target.contacts(), QList<ContactFields>{contact({{"FName", "Ann"},
                                                               {"MiddleInit", "m"},
                                                               {"LName", "Lee"},
                                                               {"FStreet", "1 Main Street"},
                                                               {"HPhone", "1 212 555-1234"},
                                                               {"Email", "ann@example.de"},
                                                               {"Birthdate", "19801205"},
                                                               {"Company", "Acme"},
                                                               {"IncludeCompany", "1"},
                                                               {"BirthdayReminder", "0"}})});
}

TEST_P(ImportRun, NameEmailLayoutTakesTheEmailAtTheHeadersLastColumn) {
    test::ImportTarget target;
    const QStringList lines = {
        header("First Name,Last Name,Middle Name,Name,E-mail Address,Home Phone"),
        line("Ann,Lee,Marie,Ann Lee,ann@x.com.au,555-1234"),
        line("Bob,Ray,,Bob Ray,no address here,"),  // no "@": skipped
        line(",Day,,Cy Day,cy@x.com,"),             // no first name: skipped
    };
    const ImportOutcome outcome = target.import(csvLines(lines));
    EXPECT_EQ(outcome.layout, "Name-E-mail");
    EXPECT_EQ(target.contacts(), QList<ContactFields>{contact({{"FName", "Ann"},
                                                               {"MiddleInit", "M"},
                                                               {"LName", "Lee"},
                                                               {"Email", "ann@x.com.au"},
                                                               {"IncludeCompany", "1"},
                                                               {"BirthdayReminder", "1"}})});
}

TEST_P(ImportRun, NameEmailLayoutKeepsLineColumnsUnderTheirNames) {
    // Columns before "First Name" are dropped from the lines as from the header.
    test::ImportTarget target;
    const ImportOutcome outcome = target.import(
        csvLines({header("Title,First Name,Last Name,Middle Name,Name,E-mail Address"),
                  line("Mr,Ann,Lee,Marie,Ann Lee,ann@x.com")}));
    EXPECT_EQ(outcome.layout, "Name-E-mail");
    EXPECT_EQ(target.contacts(), QList<ContactFields>{contact({{"FName", "Ann"},
                                                               {"MiddleInit", "M"},
                                                               {"LName", "Lee"},
                                                               {"Email", "ann@x.com"},
                                                               {"IncludeCompany", "1"},
                                                               {"BirthdayReminder", "1"}})});

    // Without "First Name" the full name is split by the address book's layout.
    test::ImportTarget book;
    const ImportOutcome named = book.import(csvLines(
        {header("Name,E-mail Address,Home City"), line("Ann Lee,ann@x.com,Springfield")}));
    EXPECT_EQ(named.layout, "Windows Address Book");
    ASSERT_EQ(book.contacts().size(), 1);
    EXPECT_EQ(book.contacts()[0][Field::FName], "Ann");
    EXPECT_EQ(book.contacts()[0][Field::LName], "Lee");
    EXPECT_EQ(book.contacts()[0][Field::Email], "ann@x.com");
    EXPECT_EQ(book.contacts()[0][Field::City], "Springfield");
}

TEST_P(ImportRun, GenericLayoutWithTheEmailBeforeOtherColumns) {
    test::ImportTarget target;
    const QStringList lines = {
        header("First Name,Last Name,Email,Phone"),
        line("Ann,Lee,ann@x.de,555-1234"),
        line("Bob,Ray,bob@x.org,"),
        line("First,Name,x@y.com,"),  // holds "Name,": skipped
        line("Cy,Day,,555-1234"),     // no "@": skipped
    };
    const ImportOutcome outcome = target.import(csvLines(lines));
    EXPECT_EQ(outcome.layout, "generic");
    EXPECT_EQ(outcome.written, 2);
    const QList<ContactFields> got = target.contacts();
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0], contact({{"FName", "Ann"},
                               {"LName", "Lee"},
                               {"Email", "ann@x.de"},
                               {"IncludeCompany", "1"},
                               {"BirthdayReminder", "1"}}));
    EXPECT_EQ(got[1][Field::Email], "bob@x.org");
}

TEST_P(ImportRun, GenericLayoutWithoutAnEmailColumnIsNotCompatible) {
    test::ImportTarget target;
    const ImportOutcome outcome =
        target.import(csvLines({header("First Name,Last Name,Email"), line("Ann,Lee,ann@x.com")}));
    EXPECT_EQ(outcome.result, ImportResult::NotCompatible);
    EXPECT_EQ(outcome.written, 0);
    EXPECT_TRUE(target.bytes().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(QuotedAndUnquoted, ImportRun, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Quoted" : "Unquoted"; });

TEST(ImportRunOwnExport, TakesEveryColumnBack) {
    test::ImportTarget target;
    const QStringList lines = {
        test::ownExportHeader(),
        "Ann,M,Lee,12 Main Street,Apt 4,Springfield,il,62704,USA,Acme,0,217-555-1234,"
        "217-555-9876,ext 12,ann@x.com,04-10-1980,Family;Friends,Met in 1999",
        "Bob,,Ray,,,,,,,,1,,,,bob@x.com,4-1-1975,,",
    };
    const ImportOutcome outcome = target.import(csvLines(lines));
    EXPECT_EQ(outcome.layout, "own-export");
    const QList<ContactFields> got = target.contacts();
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0], contact({{"FName", "Ann"},
                               {"MiddleInit", "M"},
                               {"LName", "Lee"},
                               {"FStreet", "12 Main Street"},
                               {"SStreet", "Apt 4"},
                               {"City", "Springfield"},
                               {"State", "IL"},
                               {"Zip", "62704"},
                               {"Country", "USA"},
                               {"HPhone", "217-555-1234"},
                               {"CPhone", "217-555-9876"},
                               {"WPhone", "ext 12"},
                               {"Email", "ann@x.com"},
                               {"Birthdate", "19800410"},
                               {"Category", "Family;Friends"},
                               {"Notes", "Met in 1999"},
                               {"Company", "Acme"},
                               {"IncludeCompany", "0"},
                               {"BirthdayReminder", "1"}}));
    EXPECT_EQ(got[1][Field::Birthdate], "19750401");
    EXPECT_EQ(got[1][Field::IncludeCompany], "1");
}

TEST(ImportRunValues, QuotedCommasAndLineBreaksBecomeSpaces) {
    test::ImportTarget target;
    const QStringList lines = {
        test::ownExportHeader(),
        "Ann,,\"Smith, Jr.\",\"12 Main St\r\nApt 4\",,Springfield,,,,,,,,,ann@x.com,,,\"a "
        "\"\"quoted\"\" note\"",
    };
    target.import(csvLines(lines));
    const QList<ContactFields> got = target.contacts();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0][Field::LName], "Smith  Jr.");
    EXPECT_EQ(got[0][Field::FStreet], "12 Main St Apt 4");
    EXPECT_EQ(got[0][Field::City], "Springfield");  // not shifted by the comma
    EXPECT_EQ(got[0][Field::Email], "ann@x.com");
    EXPECT_EQ(got[0][Field::Notes], "a \"quoted\" note");  // a quote in a value stays
}

// The address and comments a Yahoo file names are read by name, and prepared
// as the layout's own values: quotes removed, a street of several lines kept
// whole, control characters made spaces, short values counted in characters.
TEST(ImportRunValues, ValuesReadByNameArePreparedAsTheLayoutsOwn) {
    const auto yahooLine = [](std::initializer_list<std::pair<int, QString>> values) {
        QStringList line(55);
        for (const auto& [position, value] : values) {
            line[position] = value;
        }
        for (QString& cell : line) {
            cell = '"' + QString(cell).replace('"', "\"\"") + '"';
        }
        return line.join(',');
    };
    const QString smiles = QStringLiteral("\U0001F600\U0001F600\U0001F600");
    test::ImportTarget target;
    const ImportOutcome outcome = target.import(csvLines(
        {test::quoted(test::yahooHeader()),
         yahooLine({{0, "Ann"}, {2, "Lee"}, {4, "ann@x.com"}, {27, "Apt 4\n12 Main Street"},
                    {28, "Spring\tfield"}, {38, "say \"hi\""}}),
         yahooLine({{0, "Bob"}, {2, "Ray"}, {4, "bob@x.com"}, {27, smiles}, {29, smiles},
                    {38, "tab\there"}})}));
    EXPECT_EQ(outcome.layout, "Yahoo");
    const QList<ContactFields> got = target.contacts();
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0][Field::FStreet], "Apt 4 12 Main Street");
    EXPECT_EQ(got[0][Field::SStreet], "");
    EXPECT_EQ(got[0][Field::City], "Spring field");
    EXPECT_EQ(got[0][Field::Notes], "say hi");
    EXPECT_EQ(got[1][Field::FStreet], "");  // three characters: a short street
    EXPECT_EQ(got[1][Field::State], "");    // three characters: longer than a state
    EXPECT_EQ(got[1][Field::Notes], "tab here");
}

TEST(ImportRunValues, AccentedNamesFromUtf8AndWindows1252Files) {
    const QString header = QStringLiteral("First Name,Last Name,Email,Phone");
    const QString line = QStringLiteral("Jos\u00e9,M\u00fcller,jose@x.de,");
    const QByteArray utf8 = (header + "\r\n" + line + "\r\n").toUtf8();
    QByteArray ansi = utf8;
    ansi.replace("\xC3\xA9", "\xE9").replace("\xC3\xBC", "\xFC");
    for (const QByteArray& bytes : {utf8, QByteArray("\xEF\xBB\xBF") + utf8, ansi}) {
        test::ImportTarget target;
        target.import(bytes);
        ASSERT_EQ(target.contacts().size(), 1);
        EXPECT_EQ(target.contacts()[0][Field::FName], QStringLiteral("Jos\u00e9"));
        EXPECT_EQ(target.contacts()[0][Field::LName], QStringLiteral("M\u00fcller"));
        // Stored as Windows-1252, one byte per character.
        EXPECT_EQ(target.bytes().mid(0, 5), QByteArray("Jos\xE9 "));
    }
}

TEST(ImportRunValues, MissingColumnsDoNotMatchAndTheRunGoesOn) {
    // The header has fewer columns than the layout tests; the lines are short.
    test::ImportTarget target;
    const ImportOutcome outcome =
        target.import(csvLines({"First Name,Last Name,E-mail Address", "Ann,Lee,ann@x.com",
                                "Bob,Ray", "Cy,Day,cy@x.com,extra,more"}));
    EXPECT_EQ(outcome.result, ImportResult::Done);
    EXPECT_EQ(outcome.layout, "Name-E-mail");
    const QList<ContactFields> got = target.contacts();
    ASSERT_EQ(got.size(), 2);  // "Bob,Ray" holds no "@"
    EXPECT_EQ(got[0][Field::Email], "ann@x.com");
    EXPECT_EQ(got[1][Field::Email], "cy@x.com");

    test::ImportTarget yahoo;
    const ImportOutcome shortYahoo = yahoo.import(
        csvLines({"First,Middle,Last,Nickname,Email,Yahoo! Phone", "Ann,,Lee,,ann@x.com", "Bob"}));
    EXPECT_EQ(shortYahoo.written, 2);
    EXPECT_EQ(yahoo.contacts()[0][Field::Email], "ann@x.com");
    EXPECT_EQ(yahoo.contacts()[1][Field::FName], "Bob");
}

TEST(ImportRunValues, LinesThatGiveNoContactAreNotWritten) {
    test::ImportTarget target;
    // An empty line and a line of empty values give no values to keep.
    const ImportOutcome outcome =
        target.import(csvLines({test::quoted(test::yahooHeader()), "", ",,,,", "Ann"}));
    EXPECT_EQ(outcome.written, 1);
    EXPECT_EQ(target.contacts()[0][Field::FName], "Ann");
    EXPECT_EQ(outcome.empty, 2);
    EXPECT_EQ(importDoneText(outcome), "D O N E !  1 contacts successfully imported.");
}

TEST(ImportRunValues, TheDoneTextNamesTheContactsLeftOut) {
    struct Case {
        int duplicates, withoutName, empty, unreadable;
        const char* after;  // what follows "D O N E !  3 contacts successfully imported."
    };
    const Case cases[] = {
        {0, 0, 0, 0, ""},
        {1, 0, 0, 0, "\n1 contact was already on file and was skipped."},
        {0, 1, 0, 0, "\n1 contact had no name and was skipped."},
        {0, 3, 1, 0, "\n2 contacts had no name and were skipped."},
        {0, 2, 2, 0, ""},
        {5, 2, 0, 1,
         "  1 card could not be read.\n5 contacts were already on file and were skipped.\n"
         "2 contacts had no name and were skipped."},
    };
    for (const Case& c : cases) {
        ImportOutcome outcome;
        outcome.written = 3;
        outcome.duplicates = c.duplicates;
        outcome.withoutName = c.withoutName;
        outcome.empty = c.empty;
        outcome.unreadable = c.unreadable;
        EXPECT_EQ(importDoneText(outcome),
                  QStringLiteral("D O N E !  3 contacts successfully imported.") + c.after);
    }
}

TEST(ImportRunInput, AHeaderOnlyFileImportsNothingAndUnknownHeadersAreLeftAlone) {
    test::ImportTarget target;
    const ImportOutcome headerOnly = target.import(csvLines({test::yahooHeader()}));
    EXPECT_EQ(headerOnly.result, ImportResult::Done);
    EXPECT_EQ(headerOnly.written, 0);

    const ImportOutcome unknown =
        target.import(csvLines({"Given,Family,Mail", "Ann,Lee,ann@x.com"}));
    EXPECT_EQ(unknown.result, ImportResult::NoRecognisedHeader);
    EXPECT_TRUE(unknown.layout.isEmpty());
    EXPECT_TRUE(target.bytes().isEmpty());
}

TEST(ImportRunInput, AnEmptyFileGoesToTheErrorPath) {
    test::ImportTarget target;
    const ImportOutcome outcome = target.import({});
    EXPECT_EQ(outcome.result, ImportResult::Failed);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->number(), 62);
    EXPECT_EQ(outcome.error->description(), "Input past end of file");
}

TEST(ImportRunInput, BinaryBytesNeverCrashOrDamageTheFile) {
    // Noise after the header of each layout: bytes of any value, or the
    // characters CSV and the rules care about.
    const QStringList headers = {"",
                                 "First Name,Last Name,Email,Phone",
                                 quotedLine("First,Last,Yahoo! Phone"),
                                 "First Name,Last Name,Name,E-mail Address",
                                 test::ownExportHeader(),
                                 test::primaryPhoneHeader()};
    const QByteArray alphabet("\",\r\n@aZ19 -/#\xC3\xA9\xEF\xBB\xBF\xFF\xFE");
    const QByteArray before = test::contactBytes({{"FName", "Ann"}, {"LName", "Lee"}});
    for (unsigned seed = 1; seed <= 120; ++seed) {
        std::srand(seed);
        QByteArray bytes(1 + std::rand() % 4000, '\0');
        for (char& b : bytes) {
            b = seed % 2 ? alphabet[std::rand() % alphabet.size()]
                         : static_cast<char>(std::rand() % 256);
        }
        const QString header = headers[seed % headers.size()];
        if (!header.isEmpty()) {
            bytes.prepend(csvLines({header}));
        }
        test::ImportTarget target(before);
        const ImportOutcome outcome = target.import(bytes);
        EXPECT_NE(outcome.result, ImportResult::Failed) << seed;
        const QByteArray after = target.bytes();
        ASSERT_EQ(after.size(), (1 + outcome.written) * kRecordSize) << seed;
        EXPECT_EQ(after.left(kRecordSize), before) << seed;
        for (qsizetype at = 0; at < after.size(); at += kRecordSize) {
            EXPECT_EQ(after.mid(at + kRecordSize - 2, 2), "\r\n") << seed;
        }
    }
}

TEST(ImportRunInput, AWriteFailureKeepsTheContactsWrittenBefore) {
    test::ImportTarget target;
    const QByteArray csv = csvLines({"First Name,Last Name,Email,Phone", "Ann,Lee,ann@x.com,",
                                     "Bob,Ray,bob@x.com,", "Cy,Day,cy@x.com,"});
    fault::arm(QStringLiteral("contacts.write"), 1);  // the second record fails
    const ImportOutcome outcome = target.import(csv);
    fault::disarmAll();
    EXPECT_EQ(outcome.result, ImportResult::Failed);
    EXPECT_EQ(outcome.written, 1);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->number(), 57);
    EXPECT_EQ(target.bytes().size(), kRecordSize);
    EXPECT_EQ(target.contacts()[0][Field::FName], "Ann");

    // Every step of the run's path fails cleanly: whole records only.
    test::ImportTarget probe;
    fault::startRecording();
    probe.import(csv);
    const QStringList steps = fault::recordedHits();
    ASSERT_FALSE(steps.isEmpty());
    for (int i = 0; i < steps.size(); ++i) {
        test::ImportTarget victim;
        fault::arm(steps[i], static_cast<int>(steps.mid(0, i).count(steps[i])));
        const ImportOutcome failed = victim.import(csv);
        fault::disarmAll();
        EXPECT_EQ(failed.result, ImportResult::Failed) << steps[i].toStdString();
        EXPECT_EQ(victim.bytes().size(), failed.written * kRecordSize) << steps[i].toStdString();
    }
}

TEST(ImportRunInput, AFileThatCannotBeOpenedFails) {
    test::ImportTarget target;
    const ImportOutcome missing = importCsvFile(target.folder().file("none.csv"), target.file());
    EXPECT_EQ(missing.result, ImportResult::Failed);
    EXPECT_EQ(missing.error->number(), 53);
    const ImportOutcome folder = importCsvFile(target.folder().path(), target.file());
    EXPECT_EQ(folder.result, ImportResult::Failed);
    EXPECT_EQ(folder.error->number(), 75);
}

}  // namespace
}  // namespace tandor
