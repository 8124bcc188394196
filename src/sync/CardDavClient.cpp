#include "sync/CardDavClient.h"

#include <QCryptographicHash>
#include <algorithm>

#include "sync/BookMembership.h"
#include "sync/DavXml.h"

namespace tandor::sync {
namespace {

using Kind = ServerError::Kind;

QString safeFileName(const QString& uid) {
    QString name;
    for (const QChar c : uid) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                           c == QLatin1Char('-') || c == QLatin1Char('_') || c == QLatin1Char('.');
        name += plain ? c : QLatin1Char('-');
    }
    if (name != uid || name.isEmpty() || name.startsWith(QLatin1Char('.'))) {
        // Two UIDs that differ only in the characters replaced keep apart.
        name +=
            QLatin1Char('-') +
            QString::fromLatin1(
                QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1).toHex().left(12));
    }
    return name;
}

}  // namespace

CardDavClient::CardDavClient(Account account, QString addressBookUrl) : http_(std::move(account)) {
    bookUrl_ = addressBookUrl.isEmpty() ? http_.account().serverUrl : addressBookUrl;
    if (!bookUrl_.isEmpty()) {
        bookUrl_ = normalisedServerUrl(bookUrl_).toString(QUrl::FullyEncoded);
    }
}

CardDavClient::~CardDavClient() = default;

void CardDavClient::setAddressBook(const AddressBookInfo& book) {
    bookUrl_ = normalisedServerUrl(book.url).toString(QUrl::FullyEncoded);
    syncCollection_ = book.supportsSyncCollection;
}

CardDavClient::Reply CardDavClient::propfind(const QUrl& url, int depth, const QByteArray& body) {
    return sendInBook("PROPFIND", url, body, {{"Depth", QByteArray::number(depth)}});
}

CardDavClient::Reply CardDavClient::sendInBook(const QByteArray& verb, const QUrl& url,
                                               const QByteArray& body,
                                               const DavTransport::Headers& headers) {
    // A request to the book follows a redirect only to the book; one to a card
    // only to that same card (never a write or a deletion sent elsewhere).
    const QString target = url.toString(QUrl::FullyEncoded);
    const bool toBook = isBook(target);
    const std::optional<QString> card = toBook ? std::nullopt : memberPath(bookUrl_, target);
    return http_.send(verb, url, body, headers, [this, toBook, card](const QUrl& next) {
        const QString text = next.toString(QUrl::FullyEncoded);
        return toBook ? isBook(text) : card.has_value() && memberPath(bookUrl_, text) == card;
    });
}

bool CardDavClient::isBook(const QString& href) const {
    const QUrl book(bookUrl_);
    const QUrl url = book.resolved(QUrl::fromEncoded(href.toUtf8(), QUrl::TolerantMode));
    return url.scheme() == book.scheme() &&
           url.host().compare(book.host(), Qt::CaseInsensitive) == 0 &&
           portOf(url) == portOf(book) && !url.hasQuery() &&
           withSlash(canonicalPath(url.path(QUrl::FullyEncoded))) ==
               withSlash(canonicalPath(book.path(QUrl::FullyEncoded)));
}

QString CardDavClient::member(const QString& href, const char* doing) const {
    const std::optional<QString> path = memberPath(bookUrl_, href);
    if (!path) {
        throw ServerError(
            Kind::Protocol,
            QStringLiteral("The card address %1 lies outside the address book %2: it is not %3.")
                .arg(href, bookUrl_, QLatin1String(doing)));
    }
    return *path;
}

QUrl CardDavClient::urlOf(const QString& path) const {
    return QUrl(bookUrl_).resolved(QUrl::fromEncoded(path.toUtf8()));
}

void CardDavClient::take(ServerChanges& changes, const QString& href, const QString& etag,
                         bool removed) const {
    const std::optional<QString> path = memberPath(bookUrl_, href);
    if (!path) {
        changes.refusedHrefs << href;
    } else if (removed) {
        changes.removedHrefs << *path;
    } else if (!etag.isEmpty()) {
        changes.changed.push_back(RemoteCard{*path, etag, {}});
    }
}

bool CardDavClient::offersSyncCollection() {
    if (!syncCollection_) {
        const Reply reply = propfind(QUrl(bookUrl_), 0, davxml::discoveryPropfind());
        if (reply.status != 207) {
            http_.fail(reply);
        }
        const davxml::Multistatus ms = davxml::parseMultistatus(reply.body);
        if (ms.responses.empty() || !ms.responses.front().isAddressBook) {
            throw ServerError(Kind::NotFound,
                              QStringLiteral("There is no address book at %1.").arg(bookUrl_), 0);
        }
        syncCollection_ = ms.responses.front().offersSyncCollection;
    }
    return *syncCollection_;
}

ServerChanges CardDavClient::fullListing() {
    const Reply reply = propfind(QUrl(bookUrl_), 1, davxml::etagPropfind());
    if (reply.status != 207) {
        http_.fail(reply);
    }
    ServerChanges changes;
    changes.complete = false;
    for (const davxml::Response& r : davxml::parseMultistatus(reply.body).responses) {
        if (isBook(r.href)) {
            changes.newSyncToken = r.syncToken;
        } else if (!r.isCollection && !r.href.endsWith(QLatin1Char('/'))) {
            take(changes, r.href, r.etag, false);
        }
    }
    if (!syncCollection_.value_or(false)) {
        changes.newSyncToken.clear();
    }
    return changes;
}

ServerChanges CardDavClient::changesSince(const QString& syncToken) {
    // A stored token came from this book's sync-collection: it is asked at
    // once, without first asking whether the book offers it (one round trip
    // less); an answer other than a multistatus or a refused or truncated
    // listing makes it ask after all.
    const bool assumed = !syncCollection_ && !syncToken.isEmpty();
    if (!assumed && !offersSyncCollection()) {
        return fullListing();
    }
    const Reply reply = sendInBook("REPORT", QUrl(bookUrl_),
                                   davxml::syncCollectionReport(syncToken), {{"Depth", "0"}});
    if (assumed && reply.status != 207 && reply.status != 403 && reply.status != 507 &&
        !offersSyncCollection()) {
        return fullListing();
    }
    syncCollection_ = true;
    if (reply.status == 507 ||
        (reply.status == 403 &&
         (!syncToken.isEmpty() ||
          davxml::errorNames(reply.body, QStringLiteral("valid-sync-token"))))) {
        return fullListing();  // truncated, or the token is no longer valid
    }
    if (reply.status >= 500 && !syncToken.isEmpty()) {
        // Some servers answer a token they no longer know (their storage was
        // restored or reset) with a server error instead of 403
        // valid-sync-token, and Xandikos's text does not even say so: one full
        // listing finds what is there. When that fails too, its error is told.
        return fullListing();
    }
    if (reply.status != 207) {
        http_.fail(reply);
    }
    const davxml::Multistatus ms = davxml::parseMultistatus(reply.body);
    ServerChanges changes;
    for (const davxml::Response& r : ms.responses) {
        if (isBook(r.href)) {
            if (r.status == 507) {
                return fullListing();
            }
        } else if (!r.href.endsWith(QLatin1Char('/'))) {
            take(changes, r.href, r.etag, r.status == 404 || r.propStatus == 404);
        }
    }
    changes.newSyncToken = ms.syncToken;
    changes.complete = !syncToken.isEmpty();
    return changes;
}

std::vector<RemoteCard> CardDavClient::fetch(const QStringList& hrefs) {
    std::vector<RemoteCard> cards;
    const int batch = std::max(1, batchSize_);
    for (qsizetype first = 0; first < hrefs.size(); first += batch) {
        QStringList paths;
        for (const QString& href : hrefs.mid(first, batch)) {
            paths << member(href, "fetched");
        }
        const Reply reply =
            sendInBook("REPORT", QUrl(bookUrl_), davxml::multigetReport(paths), {{"Depth", "1"}});
        if (reply.status != 207) {
            http_.fail(reply);
        }
        for (const davxml::Response& r : davxml::parseMultistatus(reply.body).responses) {
            // Only the cards asked for: what else the answer holds is not taken in.
            const std::optional<QString> path = memberPath(bookUrl_, r.href);
            if (path && paths.contains(*path) && r.propStatus / 100 == 2 &&
                !r.addressData.isEmpty()) {
                cards.push_back(RemoteCard{*path, r.etag, r.addressData});
            }
        }
    }
    return cards;
}

QString CardDavClient::put(const QString& href, const QByteArray& vcard,
                           const QString& ifMatchEtag) {
    const QUrl url = urlOf(member(href, "written"));
    DavTransport::Headers headers{{"Content-Type", "text/vcard; charset=utf-8"}};
    if (ifMatchEtag.isEmpty()) {
        headers.emplaceBack("If-None-Match", "*");
    } else {
        headers.emplaceBack("If-Match", ifMatchEtag.toUtf8());
    }
    const Reply reply = sendInBook("PUT", url, vcard, headers);
    if (reply.status / 100 != 2) {
        http_.fail(reply);
    }
    QString etag = QString::fromUtf8(reply.header("ETag")).trimmed();
    if (etag.isEmpty()) {
        const Reply asked = propfind(url, 0, davxml::etagPropfind());
        if (asked.status == 207) {
            const davxml::Multistatus ms = davxml::parseMultistatus(asked.body);
            if (!ms.responses.empty()) {
                etag = ms.responses.front().etag;
            }
        }
    }
    return etag;
}

void CardDavClient::remove(const QString& href, const QString& ifMatchEtag) {
    const QUrl url = urlOf(member(href, "deleted"));
    DavTransport::Headers headers;
    if (!ifMatchEtag.isEmpty()) {
        headers.emplaceBack("If-Match", ifMatchEtag.toUtf8());
    }
    const Reply reply = sendInBook("DELETE", url, {}, headers);
    if (reply.status / 100 != 2 && reply.status != 404 && reply.status != 410) {
        http_.fail(reply);
    }
}

QString CardDavClient::hrefForNewCard(const QString& uid) const {
    return withSlash(canonicalPath(QUrl(bookUrl_).path(QUrl::FullyEncoded))) + safeFileName(uid) +
           QStringLiteral(".vcf");
}

}  // namespace tandor::sync
