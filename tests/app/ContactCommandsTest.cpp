#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>

#include "support/TestFiles.h"

namespace {

struct BatchRun {
    int exitCode = -1;
    QString out;
    QString err;
};

BatchRun batch(const QStringList& args) {
    QProcess p;
    p.start(tandor::test::batchExecutable(), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// One contact record laid out by hand: first name at 0, last name at 14, birth
// date at 226, the reminder byte at 510; "|" separators and CR LF.
QByteArray record(const QByteArray& first, const QByteArray& last, const QByteArray& birthdate,
                  char reminder) {
    QByteArray bytes(513, ' ');
    for (int at :
         {11, 13, 30, 61, 77, 94, 97, 108, 128, 144, 160, 174, 225, 234, 315, 476, 507, 509}) {
        bytes[at] = '|';
    }
    bytes.replace(0, first.size(), first);
    bytes.replace(14, last.size(), last);
    bytes.replace(226, birthdate.size(), birthdate);
    bytes[508] = '0';
    bytes[510] = reminder;
    bytes[511] = '\r';
    bytes[512] = '\n';
    return bytes;
}

}  // namespace

TEST(ParseLinesCommand, PrintsTheBoxesTheParseWrites) {
    BatchRun r =
        batch({"parse-lines", "John Q. Smith", "123 Main Street Apt 4", "Springfield, IL 62704"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              "FName: John\nMiddleInit: Q\nLName: Smith\nFStreet: 123 Main Street\n"
              "SStreet: Apt 4\nCity: Springfield\nState: IL\nZip: 62704\n");

    r = batch({"parse-lines", "", "12 Oak Lane", "Apt 5", "Boston, MA 02101-1234", ""});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out,
              "FStreet: 12 Oak Lane\nSStreet: Apt 5\nCity: Boston\nState: MA\nZip: 02101-1234\n");

    r = batch({"parse-lines", "Ann Lee", "Main Street 12"});
    EXPECT_EQ(r.out, "FName: Ann\nMiddleInit: \nLName: Lee\n");

    r = batch({"parse-lines", "", "", "", "", ""});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
}

TEST(ParseLinesCommand, RefusesLineOneWithoutASpace) {
    BatchRun r = batch({"parse-lines", "Cher", "12 Oak Lane"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.contains("Line 1 must contain a space.\n"));

    r = batch({"parse-lines", "a b", "2", "3", "4", "5", "6"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
}

TEST(BirthdaysCommand, PrintsTheAnnouncementsInRecordOrder) {
    tandor::test::TempFolder folder;
    const QByteArray on = record("Ann", "Lee", "19800310", '1') +
                          record("Bob", "Ray", "19800420", '1') +
                          record("Cy", "Do", "19700305", '1') +
                          record("Di", "Fu", "        ", '1') + record("Ed", "Go", "20000103", '1');
    const QString path = folder.write("Family.DAT", on);
    BatchRun r = batch({"birthdays", path, "--today", "2026-03-01"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              "Ann Lee has a birthday coming up on 03/10\n"
              "Cy Do has a birthday coming up on 03/05\n");

    r = batch({"birthdays", path, "--today", "2026-12-28"});
    EXPECT_EQ(r.out, "Ed Go has a birthday coming up on 01/03\n");

    // Reminders off for the file: nothing.
    QByteArray off = on;
    for (int n = 0; n < 5; ++n) {
        off[513 * n + 510] = '0';
    }
    r = batch({"birthdays", folder.write("Off.DAT", off), "--today", "2026-03-01"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");

    // A file of 0 bytes has no contacts; a short trailing part under half a
    // record is not a record.
    r = batch({"birthdays", folder.write("Empty.DAT", {}), "--today", "2026-03-01"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    r = batch(
        {"birthdays", folder.write("Short.DAT", on.left(513 + 256)), "--today", "2026-03-01"});
    EXPECT_EQ(r.out, "Ann Lee has a birthday coming up on 03/10\n");
}

TEST(BirthdaysCommand, RefusesAMissingFileAndABadDate) {
    tandor::test::TempFolder folder;
    BatchRun r = batch({"birthdays", folder.file("None.DAT"), "--today", "2026-03-01"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(QFile::exists(folder.file("None.DAT")));

    const QString path = folder.write("A.DAT", record("Ann", "Lee", "19800310", '1'));
    r = batch({"birthdays", path, "--today", "2026-13-01"});
    EXPECT_EQ(r.exitCode, 2);
    r = batch({"birthdays"});
    EXPECT_EQ(r.exitCode, 2);
}

TEST(BatchProgram, NormalUseWritesNothingOnStderrWithoutARuntimeFolder) {
    // As under cron or a root shell: no XDG_RUNTIME_DIR, no display.
    tandor::test::TempFolder folder;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(tandor::test::batchExecutable(),
            {QStringLiteral("labels"), QStringLiteral("--positions"), QStringLiteral("1"), QStringLiteral("-o"),
             folder.file(QStringLiteral("one.pdf")), QStringLiteral("Ann Lee"), QStringLiteral("1 Main St"),
             QStringLiteral("Reno, NV  89501")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()), QString());
    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("one.pdf"))));
}
