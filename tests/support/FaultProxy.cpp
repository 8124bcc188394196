#include "support/FaultProxy.h"

#include <QTcpSocket>
#include <QUrl>
#include <algorithm>

namespace tandor::test {
namespace {

// The length of a whole request in `buffer` (head and body), or -1 while incomplete.
qsizetype requestLength(const QByteArray& buffer) {
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        return -1;
    }
    qsizetype length = 0;
    for (const QByteArray& line : buffer.left(end).split('\n')) {
        if (line.toLower().startsWith("content-length:")) {
            length = line.mid(15).trimmed().toLongLong();
        }
    }
    return buffer.size() >= end + 4 + length ? end + 4 + length : -1;
}

// The head with every Connection header replaced by "Connection: close".
QByteArray closing(const QByteArray& message) {
    const qsizetype end = message.indexOf("\r\n\r\n");
    QList<QByteArray> lines = message.left(end).split('\n');
    lines.removeIf([](const QByteArray& l) { return l.toLower().startsWith("connection:"); });
    lines << "Connection: close\r";
    return lines.join('\n') + "\r\n\r\n" + message.mid(end + 4);
}

QByteArray plainAnswer(const QByteArray& status, const QByteArray& type, const QByteArray& body) {
    return "HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace

FaultProxy::FaultProxy(const QString& target) {
    const QUrl url(target);
    targetHost_ = url.host();
    targetPort_ = static_cast<quint16>(url.port(80));
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* client = server_.nextPendingConnection()) {
            client->setParent(this);
            auto* buffer = new QByteArray;
            connect(client, &QObject::destroyed, [buffer] { delete buffer; });
            connect(client, &QTcpSocket::readyRead, this, [this, client, buffer] {
                buffer->append(client->readAll());
                const qsizetype length = requestLength(*buffer);
                if (length >= 0) {
                    disconnect(client, &QTcpSocket::readyRead, this, nullptr);
                    answer(client, buffer->left(length));
                }
            });
            connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
        }
    });
}

QString FaultProxy::url(const QString& targetUrl) const {
    QUrl url(targetUrl);
    url.setPort(server_.serverPort());
    return url.toString();
}

void FaultProxy::answer(QTcpSocket* client, const QByteArray& request) {
    const bool syncReport = request.startsWith("REPORT ") && request.contains("sync-collection");
    const Fault fault = relayFirst_ > 0 ? Fault::None : fault_;
    relayFirst_ = std::max(0, relayFirst_ - 1);
    if (fault == Fault::Stall) {
        ++faultsInjected_;
        return;  // the client waits until its time runs out
    }
    if (fault == Fault::Error500) {
        ++faultsInjected_;
        client->write(plainAnswer("500 Internal Server Error", "text/plain", "The disk is full\n"));
        client->disconnectFromHost();
        return;
    }
    if (fault == Fault::BearerOnly) {
        ++faultsInjected_;
        client->write("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Bearer realm=\"tandor.test\"\r\n"
                      "Content-Length: 0\r\nConnection: close\r\n\r\n");
        client->disconnectFromHost();
        return;
    }
    if (fault == Fault::RefuseToken && syncReport) {
        ++faultsInjected_;
        client->write(plainAnswer("403 Forbidden", "application/xml; charset=utf-8",
                                  "<?xml version=\"1.0\"?><error xmlns=\"DAV:\"><valid-sync-token/></error>"));
        client->disconnectFromHost();
        return;
    }
    if (fault == Fault::Truncate507 && syncReport) {
        ++faultsInjected_;
        const QByteArray path = request.split(' ').value(1);
        client->write(plainAnswer(
            "207 Multi-Status", "application/xml; charset=utf-8",
            "<?xml version=\"1.0\" encoding=\"utf-8\"?><D:multistatus xmlns:D=\"DAV:\"><D:response><D:href>" + path +
                "</D:href><D:status>HTTP/1.1 507 Insufficient Storage</D:status></D:response>"
                "<D:sync-token>http://tandor.test/truncated</D:sync-token></D:multistatus>"));
        client->disconnectFromHost();
        return;
    }
    auto* upstream = new QTcpSocket(client);
    auto* answerBytes = new QByteArray;
    connect(upstream, &QObject::destroyed, [answerBytes] { delete answerBytes; });
    connect(upstream, &QTcpSocket::connected, upstream, [upstream, request] { upstream->write(closing(request)); });
    connect(upstream, &QTcpSocket::readyRead, upstream, [upstream, answerBytes] { answerBytes->append(upstream->readAll()); });
    connect(upstream, &QTcpSocket::disconnected, client, [client, upstream, answerBytes] {
        answerBytes->append(upstream->readAll());
        client->write(answerBytes->contains("\r\n\r\n") ? closing(*answerBytes) : *answerBytes);
        client->disconnectFromHost();
    });
    connect(upstream, &QTcpSocket::errorOccurred, client, [client, upstream](QAbstractSocket::SocketError error) {
        if (error != QAbstractSocket::RemoteHostClosedError) {
            client->write(plainAnswer("502 Bad Gateway", "text/plain", upstream->errorString().toUtf8()));
            client->disconnectFromHost();
        }
    });
    upstream->connectToHost(targetHost_, targetPort_);
}

}  // namespace tandor::test
