#include "sync/Synchronizer.h"

#include <QUuid>

#include "store/ContactsDocument.h"
#include "sync/CardMerge.h"
#include "sync/ConflictChoice.h"

// The steps of a sync that write to the server (3 and 4, Synchronizer.h), and
// the merge of one contact with its card, which steps 1 and 4 share.
namespace tandor::sync {

// 3. Contacts deleted here.
void Synchronizer::pushDeletions() {
    const std::vector<SyncLink> deletions = state_->deletions();
    int deleted = 0;
    for (const SyncLink& deletion : deletions) {
        step(QStringLiteral("Deleting contacts on the server"));
        pushDeletion(deletion);
        if (++deleted % batch_ == 0) {
            saveDeferred();
        }
    }
    saveDeferred();
}

// 4. Contacts changed here.
void Synchronizer::pushChanges() {
    std::vector<QString> changed;
    for (const SyncLink& link : state_->links()) {
        if (link.etag.isEmpty() || link.fingerprint != recordFingerprint(document_.file().read(link.record))) {
            changed.push_back(link.uid);
        }
    }
    int sent = 0;
    for (const QString& uid : changed) {
        step(QStringLiteral("Sending changes to the server"));
        // A contact merged with the server's card in step 1 was written there already.
        if (state_->linkOfUid(uid) && !merged_.contains(uid)) {
            syncContact(uid, std::nullopt, true);
        }
        if (++sent % batch_ == 0) {
            saveDeferred();
        }
    }
    saveDeferred();
}

// 4. Contacts added here.
void Synchronizer::pushNewContacts() {
    // Each new record gets its UID and href, all kept in one save before the
    // first card is sent: a sync stopped after a PUT finds the card there
    // (412) and does not send it twice.
    QList<int> fresh;
    for (int n = 1, count = document_.file().recordCount(); n <= count; ++n) {
        if (!state_->linkOfRecord(n) && !dryLinked_.contains(n)) {
            fresh.append(n);
            if (!dryRun_ && linkNew(n)) {
                unsaved_ = true;
            }
        }
    }
    saveDeferred();
    int sent = 0;
    for (const int n : fresh) {
        step(QStringLiteral("Sending new contacts to the server"));
        pushNew(n);
        if (++sent % batch_ == 0) {
            saveDeferred();
        }
    }
    saveDeferred();
}

void Synchronizer::pushDeletion(const SyncLink& deletion) {
    const QString name = contactName(recordForCard(state_->card(deletion.uid), true));
    if (dryRun_) {
        summary_.deletedOnServerNow(name);
        return;
    }
    try {
        server_.remove(deletion.href, deletion.etag);
        wrote_ = true;
        summary_.deletedOnServerNow(name);
    } catch (const ServerError& error) {
        if (refusedCard(error, name)) {
            return;  // still a deletion, for the next sync
        }
        if (error.kind() != ServerError::Kind::PreconditionFailed) {
            throw;
        }
        // Changed on the server since: it comes back with the change, its
        // card (stored by pullCard) the base of later merges.
        state_->dropCard(deletion.uid);
        for (const RemoteCard& card : server_.fetch({deletion.href})) {
            pullCard(card);
        }
        state_->dropDeletion(deletion.uid);
        keeper_.save();
        return;
    }
    state_->dropDeletion(deletion.uid);
    state_->dropCard(deletion.uid);
    saveState();
}

bool Synchronizer::linkNew(int n) {
    const ContactRecord record = document_.file().read(n);
    if (holdsNoContact(record.fields())) {
        return false;
    }
    const QString uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    state_->storeCard(uid, cardForNewContact(record, uid));
    state_->setLink({n, server_.hrefForNewCard(uid), QString(), uid, recordFingerprint(record)});
    return true;
}

void Synchronizer::pushNew(int n) {
    const ContactRecord record = document_.file().read(n);
    if (holdsNoContact(record.fields())) {
        return;
    }
    if (dryRun_) {
        summary_.writtenOnServer(true, contactName(record));
        return;
    }
    // Its UID and href were kept by linkNew before the first card was sent;
    // the summary tells the card once it is written.
    if (const SyncLink* link = state_->linkOfRecord(n)) {
        syncContact(link->uid, std::nullopt, true);
    }
}

void Synchronizer::syncContact(const QString& uid, const std::optional<RemoteCard>& server,
                               bool retry) {
    SyncLink link = *state_->linkOfUid(uid);
    const ContactRecord local = document_.file().read(link.record);
    const QByteArray base = state_->card(uid);
    MergeInput input;
    if (!base.isEmpty()) {
        input.base = base;
    } else if (!server) {
        input.base = cardForNewContact(local, uid);
    }
    if (server) {
        input.server = server->vcard;
    }
    input.local = local;
    input.localEdited = recordFingerprint(local) != link.fingerprint;
    input.uid = uid;
    const MergeResult merged = mergeCard(input);
    const QString etag = server ? server->etag : link.etag;
    const bool mustPut = merged.cardChanged || etag.isEmpty();
    noteMerge(uid, local, merged);
    if (dryRun_) {
        if (mustPut) {
            summary_.writtenOnServer(etag.isEmpty(), contactName(merged.record));
        }
        return;
    }
    if (merged.recordChanged) {
        document_.writeContact(link.record, merged.record, ContactsDocument::Forcing::Later);
    }
    QByteArray synced = server ? server->vcard : (base.isEmpty() ? merged.card : base);
    link.etag = etag;
    if (mustPut && !putCard(link, merged, etag, retry, synced)) {
        return;
    }
    link.fingerprint = recordFingerprint(merged.record);
    state_->storeCard(uid, synced);
    state_->setLink(link);
    saveState();
}

void Synchronizer::noteMerge(const QString& uid, const ContactRecord& local, const MergeResult& merged) {
    const QString name = contactName(merged.record);
    if (merged.recordChanged) {
        summary_.changedHereNow(name, changedFieldNames(local, merged.record));
    }
    for (const FieldConflict& c : merged.conflicts) {
        summary_.fieldConflict(name, c.field, c.localValue, c.serverValue);
    }
    if (dryRun_ || merged.conflicts.empty()) {
        return;
    }
    // Kept before the record takes the server's values, so a sync stopped
    // in between does not lose the local ones.
    for (const FieldConflict& c : merged.conflicts) {
        keepConflict(*state_, SyncConflict{uid, name, c.field, c.localValue, c.serverValue});
    }
    keeper_.save();
}

bool Synchronizer::putCard(SyncLink& link, const MergeResult& merged, const QString& etag, bool retry,
                           QByteArray& synced) {
    const QString name = contactName(merged.record);
    try {
        link.etag = server_.put(link.href, merged.card, etag);
        wrote_ = true;
        synced = merged.card;
        summary_.writtenOnServer(etag.isEmpty(), name);
        if (link.etag.isEmpty()) {
            for (const RemoteCard& card : server_.fetch({link.href})) {
                link.etag = card.etag;
                synced = card.vcard;
            }
        }
        return true;
    } catch (const ServerError& error) {
        if (refusedCard(error, name)) {
            return false;
        }
        if (error.kind() != ServerError::Kind::PreconditionFailed) {
            throw;
        }
    }
    // The card changed on the server meanwhile (or, for a new card, a
    // stopped sync had sent it already): merge with it and try once more.
    // The record written before is the local side now, against the link and
    // the card as last synced.
    if (retry) {
        const std::vector<RemoteCard> now = server_.fetch({link.href});
        if (!now.empty()) {
            syncContact(link.uid, now.front(), false);
            return false;
        }
    }
    summary_.leftForNextSync(name);
    return false;
}

}  // namespace tandor::sync
