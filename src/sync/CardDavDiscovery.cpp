#include <QSet>

#include "sync/BookMembership.h"
#include "sync/CardDavClient.h"
#include "sync/DavXml.h"

namespace tandor::sync {
namespace {

// Discovery follows redirects wherever they lead (/.well-known/carddav does).
DavTransport::Reply askProperties(DavTransport& http, const QUrl& url, int depth,
                                  const QByteArray& body) {
    return http.send("PROPFIND", url, body, {{"Depth", QByteArray::number(depth)}});
}

// The address book at `url` as its properties describe it.
AddressBookInfo bookInfo(const QUrl& url, const davxml::Response& r) {
    AddressBookInfo book;
    book.url = url.toString(QUrl::FullyEncoded);
    book.displayName = r.displayName;
    if (book.displayName.isEmpty()) {
        const QStringList parts = url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
        book.displayName = parts.isEmpty() ? url.host() : parts.last();
    }
    book.supportsSyncCollection = r.offersSyncCollection;
    return book;
}

davxml::Response firstResponse(const davxml::Multistatus& ms) {
    return ms.responses.empty() ? davxml::Response{} : ms.responses.front();
}

// Every address book in these homes (hrefs relative to `base`), each once.
std::vector<AddressBookInfo> booksInHomes(DavTransport& http, const QUrl& base,
                                          const QStringList& homes, const QByteArray& body) {
    std::vector<AddressBookInfo> books;
    QSet<QString> seen;
    for (const QString& home : homes) {
        const DavTransport::Reply listing =
            askProperties(http, base.resolved(QUrl::fromEncoded(home.toUtf8())), 1, body);
        if (listing.status != 207) {
            http.fail(listing);
        }
        for (const davxml::Response& r : davxml::parseMultistatus(listing.body).responses) {
            if (!r.isAddressBook) {
                continue;
            }
            QUrl url = listing.url.resolved(QUrl::fromEncoded(r.href.toUtf8()));
            url.setPath(withSlash(url.path(QUrl::FullyEncoded)), QUrl::TolerantMode);
            const QString key = url.toString(QUrl::FullyEncoded);
            if (!seen.contains(key)) {
                seen.insert(key);
                books.push_back(bookInfo(url, r));
            }
        }
    }
    return books;
}

}  // namespace

std::vector<AddressBookInfo> CardDavClient::discoverAddressBooks() {
    const QUrl start = normalisedServerUrl(http_.account().serverUrl);
    const QByteArray body = davxml::discoveryPropfind();
    DavTransport::Reply reply;
    if (start.path() == QLatin1String("/")) {
        // RFC 6764: the well-known address leads to the server's CardDAV root.
        reply = askProperties(http_, start.resolved(QUrl(QStringLiteral("/.well-known/carddav"))),
                              0, body);
    }
    if (reply.status != 207) {
        reply = askProperties(http_, start, 0, body);
    }
    if (reply.status != 207) {
        http_.fail(reply);
    }
    davxml::Response here = firstResponse(davxml::parseMultistatus(reply.body));
    QUrl hereUrl = reply.url;
    if (here.isAddressBook) {
        hereUrl.setPath(withSlash(hereUrl.path(QUrl::FullyEncoded)), QUrl::TolerantMode);
        return {bookInfo(hereUrl, here)};
    }
    QStringList homes = here.addressbookHomeSet;
    QUrl homeBase = hereUrl;
    if (homes.isEmpty() && !here.currentUserPrincipal.isEmpty()) {
        // RFC 5397: the signed-in user's principal names the address-book home.
        const QUrl principal =
            hereUrl.resolved(QUrl::fromEncoded(here.currentUserPrincipal.toUtf8()));
        const DavTransport::Reply principalReply = askProperties(http_, principal, 0, body);
        if (principalReply.status != 207) {
            http_.fail(principalReply);
        }
        homes = firstResponse(davxml::parseMultistatus(principalReply.body)).addressbookHomeSet;
        homeBase = principalReply.url;
    }
    if (homes.isEmpty()) {
        homes << hereUrl.toString(QUrl::FullyEncoded);  // the URL may be a home itself
    }
    return booksInHomes(http_, homeBase, homes, body);
}

std::vector<AddressBookInfo> discoverAddressBooks(const Account& account, int silenceSeconds) {
    CardDavClient client(account);
    client.setTimeoutSeconds(silenceSeconds);
    return client.discoverAddressBooks();
}

}  // namespace tandor::sync
