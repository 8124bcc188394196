#include <gtest/gtest.h>

#include <QProcess>

#include "platform/Version.h"
#include "support/TestFiles.h"

// The executables carry the version the about box shows.
TEST(Version, BothExecutablesReportTheAboutBoxVersion) {
    EXPECT_EQ(tandor::versionText(), QStringLiteral("5.8.0"));
    const QString program = QStringLiteral(TANDOR_PROGRAM_DIR "/tandor");
    for (const QString& exe : {program, tandor::test::batchExecutable()}) {
        QProcess p;
        p.start(exe, {QStringLiteral("--version")});
        ASSERT_TRUE(p.waitForFinished(30000)) << exe.toStdString();
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).trimmed().endsWith(QStringLiteral(" 5.8.0")));
    }
}
