#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>
#include <vector>

#include "sync/AddressBookServer.h"
#include "sync/DavTransport.h"

namespace tandor::sync {

// A CardDAV address book on a server (RFC 6352), reached over HTTP(S) with
// Basic sign-in (DavTransport: at once over https, otherwise only once the
// server asked). Each call blocks on a local event loop until the server has
// answered, the server was silent for the limit (Unreachable) or cancel()
// stopped it (Cancelled). Only cards directly inside the book are taken in or
// touched (memberPath).
class CardDavClient : public AddressBookServer {
public:
    // The address book at `addressBookUrl` (absolute); empty: the account's
    // server URL is taken as the address book itself.
    explicit CardDavClient(Account account, QString addressBookUrl = {});
    ~CardDavClient() override;

    // The silence limit: a request fails when the server sent nothing for this long.
    void setTimeoutSeconds(int seconds) { http_.setSilenceLimitMs(seconds * 1000); }
    void setTimeoutMilliseconds(int milliseconds) { http_.setSilenceLimitMs(milliseconds); }
    // At most this many hrefs in one addressbook-multiget (100 unless set).
    void setMultigetBatchSize(int size) { batchSize_ = size; }
    // Says whether the book offers sync-collection, as discovery found
    // (otherwise the first changesSince asks the server).
    void setAddressBook(const AddressBookInfo& book);
    const QString& addressBookUrl() const { return bookUrl_; }
    // How many HTTP requests this client has sent (redirects and the repeat
    // of a request after the server asked for the password included).
    int requestCount() const { return http_.requestCount(); }

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
    void cancel() override { http_.cancel(); }
    void setWaiting(Waiting waiting) override { http_.setWaiting(std::move(waiting)); }

private:
    using Reply = DavTransport::Reply;
    // Requests to the book itself or a card in it: a redirect elsewhere is not followed.
    Reply sendInBook(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                     const DavTransport::Headers& headers);
    Reply propfind(const QUrl& url, int depth, const QByteArray& body);
    // The path of a card inside the book (memberPath); throws ServerError
    // (Protocol) for an href outside it, naming what would have been done.
    QString member(const QString& href, const char* doing) const;
    QUrl urlOf(const QString& path) const;
    bool isBook(const QString& href) const;
    ServerChanges fullListing();
    bool offersSyncCollection();
    // Sorts one listed href into `changes`: a card of the book (changed or,
    // with `removed`, removed), or refused.
    void take(ServerChanges& changes, const QString& href, const QString& etag, bool removed) const;

    DavTransport http_;
    QString bookUrl_;
    std::optional<bool> syncCollection_;
    int batchSize_ = 100;
};

// The address books of an account, with a client of default settings and
// this silence limit.
std::vector<AddressBookInfo> discoverAddressBooks(const Account& account,
                                                  int silenceSeconds = kSilenceLimitSeconds);

}  // namespace tandor::sync
