#include "sync/DavTransport.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <algorithm>
#if QT_CONFIG(ssl)
#include <QSslCertificate>
#include <QSslError>
#endif

#include "platform/Version.h"
#include "sync/ServerMessage.h"

namespace tandor::sync {
namespace {

using Kind = ServerError::Kind;

const QByteArray kXml = QByteArrayLiteral("application/xml; charset=utf-8");

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// "https://dav.example.com:443": who is signed in to.
QString originOf(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return QStringLiteral("%1://%2:%3")
        .arg(scheme, url.host().toLower())
        .arg(url.port(scheme == QLatin1String("https") ? 443 : 80));
}

// Which sign-ins a 401 answer asks for.
struct Challenge {
    bool basic = false;
    bool bearer = false;
};
Challenge challengeOf(const DavTransport::Reply& reply) {
    Challenge challenge;
    for (const auto& [name, value] : reply.headers) {
        if (name.compare("WWW-Authenticate", Qt::CaseInsensitive) == 0) {
            const QByteArray v = value.toLower();
            challenge.basic |= v.contains("basic");
            challenge.bearer |= v.contains("bearer");
        }
    }
    return challenge;
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
        const QStringList values =
            issuer ? certificate.issuerInfo(attribute) : certificate.subjectInfo(attribute);
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

// A certificate the system does not trust: let through when the user accepted
// its fingerprint, else noted in `details`/`fingerprint` (the request fails).
void checkCertificates(QNetworkReply* reply, QEventLoop& loop, const QStringList& accepted,
                       QString& details, QString& refusedFingerprint) {
#if QT_CONFIG(ssl)
    QObject::connect(reply, &QNetworkReply::sslErrors, &loop,
                     [&, reply](const QList<QSslError>& errors) {
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
                         if (fingerprintAccepted(accepted, fingerprint)) {
                             reply->ignoreSslErrors(errors);
                         } else {
                             details = certificateDetails(certificate);
                             refusedFingerprint = fingerprint;
                         }
                     });
#else
    (void)reply, (void)loop, (void)accepted, (void)details, (void)refusedFingerprint;
#endif
}

}  // namespace

QUrl normalisedServerUrl(const QString& text) {
    QString trimmed = text.trimmed();
    if (!trimmed.contains(QLatin1String("://"))) {
        trimmed.prepend(QLatin1String("https://"));
    }
    QUrl url(trimmed, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty()) {
        throw ServerError(Kind::NotFound,
                          QStringLiteral("\"%1\" is not a server address.").arg(text));
    }
    QString path = url.path(QUrl::FullyEncoded);
    if (!path.endsWith(QLatin1Char('/'))) {
        path += QLatin1Char('/');
    }
    url.setPath(path, QUrl::TolerantMode);
    return url;
}

QByteArray DavTransport::Reply::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return {};
}

DavTransport::DavTransport(Account account)
    : account_(std::move(account)), network_(std::make_unique<QNetworkAccessManager>()) {}

DavTransport::~DavTransport() = default;

void DavTransport::cancel() {
    cancelled_ = true;
    if (active_) {
        active_->abort();
    }
}

bool DavTransport::signsInAtOnce(const QUrl& url) const {
    if (account_.password.isEmpty()) {
        return false;  // no password: the server is asked without one
    }
    if (askedToSignIn_.contains(originOf(url))) {
        return true;
    }
    // Over https the password cannot be read on the way, and sending it at
    // once saves a round trip; only to the account's own server, though.
    try {
        return url.scheme() == QLatin1String("https") &&
               originOf(url) == originOf(normalisedServerUrl(account_.serverUrl));
    } catch (const ServerError&) {
        return false;
    }
}

DavTransport::Reply DavTransport::send(const QByteArray& verb, const QUrl& url,
                                       const QByteArray& body, const Headers& headers,
                                       const std::function<bool(const QUrl&)>& mayFollow) {
    QUrl at = url;
    for (int hop = 0;; ++hop) {
        Reply reply = sendSigned(verb, at, body, headers);
        const QByteArray location = reply.header("Location");
        if (!isRedirect(reply.status) || location.isEmpty() || hop == 5) {
            return reply;
        }
        const QUrl next = at.resolved(QUrl::fromEncoded(location));
        if (at.scheme() == QLatin1String("https") && next.scheme() != QLatin1String("https")) {
            return reply;  // no password over plain HTTP after a secure start
        }
        if (mayFollow && !mayFollow(next)) {
            return reply;
        }
        at = next;
    }
}

bool DavTransport::mayAskFor(const QUrl& url) const {
    QString own;
    try {
        own = normalisedServerUrl(account_.serverUrl).host().toLower();
    } catch (const ServerError&) {
        return false;
    }
    const QString host = url.host().toLower();
    if (host == own) {
        return true;
    }
    // A server that hands its users on to another host of its own domain
    // ("contacts.example.com" to "p07-contacts.example.com") is asked the
    // password there too; no other host ever gets it.
    const qsizetype dot = own.indexOf(QLatin1Char('.'));
    const QString domain = dot < 0 ? QString() : own.mid(dot);  // ".example.com"
    return QHostAddress(own).isNull() && domain.count(QLatin1Char('.')) >= 2 &&
           host.endsWith(domain);
}

DavTransport::Reply DavTransport::sendSigned(const QByteArray& verb, const QUrl& url,
                                             const QByteArray& body, const Headers& headers) {
    const bool signIn = signsInAtOnce(url);
    Reply reply = sendOnce(verb, url, body, headers, signIn);
    if (reply.status == 401 && !signIn && !account_.password.isEmpty() &&
        challengeOf(reply).basic && mayAskFor(url)) {
        // The server asked: from now on it gets the password at once.
        askedToSignIn_.insert(originOf(url));
        reply = sendOnce(verb, url, body, headers, true);
    }
    return reply;
}

DavTransport::Reply DavTransport::sendOnce(const QByteArray& verb, const QUrl& url,
                                           const QByteArray& body, const Headers& headers,
                                           bool signIn) {
    if (cancelled_) {
        throw ServerError(Kind::Cancelled, QStringLiteral("Cancelled."));
    }
    ++requestCount_;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Tandor/%1").arg(versionText()));
    if (signIn) {
        request.setRawHeader(
            "Authorization",
            "Basic " + (account_.user + QLatin1Char(':') + account_.password).toUtf8().toBase64());
    }
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
        network_->sendCustomRequest(request, verb, body),
        [](QNetworkReply* r) { r->deleteLater(); });
    wait(reply.get(), url);
    Reply answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (answer.status == 0) {
        throw ServerError(Kind::Unreachable, QStringLiteral("The server %1 cannot be reached: %2")
                                                 .arg(url.host(), reply->errorString()));
    }
    answer.reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray();
    answer.body = reply->readAll();
    answer.headers = reply->rawHeaderPairs();
    answer.url = url;
    return answer;
}

void DavTransport::wait(QNetworkReply* reply, const QUrl& url) {
    bool silent = false;
    qint64 received = 0;
    QString refusedCertificate;
    QString refusedFingerprint;
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The limit is on silence: every sign of life from the server starts it again.
    QTimer silence;
    silence.setSingleShot(true);
    QObject::connect(&silence, &QTimer::timeout, &loop, [&] {
        silent = true;
        reply->abort();
    });
    const auto alive = [&silence, this] { silence.start(silenceMs_); };
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, alive);
    QObject::connect(reply, &QNetworkReply::uploadProgress, &loop, alive);
    QObject::connect(reply, &QNetworkReply::downloadProgress, &loop,
                     [&, alive](qint64 bytes, qint64) {
                         alive();
                         received = bytes;
                         if (waiting_) {
                             waiting_(received);
                         }
                     });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (waiting_) {
            waiting_(received);
        }
    });
    checkCertificates(reply, loop, account_.acceptedCertificates, refusedCertificate,
                      refusedFingerprint);
    active_ = reply;
    if (!reply->isFinished() && !cancelled_) {
        silence.start(silenceMs_);
        poll.start(50);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    active_ = nullptr;
    const QString host = url.host();
    if (cancelled_) {
        reply->abort();
        throw ServerError(Kind::Cancelled, QStringLiteral("Cancelled."));
    }
    if (silent) {
        throw ServerError(Kind::Unreachable,
                          QStringLiteral("The server %1 did not answer within %2 seconds.")
                              .arg(host)
                              .arg((silenceMs_ + 999) / 1000));
    }
    if (!refusedCertificate.isEmpty()) {
        throw ServerError(
            Kind::CertificateRefused,
            QStringLiteral(
                "The server %1 showed a certificate that this computer does not trust.\n%2")
                .arg(host, refusedCertificate),
            0, refusedCertificate, refusedFingerprint);
    }
}

void DavTransport::fail(const Reply& reply) const {
    const QString statusText =
        QStringLiteral("%1 %2").arg(reply.status).arg(QString::fromUtf8(reply.reason)).trimmed();
    const QString where = reply.url.toString(QUrl::RemoveUserInfo);
    switch (reply.status) {
        case 401: {
            const Challenge challenge = challengeOf(reply);
            if (challenge.bearer && !challenge.basic) {
                throw ServerError(
                    Kind::OAuthOnly,
                    QStringLiteral(
                        "The server %1 signs in only through its own web page (OAuth), as "
                        "Google's does. Tandor cannot keep contacts in step with such servers "
                        "for now.")
                        .arg(reply.url.host()),
                    401);
            }
            if (account_.password.isEmpty()) {
                throw ServerError(
                    Kind::WrongCredentials,
                    QStringLiteral("The server %1 asks for a password.").arg(reply.url.host()),
                    401);
            }
            if (!mayAskFor(reply.url)) {
                throw ServerError(Kind::WrongCredentials,
                                  QStringLiteral("The server %1 asks for the password of %2: a password "
                                                 "is not sent to another server. Type %1 as the server.")
                                      .arg(reply.url.host(), normalisedServerUrl(account_.serverUrl).host()),
                                  401);
            }
            throw ServerError(
                Kind::WrongCredentials,
                QStringLiteral("Wrong user name or password for %1.").arg(reply.url.host()), 401);
        }
        case 404:
        case 410:
            throw ServerError(Kind::NotFound,
                              QStringLiteral("There is no address book at %1.").arg(where),
                              reply.status);
        case 412:
            throw ServerError(
                Kind::PreconditionFailed,
                QStringLiteral("The card at %1 was changed on the server meanwhile.").arg(where),
                412);
        default:
            break;
    }
    if (reply.status >= 500) {
        const QString said =
            serverFailureText(reply.status, reply.reason, reply.header("Content-Type"), reply.body);
        throw ServerError(Kind::ServerFailure,
                          QStringLiteral("The server reported an error: %1").arg(said),
                          reply.status);
    }
    throw ServerError(
        Kind::Protocol,
        QStringLiteral("The server refused the request for %1: %2").arg(where, statusText),
        reply.status);
}

}  // namespace tandor::sync
