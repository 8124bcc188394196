#pragma once

#include <QMap>
#include <functional>

#include "sync/AddressBookServer.h"

namespace tandor::sync {

// An address book held in memory, answering as a CardDAV collection with
// sync-collection does: ETags change with every write, If-Match and
// If-None-Match: * are enforced (412), and the token is the number of the
// last change; `outside` are hrefs listed outside the book (refused, as the
// client refuses them), `touched` the hrefs fetched, written or deleted. With
// `forgetsNewRemovals` a card made and deleted after a token is not listed as
// removed since that token (as some servers do).
// `failAt` makes request number N (from 1) fail as a lost connection; with
// `afterWrite` a write reaches the collection first (the answer is lost), as
// when the program is killed while the server answers.
class MemoryAddressBook : public AddressBookServer {
public:
    struct Card {
        QString etag;
        QByteArray vcard;
        int changedAt = 0;
    };
    QMap<QString, Card> cards;
    QMap<QString, int> removedAt;
    QMap<QString, int> createdAt;
    QStringList outside;
    QStringList touched;
    bool forgetsNewRemovals = false;
    int changes = 0;
    int requests = 0;
    int failAt = 0;
    bool afterWrite = false;
    bool cancelled = false;

    // A change made on the server by someone else.
    void store(const QString& href, const QByteArray& vcard) {
        if (!cards.contains(href)) {
            createdAt[href] = changes + 1;
        }
        cards[href] = {QStringLiteral("\"e%1\"").arg(++changes), vcard, changes};
        removedAt.remove(href);
    }
    void erase(const QString& href) {
        cards.remove(href);
        removedAt[href] = ++changes;
    }

    ServerChanges changesSince(const QString& token) override {
        request(false);
        ServerChanges answer;
        const int since = token.toInt();
        for (auto it = cards.begin(); it != cards.end(); ++it) {
            if (it->changedAt > since) {
                answer.changed.push_back({it.key(), it->etag, {}});
            }
        }
        for (auto it = removedAt.begin(); it != removedAt.end(); ++it) {
            if (!token.isEmpty() && it.value() > since && !(forgetsNewRemovals && createdAt[it.key()] > since)) {
                answer.removedHrefs.append(it.key());
            }
        }
        answer.newSyncToken = QString::number(changes);
        answer.complete = !token.isEmpty();  // without a token: every card
        answer.refusedHrefs = outside;
        return answer;
    }
    std::vector<RemoteCard> fetch(const QStringList& hrefs) override {
        request(false);
        touched += hrefs;
        std::vector<RemoteCard> found;
        for (const QString& href : hrefs) {
            if (cards.contains(href)) {
                found.push_back({href, cards[href].etag, cards[href].vcard});
            }
        }
        return found;
    }
    QString put(const QString& href, const QByteArray& vcard, const QString& ifMatch) override {
        touched.append(href);
        const bool exists = cards.contains(href);
        if ((ifMatch.isEmpty() && exists) || (!ifMatch.isEmpty() && (!exists || cards[href].etag != ifMatch))) {
            request(false);
            throw ServerError(ServerError::Kind::PreconditionFailed, QStringLiteral("412"), 412);
        }
        request(true, [&] { store(href, vcard); });
        return cards[href].etag;
    }
    void remove(const QString& href, const QString& ifMatch) override {
        touched.append(href);
        if (cards.contains(href) && !ifMatch.isEmpty() && cards[href].etag != ifMatch) {
            request(false);
            throw ServerError(ServerError::Kind::PreconditionFailed, QStringLiteral("412"), 412);
        }
        request(true, [&] {
            if (cards.contains(href)) {
                erase(href);
            }
        });
    }
    QString hrefForNewCard(const QString& uid) const override {
        return QStringLiteral("/ann/contacts/") + uid + QStringLiteral(".vcf");
    }
    // Every later request fails as cancelled.
    void cancel() override { cancelled = true; }

private:
    void request(bool write, const std::function<void()>& apply = {}) {
        if (cancelled) {
            throw ServerError(ServerError::Kind::Cancelled, QStringLiteral("Cancelled."));
        }
        const bool fails = ++requests == failAt;
        if (fails && write && afterWrite) {
            apply();
        }
        if (fails) {
            throw ServerError(ServerError::Kind::Unreachable, QStringLiteral("connection lost"));
        }
        if (apply) {
            apply();
        }
    }
};

}  // namespace tandor::sync
