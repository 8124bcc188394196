// The CardDAV client against small servers of the test's own: a hostile one
// that lists cards outside the linked book, one that trickles or withholds
// its answer, and ones that ask for a password or none.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>

#include "ScriptedBook.h"
#include "ScriptedHttpServer.h"
#include "ServerFailure.h"
#include "store/ContactsDocument.h"
#include "support/PdfWords.h"
#include "support/SyncContacts.h"
#include "support/TestFiles.h"
#include "sync/BookMembership.h"
#include "sync/CardDavClient.h"
#include "sync/SyncSession.h"
#include "sync/SyncState.h"
#include "sync/Synchronizer.h"

namespace tandor::sync {
namespace {

using test::ScriptedBook;
using test::ScriptedHttpServer;

// What a hostile server lists beside the book's own cards.
const QStringList kHostile{
    QStringLiteral("/ann/book/../../../tmp/x/pwn.vcf"),
    QStringLiteral("/other/collection/x.vcf"),
    QStringLiteral("/etc/passwd"),
    QStringLiteral("/ann/book/%2e%2e/other.vcf"),
    QStringLiteral("/ann/book/sub%2Fz.vcf"),
    QStringLiteral("http://evil.example/ann/book/y.vcf"),
};

QByteArray card(const QString& uid, const QString& first, const QString& last) {
    return QStringLiteral(
               "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nFN:%2 %3\r\nN:%3;%2;;;\r\nEND:VCARD\r\n")
        .arg(uid, first, last)
        .toUtf8();
}

QString bookUrl(const ScriptedHttpServer& server) {
    return server.url(QLatin1String(ScriptedBook::kPath));
}

std::unique_ptr<CardDavClient> clientOf(const ScriptedHttpServer& server,
                                        const QString& password = {},
                                        const char* accountHost = "127.0.0.1") {
    QString typed = bookUrl(server);
    typed.replace(QLatin1String("127.0.0.1"), QLatin1String(accountHost));
    auto client = std::make_unique<CardDavClient>(
        Account{typed, QStringLiteral("ann"), password, {}});
    client->setAddressBook(AddressBookInfo{bookUrl(server), QStringLiteral("Book"), true});
    client->setTimeoutSeconds(10);
    return client;
}

// Every request the server received went to the book or a card directly inside it.
void expectOnlyInsideTheBook(const ScriptedHttpServer& server) {
    for (const ScriptedHttpServer::Request& r : server.requests()) {
        const bool book = r.target == ScriptedBook::kPath;
        EXPECT_TRUE(book || memberPath(bookUrl(server), QString::fromUtf8(r.target)))
            << r.method.toStdString() << " " << r.target.toStdString();
    }
}

TEST(CardDavHostileServer, ListingsTakeOnlyTheBooksCardsAndNameTheRest) {
    ScriptedBook book(kHostile);
    book.store("/ann/book/ann.vcf", card("ann", "Ann", "Doe"));
    book.store("/ann/book/bob.vcf", card("bob", "Bob", "Doe"));
    ScriptedHttpServer server(book.handler());
    struct Case {
        const char* what;
        bool syncCollection;
        QString token;
        QStringList changed, removed;
    };
    const QStringList both{QStringLiteral("/ann/book/ann.vcf"),
                           QStringLiteral("/ann/book/bob.vcf")};
    const std::vector<Case> cases{
        {"sync-collection from the start", true, {}, both, {}},
        {"full listing", false, {}, both, {}},
        {"sync-collection from a token: the hostile hrefs listed as removed",
         true,
         QStringLiteral("t1"),
         both,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::unique_ptr<CardDavClient> client = clientOf(server);
        client->setAddressBook(
            AddressBookInfo{bookUrl(server), QStringLiteral("Book"), c.syncCollection});
        const ServerChanges changes = client->changesSince(c.token);
        QStringList changed;
        for (const RemoteCard& r : changes.changed) {
            changed << r.href;
        }
        EXPECT_EQ(changed, c.changed);
        EXPECT_EQ(changes.removedHrefs, c.removed);
        EXPECT_EQ(changes.refusedHrefs, kHostile);
    }
    // A card the book lost shows as removed; the hostile "removals" stay refused.
    const std::unique_ptr<CardDavClient> client = clientOf(server);
    client->remove(QStringLiteral("/ann/book/bob.vcf"), {});
    const ServerChanges later = client->changesSince(QStringLiteral("t1"));
    EXPECT_EQ(later.removedHrefs, QStringList{QStringLiteral("/ann/book/bob.vcf")});
    EXPECT_EQ(later.refusedHrefs, kHostile);
    expectOnlyInsideTheBook(server);
}

TEST(CardDavHostileServer, NothingOutsideTheBookIsFetchedWrittenOrDeleted) {
    ScriptedBook book(kHostile);
    book.store("/ann/book/ann.vcf", card("ann", "Ann", "Doe"));
    ScriptedHttpServer server(book.handler());
    const std::unique_ptr<CardDavClient> client = clientOf(server);

    // The multiget answer slips in the hostile cards: only the one asked for is taken.
    const std::vector<RemoteCard> fetched = client->fetch({QStringLiteral("/ann/book/ann.vcf")});
    ASSERT_EQ(fetched.size(), 1u);
    EXPECT_EQ(fetched[0].href, QStringLiteral("/ann/book/ann.vcf"));

    const qsizetype requests = server.requests().size();
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* doing;
    };
    const std::vector<Case> cases{
        {"fetch",
         [&] {
             client->fetch({QStringLiteral("/ann/book/ann.vcf"), kHostile[1]});
         },
         "fetched"},
        {"put", [&] { client->put(kHostile[2], card("x", "X", "Y"), {}); }, "written"},
        {"put over the dot segments", [&] { client->put(kHostile[0], card("x", "X", "Y"), {}); },
         "written"},
        {"remove", [&] { client->remove(kHostile[3], QStringLiteral("\"h\"")); }, "deleted"},
        {"remove on another host", [&] { client->remove(kHostile[5], {}); }, "deleted"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString message;
        EXPECT_EQ(failureOf(c.call, &message), ServerError::Kind::Protocol);
        EXPECT_TRUE(
            message.contains(QStringLiteral("lies outside the address book %1: it is not %2.")
                                 .arg(bookUrl(server), QLatin1String(c.doing))))
            << message.toStdString();
    }
    EXPECT_EQ(server.requests().size(), requests);
    expectOnlyInsideTheBook(server);
}

// A write or a deletion is never sent on to another address: not out of the
// book, not to the book itself, not to another of its cards.
TEST(CardDavHostileServer, ARedirectOfACardToAnyOtherAddressIsNotFollowed) {
    for (const char* elsewhere : {"/other/collection/x.vcf", "/ann/book/", "/ann/book/b.vcf"}) {
        SCOPED_TRACE(elsewhere);
        ScriptedHttpServer server([elsewhere](const ScriptedHttpServer::Request&) {
            return ScriptedHttpServer::Answer{307, {{"Location", elsewhere}}, {}};
        });
        const std::unique_ptr<CardDavClient> client = clientOf(server);
        EXPECT_EQ(failureOf([&] { client->remove(QStringLiteral("/ann/book/a.vcf"), {}); }),
                  ServerError::Kind::Protocol);
        EXPECT_EQ(failureOf([&] { client->put(QStringLiteral("/ann/book/a.vcf"), "x", {}); }),
                  ServerError::Kind::Protocol);
        ASSERT_EQ(server.requests().size(), 2);
        for (const ScriptedHttpServer::Request& r : server.requests()) {
            EXPECT_EQ(r.target, "/ann/book/a.vcf");
        }
    }
}

// A whole sync with the hostile server, then one that deletes and adds a
// contact: no request leaves the book, and nothing of the hostile cards is
// kept in the file or beside it.
TEST(CardDavHostileServer, ASyncStoresNothingOfTheCardsOutsideTheBook) {
    ScriptedBook book(kHostile);
    book.store("/ann/book/ann.vcf", card("ann", "Ann", "Doe"));
    book.store("/ann/book/bob.vcf", card("bob", "Bob", "Doe"));
    ScriptedHttpServer server(book.handler());
    test::TempFolder folder;
    const QString path = folder.write(QStringLiteral("Family.DAT"), QByteArray());
    const auto sync = [&](const std::function<void(ContactsDocument&)>& change) {
        ContactsDocument document(folder.path());
        document.openPath(path, true);
        SyncStateKeeper keeper(document);
        if (!keeper.state()) {
            keeper.link(bookUrl(server), QStringLiteral("ann"));
        }
        if (change) {
            change(document);
        }
        const std::unique_ptr<CardDavClient> client = clientOf(server);
        Synchronizer(document, keeper, *client).run();
    };
    sync({});
    EXPECT_EQ(test::fileLines(path, {Field::FName}),
              (QStringList{QStringLiteral("Ann"), QStringLiteral("Bob")}));
    sync([](ContactsDocument& document) {
        document.deleteContact(1);
        document.appendContact(
            test::person(QStringLiteral("Cy"), QStringLiteral("Doe"), QStringLiteral("Leeds")));
    });
    EXPECT_EQ(test::fileLines(path, {Field::FName}).size(), 2);
    EXPECT_EQ(book.paths().size(), 2);
    expectOnlyInsideTheBook(server);
    QStringList methods;
    for (const ScriptedHttpServer::Request& r : server.requests()) {
        methods << QString::fromLatin1(r.method);
    }
    EXPECT_TRUE(methods.contains(QStringLiteral("DELETE")) &&
                methods.contains(QStringLiteral("PUT")));
    QDirIterator files(SyncState::folderOf(path), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QByteArray text = test::readAll(files.next());
        for (const char* trace : {"Pwn", "pwn", "passwd", "other", "evil", "sub%2F", "sub/z"}) {
            EXPECT_FALSE(text.contains(trace))
                << files.filePath().toStdString() << " holds " << trace;
        }
    }
}

// The limit is on silence: an answer that comes in pieces over longer than the
// limit is taken whole; one that stops fails with the limit's message.
TEST(CardDavSilenceLimit, AServerStillSendingIsNotCutOff) {
    struct Case {
        const char* what;
        int pieces, gapMs;
        bool silent;
        bool succeeds;
    };
    const std::vector<Case> cases{
        {"trickled over three times the limit", 12, 100, false, true},
        {"the head, then silence", 2, 1500, false, false},
        {"no answer at all", 1, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedBook book;
        book.store("/ann/book/ann.vcf", card("ann", "Ann", "Doe"));
        ScriptedHttpServer server([&](const ScriptedHttpServer::Request& r) {
            ScriptedHttpServer::Answer answer = book.answer(r);
            answer.body += QByteArray(2000, ' ');  // room for the pieces
            answer.pieces = c.pieces;
            answer.pieceGapMs = c.gapMs;
            answer.silent = c.silent;
            return answer;
        });
        const std::unique_ptr<CardDavClient> client = clientOf(server);
        client->setTimeoutMilliseconds(400);
        qint64 mostReceived = 0;
        client->setWaiting(
            [&](qint64 received) { mostReceived = std::max(mostReceived, received); });
        if (c.succeeds) {
            EXPECT_EQ(client->changesSince({}).changed.size(), 1u);
            EXPECT_GT(mostReceived, 2000);
        } else {
            QString message;
            EXPECT_EQ(failureOf([&] { client->changesSince({}); }, &message),
                      ServerError::Kind::Unreachable);
            EXPECT_EQ(message,
                      QStringLiteral("The server 127.0.0.1 did not answer within 1 seconds."));
        }
    }
}

// What the progress window adds while a request waits.
TEST(CardDavSilenceLimit, TheProgressSaysHowMuchCameIn) {
    const std::vector<std::pair<qint64, QString>> cases{
        {0, {}},
        {1, QStringLiteral("The server is answering: 1 KB received")},
        {250 * 1024, QStringLiteral("The server is answering: 250 KB received")},
        {1024 * 1024 - 1, QStringLiteral("The server is answering: 1,024 KB received")},
        {1024 * 1024 * 5 / 2, QStringLiteral("The server is answering: 2.5 MB received")},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(SyncSession::receivedText(bytes), text) << bytes;
    }
}

// Over plain http the password goes out only after the server asked for it,
// then at once; a server that asks for none never gets it; without a password
// none is sent and a server that asks says so. cancel() stops a request that
// waits, and every later one.
TEST(CardDavSignIn, ThePasswordGoesOutOnlyWhenTheServerAsks) {
    struct Case {
        const char* what;
        QByteArray serverPassword, clientPassword;
        QList<bool> signed_;  // Authorization on each request of two listings
        const char* failure;
        const char* accountHost = "127.0.0.1";  // the server the user typed
    };
    const std::vector<Case> cases{
        {"asks: the first request repeated with the password",
         "secret",
         "secret",
         {false, true, true},
         nullptr},
        {"asks for none", {}, "secret", {false, false}, nullptr},
        {"no password for a server that asks",
         "secret",
         {},
         {false},
         "The server 127.0.0.1 asks for a password."},
        {"a wrong one",
         "secret",
         "wrong",
         {false, true},
         "Wrong user name or password for 127.0.0.1."},
        {"another host than the one typed asks",
         "secret",
         "secret",
         {false},
         "The server 127.0.0.1 asks for the password of localhost: a password is not sent to "
         "another server. Type 127.0.0.1 as the server.",
         "localhost"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedBook book({}, "ann", c.serverPassword);
        ScriptedHttpServer server(book.handler());
        const std::unique_ptr<CardDavClient> client =
            clientOf(server, QString::fromUtf8(c.clientPassword), c.accountHost);
        if (c.failure) {
            QString message;
            EXPECT_EQ(failureOf([&] { client->changesSince({}); }, &message),
                      ServerError::Kind::WrongCredentials);
            EXPECT_EQ(message, QLatin1String(c.failure));
        } else {
            client->changesSince({});
            client->changesSince({});
        }
        QList<bool> signed_;
        for (const ScriptedHttpServer::Request& r : server.requests()) {
            signed_ << !r.header("Authorization").isEmpty();
        }
        EXPECT_EQ(signed_, c.signed_);
    }

    ScriptedHttpServer silent([](const ScriptedHttpServer::Request&) {
        ScriptedHttpServer::Answer answer;
        answer.silent = true;
        return answer;
    });
    const std::unique_ptr<CardDavClient> client = clientOf(silent);
    int waited = 0;
    client->setWaiting([&](qint64) {
        if (++waited == 3) {
            client->cancel();
        }
    });
    EXPECT_EQ(failureOf([&] { client->changesSince({}); }), ServerError::Kind::Cancelled);
    EXPECT_EQ(failureOf([&] { client->fetch({QStringLiteral("/ann/book/a.vcf")}); }),
              ServerError::Kind::Cancelled);
    EXPECT_EQ(silent.requests().size(), 1);
}

// tandor-batch sync with a server of the test's own: no password needed where
// the server asks for none, a clear message where it asks, the silence limit
// from --timeout, and a warning for a password over plain http.
TEST(CardDavBatchOptions, PasswordTimeoutAndWarning) {
    ScriptedBook open;
    open.store("/ann/book/ann.vcf", card("ann", "Ann", "Doe"));
    ScriptedHttpServer openServer(open.handler());
    ScriptedBook guarded({}, "ann", "secret");
    ScriptedHttpServer guardedServer(guarded.handler());
    ScriptedHttpServer silentServer([](const ScriptedHttpServer::Request&) {
        ScriptedHttpServer::Answer answer;
        answer.silent = true;
        return answer;
    });
    struct Case {
        const char* what;
        QString url;
        QStringList extra;
        QStringList environment;
        int exitCode;
        QString words;
    };
    const std::vector<Case> cases{
        {"no password, none asked",
         bookUrl(openServer),
         {},
         {},
         0,
         QStringLiteral("Changed here: 1 added")},
        {"no password, one asked",
         bookUrl(guardedServer),
         {},
         {},
         1,
         QStringLiteral("The server 127.0.0.1 asks for a password. Set TANDOR_PASSWORD or give "
                        "--password-file FILE.")},
        {"the password from the environment",
         bookUrl(guardedServer),
         {},
         {QStringLiteral("TANDOR_PASSWORD=secret")},
         0,
         QStringLiteral("Changed here: 0 added")},
        {"a silent server",
         bookUrl(silentServer),
         {QStringLiteral("--timeout"), QStringLiteral("1")},
         {},
         1,
         QStringLiteral("did not answer within 1 seconds")},
        {"a bad timeout",
         bookUrl(openServer),
         {QStringLiteral("--timeout"), QStringLiteral("0")},
         {},
         2,
         QStringLiteral("--timeout takes a whole number of seconds from 1 to 86400: 0")},
        {"a password over http to another computer",
         QStringLiteral("http://192.0.2.1:9/ann/book/"),
         {QStringLiteral("--timeout"), QStringLiteral("1")},
         {QStringLiteral("TANDOR_PASSWORD=secret")},
         1,
         QStringLiteral("Warning: The password travels in the clear to 192.0.2.1:")},
    };
    qunsetenv("TANDOR_PASSWORD");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        const QString path = folder.write(QStringLiteral("Family.DAT"), QByteArray());
        const test::BatchRun run =
            test::runBatch(QStringList{QStringLiteral("sync"), path, QStringLiteral("--url"), c.url,
                                       QStringLiteral("--user"), QStringLiteral("ann")} +
                               c.extra,
                           c.environment);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE((run.out + run.err).contains(c.words)) << (run.out + run.err).toStdString();
        EXPECT_EQ(run.err.contains(QStringLiteral("in the clear")),
                  c.url.contains(QStringLiteral("192.0.2.1")));
    }
}

}  // namespace
}  // namespace tandor::sync
