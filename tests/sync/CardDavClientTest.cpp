#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTcpServer>
#include <QUuid>
#include <functional>

#include "ServerFailure.h"
#include "support/DavTestServer.h"
#include "support/FaultProxy.h"
#include "support/PdfWords.h"
#include "support/PlainDavClient.h"
#include "sync/CardDavClient.h"
#include "sync/ServerMessage.h"

using namespace tandor::sync;
using tandor::test::FaultProxy;
using tandor::test::PlainDavClient;

namespace {

QByteArray vcard(const QString& uid, const QString& name) {
    return QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nFN:%2\r\nN:%2;;;;\r\nEND:VCARD\r\n")
        .arg(uid, name)
        .toUtf8();
}

QSet<QString> hrefsOf(const std::vector<RemoteCard>& cards) {
    QSet<QString> hrefs;
    for (const RemoteCard& card : cards) {
        hrefs.insert(card.href);
    }
    return hrefs;
}

class CardDavClientTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        server = tandor::test::davTestServer(GetParam());
        TANDOR_REQUIRE_DAV_SERVER(server);
        account = Account{server.url, server.user, server.password, {}};
        // Each test writes its cards into an address book of its own.
        const QString fresh = tandor::test::freshAddressBook(server, QStringLiteral("client"));
        ASSERT_FALSE(fresh.isEmpty());
        const std::vector<AddressBookInfo> books = discoverAddressBooks(Account{fresh, server.user, server.password, {}});
        ASSERT_EQ(books.size(), 1u);
        book = books[0];
        client = std::make_unique<CardDavClient>(account);
        client->setAddressBook(book);
        client->setTimeoutSeconds(10);
        phone = std::make_unique<PlainDavClient>(server.user, server.password);
    }
    // A new card's href.
    QString newHref(const QString& uid) { return client->hrefForNewCard(uid); }
    QUrl cardUrl(const QString& href) const { return QUrl(book.url).resolved(QUrl(href)); }
    QString uid(const char* what) const {
        return QStringLiteral("%1-%2").arg(QLatin1String(what), QUuid::createUuid().toString(QUuid::WithoutBraces));
    }

    tandor::test::DavTestServer server;
    Account account;
    AddressBookInfo book;
    std::unique_ptr<CardDavClient> client;
    std::unique_ptr<PlainDavClient> phone;
};

TEST_P(CardDavClientTest, DiscoversTheAddressBookFromTheServerAndFromItsOwnUrl) {
    const AddressBookInfo book = tandor::test::namedAddressBook(server);
    ASSERT_FALSE(book.url.isEmpty());
    EXPECT_TRUE(book.supportsSyncCollection);
    EXPECT_TRUE(book.url.endsWith(QLatin1Char('/')));
    const std::vector<AddressBookInfo> direct = discoverAddressBooks(Account{book.url, server.user, server.password, {}});
    ASSERT_EQ(direct.size(), 1u);
    EXPECT_EQ(direct[0].url, book.url);
    EXPECT_EQ(direct[0].displayName, server.book);
}

TEST_P(CardDavClientTest, WritesWithPreconditionsAndRemoves) {
    const QString id = uid("write");
    const QString href = newHref(id);
    const QString first = client->put(href, vcard(id, QStringLiteral("Ann Archer")), {});
    ASSERT_FALSE(first.isEmpty());
    EXPECT_TRUE(first.startsWith(QLatin1Char('"')) || first.startsWith(QLatin1String("W/"))) << first.toStdString();
    EXPECT_TRUE(phone->get(cardUrl(href)).body.contains("Ann Archer"));
    // A second "new" card at the same href, and a change over a stale ETag, are refused.
    EXPECT_EQ(failureOf([&] { client->put(href, vcard(id, QStringLiteral("Other")), {}); }),
              ServerError::Kind::PreconditionFailed);
    const QString second = client->put(href, vcard(id, QStringLiteral("Ann Archer-Bell")), first);
    ASSERT_FALSE(second.isEmpty());
    EXPECT_NE(second, first);
    EXPECT_EQ(failureOf([&] { client->put(href, vcard(id, QStringLiteral("Stale")), first); }),
              ServerError::Kind::PreconditionFailed);
    EXPECT_EQ(failureOf([&] { client->remove(href, first); }), ServerError::Kind::PreconditionFailed);
    EXPECT_TRUE(phone->get(cardUrl(href)).body.contains("Ann Archer-Bell"));
    client->remove(href, second);
    EXPECT_EQ(phone->get(cardUrl(href)).status, 404);
    client->remove(href, {});  // already gone: not an error
}

TEST_P(CardDavClientTest, ChangesSinceATokenAreExactlyTheChanges) {
    const QString a = newHref(uid("a"));
    const QString b = newHref(uid("b"));
    const QString c = newHref(uid("c"));
    const QString etagA = client->put(a, vcard(QStringLiteral("a"), QStringLiteral("A")), {});
    const ServerChanges everything = client->changesSince({});
    EXPECT_FALSE(everything.complete);
    EXPECT_TRUE(hrefsOf(everything.changed).contains(a));
    ASSERT_FALSE(everything.newSyncToken.isEmpty());

    // The phone adds b and c; this client changes a.
    ASSERT_EQ(phone->put(cardUrl(b), vcard(QStringLiteral("b"), QStringLiteral("B"))).status / 100, 2);
    ASSERT_EQ(phone->put(cardUrl(c), vcard(QStringLiteral("c"), QStringLiteral("C"))).status / 100, 2);
    const QString etagA2 = client->put(a, vcard(QStringLiteral("a"), QStringLiteral("A2")), etagA);
    const ServerChanges first = client->changesSince(everything.newSyncToken);
    EXPECT_TRUE(first.complete);
    EXPECT_EQ(hrefsOf(first.changed), (QSet<QString>{a, b, c}));
    EXPECT_TRUE(first.removedHrefs.isEmpty());
    for (const RemoteCard& card : first.changed) {
        if (card.href == a) {
            EXPECT_EQ(card.etag, etagA2);
        }
    }

    // The phone removes b; nothing else changes.
    ASSERT_EQ(phone->remove(cardUrl(b)).status / 100, 2);
    const ServerChanges second = client->changesSince(first.newSyncToken);
    EXPECT_TRUE(second.changed.empty());
    EXPECT_EQ(second.removedHrefs, QStringList{b});
    const ServerChanges none = client->changesSince(second.newSyncToken);
    EXPECT_TRUE(none.changed.empty());
    EXPECT_TRUE(none.removedHrefs.isEmpty());

    // A client that knows only the book and a token it gave asks once: the
    // token says the book offers sync-collection. Over http that one request
    // goes without the password, and again with it once the server asked.
    CardDavClient fresh(account, book.url);
    EXPECT_TRUE(fresh.changesSince(second.newSyncToken).changed.empty());
    EXPECT_EQ(fresh.requestCount(), 2);
    EXPECT_TRUE(fresh.changesSince(second.newSyncToken).changed.empty());
    EXPECT_EQ(fresh.requestCount(), 3);
}

TEST_P(CardDavClientTest, FetchesManyCardsInBoundedBatches) {
    QStringList hrefs;
    for (int i = 0; i < 250; ++i) {
        const QString id = uid("many");
        hrefs << newHref(id);
        ASSERT_EQ(phone->put(cardUrl(hrefs.last()), vcard(id, QStringLiteral("Card %1").arg(i))).status / 100, 2);
    }
    const QString gone = client->hrefForNewCard(uid("gone"));
    const int before = client->requestCount();
    const std::vector<RemoteCard> cards = client->fetch(hrefs + QStringList{gone});
    // 100 + 100 + 51, the first sent again with the password once the server asked
    EXPECT_EQ(client->requestCount() - before, 3 + 1);
    ASSERT_EQ(cards.size(), 250u);
    EXPECT_EQ(hrefsOf(cards), QSet<QString>(hrefs.begin(), hrefs.end()));
    for (const RemoteCard& card : cards) {
        const int i = static_cast<int>(hrefs.indexOf(card.href));
        EXPECT_TRUE(card.vcard.contains(QStringLiteral("FN:Card %1\r\n").arg(i).toUtf8())) << card.href.toStdString();
        EXPECT_FALSE(card.etag.isEmpty());
    }
}

TEST_P(CardDavClientTest, ReportsFailuresInTheUsersWords) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 closedPort = closed.serverPort();
    closed.close();

    FaultProxy proxy(book.url);
    struct Case {
        const char* what;
        FaultProxy::Fault fault;
        std::function<Account()> account;
        ServerError::Kind kind;
        const char* words;
        QString token = {};
    };
    const Account viaProxy{proxy.url(book.url), server.user, server.password, {}};
    const std::vector<Case> cases{
        {"wrong password", FaultProxy::Fault::None,
         [&] { return Account{book.url, server.user, QStringLiteral("wrong"), {}}; },
         ServerError::Kind::WrongCredentials, "Wrong user name or password"},
        {"no such book", FaultProxy::Fault::None,
         [&] { return Account{QUrl(book.url).resolved(QUrl(QStringLiteral("no-such-book/"))).toString(),
                              server.user, server.password, {}}; },
         ServerError::Kind::NotFound, "There is no address book at"},
        {"closed port", FaultProxy::Fault::None,
         [&] { return Account{QStringLiteral("http://127.0.0.1:%1/").arg(closedPort), server.user,
                              server.password, {}}; },
         ServerError::Kind::Unreachable, "cannot be reached"},
        {"500", FaultProxy::Fault::Error500, [&] { return viaProxy; }, ServerError::Kind::ServerFailure,
         "The server reported an error: 500 Internal Server Error: The disk is full"},
        {"500 to a sync token, then to the full listing", FaultProxy::Fault::Error500,
         [&] { return viaProxy; }, ServerError::Kind::ServerFailure,
         "The server reported an error: 500 Internal Server Error: The disk is full", QStringLiteral("an-old-token")},
        {"stall", FaultProxy::Fault::Stall, [&] { return viaProxy; }, ServerError::Kind::Unreachable,
         "did not answer within 1 seconds"},
        {"OAuth only", FaultProxy::Fault::BearerOnly, [&] { return viaProxy; }, ServerError::Kind::OAuthOnly,
         "Google"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        proxy.setFault(c.fault);
        CardDavClient failing(c.account());
        failing.setTimeoutSeconds(1);
        QString message;
        EXPECT_EQ(failureOf([&] { failing.changesSince(c.token); }, &message), c.kind);
        EXPECT_TRUE(message.contains(QLatin1String(c.words))) << message.toStdString();
    }

    proxy.setFault(FaultProxy::Fault::Stall);
    CardDavClient cancelled(viaProxy);
    cancelled.setAddressBook(AddressBookInfo{proxy.url(book.url), book.displayName, true});
    int asked = 0;
    cancelled.setWaiting([&](qint64) {
        if (++asked == 3) {
            cancelled.cancel();
        }
    });
    EXPECT_EQ(failureOf([&] { cancelled.changesSince({}); }), ServerError::Kind::Cancelled);
}

// A server's failure in words: its reason phrase, or where that says
// nothing (empty over HTTP/2, or the standard phrase), the first line of
// its answer's text.
TEST(ServerFailureText, TellsTheFirstLineOfTheServersText) {
    struct Case {
        int status;
        QByteArray reason, type, body;
        QString text;
    };
    const std::vector<Case> cases{
        {503, "", "text/html; charset=utf-8",
         "<html><head><title>503 Service Unavailable</title><style>p{}</style></head>\n<body><h1>Service "
         "Unavailable</h1>\n<p>Back at  10:00 &amp; later</p></body></html>",
         "503: Back at 10:00 & later"},
        {500, "Internal Server Error", "text/plain", "The disk is full\nand more", 
         "500 Internal Server Error: The disk is full"},
        {502, "Proxy down", "text/plain", "unread", "502 Proxy down"},
        {500, "", "image/png", "The disk", "500"},
        {500, "", "", QByteArray(300, 'a'), "500: " + QString(197, u'a') + "..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(serverFailureText(c.status, c.reason, c.type, c.body), c.text);
    }
}

// A truncated sync answer (507), a refused token (403 valid-sync-token), a
// token the server never gave (Radicale: 403; Xandikos: 500) and a book
// without sync-collection each give one full listing of every card.
TEST_P(CardDavClientTest, FallsBackToOneFullListing) {
    const QString a = newHref(uid("full"));
    const QString etag = client->put(a, vcard(QStringLiteral("full"), QStringLiteral("Full")), {});
    const QString token = client->changesSince({}).newSyncToken;
    // As a token from before the server's storage was reset looks.
    const QString stale = token.left(token.size() - 8) + QStringLiteral("00000000");

    struct Case {
        const char* what;
        FaultProxy::Fault fault;
        bool syncCollection;
        int faults;
        QString token;
    };
    for (const Case& c : {Case{"507", FaultProxy::Fault::Truncate507, true, 1, token},
                          Case{"403", FaultProxy::Fault::RefuseToken, true, 1, token},
                          Case{"a token the server never gave", FaultProxy::Fault::None, true, 0, stale},
                          Case{"no sync-collection", FaultProxy::Fault::None, false, 0, token}}) {
        SCOPED_TRACE(c.what);
        FaultProxy proxy(book.url);
        proxy.setFault(c.fault);
        CardDavClient through(Account{proxy.url(book.url), server.user, server.password, {}});
        through.setAddressBook(AddressBookInfo{proxy.url(book.url), book.displayName, c.syncCollection});
        const ServerChanges changes = through.changesSince(c.token);
        EXPECT_EQ(proxy.faultsInjected(), c.faults);
        EXPECT_FALSE(changes.complete);
        bool found = false;
        for (const RemoteCard& card : changes.changed) {
            found |= card.href == a && card.etag == etag;
        }
        EXPECT_TRUE(found);
        EXPECT_EQ(changes.newSyncToken.isEmpty(), !c.syncCollection);
    }
}

// tandor-batch sync --list-books: the password from TANDOR_PASSWORD or a
// file, never from the command line.
TEST_P(CardDavClientTest, BatchListsTheAddressBooks) {
    const AddressBookInfo book = tandor::test::namedAddressBook(server);
    ASSERT_FALSE(book.url.isEmpty());
    QTemporaryDir folder;
    const QString wrongFile = folder.filePath(QStringLiteral("wrong"));
    QFile file(wrongFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not-the-password\n");
    file.close();
    const QStringList base{QStringLiteral("sync"), QStringLiteral("--list-books"), QStringLiteral("--url"), server.url,
                           QStringLiteral("--user"), server.user};
    struct Case {
        const char* what;
        QStringList extra;
        int exitCode;
        QString words;
    };
    const std::vector<Case> cases{
        {"password from the environment", {}, 0,
         book.displayName + QLatin1Char('\t') + book.url + QStringLiteral("\tsync-collection: yes\n")},
        {"wrong password file", {QStringLiteral("--password-file"), wrongFile}, 1,
         QStringLiteral("Wrong user name or password")},
        {"password on the command line", {QStringLiteral("--password"), server.password}, 2,
         QStringLiteral("never given on the command line")},
    };
    qputenv("TANDOR_PASSWORD", server.password.toUtf8());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const tandor::test::BatchRun run = tandor::test::runBatch(base + c.extra);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE((run.out + run.err).contains(c.words)) << (run.out + run.err).toStdString();
    }
    qunsetenv("TANDOR_PASSWORD");
}

// Xandikos as shipped asks for no password (TANDOR_XANDIKOS_OPEN_URL is its
// own port, without the sign-in proxy): the client finds and reads its book
// without one and sends none, and tandor-batch needs no TANDOR_PASSWORD.
TEST(CardDavClientNoPassword, XandikosAsShippedNeedsNone) {
    const QString open = qEnvironmentVariable("TANDOR_XANDIKOS_OPEN_URL");
    if (open.isEmpty()) {
        GTEST_SKIP() << "TANDOR_XANDIKOS_OPEN_URL is not set (scripts/dav-test-servers.sh start)";
    }
    const std::vector<AddressBookInfo> books = discoverAddressBooks(Account{open, QStringLiteral("ann"), {}, {}});
    ASSERT_FALSE(books.empty());
    CardDavClient client(Account{books[0].url, QStringLiteral("ann"), {}, {}});
    client.setAddressBook(books[0]);
    EXPECT_FALSE(client.changesSince({}).newSyncToken.isEmpty());
    EXPECT_EQ(client.requestCount(), 1);
    qunsetenv("TANDOR_PASSWORD");
    const tandor::test::BatchRun run =
        tandor::test::runBatch({QStringLiteral("sync"), QStringLiteral("--list-books"), QStringLiteral("--url"), open,
                                QStringLiteral("--user"), QStringLiteral("ann")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(books[0].url)) << run.out.toStdString();
}

// A server whose certificate the system does not trust (self-signed, in
// tests/data/dav/) is refused with the certificate's details, unless the user
// accepted its fingerprint; then the request goes through (here to a 404).
TEST(CardDavClientCertificate, RefusedUnlessItsFingerprintWasAccepted) {
    const auto read = [](const char* name) {
        QFile file(QStringLiteral(TANDOR_SOURCE_DIR "/tests/data/dav/") + QLatin1String(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    };
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(QSslCertificate(read("tls-cert.pem")));
    tls.setPrivateKey(QSslKey(read("tls-key.pem"), QSsl::Rsa));
    QSslServer server;
    server.setSslConfiguration(tls);
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QByteArray received;  // over https the password goes out at once
    QObject::connect(&server, &QTcpServer::pendingConnectionAvailable, [&server, &received] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, &received] {
                received += socket->readAll();
                socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
                socket->disconnectFromHost();
            });
        }
    });
    // As openssl x509 -fingerprint -sha256 shows it.
    const QString fingerprint =
        QStringLiteral("30:B3:CB:EA:C4:1E:46:4C:9C:08:3B:6C:B4:68:95:6E:E7:AB:29:E8:6D:CE:84:35:C9:4E:25:51:C1:2D:88:4D");
    const QString url = QStringLiteral("https://127.0.0.1:%1/book/").arg(server.serverPort());
    CardDavClient refusing(Account{url, QStringLiteral("u"), QStringLiteral("p"), {}});
    refusing.setTimeoutSeconds(10);
    try {
        refusing.changesSince({});
        ADD_FAILURE() << "no ServerError";
    } catch (const ServerError& error) {
        EXPECT_EQ(error.kind(), ServerError::Kind::CertificateRefused) << error.message().toStdString();
        EXPECT_EQ(error.certificateFingerprint(), QString(fingerprint).remove(QLatin1Char(':')));
        for (const QString& words : {QStringLiteral("Subject: CN=tandor.test, O=Tandor Test"),
                                     QStringLiteral("Issuer: CN=tandor.test, O=Tandor Test"),
                                     QStringLiteral("Valid from 2026-12-07T22:36:23Z to 2126-11-13T22:36:23Z"),
                                     QStringLiteral("SHA-256 fingerprint: ") + fingerprint}) {
            EXPECT_TRUE(error.certificateDetails().contains(words)) << error.certificateDetails().toStdString();
        }
    }
    CardDavClient accepting(Account{url, QStringLiteral("u"), QStringLiteral("p"), {fingerprint.toLower()}});
    accepting.setTimeoutSeconds(10);
    EXPECT_EQ(failureOf([&] { accepting.changesSince({}); }), ServerError::Kind::NotFound);
    EXPECT_TRUE(received.contains("\r\nAuthorization: Basic dTpw\r\n")) << received.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Servers, CardDavClientTest, ::testing::Values("Radicale", "Xandikos"),
                         [](const auto& info) { return info.param; });

}  // namespace
