#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QSemaphore>
#include <QString>
#include <QThread>
#include <functional>
#include <utility>

namespace tandor::test {

// A loopback HTTP/1.1 server on a thread of its own (so that it answers while
// the test waits on a client or on tandor-batch), one request per
// connection, answering what a handler says and noting every request. An
// answer may come in pieces spread over time, or never.
class ScriptedHttpServer : public QThread {
public:
    using Headers = QList<std::pair<QByteArray, QByteArray>>;
    struct Request {
        QByteArray method;
        QByteArray target;  // as sent: "/ann/book/x.vcf"
        Headers headers;
        QByteArray body;
        QByteArray header(const QByteArray& name) const;
    };
    struct Answer {
        int status = 200;
        Headers headers;
        QByteArray body;
        int pieces = 1;       // the body in this many pieces...
        int pieceGapMs = 0;   // ...one every so many milliseconds (the head at once)
        bool silent = false;  // reads the request and never answers
    };
    // Called on the server's thread.
    using Handler = std::function<Answer(const Request&)>;

    explicit ScriptedHttpServer(Handler handler);
    ~ScriptedHttpServer() override;

    // "http://127.0.0.1:PORT" + path.
    QString url(const QString& path) const;
    QList<Request> requests() const;

protected:
    void run() override;

private:
    Handler handler_;
    quint16 port_ = 0;
    QSemaphore listening_;
    mutable QMutex mutex_;
    QList<Request> requests_;
};

}  // namespace tandor::test
