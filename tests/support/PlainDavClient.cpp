#include "support/PlainDavClient.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QXmlStreamReader>

namespace tandor::test {

PlainDavClient::PlainDavClient(QString user, QString password)
    : user_(std::move(user)), password_(std::move(password)), network_(new QNetworkAccessManager) {}

PlainDavClient::~PlainDavClient() { delete network_; }

PlainDavClient::Answer PlainDavClient::request(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                                               const QList<std::pair<QByteArray, QByteArray>>& headers) {
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", "Basic " + (user_ + QLatin1Char(':') + password_).toUtf8().toBase64());
    for (const auto& [name, value] : headers) {
        request.setRawHeader(name, value);
    }
    QNetworkReply* reply = network_->sendCustomRequest(request, verb, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, [reply] { reply->abort(); });
    if (!reply->isFinished()) {
        loop.exec();
    }
    Answer answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.body = reply->readAll();
    answer.etag = QString::fromUtf8(reply->rawHeader("ETag"));
    reply->deleteLater();
    return answer;
}

PlainDavClient::Answer PlainDavClient::put(const QUrl& url, const QByteArray& vcard) {
    return request("PUT", url, vcard, {{"Content-Type", "text/vcard; charset=utf-8"}});
}

PlainDavClient::Answer PlainDavClient::get(const QUrl& url) { return request("GET", url, {}, {}); }

PlainDavClient::Answer PlainDavClient::remove(const QUrl& url) { return request("DELETE", url, {}, {}); }

PlainDavClient::Answer PlainDavClient::makeAddressBook(const QUrl& url, const QString& displayName) {
    const QByteArray body =
        "<?xml version=\"1.0\"?><d:mkcol xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\">"
        "<d:set><d:prop><d:resourcetype><d:collection/><c:addressbook/></d:resourcetype><d:displayname>" +
        displayName.toHtmlEscaped().toUtf8() + "</d:displayname></d:prop></d:set></d:mkcol>";
    return request("MKCOL", url, body, {{"Content-Type", "application/xml"}});
}

QStringList PlainDavClient::list(const QUrl& collection) {
    const Answer answer = request("PROPFIND", collection,
                                  "<?xml version=\"1.0\"?><propfind xmlns=\"DAV:\"><prop><getetag/></prop></propfind>",
                                  {{"Depth", "1"}, {"Content-Type", "application/xml"}});
    QStringList hrefs;
    QXmlStreamReader xml(answer.body);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.namespaceUri() == QLatin1String("DAV:") && xml.name() == QLatin1String("href")) {
            const QString path = collection.resolved(QUrl(xml.readElementText().trimmed())).path();
            if (path != collection.path() && !path.endsWith(QLatin1Char('/'))) {
                hrefs << path;
            }
        }
    }
    return hrefs;
}

}  // namespace tandor::test
