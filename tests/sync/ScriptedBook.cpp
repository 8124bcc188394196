#include "ScriptedBook.h"

#include <QRegularExpression>

namespace tandor::test {
namespace {

using Answer = ScriptedHttpServer::Answer;

QByteArray etagOf(const QByteArray& vcard) {
    return "\"" + QByteArray::number(qHash(vcard), 16) + "\"";
}

QByteArray response(const QByteArray& href, const QByteArray& props, int status = 200) {
    if (status != 200) {
        return "<d:response><d:href>" + href +
               "</d:href><d:status>HTTP/1.1 404 Not Found</d:status></d:response>";
    }
    return "<d:response><d:href>" + href + "</d:href><d:propstat><d:prop>" + props +
           "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
}

Answer multistatus(const QByteArray& responses, const QByteArray& token = {}) {
    Answer answer;
    answer.status = 207;
    answer.headers = {{"Content-Type", "application/xml; charset=utf-8"}};
    answer.body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><d:multistatus xmlns:d=\"DAV:\" "
        "xmlns:card=\"urn:ietf:params:xml:ns:carddav\">" +
        responses +
        (token.isEmpty() ? QByteArray() : "<d:sync-token>" + token + "</d:sync-token>") +
        "</d:multistatus>";
    return answer;
}

QByteArray hostileCard(const QString& href) {
    return QStringLiteral(
               "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:pwn-%1\r\nFN:Pwn Card\r\nN:Card;Pwn;;;\r\n"
               "NOTE:from %2\r\nEND:VCARD\r\n")
        .arg(qHash(href))
        .arg(href)
        .toUtf8();
}

}  // namespace

ScriptedBook::ScriptedBook(QStringList hostile, QByteArray user, QByteArray password)
    : hostile_(std::move(hostile)),
      authorization_(password.isEmpty() ? QByteArray()
                                        : "Basic " + (user + ':' + password).toBase64()) {}

void ScriptedBook::store(const QByteArray& path, const QByteArray& vcard) {
    QMutexLocker lock(&mutex_);
    cards_[path] = vcard;
    removed_.removeAll(path);
    ++version_;
}

QList<QByteArray> ScriptedBook::paths() const {
    QMutexLocker lock(&mutex_);
    return cards_.keys();
}

Answer ScriptedBook::answer(const ScriptedHttpServer::Request& request) {
    if (!authorization_.isEmpty() && request.header("Authorization") != authorization_) {
        return Answer{401, {{"WWW-Authenticate", "Basic realm=\"scripted\""}}, "Sign in\n"};
    }
    const QByteArray path = request.target;
    if (request.method == "PROPFIND" ||
        (request.method == "REPORT" && request.body.contains("sync-collection"))) {
        return listing(request);
    }
    if (request.method == "REPORT") {
        return multiget(request);
    }
    QMutexLocker lock(&mutex_);
    if (request.method == "PUT") {
        cards_[path] = request.body;
        removed_.removeAll(path);
        ++version_;
        return Answer{201, {{"ETag", etagOf(request.body)}}, {}};
    }
    if (request.method == "DELETE" && cards_.remove(path) > 0) {
        removed_ << path;
        ++version_;
        return Answer{204, {}, {}};
    }
    return Answer{404, {}, "Not here\n"};
}

Answer ScriptedBook::listing(const ScriptedHttpServer::Request& request) {
    QMutexLocker lock(&mutex_);
    const QByteArray token = "t" + QByteArray::number(version_);
    const bool fromToken = request.body.contains("<d:sync-token>t");
    const bool withCards = request.method == "REPORT" || request.header("Depth") == "1";
    QByteArray responses;
    if (request.method == "PROPFIND") {
        responses +=
            response(kPath,
                     "<d:resourcetype><d:collection/><card:addressbook/></d:resourcetype>"
                     "<d:supported-report-set><d:supported-report><d:report><d:sync-collection/>"
                     "</d:report></d:supported-report></d:supported-report-set><d:sync-token>" +
                         token + "</d:sync-token>");
    }
    if (withCards) {
        for (auto it = cards_.cbegin(); it != cards_.cend(); ++it) {
            responses += response(it.key(), "<d:getetag>" + etagOf(it.value()) + "</d:getetag>");
        }
        for (const QByteArray& gone : removed_) {
            responses += fromToken ? response(gone, {}, 404) : QByteArray();
        }
        for (const QString& href : hostile_) {
            // Listed as new at first, as removed after.
            responses +=
                response(href.toUtf8(), "<d:getetag>\"h\"</d:getetag>", fromToken ? 404 : 200);
        }
    }
    return multistatus(responses, request.method == "REPORT" ? token : QByteArray());
}

Answer ScriptedBook::multiget(const ScriptedHttpServer::Request& request) {
    static const QRegularExpression href(QStringLiteral("<[^>]*href>([^<]*)</"));
    QMutexLocker lock(&mutex_);
    QByteArray responses;
    for (const QRegularExpressionMatch& m : href.globalMatch(QString::fromUtf8(request.body))) {
        const QByteArray path = m.captured(1).toUtf8();
        if (cards_.contains(path)) {
            responses += response(path, "<d:getetag>" + etagOf(cards_[path]) +
                                            "</d:getetag><card:address-data>" + cards_[path] +
                                            "</card:address-data>");
        }
    }
    for (const QString& h : hostile_) {
        responses += response(h.toUtf8(), "<d:getetag>\"h\"</d:getetag><card:address-data>" +
                                              hostileCard(h) + "</card:address-data>");
    }
    return multistatus(responses);
}

}  // namespace tandor::test
