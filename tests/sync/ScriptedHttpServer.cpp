#include "ScriptedHttpServer.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <memory>
#include <optional>

namespace tandor::test {
namespace {

// The request in `buffer` once it came in whole.
std::optional<ScriptedHttpServer::Request> parse(const QByteArray& buffer) {
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        return std::nullopt;
    }
    ScriptedHttpServer::Request request;
    QList<QByteArray> lines = buffer.left(end).split('\n');
    const QList<QByteArray> first = lines.takeFirst().trimmed().split(' ');
    request.method = first.value(0);
    request.target = first.value(1);
    qsizetype length = 0;
    for (const QByteArray& line : lines) {
        const qsizetype colon = line.indexOf(':');
        const QByteArray name = line.left(colon).trimmed();
        const QByteArray value = line.mid(colon + 1).trimmed();
        request.headers.append({name, value});
        if (name.compare("Content-Length", Qt::CaseInsensitive) == 0) {
            length = value.toLongLong();
        }
    }
    if (buffer.size() < end + 4 + length) {
        return std::nullopt;
    }
    request.body = buffer.mid(end + 4, length);
    return request;
}

QByteArray head(const ScriptedHttpServer::Answer& answer) {
    QByteArray text = "HTTP/1.1 " + QByteArray::number(answer.status) + " Scripted\r\n";
    for (const auto& [name, value] : answer.headers) {
        text += name + ": " + value + "\r\n";
    }
    return text + "Content-Length: " + QByteArray::number(answer.body.size()) +
           "\r\nConnection: close\r\n\r\n";
}

// Writes the answer's body in its pieces, then closes.
void writeBody(QTcpSocket* socket, const ScriptedHttpServer::Answer& answer) {
    const int pieces = std::max(1, answer.pieces);
    const qsizetype size = (answer.body.size() + pieces - 1) / pieces;
    auto next = std::make_shared<int>(0);
    auto* timer = new QTimer(socket);
    QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, answer, size, pieces, next] {
        socket->write(answer.body.mid(*next * size, size));
        if (++*next >= pieces) {
            timer->stop();
            socket->disconnectFromHost();
        }
    });
    timer->start(answer.pieceGapMs);
}

}  // namespace

QByteArray ScriptedHttpServer::Request::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return {};
}

ScriptedHttpServer::ScriptedHttpServer(Handler handler) : handler_(std::move(handler)) {
    start();
    listening_.acquire();  // run() has its port
}

ScriptedHttpServer::~ScriptedHttpServer() {
    quit();
    wait();
}

QString ScriptedHttpServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
}

QList<ScriptedHttpServer::Request> ScriptedHttpServer::requests() const {
    QMutexLocker lock(&mutex_);
    return requests_;
}

void ScriptedHttpServer::run() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this, &server] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            auto buffer = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
                buffer->append(socket->readAll());
                const std::optional<Request> request = parse(*buffer);
                if (!request) {
                    return;
                }
                QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
                {
                    QMutexLocker lock(&mutex_);
                    requests_.append(*request);
                }
                const Answer answer = handler_(*request);
                if (answer.silent) {
                    return;
                }
                socket->write(head(answer));
                writeBody(socket, answer);
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    port_ = server.serverPort();
    listening_.release();
    exec();
}

}  // namespace tandor::test
