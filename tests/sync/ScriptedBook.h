#pragma once

#include <QByteArray>
#include <QMap>
#include <QMutex>
#include <QStringList>

#include "ScriptedHttpServer.h"

namespace tandor::test {

// An address book at /ann/book/ for ScriptedHttpServer, answering as a
// CardDAV collection with sync-collection does, and lying as a hostile server
// might: it lists `hostile` hrefs beside its cards (added in a first listing,
// removed in a later one) and slips their cards into every multiget answer.
// With a password set it asks for Basic sign-in (401) until it gets it.
class ScriptedBook {
public:
    static constexpr const char* kPath = "/ann/book/";

    explicit ScriptedBook(QStringList hostile = {}, QByteArray user = {}, QByteArray password = {});

    ScriptedHttpServer::Answer answer(const ScriptedHttpServer::Request& request);
    ScriptedHttpServer::Handler handler() {
        return [this](const ScriptedHttpServer::Request& r) { return answer(r); };
    }
    void store(const QByteArray& path, const QByteArray& vcard);
    QList<QByteArray> paths() const;

private:
    ScriptedHttpServer::Answer listing(const ScriptedHttpServer::Request& request);
    ScriptedHttpServer::Answer multiget(const ScriptedHttpServer::Request& request);

    const QStringList hostile_;
    const QByteArray authorization_;  // empty: asks for none
    mutable QMutex mutex_;
    QMap<QByteArray, QByteArray> cards_;  // path -> card
    QList<QByteArray> removed_;
    int version_ = 0;
};

}  // namespace tandor::test
