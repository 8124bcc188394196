#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

class QNetworkAccessManager;

namespace tandor::test {

// "A phone" beside the program: plain HTTP requests on an address book,
// without the program's CardDAV client, to change the server behind its back
// and to look at what the server holds.
class PlainDavClient {
public:
    PlainDavClient(QString user, QString password);
    ~PlainDavClient();

    struct Answer {
        int status = 0;  // 0: no answer
        QByteArray body;
        QString etag;
    };
    // Writes the card at the URL, whatever is there.
    Answer put(const QUrl& url, const QByteArray& vcard);
    Answer get(const QUrl& url);
    Answer remove(const QUrl& url);
    // The hrefs (paths) of the cards in a collection, the collection itself left out.
    QStringList list(const QUrl& collection);
    // Makes a new, empty address book at the URL (extended MKCOL, RFC 5689).
    Answer makeAddressBook(const QUrl& url, const QString& displayName);

private:
    Answer request(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                   const QList<std::pair<QByteArray, QByteArray>>& headers);

    QString user_;
    QString password_;
    QNetworkAccessManager* network_;
};

}  // namespace tandor::test
