#include "support/DavTestServer.h"

#include <gtest/gtest.h>

#include <QUuid>

#include "support/PlainDavClient.h"

namespace tandor::test {

DavTestServer davTestServer(const std::string& name) {
    const QString key = QString::fromStdString(name).toUpper();
    DavTestServer server;
    server.name = QString::fromStdString(name);
    server.url = qEnvironmentVariable(qPrintable(QStringLiteral("TANDOR_%1_URL").arg(key)));
    server.book = qEnvironmentVariable(qPrintable(QStringLiteral("TANDOR_%1_BOOK").arg(key)));
    server.user = qEnvironmentVariable("TANDOR_DAV_USER");
    server.password = qEnvironmentVariable("TANDOR_DAV_PASSWORD");
    server.missing = qEnvironmentVariable(
        qPrintable(QStringLiteral("TANDOR_%1_MISSING").arg(key)),
        QStringLiteral("TANDOR_%1_URL is not set; scripts/test.sh starts the servers, or eval \"$(bash "
                       "scripts/dav-test-servers.sh start)\" and export its TANDOR_* variables")
            .arg(key));
    return server;
}

sync::AddressBookInfo namedAddressBook(const DavTestServer& server) {
    const sync::Account account{server.url, server.user, server.password, {}};
    for (const sync::AddressBookInfo& b : sync::discoverAddressBooks(account)) {
        if (b.displayName == server.book) {
            return b;
        }
    }
    ADD_FAILURE() << "no address book named " << server.book.toStdString() << " on " << server.name.toStdString();
    return {};
}

QString freshAddressBook(const DavTestServer& server, const QString& label) {
    const QString shared = namedAddressBook(server).url;
    if (shared.isEmpty()) {
        return {};
    }
    const QString name = label + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QUrl url = QUrl(shared).resolved(QUrl(QStringLiteral("../") + name + QLatin1Char('/')));
    PlainDavClient phone(server.user, server.password);
    const PlainDavClient::Answer made = phone.makeAddressBook(url, name);
    if (made.status / 100 != 2) {
        ADD_FAILURE() << "MKCOL " << url.toString().toStdString() << ": " << made.status << " "
                      << made.body.toStdString();
        return {};
    }
    return url.toString();
}

}  // namespace tandor::test
