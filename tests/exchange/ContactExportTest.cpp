// Export files: names, header, lines, birth dates, failures, and the round
// trip through the import.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "ExchangeTestSupport.h"
#include "exchange/ContactExport.h"
#include "platform/FaultPoint.h"

namespace tandor {
namespace {

const QByteArray kCsvHeader =
    "First Name,MI,Last Name,Street1,Street2,City,State,Zip,Country,Company,"
    "Include Company in Address,Home Phone,Cell Phone,Work Phone,Email,Birthdate,Category,Notes";

// A contacts file in a program folder.
struct ProgramFolder {
    test::TempFolder folder;
    ContactsFile file;
    QString contactsPath;

    explicit ProgramFolder(const QString& name, const QByteArray& bytes = {}) {
        contactsPath = folder.write(name, bytes);
        file.open(contactsPath);
    }
    ExportOutcome run(ExportKind kind) {
        return exportContacts(file, kind, contactsPath, folder.path());
    }
};

TEST(ContactExport, NamesFollowTheContactsFile) {
    const QString program = QStringLiteral("/opt/tandor");
    EXPECT_EQ(exportName("/opt/tandor/Family.DAT", program), "Family");
    EXPECT_EQ(exportName("/opt/tandor/family.dat", program), "family");
    EXPECT_EQ(exportName("/opt/tandor/Family.Dat", program), "Family.Dat");
    EXPECT_EQ(exportName("/opt/tandor/data/Family.DAT", program), "data/Family");
    EXPECT_EQ(exportName("/home/ann/Family.DAT", program), "/home/ann/Family");
    EXPECT_EQ(exportName("/opt/tandor/Family.DAT", "/opt/tandor/"), "Family");
    EXPECT_EQ(exportFileName(ExportKind::Csv, "Family.Dat"), "TDRC_Family.Dat.csv");
    EXPECT_EQ(exportFileName(ExportKind::Text, "Family"), "TDRT_Family.txt");
}

TEST(ContactExport, WritesTheHeaderAndOneLinePerContact) {
    ProgramFolder p(QStringLiteral("Family.DAT"),
                    test::contactBytes({{"FName", "Ann"}, {"IncludeCompany", "0"}}) +
                        test::contactBytes({{"FName", "Bob"},
                                            {"MiddleInit", "J"},
                                            {"LName", "Ray"},
                                            {"Zip", "62704"},
                                            {"Email", "bob@x.com"},
                                            {"Birthdate", "19800410"},
                                            {"Notes", "Likes tea"},
                                            {"IncludeCompany", "1"},
                                            {"BirthdayReminder", "1"}}));
    const ExportOutcome csv = p.run(ExportKind::Csv);
    EXPECT_EQ(csv.linesWritten, 2);
    EXPECT_EQ(csv.fileName, "TDRC_Family.csv");
    EXPECT_EQ(csv.path, p.folder.file("TDRC_Family.csv"));
    EXPECT_EQ(test::readAll(csv.path),
              kCsvHeader + "\r\n" + "Ann,,,,,,,,,,0,,,,,,,\r\n" +
                  "Bob,J,Ray,,,,,62704,,,1,,,,bob@x.com,04-10-1980,,Likes tea\r\n");
    EXPECT_EQ(QByteArray("Ann,,,,,,,,,,0,,,,,,,").count(','), 17);

    const ExportOutcome text = p.run(ExportKind::Text);
    QByteArray textHeader = kCsvHeader;
    textHeader.replace(',', '|');
    EXPECT_EQ(test::readAll(text.path).split('\n').value(0), textHeader + "\r");
    EXPECT_TRUE(test::readAll(text.path).contains(
        "Bob|J|Ray|||||62704|||1||||bob@x.com|04-10-1980||Likes tea\r\n"));
    EXPECT_EQ(exportDoneText(ExportKind::Csv, csv.fileName),
              "D O N E !  A csv file of contacts has been created and stored in your Tandor "
              "folder.  This file is named TDRC_Family.csv");
    EXPECT_EQ(exportDoneText(ExportKind::Text, text.fileName),
              "D O N E !  A text file of contacts has been created and stored in your Tandor "
              "folder.  This file is named TDRT_Family.txt");
}

TEST(ContactExport, AnEmptyFileGivesTheHeaderOnlyAndASecondExportReplacesTheFirst) {
    ProgramFolder p(QStringLiteral("family.dat"));
    QFile::remove(p.folder.file("TDRC_family.csv"));
    p.folder.write(QStringLiteral("TDRC_family.csv"), QByteArray(5000, 'x'));
    const ExportOutcome outcome = p.run(ExportKind::Csv);
    EXPECT_EQ(outcome.linesWritten, 0);
    EXPECT_EQ(test::readAll(outcome.path), kCsvHeader + "\r\n");
}

TEST(ContactExport, ValuesThatWouldBreakALineAreQuoted) {
    // Records written by the program hold no commas, but quotes they may.
    const QStringList values = {"Ann", "\"Red\" Lee", "a,b", "x\r\ny"};
    EXPECT_EQ(exportLine(ExportKind::Csv, values), "Ann,\"\"\"Red\"\" Lee\",\"a,b\",\"x\r\ny\"");
    EXPECT_EQ(exportLine(ExportKind::Text, values), "Ann|\"Red\" Lee|a,b|x\r\ny");
}

TEST(ContactExport, FailuresAreThrownAndLeaveTheContactsFileAlone) {
    // A contacts file in a subfolder: TDRC_data does not exist.
    test::TempFolder program;
    QDir(program.path()).mkdir(QStringLiteral("data"));
    const QByteArray bytes = test::contactBytes({{"FName", "Ann"}});
    const QString path = program.write(QStringLiteral("data/Family.DAT"), bytes);
    ContactsFile file;
    file.open(path);
    try {
        exportContacts(file, ExportKind::Csv, path, program.path());
        FAIL() << "the export path cannot be made";
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), 76);
    }

    ProgramFolder p(QStringLiteral("Family.DAT"), bytes + bytes + bytes);
    fault::arm(QStringLiteral("export.write"), 2);  // header and first contact written
    EXPECT_THROW(p.run(ExportKind::Csv), AppError);
    fault::disarmAll();
    EXPECT_EQ(test::readAll(p.folder.file("TDRC_Family.csv")).count('\n'), 2);
    EXPECT_EQ(test::readAll(p.contactsPath), bytes + bytes + bytes);
}

TEST(ContactExport, ExportingAndImportingIntoAnEmptyFileGivesBackTheSameContacts) {
    const QList<ContactFields> contacts = {
        test::contact({{"FName", "Ann"},
                       {"MiddleInit", "M"},
                       {"LName", "Lee"},
                       {"FStreet", "12 Main Street"},
                       {"SStreet", "Apt 4"},
                       {"City", "Springfield"},
                       {"State", "IL"},
                       {"Zip", "62704-1234"},
                       {"Country", "USA"},
                       {"HPhone", "217-555-1234"},
                       {"CPhone", "(217) 555-9876"},
                       {"WPhone", "x12"},
                       {"Email", "ann@x.com"},
                       {"Birthdate", "19800410"},
                       {"Category", "Family;Friends"},
                       {"Notes", "Met at the \"1999\" fair"},
                       {"Company", "Acme Inc."},
                       {"IncludeCompany", "0"},
                       {"BirthdayReminder", "1"}}),
        test::contact({{"FName", "Jos\xC3\xA9"},
                       {"LName", "M\xC3\xBCller"},
                       {"IncludeCompany", "1"},
                       {"BirthdayReminder", "1"}}),
        test::contact({{"FName", "Bob"},
                       {"Email", "bob@x.com"},
                       {"Birthdate", "20010101"},
                       {"BirthdayReminder", "1"}}),
    };
    QByteArray bytes;
    for (const ContactFields& c : contacts) {
        bytes += ContactRecord::build(c).bytes();
    }
    ProgramFolder p(QStringLiteral("Family.DAT"), bytes);
    const ExportOutcome outcome = p.run(ExportKind::Csv);

    test::ImportTarget target;
    const ImportOutcome imported = importCsvFile(outcome.path, target.file());
    EXPECT_EQ(imported.layout, "own-export");
    EXPECT_EQ(target.contacts(), contacts);
    EXPECT_EQ(target.bytes(), bytes);

    // BirthdayReminder comes from the target file's setting.
    test::ImportTarget off;
    ImportSettings settings;
    settings.remindersOn = [] { return false; };
    importCsvFile(outcome.path, off.file(), settings);
    ASSERT_EQ(off.contacts().size(), 3);
    EXPECT_EQ(off.contacts()[0][Field::BirthdayReminder], "0");
}

}  // namespace
}  // namespace tandor
