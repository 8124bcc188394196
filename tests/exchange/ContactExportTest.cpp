// Export files: names, header, lines, birth dates, failures, and the round
// trip through the import.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    EXPECT_EQ(exportName("/opt/tandor/Family.DAT"), "Family");
    EXPECT_EQ(exportName("/opt/tandor/family.dat"), "family");
    EXPECT_EQ(exportName("/opt/tandor/Family.Dat"), "Family.Dat");
    EXPECT_EQ(exportName("/opt/tandor/data/Family.DAT"), "Family");
    EXPECT_EQ(exportName("/home/ann/Documents/Office.DAT"), "Office");
    EXPECT_EQ(exportFolder("/opt/tandor/Family.DAT", program), "/opt/tandor");
    EXPECT_EQ(exportFolder("/opt/tandor/Family.DAT", "/opt/tandor/"), "/opt/tandor");
    EXPECT_EQ(exportFolder("/opt/tandor/data/Family.DAT", program), "/opt/tandor/data");
    EXPECT_EQ(exportFolder("/home/ann/Documents/Office.DAT", program), "/home/ann/Documents");
    EXPECT_TRUE(isInProgramFolder("/opt/tandor/Family.DAT", "/opt/tandor/"));
    EXPECT_FALSE(isInProgramFolder("/opt/tandor/data/Family.DAT", program));
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
    EXPECT_EQ(exportDoneText(ExportKind::Csv, csv),
              "D O N E !  A csv file of contacts has been created and stored in your Tandor "
              "folder.  This file is named TDRC_Family.csv\nFull path: " +
                  QDir::toNativeSeparators(p.folder.file("TDRC_Family.csv")));
    EXPECT_EQ(exportDoneText(ExportKind::Text, text),
              "D O N E !  A text file of contacts has been created and stored in your Tandor "
              "folder.  This file is named TDRT_Family.txt\nFull path: " +
                  QDir::toNativeSeparators(p.folder.file("TDRT_Family.txt")));
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

TEST(ContactExport, AFileOutsideTheProgramFolderIsExportedIntoItsOwnFolder) {
    test::TempFolder program;
    test::TempFolder documents;
    QDir(program.path()).mkdir(QStringLiteral("data"));
    const QByteArray bytes = test::contactBytes({{"FName", "Ann"}, {"IncludeCompany", "0"}});
    for (const QString& path : {documents.write(QStringLiteral("Office.DAT"), bytes),
                                program.write(QStringLiteral("data/Office.DAT"), bytes)}) {
        ContactsFile file;
        file.open(path);
        const QString folder = QFileInfo(path).absolutePath();
        struct Case {
            ExportKind kind;
            const char* name;
            const char* description;
        };
        for (const Case& c : {Case{ExportKind::Csv, "TDRC_Office.csv", "A csv file"},
                              Case{ExportKind::Text, "TDRT_Office.txt", "A text file"},
                              Case{ExportKind::Vcard, "TDRV_Office.vcf", "A vCard file"}}) {
            const ExportOutcome outcome = exportContacts(file, c.kind, path, program.path());
            EXPECT_EQ(outcome.fileName, c.name);
            EXPECT_EQ(outcome.path, folder + "/" + c.name);
            EXPECT_FALSE(outcome.inProgramFolder);
            EXPECT_EQ(outcome.linesWritten, 1);
            EXPECT_TRUE(test::readAll(outcome.path).contains("Ann")) << c.name;
            EXPECT_EQ(exportDoneText(c.kind, outcome),
                      QStringLiteral("D O N E !  %1 of contacts has been created and stored in "
                                     "the folder of your contacts file.  This file is named "
                                     "%2\nFull path: %3")
                          .arg(c.description, c.name, QDir::toNativeSeparators(outcome.path)));
        }
        EXPECT_EQ(test::readAll(path), bytes);
    }
    EXPECT_EQ(QDir(program.path()).entryList({"TDR*"}), QStringList());
}

// A birthday without a year has no place in the MM-DD-YYYY column of the CSV
// and text exports; a card carries it.
TEST(ContactExport, AnImpossibleStoredBirthDateIsLeftOut) {
    ProgramFolder p(QStringLiteral("Family.DAT"),
                    test::contactBytes({{"FName", "Ann"}, {"Birthdate", "19901345"}}) +
                        test::contactBytes({{"FName", "Bob"}, {"Birthdate", "19990230"}}) +
                        test::contactBytes({{"FName", "Cy"}, {"Birthdate", "19800229"}}) +
                        test::contactBytes({{"FName", "Di"}, {"Birthdate", "00000412"}}) +
                        test::contactBytes({{"FName", "Ed"}, {"Birthdate", "00000230"}}));
    const QByteArray csv = test::readAll(p.run(ExportKind::Csv).path);
    EXPECT_FALSE(csv.contains("13-45-1990"));
    EXPECT_FALSE(csv.contains("02-30-1999"));
    EXPECT_TRUE(csv.contains("02-29-1980"));
    EXPECT_FALSE(csv.contains("-0000"));
    EXPECT_FALSE(test::readAll(p.run(ExportKind::Text).path).contains("-0000"));
    const QByteArray cards = test::readAll(p.run(ExportKind::Vcard).path);
    EXPECT_EQ(cards.count("BDAY:"), 2);
    EXPECT_TRUE(cards.contains("BDAY:1980-02-29\r\n"));
    EXPECT_TRUE(cards.contains("BDAY:--04-12\r\n"));
    // The contacts file keeps what it holds.
    EXPECT_TRUE(test::readAll(p.contactsPath).contains("19901345"));
}

TEST(ContactExport, FailuresAreThrownAndLeaveTheContactsFileAlone) {
    // A folder stands where the export file would go.
    test::TempFolder program;
    const QByteArray bytes = test::contactBytes({{"FName", "Ann"}});
    const QString path = program.write(QStringLiteral("Family.DAT"), bytes);
    QDir(program.path()).mkdir(QStringLiteral("TDRC_Family.csv"));
    ContactsFile file;
    file.open(path);
    try {
        exportContacts(file, ExportKind::Csv, path, program.path());
        FAIL() << "the export file cannot be made";
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), 75);
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
