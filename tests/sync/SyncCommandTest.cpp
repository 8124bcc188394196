// tandor-batch sync refuses before it reaches a server: a password on the
// command line, no password, a file linked to another address book.
#include <gtest/gtest.h>

#include <QDir>

#include "support/PdfWords.h"
#include "support/TestFiles.h"
#include "sync/SyncState.h"

namespace tandor::sync {
namespace {

TEST(SyncCommandTest, RefusesWithoutReachingTheServer) {
    struct Case {
        const char* name;
        QStringList args;  // after FILE.DAT
        bool passwordInEnvironment;
        bool linkedElsewhere;
        QString error;
    };
    const QString url = QStringLiteral("https://dav.example/ann/contacts/");
    const QList<Case> cases = {
        {"a password on the command line", {"--url", url, "--user", "ann", "--password", "secret"},
         true, false, "never given on the command line"},
        {"no password", {"--url", url, "--user", "ann"}, false, false, "No password"},
        {"an unreadable password file",
         {"--url", url, "--user", "ann", "--password-file", "/nonexistent/pw"}, false, false,
         "password file cannot be read"},
        {"no URL", {"--user", "ann"}, true, false, "Usage: tandor-batch sync FILE.DAT --url URL"},
        {"a file linked to another address book", {"--url", url, "--user", "ann"}, true, true,
         "linked to another address book: https://other.example/book/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const QString path = folder.write(QStringLiteral("Family.DAT"), QByteArray());
        if (c.linkedElsewhere) {
            SyncState::create(path, QStringLiteral("https://other.example/book/"), "ann").save();
        }
        const QByteArray stateBefore = test::readAll(SyncState::folderOf(path) + "/state");
        if (c.passwordInEnvironment) {
            qputenv("TANDOR_PASSWORD", "secret");
        } else {
            qunsetenv("TANDOR_PASSWORD");
        }
        const test::BatchRun run = test::runBatch(QStringList{"sync", path} + c.args);
        qunsetenv("TANDOR_PASSWORD");
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(c.error)) << run.err.toStdString();
        EXPECT_EQ(test::readAll(SyncState::folderOf(path) + "/state"), stateBefore);
        EXPECT_EQ(QFileInfo::exists(SyncState::folderOf(path)), c.linkedElsewhere);
    }
}

}  // namespace
}  // namespace tandor::sync
