#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "support/RecordBytes.h"
#include "support/TestFiles.h"

using namespace tandor::test;

namespace {

struct BatchRun {
    int exitCode = -1;
    QString out;
    QString err;
};

BatchRun batch(const QStringList& args) {
    QProcess p;
    p.start(batchExecutable(), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Pages of a PDF file: its page objects.
int pdfPages(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page>") +
                            pdf.count("/Type /Page "));
}

}  // namespace

TEST(AddCommand, AppendsTheCleanedContact) {
    TempFolder folder;
    const QString path = folder.file("New.DAT");
    // A file that does not exist is made empty first, with reminders on.
    BatchRun r = batch({"add",
                        path,
                        "--first",
                        "Ann,",
                        "--middle",
                        "q.",
                        "--last",
                        "Lee",
                        "--street",
                        "12 Oak Lane",
                        "--street2",
                        "Apt 5",
                        "--city",
                        "Boston,",
                        "--state",
                        "ma",
                        "--zip",
                        "02101",
                        "--country",
                        "usa,east",
                        "--company",
                        "Acme, Inc",
                        "--include-company",
                        "--birthdate",
                        "04/10/1980",
                        "--home-phone",
                        "+1 (212) 555-1234",
                        "--cell-phone",
                        "555 1111",
                        "--work-phone",
                        "(555)2222",
                        "--email",
                        "ann@example.com",
                        "--category",
                        "Golf,Friends",
                        "--notes",
                        "a,b"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "S A V E D\nrecord: 1\n");
    const QByteArray expected = recordBytes({{"FName", "Ann"},
                                             {"MiddleInit", "Q"},
                                             {"LName", "Lee"},
                                             {"FStreet", "12 Oak Lane"},
                                             {"SStreet", "Apt 5"},
                                             {"City", "Boston"},
                                             {"State", "MA"},
                                             {"Zip", "02101"},
                                             {"Country", "USA EAST"},
                                             {"HPhone", "1212-555-1234"},
                                             {"CPhone", "5551111"},
                                             {"WPhone", "555-2222"},
                                             {"Email", "ann@example.com"},
                                             {"Birthdate", "19800410"},
                                             {"Category", "Golf Friends"},
                                             {"Notes", "a b"},
                                             {"Company", "Acme Inc"},
                                             {"IncludeCompany", "1"},
                                             {"BirthdayReminder", "1"}});
    EXPECT_EQ(readAll(path), expected);

    // Appended at count + 1 with the file's setting of reminders (off in record 1).
    const QString off = folder.write("Off.DAT", fileBytes({personBytes("Al", "One", '0')}));
    r = batch({"add", off, "--last", "Two"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "S A V E D\nrecord: 2\n");
    EXPECT_EQ(
        readAll(off),
        fileBytes(
            {personBytes("Al", "One", '0'),
             recordBytes({{"LName", "Two"}, {"IncludeCompany", "0"}, {"BirthdayReminder", "0"}})}));
}

TEST(AddCommand, RefusalsWriteNothing) {
    TempFolder folder;
    const QString missing = folder.file("None.DAT");
    BatchRun r = batch({"add", missing, "--first", "Ann"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.endsWith("Enter last name, 16 characters or less.\n")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(missing));

    const QByteArray one = personBytes("Al", "One");
    const QString path = folder.write("One.DAT", one);
    const std::pair<QStringList, QString> refusals[] = {
        {{"--last", "Lee", "--birthdate", "4/10/1980"},
         "Date must be in format MM/DD/YYYY   Example: April 10, 1980 is 04/10/1980\n"},
        {{"--last", "Lee", "--birthdate", "13/40/1980"},
         "Date must be a real calendar date   Example: 02/29/1980 is one, 02/29/1981 and "
         "13/45/1990 are not\n"},
        {{"--last", "Lee", "--state", "c"}, "State must be 2 character abbreviation.\n"},
        {{"--last", "Lee", "--country", "The United States of America"},
         "Country must be 19 characters or less.  For example, USA.\n"},
        {{"--last", "Lee", "--email", "ann@example"},
         "Email address must contain the '.' character.\n"},
    };
    for (const auto& [options, message] : refusals) {
        r = batch(QStringList({"add", path}) + options);
        EXPECT_EQ(r.exitCode, 2) << message.toStdString();
        EXPECT_TRUE(r.err.endsWith(message)) << r.err.toStdString();
        EXPECT_EQ(readAll(path), one);
    }
    r = batch({"add", path, "--last", "Lee", "--nickname", "Al"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("unknown option --nickname"));
    EXPECT_EQ(readAll(path), one);
}

TEST(DetailsCommand, PrintsOnePagePerCopy) {
    TempFolder folder;
    const QString path = folder.write(
        "F.DAT", fileBytes({personBytes("Al", "One"),
                            recordBytes({{"FName", "Ann"}, {"LName", "Lee"}, {"Notes", "n"}})}));
    const QString out = folder.file("sheet.pdf");
    BatchRun r = batch({"details", path, "2", "--copies", "3", "-o", out});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray pdf = readAll(out);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdfPages(pdf), 3);
    EXPECT_FALSE(QFile::exists(out + ".part"));

    r = batch({"details", path, "1", "-o", out});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(pdfPages(readAll(out)), 1);
}

TEST(DetailsCommand, RefusesARecordOutsideTheFile) {
    TempFolder folder;
    const QString path = folder.write("F.DAT", personBytes("Al", "One"));
    const QString out = folder.file("sheet.pdf");
    for (const char* n : {"0", "2", "x"}) {
        BatchRun r = batch({"details", path, n, "-o", out});
        EXPECT_EQ(r.exitCode, 2) << n;
        EXPECT_TRUE(r.err.contains("numbered 1 to 1")) << r.err.toStdString();
    }
    BatchRun r = batch({"details", folder.file("None.DAT"), "1", "-o", out});
    EXPECT_EQ(r.exitCode, 2);
    r = batch({"details", path, "1"});
    EXPECT_EQ(r.exitCode, 2);
    r = batch({"details", path, "1", "--copies", "0", "-o", out});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(QFile::exists(out));
}
