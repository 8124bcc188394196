#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/ProgramFolders.h"
#include "support/ReadOnly.h"
#include "support/TestFiles.h"

using namespace tandor;
using tandor::test::TempFolder;

namespace {

const QByteArray kDefaults = tandor::test::readAll(tandor::test::sourcePath(QStringLiteral("data/TDRPARAM.TXT")));

}  // namespace

TEST(ProgramFolders, EachKindOfCopyGetsItsFolders) {
    TempFolder root;
    const QString perUser = root.file(QStringLiteral("home/Tandor"));
    // A build folder: everything beside the executable, nothing per user.
    const QString build = root.file(QStringLiteral("build/bin"));
    QDir().mkpath(build);
    // An installed copy: bin/ and share/tandor/ of one prefix, even where bin/ may be written.
    const QString bin = root.file(QStringLiteral("usr/bin"));
    const QString share = root.file(QStringLiteral("usr/share/tandor"));
    QDir().mkpath(bin);
    QDir().mkpath(share);
    root.write(QStringLiteral("usr/share/tandor/TDRPARAM.TXT"), kDefaults);

    struct Case {
        QString executableFolder, program, documents, defaults;
    } cases[] = {
        {build, build, build, QString()},
        {bin, perUser, share, share},
    };
    for (const Case& c : cases) {
        const ProgramFolders f = chooseProgramFolders(c.executableFolder, perUser);
        EXPECT_EQ(f.programFolder, c.program) << c.executableFolder.toStdString();
        EXPECT_EQ(f.documentsFolder, c.documents) << c.executableFolder.toStdString();
        EXPECT_EQ(f.defaultsFolder, c.defaults) << c.executableFolder.toStdString();
    }

    // A copy in a folder it may not write keeps its documents and defaults there.
    tandor::test::ReadOnly readOnly(build);
    if (!readOnly.effective()) {
        GTEST_SKIP() << "the folder could not be made read-only here";
    }
    const ProgramFolders f = chooseProgramFolders(build, perUser);
    EXPECT_EQ(f.programFolder, perUser);
    EXPECT_EQ(f.documentsFolder, build);
    EXPECT_EQ(f.defaultsFolder, build);
}

TEST(ProgramFolders, APerUserFolderIsMadeOnceAndKeepsTheUsersAdjustments) {
    TempFolder root;
    root.write(QStringLiteral("TDRPARAM.TXT"), kDefaults);
    const ProgramFolders folders{root.file(QStringLiteral("data/Tandor")), root.path(), root.path()};
    const QString adjustments = folders.programFolder + QStringLiteral("/TDRPARAM.TXT");

    EXPECT_EQ(prepareProgramFolder(folders), QString());
    EXPECT_EQ(tandor::test::readAll(adjustments), kDefaults);
    EXPECT_EQ(QDir(folders.programFolder).entryList(QDir::Files | QDir::Hidden), QStringList{"TDRPARAM.TXT"});

    // Adjusted by the Margins menu, then a second start: the user's file stays.
    QFile f(adjustments);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("adjusted");
    f.close();
    EXPECT_EQ(prepareProgramFolder(folders), QString());
    EXPECT_EQ(tandor::test::readAll(adjustments), "adjusted");

    // The executable's own folder is left as it is.
    EXPECT_EQ(prepareProgramFolder({root.file(QStringLiteral("none")), root.path(), QString()}), QString());
    EXPECT_FALSE(QFileInfo::exists(root.file(QStringLiteral("none"))));
}

TEST(ProgramFolders, AFolderThatCannotBeReadiedIsReported) {
    TempFolder root;
    root.write(QStringLiteral("TDRPARAM.TXT"), kDefaults);
    root.write(QStringLiteral("file"), "not a folder");
    // The folder's place is taken by a file; the installed default is missing.
    const QString blocked = prepareProgramFolder({root.file(QStringLiteral("file/Tandor")), root.path(), root.path()});
    EXPECT_TRUE(blocked.contains(QStringLiteral("cannot be created"))) << blocked.toStdString();
    const QString missing = prepareProgramFolder(
        {root.file(QStringLiteral("data/Tandor")), root.path(), root.file(QStringLiteral("nowhere"))});
    EXPECT_TRUE(missing.contains(QStringLiteral("reinstall Tandor"))) << missing.toStdString();
    EXPECT_FALSE(QFileInfo::exists(root.file(QStringLiteral("data/Tandor/TDRPARAM.TXT"))));
}
