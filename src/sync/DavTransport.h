#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <utility>

#include "sync/AddressBookServer.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace tandor::sync {

// HTTP(S) requests to a WebDAV server, one at a time, each blocking on a
// local event loop. It signs in with Basic only where that is safe: at once
// over https to the account's own server, otherwise only after the server
// asked (a 401 naming Basic), and from then on for that server; and only to
// the account's own host or another host of its domain, never to a host a
// redirect names elsewhere. A request
// fails after a silence limit without a byte either way, cancel() stops it,
// and certificates the system does not trust are refused unless the user
// accepted their fingerprint.
class DavTransport {
public:
    using Headers = QList<std::pair<QByteArray, QByteArray>>;
    struct Reply {
        int status = 0;
        QByteArray reason;
        QByteArray body;
        Headers headers;
        QUrl url;  // where the answer came from, after redirects
        QByteArray header(const QByteArray& name) const;
    };

    explicit DavTransport(Account account);
    ~DavTransport();

    const Account& account() const { return account_; }
    void setSilenceLimitMs(int milliseconds) { silenceMs_ = milliseconds; }
    int silenceLimitMs() const { return silenceMs_; }
    void setWaiting(AddressBookServer::Waiting waiting) { waiting_ = std::move(waiting); }
    // Stops the request under way and refuses every later one (Cancelled).
    void cancel();
    // How many HTTP requests were sent (redirects and sign-in repeats included).
    int requestCount() const { return requestCount_; }

    // Sends a request, following redirects (at most 5; never from https to
    // http; only to a target `mayFollow` accepts, when given). Throws
    // ServerError for an unreachable or silent server, a refused certificate
    // or a cancel; HTTP errors are left to the caller (fail()).
    Reply send(const QByteArray& verb, const QUrl& url, const QByteArray& body = {},
               const Headers& headers = {}, const std::function<bool(const QUrl&)>& mayFollow = {});
    // Throws the ServerError for an HTTP error answer.
    [[noreturn]] void fail(const Reply& reply) const;

private:
    Reply sendSigned(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                     const Headers& headers);
    Reply sendOnce(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                   const Headers& headers, bool signIn);
    // Runs the event loop until `reply` finished, went silent too long or was
    // cancelled; throws for the last two and for a refused certificate.
    void wait(QNetworkReply* reply, const QUrl& url);
    bool signsInAtOnce(const QUrl& url) const;
    // Whether a host that asks for the password may have it.
    bool mayAskFor(const QUrl& url) const;

    Account account_;
    std::unique_ptr<QNetworkAccessManager> network_;
    int silenceMs_ = kSilenceLimitSeconds * 1000;
    int requestCount_ = 0;
    bool cancelled_ = false;
    QNetworkReply* active_ = nullptr;
    AddressBookServer::Waiting waiting_;
    QSet<QString> askedToSignIn_;  // scheme://host:port of the servers that answered 401 Basic
};

// The server address as the user typed it, as a URL ending in "/" ("https://"
// when no scheme is given). Throws ServerError (NotFound) for no address.
QUrl normalisedServerUrl(const QString& text);

}  // namespace tandor::sync
