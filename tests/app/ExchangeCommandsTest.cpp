// tandor-batch import and export, run as the user runs them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "support/RecordBytes.h"
#include "support/TestFiles.h"

namespace tandor {
namespace {

struct BatchResult {
    int exitCode = -1;
    QString out;
    QString err;
};

BatchResult batch(const QStringList& args) {
    QProcess process;
    process.start(test::batchExecutable(), args);
    EXPECT_TRUE(process.waitForFinished(60000));
    BatchResult run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    // Qt's own warnings about the environment are not the command's message.
    for (const QString& line : QString::fromUtf8(process.readAllStandardError()).split('\n')) {
        if (!line.startsWith(QLatin1String("QStandardPaths:"))) {
            run.err += line + '\n';
        }
    }
    run.err = run.err.trimmed();
    return run;
}

const QByteArray kCsv =
    "First Name,Last Name,Email,Phone\r\nAnn,Lee,ann@x.com,\r\nBob,Ray,bob@x.com,\r\n";

TEST(ImportCommand, CreatesAMissingContactsFileAndPrintsTheCount) {
    test::TempFolder folder;
    const QString csv = folder.write("in.csv", kCsv);
    const QString dat = folder.file("New.DAT");
    const BatchResult first = batch({"import", dat, csv});
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_EQ(first.out, "D O N E !  2 contacts successfully imported.\n");
    const QByteArray bytes = test::readAll(dat);
    ASSERT_EQ(bytes.size(), 2 * 513);
    EXPECT_EQ(bytes[510], '1');  // a new file has reminders on

    const BatchResult again = batch({"import", dat, csv});
    EXPECT_EQ(again.out,
              "D O N E !  0 contacts successfully imported.\n"
              "2 contacts were already on file and were skipped.\n");
    EXPECT_EQ(test::readAll(dat), bytes);
}

TEST(ImportCommand, TheCountIsFollowedByTheContactsLeftOut) {
    test::TempFolder folder;
    QByteArray six;
    for (const char* n : {"N:Lee;Ann", "N:Ray;Bob", "EMAIL:x@y.com", "N:Day;Cy", "NOTE:no name",
                          "N:Fu;Di"}) {
        six += QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\n") + n + "\r\nEND:VCARD\r\n";
    }
    const QString vcf = folder.write("six.vcf", six);
    const QString dat = folder.file("New.DAT");
    EXPECT_EQ(batch({"import", dat, vcf}).out,
              "D O N E !  4 contacts successfully imported.\n"
              "2 contacts had no name and were skipped.\n");
    EXPECT_EQ(batch({"import", dat, vcf}).out,
              "D O N E !  0 contacts successfully imported.\n"
              "4 contacts were already on file and were skipped.\n"
              "2 contacts had no name and were skipped.\n");
}

TEST(ImportCommand, KeepsTheReminderSettingOfAnExistingFile) {
    test::TempFolder folder;
    const QString dat = folder.write("Old.DAT", test::personBytes("Cy", "Day", '0'));
    const BatchResult run = batch({"import", dat, folder.write("in.csv", kCsv)});
    EXPECT_EQ(run.exitCode, 0);
    const QByteArray bytes = test::readAll(dat);
    ASSERT_EQ(bytes.size(), 3 * 513);
    EXPECT_EQ(bytes[2 * 513 + 510], '0');
}

TEST(ImportCommand, RefusalsAndFailures) {
    test::TempFolder folder;
    const QString dat = folder.file("Family.DAT");
    const BatchResult unknown =
        batch({"import", dat, folder.write("a.csv", "Given,Family\r\nAnn,Lee\r\n")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "no recognised header");
    EXPECT_TRUE(unknown.out.isEmpty());

    const BatchResult noEmail =
        batch({"import", dat,
               folder.write("b.csv", "First Name,Last Name,Email\r\nAnn,Lee,a@x.com\r\n")});
    EXPECT_EQ(noEmail.exitCode, 2);
    EXPECT_EQ(noEmail.err, "CSV file not compatible with import function.");

    const BatchResult empty = batch({"import", dat, folder.write("c.csv", "")});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err,
              "An error has occurred. Error number 62 -- Input past end of file.  Try again, or "
              "notify Tandor.");
    EXPECT_EQ(test::readAll(dat).size(), 0);

    // A CSV file that does not exist leaves no contacts file behind.
    const QString other = folder.file("Other.DAT");
    const BatchResult missing = batch({"import", other, folder.file("none.csv")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("Error number 53")) << missing.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(other));

    EXPECT_EQ(batch({"import", dat}).exitCode, 2);
}

TEST(ExportCommand, WritesIntoTheProgramFolder) {
    test::TempFolder program;
    const QString dat = program.write(
        "Family.DAT", test::personBytes("Ann", "Lee", '1') + test::personBytes("Bob", "Ray", '1'));
    const BatchResult csv = batch({"--program-folder", program.path(), "export", dat, "--csv"});
    EXPECT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    EXPECT_EQ(csv.out,
              "D O N E !  A csv file of contacts has been created and stored in your Tandor "
              "folder.  This file is named TDRC_Family.csv\nFull path: " +
                  QDir::toNativeSeparators(program.file("TDRC_Family.csv")) + "\n");
    EXPECT_EQ(test::readAll(program.file("TDRC_Family.csv")).count("\r\n"), 3);

    // A relative name is taken from the current folder, as the file dialog would give it.
    QProcess process;
    process.setWorkingDirectory(program.path());
    process.start(test::batchExecutable(),
                  {"--program-folder", program.path(), "export", "Family.DAT", "--txt"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(test::readAll(program.file("TDRT_Family.txt")).startsWith("First Name|MI|"));

    // The round trip through the batch tool.
    const QString copy = program.file("Copy.DAT");
    const BatchResult back = batch({"import", copy, program.file("TDRC_Family.csv")});
    EXPECT_EQ(back.out, "D O N E !  2 contacts successfully imported.\n");
    EXPECT_EQ(test::readAll(copy), test::readAll(dat));
}

TEST(ExportCommand, VcardFileAndItsWayBack) {
    test::TempFolder program;
    const QString dat = program.write(
        "Family.DAT", test::personBytes("Ann", "Lee", '1') + test::personBytes("Bob", "Ray", '1'));
    const BatchResult vcf = batch({"--program-folder", program.path(), "export", dat, "--vcard"});
    EXPECT_EQ(vcf.exitCode, 0) << vcf.err.toStdString();
    EXPECT_EQ(vcf.out,
              "D O N E !  A vCard file of contacts has been created and stored in your Tandor "
              "folder.  This file is named TDRV_Family.vcf\nFull path: " +
                  QDir::toNativeSeparators(program.file("TDRV_Family.vcf")) + "\n");
    const QByteArray cards = test::readAll(program.file("TDRV_Family.vcf"));
    EXPECT_TRUE(cards.startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nFN:Ann Lee\r\n"));
    EXPECT_EQ(cards.count("END:VCARD\r\n"), 2);

    // Known by its content, whatever its name.
    const QString renamed = program.write("cards.txt", cards);
    const QString copy = program.file("Copy.DAT");
    const BatchResult back = batch({"import", copy, renamed});
    EXPECT_EQ(back.out, "D O N E !  2 contacts successfully imported.\n");
    EXPECT_EQ(test::readAll(copy), test::readAll(dat));

    const BatchResult dry =
        batch({"import", "--dry-run", program.file("None.DAT"),
               program.write("more.vcf",
                             cards + "BEGIN:VCARD\r\nVERSION:9.9\r\nN:Cy;Day\r\nEND:VCARD\r\n")});
    EXPECT_EQ(dry.out,
              "Layout: vCard\n"
              "Ann||Lee||||||||||||||||1\n"
              "Bob||Ray||||||||||||||||1\n"
              "Imported: 2\n"
              "Skipped as duplicates: 0\n"
              "Skipped for lack of a name: 0\n"
              "Cards that could not be read: 1\n");
    EXPECT_EQ(batch({"export", dat, "--csv", "--vcard"}).exitCode, 2);
}

TEST(ExportCommand, AFileOutsideTheProgramFolderIsExportedBesideIt) {
    test::TempFolder program;
    test::TempFolder documents;
    const QString office = documents.write("Office.DAT", test::personBytes("Ann", "Lee"));
    const std::pair<const char*, const char*> kinds[] = {
        {"--csv", "TDRC_Office.csv"}, {"--txt", "TDRT_Office.txt"}, {"--vcard", "TDRV_Office.vcf"}};
    for (const auto& [option, name] : kinds) {
        const BatchResult r = batch({"--program-folder", program.path(), "export", office, option});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("stored in the folder of your contacts file.  "
                                                  "This file is named %1\nFull path: %2\n")
                                       .arg(name, QDir::toNativeSeparators(documents.file(name)))))
            << r.out.toStdString();
        EXPECT_TRUE(test::readAll(documents.file(name)).contains("Ann")) << name;
    }
}

TEST(ExportCommand, RefusalsAndFailures) {
    test::TempFolder program;
    const BatchResult missing =
        batch({"--program-folder", program.path(), "export", program.file("No.DAT"), "--csv"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(program.file("TDRC_No.csv")));

    const QString empty = program.write("Empty.DAT", {});
    const BatchResult none = batch({"--program-folder", program.path(), "export", empty, "--csv"});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_EQ(none.err, "Export file could not be created.  There were no contacts on file.");

    QDir(program.path()).mkdir("TDRC_Family.csv");
    const QString blocked = program.write("Family.DAT", test::personBytes("Ann", "Lee"));
    const BatchResult failed =
        batch({"--program-folder", program.path(), "export", blocked, "--csv"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.err,
              "An error has occurred. Error number 75 -- Path/File access error.  Try again, or "
              "notify author.");

    EXPECT_EQ(batch({"export", empty}).exitCode, 2);
    EXPECT_EQ(batch({"export", empty, "--csv", "--txt"}).exitCode, 2);
}

TEST(ImportCommand, DryRunShowsWhatWouldBeWrittenAndWritesNothing) {
    test::TempFolder folder;
    const QString csv = folder.write(
        "tb.csv",
        "First Name,Last Name,Display Name,Nickname,Primary Email,Home Phone,Home City,Birth "
        "Year,Birth Month,Birth Day\n"
        "Ann,Lee,,,ann@x.com,555-0100,Springfield,1980,3,7\n"
        "Bob,Ray,,,bob@x.com,,,,,\n"
        ",,,,nobody@x.com,,,,,\n");
    const QString dat = folder.write("Family.DAT", test::personBytes("Bob", "Ray", '0'));
    const QByteArray before = test::readAll(dat);
    const BatchResult run = batch({"import", "--dry-run", dat, csv});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out,
              "Layout: Thunderbird\n"
              "Ann||Lee|||Springfield||||555-0100|||ann@x.com|19800307||||1|0\n"
              "Imported: 1\n"
              "Skipped as duplicates: 1\n"
              "Skipped for lack of a name: 1\n");
    EXPECT_EQ(test::readAll(dat), before);

    // A contacts file that does not exist is not made; the older layouts'
    // line tests are counted apart.
    const QString none = folder.file("None.DAT");
    const BatchResult fresh =
        batch({"import", "--dry-run", none,
               folder.write("g.csv",
                            "First Name,Last Name,Email,Phone\r\nAnn,Lee,ann@x.com,\r\n"
                            "Cy,Day,no address,\r\n")});
    EXPECT_EQ(fresh.out,
              "Layout: generic\n"
              "Ann||Lee||||||||||ann@x.com|||||1|1\n"
              "Imported: 1\n"
              "Skipped as duplicates: 0\n"
              "Skipped for lack of a name: 0\n"
              "Skipped by the layout's line tests: 1\n");
    EXPECT_FALSE(QFileInfo::exists(none));

    // Refusals are those of the import.
    const BatchResult refused =
        batch({"import", "--dry-run", none,
               folder.write("r.csv", "First Name,Last Name,Email\r\nAnn,Lee,a@x.com\r\n")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.out, "Layout: generic\n");
    EXPECT_EQ(refused.err, "CSV file not compatible with import function.");
    EXPECT_FALSE(QFileInfo::exists(none));
}

TEST(ImportCommand, DryRunOfASampleMatchesTheImport) {
    test::TempFolder folder;
    const QString sample = test::samplePath("csv/outlook-4.csv");
    const BatchResult dry = batch({"import", "--dry-run", folder.file("A.DAT"), sample});
    EXPECT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    const QStringList lines = dry.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 4 + 3);
    EXPECT_EQ(lines[0], "Layout: Outlook");
    EXPECT_EQ(lines[5], "Imported: 4");
    EXPECT_EQ(lines[7], "Skipped for lack of a name: 1");

    const QString dat = folder.file("B.DAT");
    EXPECT_EQ(batch({"import", dat, sample}).out,
              "D O N E !  4 contacts successfully imported.\n"
              "1 contact had no name and was skipped.\n");
    const QByteArray bytes = test::readAll(dat);
    ASSERT_EQ(bytes.size(), 4 * 513);
    for (int r = 0; r < 4; ++r) {
        QStringList fields;
        for (const QByteArray& f : bytes.mid(r * 513, 511).split('|')) {
            fields.append(QString::fromLatin1(f).trimmed());
        }
        EXPECT_EQ(fields.join('|'), lines[1 + r]);  // Windows-1252 reads as Latin-1 here
    }
}

}  // namespace
}  // namespace tandor
