#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "sync/AddressBookServer.h"

class QNetworkAccessManager;

namespace tandor::sync {

// A CardDAV address book on a server (RFC 6352), reached over HTTP(S) with
// Basic sign-in. Each call blocks on a local event loop until the server has
// answered, the time limit has passed (Unreachable) or the cancel check says
// stop (Cancelled).
class CardDavClient : public AddressBookServer {
public:
    // The address book at `addressBookUrl` (absolute); empty: the account's
    // server URL is taken as the address book itself.
    explicit CardDavClient(Account account, QString addressBookUrl = {});
    ~CardDavClient() override;

    void setTimeoutSeconds(int seconds) { timeoutMs_ = seconds * 1000; }
    void setTimeoutMilliseconds(int milliseconds) { timeoutMs_ = milliseconds; }
    // Asked every 50 ms while waiting for the server; true stops the request.
    void setCancelCheck(std::function<bool()> cancelled) { cancelled_ = std::move(cancelled); }
    // At most this many hrefs in one addressbook-multiget (100 unless set).
    void setMultigetBatchSize(int size) { batchSize_ = size; }
    // Says whether the book offers sync-collection, as discovery found
    // (otherwise the first changesSince asks the server).
    void setAddressBook(const AddressBookInfo& book);
    const QString& addressBookUrl() const { return bookUrl_; }
    // How many HTTP requests this client has sent (redirects included).
    int requestCount() const { return requestCount_; }

    // The address books of the account: /.well-known/carddav,
    // current-user-principal, addressbook-home-set, then every collection of
    // the home that is an address book; a URL that is itself an address book
    // gives just that one (RFC 6764, RFC 5397, RFC 6352).
    std::vector<AddressBookInfo> discoverAddressBooks();

    ServerChanges changesSince(const QString& syncToken) override;
    std::vector<RemoteCard> fetch(const QStringList& hrefs) override;
    QString put(const QString& href, const QByteArray& vcard, const QString& ifMatchEtag) override;
    void remove(const QString& href, const QString& ifMatchEtag) override;
    QString hrefForNewCard(const QString& uid) const override;

    struct Reply {
        int status = 0;
        QByteArray reason;
        QByteArray body;
        QList<std::pair<QByteArray, QByteArray>> headers;
        QUrl url;  // where the answer came from, after redirects
        QByteArray header(const QByteArray& name) const;
    };

private:
    using Headers = QList<std::pair<QByteArray, QByteArray>>;
    // Sends one request, following redirects; throws ServerError for an
    // unreachable server, a refused certificate, a timeout or a cancel. HTTP
    // errors are left to the caller (see fail()).
    Reply send(const QByteArray& verb, const QUrl& url, const QByteArray& body = {}, const Headers& headers = {});
    Reply sendOnce(const QByteArray& verb, const QUrl& url, const QByteArray& body, const Headers& headers);
    // Throws the ServerError for an HTTP error answer.
    [[noreturn]] void fail(const Reply& reply) const;
    Reply propfind(const QUrl& url, int depth, const QByteArray& body);
    QUrl urlOf(const QString& href) const;
    QString pathOf(const QString& href) const;
    ServerChanges fullListing();
    bool offersSyncCollection();

    Account account_;
    QString bookUrl_;
    std::optional<bool> syncCollection_;
    std::unique_ptr<QNetworkAccessManager> network_;
    int timeoutMs_ = 30000;
    int batchSize_ = 100;
    int requestCount_ = 0;
    std::function<bool()> cancelled_;
};

// The address books of an account, with a client of default settings.
std::vector<AddressBookInfo> discoverAddressBooks(const Account& account);

}  // namespace tandor::sync
