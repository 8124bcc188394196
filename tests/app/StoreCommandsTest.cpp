// tandor-batch info and delete, run as the user runs them.
#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "support/RecordBytes.h"
#include "support/TestFiles.h"

namespace tandor {
namespace {

using test::personBytes;

struct BatchRun {
    int exitCode = -1;
    QString out;
    QString err;
};

BatchRun runBatch(const QStringList& args) {
    QProcess process;
    process.start(test::batchExecutable(), args);
    EXPECT_TRUE(process.waitForFinished(60000)) << "tandor-batch did not finish";
    BatchRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QByteArray threeContacts(char reminder) {
    return test::fileBytes({personBytes("Ann", "Lee", reminder),
                            personBytes("Bob", "Ray", reminder),
                            personBytes("Cy", "Day", reminder)});
}

TEST(InfoCommand, PrintsCountAndReminderSetting) {
    test::TempFolder folder;
    const BatchRun on = runBatch({"info", folder.write("On.DAT", threeContacts('1'))});
    EXPECT_EQ(on.exitCode, 0) << on.err.toStdString();
    EXPECT_EQ(on.out, QStringLiteral("records: 3\nbirthday reminders: on\n"));

    const BatchRun off = runBatch({"info", folder.write("Off.DAT", threeContacts('0'))});
    EXPECT_EQ(off.out, QStringLiteral("records: 3\nbirthday reminders: off\n"));

    const BatchRun empty = runBatch({"info", folder.write("Empty.DAT", {})});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, QStringLiteral("records: 0\nbirthday reminders: none\n"));
}

TEST(InfoCommand, RefusesAMissingFile) {
    test::TempFolder folder;
    const BatchRun run = runBatch({"info", folder.file("Missing.DAT")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("Missing.DAT")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder.file("Missing.DAT")));
}

TEST(DeleteCommand, DeletesOneContactThroughACopy) {
    test::TempFolder folder;
    const QString path = folder.write("Family.DAT", threeContacts('1'));
    const BatchRun run = runBatch({"delete", path, "2"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("records: 2")) << run.out.toStdString();
    EXPECT_EQ(test::readAll(path),
              test::fileBytes({personBytes("Ann", "Lee", '1'), personBytes("Cy", "Day", '1')}));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"Family.DAT"});
}

TEST(DeleteCommand, RefusesANumberOutsideTheFileOrAMissingFile) {
    test::TempFolder folder;
    const QString path = folder.write("Family.DAT", threeContacts('1'));
    for (const QString& n :
         {QStringLiteral("0"), QStringLiteral("4"), QStringLiteral("-1"), QStringLiteral("two")}) {
        const BatchRun run = runBatch({"delete", path, n});
        EXPECT_EQ(run.exitCode, 2) << n.toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << n.toStdString();
        EXPECT_EQ(test::readAll(path), threeContacts('1')) << n.toStdString();
    }
    const BatchRun missing = runBatch({"delete", folder.file("Missing.DAT"), "1"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(folder.file("Missing.DAT")));

    const BatchRun noNumber = runBatch({"delete", path});
    EXPECT_EQ(noNumber.exitCode, 2);
    EXPECT_EQ(test::readAll(path), threeContacts('1'));
}

}  // namespace
}  // namespace tandor
