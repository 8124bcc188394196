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

// Runs `executable --help`; returns its output, and the manual page `page`
// with roff's minus signs and quotes as --help prints them.
static QString helpAndPage(const QString& executable, const QString& page, QString* pageText) {
    QProcess p;
    p.start(executable, {QStringLiteral("--help")});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << executable.toStdString();
    *pageText = QString::fromUtf8(tandor::test::readAll(QStringLiteral(TANDOR_MAN_DIR "/") + page));
    pageText->replace(QStringLiteral("\\-"), QStringLiteral("-")).replace(QStringLiteral("\\(dq"), QStringLiteral("\""));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The manual pages and --help come from one source: every command's or
// option's usage and explanation appear in both, word for word.
TEST(InstalledCopy, TheManualPagesTellWhatHelpTells) {
    struct Case {
        QString executable;
        QString page;
        QString itemsAfter;  // the line of --help before its commands or options
        QString synopsis;    // in the page
        int least;
    };
    const QList<Case> cases = {
        {tandor::test::batchExecutable(), "tandor-batch.1", "Commands:\n",
         ".B tandor-batch [--program-folder DIR] COMMAND [ARGUMENTS]\n", 14},
        {QStringLiteral(TANDOR_PROGRAM_DIR "/tandor"), "tandor.1", "tandor --help | --version\n\n",
         ".B tandor [FILE.DAT]\n", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page.toStdString());
        QString page;
        const QString help = helpAndPage(c.executable, c.page, &page);
        ASSERT_FALSE(page.isEmpty());
        EXPECT_TRUE(page.contains(c.synopsis));
        const QStringList items = help.section(c.itemsAfter, 1).split(QStringLiteral("\n\n"), Qt::SkipEmptyParts);
        EXPECT_GE(items.size(), c.least) << help.toStdString();
        for (const QString& item : items) {
            const QString usage = item.section(QLatin1Char('\n'), 0, 0).trimmed();
            const QString explanation = item.section(QLatin1Char('\n'), 1).simplified();
            EXPECT_TRUE(page.contains(QStringLiteral(".TP\n.B ") + usage + QStringLiteral("\n") + explanation + QStringLiteral("\n")))
                << usage.toStdString();
        }
    }
    QString page;
    const QString help = helpAndPage(tandor::test::batchExecutable(), QStringLiteral("tandor-batch.1"), &page);
    const QString folderParagraph = help.section(QStringLiteral("\n\n"), 2, 2).simplified();
    EXPECT_TRUE(folderParagraph.startsWith(QStringLiteral("The program folder holds")));
    EXPECT_TRUE(page.contains(folderParagraph)) << folderParagraph.toStdString();
    for (const char* name : {"tandor.1", "tandor.1.gz", "tandor-batch.1.gz"}) {
        EXPECT_TRUE(QFileInfo(QStringLiteral(TANDOR_MAN_DIR "/") + QLatin1String(name)).size() > 0) << name;
    }
}
