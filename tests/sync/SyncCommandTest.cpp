// tandor-batch sync refuses before it reaches a server: a password on the
// command line (also to list the books), a timeout that is no number of
// seconds, a file linked to another address book. The
// commands that change a linked file keep its sync state in step.
#include <gtest/gtest.h>

#include <QDir>

#include "MemoryAddressBook.h"
#include "store/ContactsDocument.h"
#include "support/PdfWords.h"
#include "support/TestFiles.h"
#include "sync/CardMerge.h"
#include "sync/SyncState.h"
#include "sync/Synchronizer.h"

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
        {"a timeout of no seconds", {"--url", url, "--user", "ann", "--timeout", "0"}, false, false,
         "--timeout takes a whole number of seconds from 1 to 86400: 0"},
        {"a timeout that is no number", {"--url", url, "--user", "ann", "--timeout", "soon"}, false, false,
         "--timeout takes a whole number of seconds"},
        {"an unreadable password file",
         {"--url", url, "--user", "ann", "--password-file", "/nonexistent/pw"}, false, false,
         "password file cannot be read"},
        {"no URL", {"--user", "ann"}, true, false, "Usage: tandor-batch sync FILE.DAT --url URL"},
        {"a file linked to another address book", {"--url", url, "--user", "ann"}, true, true,
         "linked to another address book: https://other.example/book/"},
        {"a password on the command line to list the books",
         {"--list-books", "--url", url, "--user", "ann", "--password", "secret"}, false, false,
         "never given on the command line"},
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
        const QStringList file = c.args.contains("--list-books") ? QStringList() : QStringList{path};
        const test::BatchRun run = test::runBatch(QStringList{"sync"} + file + c.args);
        qunsetenv("TANDOR_PASSWORD");
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(c.error)) << run.err.toStdString();
        EXPECT_EQ(test::readAll(SyncState::folderOf(path) + "/state"), stateBefore);
        EXPECT_EQ(QFileInfo::exists(SyncState::folderOf(path)), c.linkedElsewhere);
    }
}

// A linked file changed by batch commands, then synced: the contact deleted
// goes from the server, and the one added after it is a new card (it does
// not take the deleted contact's card, photo and all).
TEST(SyncCommandTest, ChangesToALinkedFileKeepItsLinksInStep) {
    const QByteArray photo = "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQ\r\n";
    test::TempFolder folder;
    const QString vcf = folder.write(QStringLiteral("new.vcf"),
                                     "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;Dora;;;\r\nFN:Dora Doe\r\nEND:VCARD\r\n");
    const QList<QList<QStringList>> cases = {
        {{"delete", "3"}, {"add", "--first", "Dora", "--last", "Doe"}},
        {{"delete", "3"}, {"import", vcf}},
    };
    for (const QList<QStringList>& commands : cases) {
        SCOPED_TRACE(commands.last().first().toStdString());
        test::TempFolder program;
        const QString path = folder.write(QStringLiteral("Family.DAT"), {});
        QDir(SyncState::folderOf(path)).removeRecursively();
        MemoryAddressBook server;
        for (const char* name : {"Ann", "Bob", "Cy"}) {
            server.store(QStringLiteral("/ann/contacts/%1.vcf").arg(name),
                         QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;%1;;;\r\nFN:%1 Doe\r\nUID:%1\r\n")
                                 .arg(name)
                                 .toUtf8() +
                             photo + "END:VCARD\r\n");
        }
        const auto sync = [&] {
            ContactsDocument document(program.path());
            document.openPath(path, true);
            SyncStateKeeper keeper(document);
            if (!keeper.state()) {
                keeper.link(QStringLiteral("https://dav.example/ann/contacts/"), QStringLiteral("ann"));
            }
            Synchronizer(document, keeper, server).run();
        };
        sync();
        for (const QStringList& command : commands) {
            const test::BatchRun run = test::runBatch(QStringList{command.first(), path} + command.mid(1));
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        }
        sync();
        QStringList names;
        for (const auto& card : server.cards) {
            names.append(cardRecordValues(card.vcard)[Field::FName] +
                         (card.vcard.contains(photo) ? QStringLiteral("+photo") : QString()));
        }
        names.sort();
        EXPECT_EQ(names, QStringList({"Ann+photo", "Bob+photo", "Dora"}));
    }
}

}  // namespace
}  // namespace tandor::sync
