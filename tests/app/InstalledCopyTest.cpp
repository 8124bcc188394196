#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include "support/TestFiles.h"

using tandor::test::TempFolder;

namespace {

// Runs tandor-batch from `executable` with XDG_DATA_HOME set to `dataHome`.
int runFrom(const QString& executable, const QString& dataHome, const QStringList& args, QString* err = nullptr) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    p.setProcessEnvironment(env);
    p.start(executable, args);
    EXPECT_TRUE(p.waitForFinished(60000));
    if (err) {
        *err = QString::fromUtf8(p.readAllStandardError());
    }
    return p.exitCode();
}

QStringList filesUnder(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << QDir(folder).relativeFilePath(it.next());
    }
    files.sort();
    return files;
}

const QStringList kLines = {"labels", "--positions", "2", "-o"};

}  // namespace

// The same executable, laid out as a package installs it and as a build folder.
TEST(InstalledCopy, KeepsItsFilesInThePerUserFolderAndABuildCopyBesideItself) {
    TempFolder root;
    const QByteArray defaults = tandor::test::readAll(tandor::test::sourcePath(QStringLiteral("data/TDRPARAM.TXT")));
    const QString dataHome = root.file(QStringLiteral("home/.local/share"));
    QDir().mkpath(root.file(QStringLiteral("usr/bin")));
    QDir().mkpath(root.file(QStringLiteral("usr/share/tandor")));
    root.write(QStringLiteral("usr/share/tandor/TDRPARAM.TXT"), defaults);
    const QString installed = root.file(QStringLiteral("usr/bin/tandor-batch"));
    ASSERT_TRUE(QFile::copy(tandor::test::batchExecutable(), installed));

    QString err;
    const QString pdf = root.file(QStringLiteral("x.pdf"));
    ASSERT_EQ(runFrom(installed, dataHome, kLines + QStringList{pdf, "Ann Lee", "1 Main St"}, &err), 0)
        << err.toStdString();
    EXPECT_EQ(filesUnder(root.file(QStringLiteral("usr"))), QStringList({"bin/tandor-batch", "share/tandor/TDRPARAM.TXT"}));
    EXPECT_EQ(filesUnder(dataHome), QStringList{"Tandor/TDRPARAM.TXT"});
    EXPECT_EQ(tandor::test::readAll(dataHome + QStringLiteral("/Tandor/TDRPARAM.TXT")), defaults);

    // --program-folder still wins: the per-user folder is not even made.
    const QString otherHome = root.file(QStringLiteral("other"));
    TempFolder chosen;
    ASSERT_EQ(runFrom(installed, otherHome,
                      QStringList{"--program-folder", chosen.withDefaultAdjustments()} + kLines +
                          QStringList{pdf, "Ann Lee"},
                      &err),
              0)
        << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(otherHome));

    // A copy in a folder of its own that it may write works there as before.
    QDir().mkpath(root.file(QStringLiteral("own")));
    root.write(QStringLiteral("own/TDRPARAM.TXT"), defaults);
    const QString own = root.file(QStringLiteral("own/tandor-batch"));
    ASSERT_TRUE(QFile::copy(tandor::test::batchExecutable(), own));
    ASSERT_EQ(runFrom(own, otherHome, kLines + QStringList{pdf, "Ann Lee"}, &err), 0) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(otherHome));
}

// The manual page and --help come from one source: every command's usage and
// explanation appear in both, word for word.
TEST(InstalledCopy, TheManualPageTellsWhatHelpTells) {
    QProcess p;
    p.start(tandor::test::batchExecutable(), {QStringLiteral("--help")});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString help = QString::fromUtf8(p.readAllStandardOutput());
    QString page = QString::fromUtf8(tandor::test::readAll(QStringLiteral(TANDOR_MAN_DIR "/tandor-batch.1")));
    ASSERT_FALSE(page.isEmpty());
    page.replace(QStringLiteral("\\-"), QStringLiteral("-")).replace(QStringLiteral("\\(dq"), QStringLiteral("\""));

    const QStringList commands = help.section(QStringLiteral("Commands:\n"), 1).split(QStringLiteral("\n\n"), Qt::SkipEmptyParts);
    EXPECT_GE(commands.size(), 14);
    for (const QString& command : commands) {
        const QString usage = command.section(QLatin1Char('\n'), 0, 0).trimmed();
        const QString explanation = command.section(QLatin1Char('\n'), 1).simplified();
        EXPECT_TRUE(page.contains(QStringLiteral(".TP\n.B ") + usage + QStringLiteral("\n") + explanation + QStringLiteral("\n")))
            << usage.toStdString();
    }
    const QString folderParagraph = help.section(QStringLiteral("\n\n"), 2, 2).simplified();
    EXPECT_TRUE(folderParagraph.startsWith(QStringLiteral("The program folder holds")));
    EXPECT_TRUE(page.contains(folderParagraph)) << folderParagraph.toStdString();
    for (const char* name : {"tandor.1", "tandor.1.gz", "tandor-batch.1.gz"}) {
        EXPECT_TRUE(QFileInfo(QStringLiteral(TANDOR_MAN_DIR "/") + QLatin1String(name)).size() > 0) << name;
    }
}
