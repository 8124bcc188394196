#include "sync/CardDavClient.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSet>
#include <QTimer>
#include <algorithm>
#if QT_CONFIG(ssl)
#include <QSslCertificate>
#include <QSslError>
#endif

#include "platform/Version.h"
#include "sync/DavXml.h"
#include "sync/ServerMessage.h"

namespace tandor::sync {
namespace {

using Kind = ServerError::Kind;

const QByteArray kXml = QByteArrayLiteral("application/xml; charset=utf-8");

// One spelling of a path: percent-encoding undone, then redone the same way
// for every server, so that the hrefs a server lists compare equal to the ones sent.
QString canonicalPath(const QString& path) {
    const QString decoded = QUrl::fromPercentEncoding(path.toUtf8());
    return QString::fromLatin1(QUrl::toPercentEncoding(decoded, QByteArrayLiteral("/@:+!$&'()*,;=")));
}

QString withSlash(QString path) {
    if (!path.endsWith(QLatin1Char('/'))) {
        path += QLatin1Char('/');
    }
    return path;
}

QUrl normalisedServerUrl(const QString& text) {
    QString trimmed = text.trimmed();
    if (!trimmed.contains(QLatin1String("://"))) {
        trimmed.prepend(QLatin1String("https://"));
    }
    QUrl url(trimmed, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty()) {
        throw ServerError(Kind::NotFound, QStringLiteral("\"%1\" is not a server address.").arg(text));
    }
    url.setPath(withSlash(url.path(QUrl::FullyEncoded)), QUrl::TolerantMode);
    return url;
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

#if QT_CONFIG(ssl)
QString fingerprintOf(const QSslCertificate& certificate) {
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex()).toUpper();
}

// "CN=dav.example.com, O=Example, C=US": the names a person checks.
QString distinguishedName(const QSslCertificate& certificate, bool issuer) {
    const std::pair<QSslCertificate::SubjectInfo, const char*> parts[] = {
        {QSslCertificate::CommonName, "CN"},
        {QSslCertificate::Organization, "O"},
        {QSslCertificate::OrganizationalUnitName, "OU"},
        {QSslCertificate::CountryName, "C"}};
    QStringList names;
    for (const auto& [attribute, label] : parts) {
        const QStringList values = issuer ? certificate.issuerInfo(attribute) : certificate.subjectInfo(attribute);
        for (const QString& value : values) {
            names << QLatin1String(label) + QLatin1Char('=') + value;
        }
    }
    return names.join(QStringLiteral(", "));
}

QString certificateDetails(const QSslCertificate& certificate) {
    const QString fingerprint = fingerprintOf(certificate);
    QStringList pairs;
    for (int i = 0; i < fingerprint.size(); i += 2) {
        pairs << fingerprint.mid(i, 2);
    }
    return QStringLiteral("Subject: %1\nIssuer: %2\nValid from %3 to %4\nSHA-256 fingerprint: %5")
        .arg(distinguishedName(certificate, false), distinguishedName(certificate, true),
             certificate.effectiveDate().toUTC().toString(Qt::ISODate),
             certificate.expiryDate().toUTC().toString(Qt::ISODate), pairs.join(QLatin1Char(':')));
}
#endif

bool fingerprintAccepted(const QStringList& accepted, const QString& fingerprint) {
    for (QString f : accepted) {
        f.remove(QLatin1Char(':'));
        f.remove(QLatin1Char(' '));
        if (f.compare(fingerprint, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

QString safeFileName(const QString& uid) {
    QString name;
    for (const QChar c : uid) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') ||
                           c == QLatin1Char('_') || c == QLatin1Char('.');
        name += plain ? c : QLatin1Char('-');
    }
    if (name != uid || name.isEmpty() || name.startsWith(QLatin1Char('.'))) {
        // Two UIDs that differ only in the characters replaced keep apart.
        name += QLatin1Char('-') + QString::fromLatin1(QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1)
                                                           .toHex()
                                                           .left(12));
    }
    return name;
}

}  // namespace

QByteArray CardDavClient::Reply::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return {};
}

CardDavClient::CardDavClient(Account account, QString addressBookUrl)
    : account_(std::move(account)), network_(std::make_unique<QNetworkAccessManager>()) {
    bookUrl_ = addressBookUrl.isEmpty() ? account_.serverUrl : addressBookUrl;
    if (!bookUrl_.isEmpty()) {
        bookUrl_ = normalisedServerUrl(bookUrl_).toString(QUrl::FullyEncoded);
    }
}

CardDavClient::~CardDavClient() = default;

void CardDavClient::setAddressBook(const AddressBookInfo& book) {
    bookUrl_ = normalisedServerUrl(book.url).toString(QUrl::FullyEncoded);
    syncCollection_ = book.supportsSyncCollection;
}

CardDavClient::Reply CardDavClient::sendOnce(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                                             const Headers& headers) {
    ++requestCount_;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Tandor/%1").arg(versionText()));
    request.setRawHeader("Authorization",
                         "Basic " + (account_.user + QLatin1Char(':') + account_.password).toUtf8().toBase64());
    const bool typed = std::any_of(headers.begin(), headers.end(), [](const auto& h) {
        return h.first.compare("Content-Type", Qt::CaseInsensitive) == 0;
    });
    if (!body.isEmpty() && !typed) {
        request.setHeader(QNetworkRequest::ContentTypeHeader, kXml);
    }
    for (const auto& [name, value] : headers) {
        request.setRawHeader(name, value);
    }
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> reply(
        network_->sendCustomRequest(request, verb, body), [](QNetworkReply* r) { r->deleteLater(); });

    bool timedOut = false;
    bool cancelled = false;
    QString refusedCertificate;
    QString refusedFingerprint;
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (cancelled_ && cancelled_()) {
            cancelled = true;
            reply->abort();
        }
    });
#if QT_CONFIG(ssl)
    QObject::connect(reply.get(), &QNetworkReply::sslErrors, &loop, [&](const QList<QSslError>& errors) {
        QSslCertificate certificate = reply->sslConfiguration().peerCertificate();
        for (const QSslError& e : errors) {
            if (!e.certificate().isNull()) {
                certificate = e.certificate();
                break;
            }
        }
        if (certificate.isNull()) {
            return;
        }
        const QString fingerprint = fingerprintOf(certificate);
        if (fingerprintAccepted(account_.acceptedCertificates, fingerprint)) {
            reply->ignoreSslErrors(errors);
        } else {
            refusedCertificate = certificateDetails(certificate);
            refusedFingerprint = fingerprint;
        }
    });
#endif
    if (!reply->isFinished()) {
        timeout.start(timeoutMs_);
        poll.start(50);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }

    const QString host = url.host();
    if (cancelled) {
        throw ServerError(Kind::Cancelled, QStringLiteral("Cancelled."));
    }
    if (timedOut) {
        throw ServerError(Kind::Unreachable, QStringLiteral("The server %1 did not answer within %2 seconds.")
                                                 .arg(host)
                                                 .arg((timeoutMs_ + 999) / 1000));
    }
    if (!refusedCertificate.isEmpty()) {
        throw ServerError(Kind::CertificateRefused,
                          QStringLiteral("The server %1 showed a certificate that this computer does not trust.\n%2")
                              .arg(host, refusedCertificate),
                          0, refusedCertificate, refusedFingerprint);
    }
    Reply answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (answer.status == 0) {
        throw ServerError(Kind::Unreachable,
                          QStringLiteral("The server %1 cannot be reached: %2").arg(host, reply->errorString()));
    }
    answer.reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray();
    answer.body = reply->readAll();
    answer.headers = reply->rawHeaderPairs();
    answer.url = url;
    return answer;
}

CardDavClient::Reply CardDavClient::send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                                         const Headers& headers) {
    QUrl at = url;
    for (int hop = 0;; ++hop) {
        Reply reply = sendOnce(verb, at, body, headers);
        const QByteArray location = reply.header("Location");
        if (!isRedirect(reply.status) || location.isEmpty() || hop == 5) {
            return reply;
        }
        const QUrl next = at.resolved(QUrl::fromEncoded(location));
        if (at.scheme() == QLatin1String("https") && next.scheme() != QLatin1String("https")) {
            return reply;  // no password over plain HTTP after a secure start
        }
        at = next;
    }
}

void CardDavClient::fail(const Reply& reply) const {
    const QString statusText = QStringLiteral("%1 %2").arg(reply.status).arg(QString::fromUtf8(reply.reason)).trimmed();
    const QString where = reply.url.toString(QUrl::RemoveUserInfo);
    switch (reply.status) {
    case 401: {
        bool basic = false;
        bool bearer = false;
        for (const auto& [name, value] : reply.headers) {
            if (name.compare("WWW-Authenticate", Qt::CaseInsensitive) == 0) {
                const QByteArray v = value.toLower();
                basic |= v.contains("basic");
                bearer |= v.contains("bearer");
            }
        }
        if (bearer && !basic) {
            throw ServerError(Kind::OAuthOnly,
                              QStringLiteral("The server %1 signs in only through its own web page (OAuth), as "
                                             "Google's does. Tandor cannot keep contacts in step with such servers "
                                             "for now.")
                                  .arg(reply.url.host()),
                              401);
        }
        throw ServerError(Kind::WrongCredentials,
                          QStringLiteral("Wrong user name or password for %1.").arg(reply.url.host()), 401);
    }
    case 404:
    case 410:
        throw ServerError(Kind::NotFound, QStringLiteral("There is no address book at %1.").arg(where),
                          reply.status);
    case 412:
        throw ServerError(Kind::PreconditionFailed,
                          QStringLiteral("The card at %1 was changed on the server meanwhile.").arg(where), 412);
    default:
        break;
    }
    if (reply.status >= 500) {
        const QString said = serverFailureText(reply.status, reply.reason, reply.header("Content-Type"), reply.body);
        throw ServerError(Kind::ServerFailure, QStringLiteral("The server reported an error: %1").arg(said),
                          reply.status);
    }
    throw ServerError(Kind::Protocol, QStringLiteral("The server refused the request for %1: %2").arg(where, statusText),
                      reply.status);
}

CardDavClient::Reply CardDavClient::propfind(const QUrl& url, int depth, const QByteArray& body) {
    return send("PROPFIND", url, body, {{"Depth", QByteArray::number(depth)}});
}

QUrl CardDavClient::urlOf(const QString& href) const {
    return QUrl(bookUrl_).resolved(QUrl::fromEncoded(href.toUtf8(), QUrl::TolerantMode));
}

QString CardDavClient::pathOf(const QString& href) const {
    return canonicalPath(urlOf(href).path(QUrl::FullyEncoded));
}

std::vector<AddressBookInfo> CardDavClient::discoverAddressBooks() {
    const QUrl start = normalisedServerUrl(account_.serverUrl);
    const QByteArray body = davxml::discoveryPropfind();
    Reply reply;
    if (start.path() == QLatin1String("/")) {
        // RFC 6764: the well-known address leads to the server's CardDAV root.
        reply = propfind(start.resolved(QUrl(QStringLiteral("/.well-known/carddav"))), 0, body);
    }
    if (reply.status != 207) {
        reply = propfind(start, 0, body);
    }
    if (reply.status != 207) {
        fail(reply);
    }
    const auto info = [](const QUrl& url, const davxml::Response& r) {
        AddressBookInfo book;
        book.url = url.toString(QUrl::FullyEncoded);
        book.displayName = r.displayName;
        if (book.displayName.isEmpty()) {
            const QStringList parts = url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
            book.displayName = parts.isEmpty() ? url.host() : parts.last();
        }
        book.supportsSyncCollection = r.offersSyncCollection;
        return book;
    };
    const auto only = [](const davxml::Multistatus& ms) {
        return ms.responses.empty() ? davxml::Response{} : ms.responses.front();
    };
    davxml::Response here = only(davxml::parseMultistatus(reply.body));
    QUrl hereUrl = reply.url;
    if (here.isAddressBook) {
        hereUrl.setPath(withSlash(hereUrl.path(QUrl::FullyEncoded)), QUrl::TolerantMode);
        return {info(hereUrl, here)};
    }
    QStringList homes = here.addressbookHomeSet;
    QUrl homeBase = hereUrl;
    if (homes.isEmpty() && !here.currentUserPrincipal.isEmpty()) {
        // RFC 5397: the signed-in user's principal names the address-book home.
        const QUrl principal = hereUrl.resolved(QUrl::fromEncoded(here.currentUserPrincipal.toUtf8()));
        const Reply principalReply = propfind(principal, 0, body);
        if (principalReply.status != 207) {
            fail(principalReply);
        }
        homes = only(davxml::parseMultistatus(principalReply.body)).addressbookHomeSet;
        homeBase = principalReply.url;
    }
    if (homes.isEmpty()) {
        homes << hereUrl.toString(QUrl::FullyEncoded);  // the URL may be a home itself
    }
    std::vector<AddressBookInfo> books;
    QSet<QString> seen;
    for (const QString& home : homes) {
        const Reply listing = propfind(homeBase.resolved(QUrl::fromEncoded(home.toUtf8())), 1, body);
        if (listing.status != 207) {
            fail(listing);
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
                books.push_back(info(url, r));
            }
        }
    }
    return books;
}

bool CardDavClient::offersSyncCollection() {
    if (!syncCollection_) {
        const Reply reply = propfind(QUrl(bookUrl_), 0, davxml::discoveryPropfind());
        if (reply.status != 207) {
            fail(reply);
        }
        const davxml::Multistatus ms = davxml::parseMultistatus(reply.body);
        if (ms.responses.empty() || !ms.responses.front().isAddressBook) {
            throw ServerError(Kind::NotFound, QStringLiteral("There is no address book at %1.").arg(bookUrl_), 0);
        }
        syncCollection_ = ms.responses.front().offersSyncCollection;
    }
    return *syncCollection_;
}

ServerChanges CardDavClient::fullListing() {
    const Reply reply = propfind(QUrl(bookUrl_), 1, davxml::etagPropfind());
    if (reply.status != 207) {
        fail(reply);
    }
    const QString bookPath = pathOf(bookUrl_);
    ServerChanges changes;
    changes.complete = false;
    for (const davxml::Response& r : davxml::parseMultistatus(reply.body).responses) {
        const QString path = pathOf(r.href);
        if (path == bookPath) {
            changes.newSyncToken = r.syncToken;
        } else if (!r.isCollection && !path.endsWith(QLatin1Char('/')) && !r.etag.isEmpty()) {
            changes.changed.push_back(RemoteCard{path, r.etag, {}});
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
    const Reply reply =
        send("REPORT", QUrl(bookUrl_), davxml::syncCollectionReport(syncToken), {{"Depth", "0"}});
    if (assumed && reply.status != 207 && reply.status != 403 && reply.status != 507 && !offersSyncCollection()) {
        return fullListing();
    }
    syncCollection_ = true;
    if (reply.status == 507 ||
        (reply.status == 403 && (!syncToken.isEmpty() || davxml::errorNames(reply.body, QStringLiteral("valid-sync-token"))))) {
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
        fail(reply);
    }
    const davxml::Multistatus ms = davxml::parseMultistatus(reply.body);
    const QString bookPath = pathOf(bookUrl_);
    ServerChanges changes;
    for (const davxml::Response& r : ms.responses) {
        const QString path = pathOf(r.href);
        if (path == bookPath) {
            if (r.status == 507) {
                return fullListing();
            }
            continue;
        }
        if (path.endsWith(QLatin1Char('/'))) {
            continue;
        }
        if (r.status == 404 || r.propStatus == 404) {
            changes.removedHrefs << path;
        } else if (!r.etag.isEmpty()) {
            changes.changed.push_back(RemoteCard{path, r.etag, {}});
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
            paths << pathOf(href);
        }
        const Reply reply = send("REPORT", QUrl(bookUrl_), davxml::multigetReport(paths), {{"Depth", "1"}});
        if (reply.status != 207) {
            fail(reply);
        }
        for (const davxml::Response& r : davxml::parseMultistatus(reply.body).responses) {
            if (r.propStatus / 100 == 2 && !r.addressData.isEmpty()) {
                cards.push_back(RemoteCard{pathOf(r.href), r.etag, r.addressData});
            }
        }
    }
    return cards;
}

QString CardDavClient::put(const QString& href, const QByteArray& vcard, const QString& ifMatchEtag) {
    Headers headers{{"Content-Type", "text/vcard; charset=utf-8"}};
    if (ifMatchEtag.isEmpty()) {
        headers.emplaceBack("If-None-Match", "*");
    } else {
        headers.emplaceBack("If-Match", ifMatchEtag.toUtf8());
    }
    const QUrl url = urlOf(href);
    const Reply reply = send("PUT", url, vcard, headers);
    if (reply.status / 100 != 2) {
        fail(reply);
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
    Headers headers;
    if (!ifMatchEtag.isEmpty()) {
        headers.emplaceBack("If-Match", ifMatchEtag.toUtf8());
    }
    const Reply reply = send("DELETE", urlOf(href), {}, headers);
    if (reply.status / 100 != 2 && reply.status != 404 && reply.status != 410) {
        fail(reply);
    }
}

QString CardDavClient::hrefForNewCard(const QString& uid) const {
    return withSlash(pathOf(bookUrl_)) + safeFileName(uid) + QStringLiteral(".vcf");
}

std::vector<AddressBookInfo> discoverAddressBooks(const Account& account) {
    CardDavClient client(account);
    return client.discoverAddressBooks();
}

}  // namespace tandor::sync
