#include "sync/Synchronizer.h"

#include <QScopeGuard>
#include <QSet>
#include <QUuid>
#include <algorithm>

#include "platform/AppError.h"
#include "store/ContactsDocument.h"
#include "sync/CardMerge.h"

namespace tandor::sync {
namespace {

QString contactName(const ContactRecord& record) {
    QStringList names;
    for (const Field f : {Field::FName, Field::LName}) {
        if (!record.field(f).isEmpty()) {
            names.append(record.field(f));
        }
    }
    return names.isEmpty() ? record.field(Field::Company) : names.join(u' ');
}

QString fieldNames(const ContactRecord& before, const ContactRecord& after) {
    QStringList names;
    for (const FieldLayout& f : recordLayout()) {
        if (isSyncedField(f.field) && before.field(f.field) != after.field(f.field)) {
            names.append(QLatin1String(f.name));
        }
    }
    return names.join(QStringLiteral(", "));
}

bool holdsNothing(const ContactRecord& record) {
    for (const FieldLayout& f : recordLayout()) {
        if (f.field != Field::IncludeCompany && f.field != Field::BirthdayReminder &&
            !record.field(f.field).isEmpty()) {
            return false;
        }
    }
    return true;
}

}  // namespace

Synchronizer::Synchronizer(ContactsDocument& document, SyncStateKeeper& keeper,
                           AddressBookServer& server)
    : document_(document), keeper_(keeper), server_(server) {}

void Synchronizer::checkCancel() {
    if (cancel_ && cancel_()) {
        throw ServerError(ServerError::Kind::Cancelled, QStringLiteral("The sync was cancelled."));
    }
}

bool Synchronizer::refusedCard(const ServerError& error, const QString& name) {
    // Any other 4xx than those with a kind of their own (401, 404, 412...).
    if (error.kind() != ServerError::Kind::Protocol || error.httpStatus() < 400 || error.httpStatus() >= 500) {
        return false;
    }
    summary_.lines.append(QStringLiteral("Left for the next sync: ") + name);
    summary_.refused.append(name + QStringLiteral(": ") + error.message());
    return true;
}

void Synchronizer::step(const QString& text) {
    checkCancel();
    if (progress_) {
        progress_(std::min(done_, total_), total_, text);
    }
    ++done_;
}

SyncSummary Synchronizer::run(bool dryRun) {
    dryRun_ = dryRun;
    summary_ = SyncSummary();
    unlinked_.reset();
    dryLinked_.clear();
    merged_.clear();
    done_ = 0;
    total_ = 0;
    // A dry run works on a copy of the state that is never saved.
    std::optional<SyncState> scratch;
    state_ = keeper_.state();
    if (dryRun) {
        scratch = state_ ? *state_ : SyncState::create(document_.fileName(), QString(), QString());
        state_ = &*scratch;
    } else if (!state_) {
        throw ServerError(ServerError::Kind::Protocol,
                          QStringLiteral("The contacts file is not linked to an address book."));
    }
    // Each contact's save is appended to the state's journal; the state is
    // written whole at the end (or, stopped, when the file is next opened).
    if (!dryRun) {
        state_->setJournaled(true);
    }
    SyncState* const journaled = dryRun ? nullptr : state_;
    // Within a batch of contacts the saves that only follow the server's
    // answer are gathered into one (saveDeferred): a sync stopped before it
    // leaves cards written on the server whose new ETags are not kept yet,
    // and the next sync lists them as changed there and merges them again
    // (nothing is sent twice; a new card's link is kept before its PUT).
    deferSaves_ = !dryRun;
    unsaved_ = false;
    const auto unjournal = qScopeGuard([this, journaled] {
        deferSaves_ = false;
        if (journaled) {
            try {
                saveDeferred();
            } catch (const AppError&) {
                // Left for the next sync, as after a kill.
            }
            journaled->setJournaled(false);
        }
    });
    step(QStringLiteral("Asking the server for changes"));
    const ServerChanges changes = server_.changesSince(state_->syncToken);

    QStringList toFetch;
    QSet<QString> listed;
    for (const RemoteCard& card : changes.changed) {
        listed.insert(card.href);
        const SyncLink* link = state_->linkOfHref(card.href);
        const SyncLink* deletion = nullptr;
        for (const SyncLink& d : state_->deletions()) {
            if (d.href == card.href) {
                deletion = &d;
            }
        }
        // Unchanged since the last sync (a contact deleted here is deleted
        // on the server in step 3).
        const SyncLink* known = link ? link : deletion;
        if (known && !known->etag.isEmpty() && known->etag == card.etag) {
            continue;
        }
        toFetch.append(card.href);
    }
    QStringList removed = changes.removedHrefs;
    if (!changes.complete) {
        // A full listing: a card written before and not listed now is gone.
        for (const SyncLink& link : state_->links()) {
            if (!link.etag.isEmpty() && !listed.contains(link.href) && !removed.contains(link.href)) {
                removed.append(link.href);
            }
        }
    }
    int localChanges = 0;
    for (int n = 1, count = document_.file().recordCount(); n <= count; ++n) {
        const SyncLink* link = state_->linkOfRecord(n);
        if (!link || link->etag.isEmpty() ||
            link->fingerprint != recordFingerprint(document_.file().read(n))) {
            ++localChanges;
        }
    }
    total_ = 1 + static_cast<int>(toFetch.size() + removed.size() + state_->deletions().size()) +
             localChanges;

    // 1. The server's changes into the file.
    for (qsizetype at = 0; at < toFetch.size(); at += batch_) {
        checkCancel();
        const std::vector<RemoteCard> cards = server_.fetch(toFetch.mid(at, batch_));
        for (const RemoteCard& card : cards) {
            step(QStringLiteral("Taking in changes from the server"));
            pullCard(card);
        }
        saveDeferred();
    }
    unlinked_.reset();
    // 2. Cards gone from the server.
    for (const QString& href : removed) {
        step(QStringLiteral("Taking in deletions from the server"));
        pullRemoval(href);
    }
    saveDeferred();
    // 3. Contacts deleted here.
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
    // 4. Contacts changed or added here.
    std::vector<QString> changed;
    for (const SyncLink& link : state_->links()) {
        if (link.etag.isEmpty() ||
            link.fingerprint != recordFingerprint(document_.file().read(link.record))) {
            changed.push_back(link.uid);
        }
    }
    int changedSent = 0;
    for (const QString& uid : changed) {
        step(QStringLiteral("Sending changes to the server"));
        // A contact merged with the server's card in step 1 was written there already.
        if (state_->linkOfUid(uid) && !merged_.contains(uid)) {
            syncContact(uid, std::nullopt, true);
        }
        if (++changedSent % batch_ == 0) {
            saveDeferred();
        }
    }
    saveDeferred();
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
    // 5. The token, last.
    if (!dryRun_) {
        state_->syncToken = changes.newSyncToken;
        state_->lastSync = QDateTime::currentDateTimeUtc();
        keeper_.saveWhole();
    }
    if (progress_) {
        progress_(total_, total_, QStringLiteral("Done"));
    }
    return summary_;
}

int Synchronizer::unlinkedRecordLike(const ContactRecord& record) {
    if (!unlinked_) {
        unlinked_.emplace();
        for (int n = 1, count = document_.file().recordCount(); n <= count; ++n) {
            if (!state_->linkOfRecord(n)) {
                (*unlinked_)[recordFingerprint(document_.file().read(n))].append(n);
            }
        }
    }
    QList<int>& records = (*unlinked_)[recordFingerprint(record)];
    return records.isEmpty() ? 0 : records.takeFirst();
}

void Synchronizer::pullCard(const RemoteCard& card) {
    if (const SyncLink* link = state_->linkOfHref(card.href)) {
        const QString uid = link->uid;
        merged_.insert(uid);
        syncContact(uid, card, true);
        return;
    }
    // New on the server, or changed there after it was deleted here: it
    // comes into the file with the change.
    QString deletedUid;
    for (const SyncLink& d : state_->deletions()) {
        if (d.href == card.href) {
            deletedUid = d.uid;
        }
    }
    if (cardHoldsNoContact(card.vcard)) {
        return;
    }
    // The link is known by the card's UID; a card without one, or with the
    // UID of a contact linked already (a copy at another href), gets one of
    // its own.
    QString uid = cardUid(card.vcard);
    if (uid.isEmpty() || state_->linkOfUid(uid)) {
        uid = deletedUid.isEmpty() ? QUuid::createUuid().toString(QUuid::WithoutBraces) : deletedUid;
    }
    const ContactRecord record = recordForCard(card.vcard, document_.remindersOn());
    // A record appended by a sync that stopped before it was linked holds
    // exactly these values: it is linked, not appended again.
    int n = unlinkedRecordLike(record);
    if (n == 0) {
        summary_.lines.append(QStringLiteral("Here: add ") + contactName(record));
        ++summary_.addedHere;
    }
    if (dryRun_) {
        dryLinked_.insert(n);
        state_->dropDeletion(deletedUid);
        return;
    }
    if (n == 0) {
        n = document_.appendContact(record, ContactsDocument::Forcing::Later);
    }
    state_->storeCard(uid, card.vcard);
    state_->setLink({n, card.href, card.etag, uid, recordFingerprint(record)});
    if (!deletedUid.isEmpty()) {
        state_->dropDeletion(deletedUid);
    }
    saveState();
}

void Synchronizer::pullRemoval(const QString& href) {
    const SyncLink* found = state_->linkOfHref(href);
    if (!found) {
        // Deleted on both sides.
        for (const SyncLink& d : state_->deletions()) {
            if (d.href == href) {
                const QString uid = d.uid;
                state_->dropDeletion(uid);
                if (!dryRun_) {
                    state_->dropCard(uid);
                    saveState();
                }
                break;
            }
        }
        return;
    }
    if (found->etag.isEmpty()) {
        return;  // its first write is still to come
    }
    SyncLink link = *found;
    const ContactRecord record = document_.file().read(link.record);
    const bool edited = recordFingerprint(record) != link.fingerprint;
    if (resolveDeletion(edited) == DeletionOutcome::KeepEdited) {
        // Kept with the edit: its card is written anew in step 4.
        link.etag.clear();
        state_->setLink(link);
        if (!dryRun_) {
            saveState();
        }
        return;
    }
    summary_.lines.append(QStringLiteral("Here: delete ") + contactName(record));
    ++summary_.deletedHere;
    if (dryRun_) {
        state_->dropLink(link.uid);
        dryLinked_.insert(link.record);
        return;
    }
    // The keeper turns the link into a deletion as the record goes; the
    // server has none to delete.
    document_.deleteContact(link.record);
    state_->dropDeletion(link.uid);
    state_->dropCard(link.uid);
    saveState();
}

void Synchronizer::pushDeletion(const SyncLink& deletion) {
    const QString name = contactName(recordForCard(state_->card(deletion.uid), true));
    if (dryRun_) {
        summary_.lines.append(QStringLiteral("Server: delete ") + name);
        ++summary_.deletedOnServer;
        return;
    }
    try {
        server_.remove(deletion.href, deletion.etag);
        summary_.lines.append(QStringLiteral("Server: delete ") + name);
        ++summary_.deletedOnServer;
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
    if (holdsNothing(record)) {
        return false;
    }
    const QString uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    state_->storeCard(uid, cardForNewContact(record, uid));
    state_->setLink({n, server_.hrefForNewCard(uid), QString(), uid, recordFingerprint(record)});
    return true;
}

void Synchronizer::pushNew(int n) {
    const ContactRecord record = document_.file().read(n);
    if (holdsNothing(record)) {
        return;
    }
    summary_.lines.append(QStringLiteral("Server: add ") + contactName(record));
    if (dryRun_) {
        ++summary_.addedOnServer;
        return;
    }
    // Its UID and href were kept by linkNew before the first card was sent.
    if (const SyncLink* link = state_->linkOfRecord(n)) {
        syncContact(link->uid, std::nullopt, true);
    }
}

void Synchronizer::saveState() {
    if (deferSaves_) {
        unsaved_ = true;
    } else {
        keeper_.save();
    }
}

void Synchronizer::saveDeferred() {
    if (unsaved_) {
        unsaved_ = false;
        keeper_.save();
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
    const QString name = contactName(merged.record);

    if (merged.recordChanged) {
        summary_.lines.append(QStringLiteral("Here: change ") + name + QStringLiteral(" (") +
                              fieldNames(local, merged.record) + QStringLiteral(")"));
        ++summary_.changedHere;
    }
    for (const FieldConflict& c : merged.conflicts) {
        summary_.lines.append(QStringLiteral("Conflict: %1, %2: here \"%3\", server \"%4\"")
                                  .arg(name, QLatin1String(layoutOf(c.field).name), c.localValue,
                                       c.serverValue));
        ++summary_.conflicts;
    }
    const auto written = [&] {
        summary_.lines.append((etag.isEmpty() ? QStringLiteral("Server: add ")
                                              : QStringLiteral("Server: change ")) + name);
        ++(etag.isEmpty() ? summary_.addedOnServer : summary_.changedOnServer);
    };
    if (dryRun_) {
        if (mustPut) {
            written();
        }
        return;
    }
    // The conflicts are kept before the record takes the server's values,
    // so a sync stopped in between does not lose the local ones.
    if (!merged.conflicts.empty()) {
        for (const FieldConflict& c : merged.conflicts) {
            const SyncConflict conflict{uid, name, c.field, c.localValue, c.serverValue};
            const bool known = std::any_of(state_->conflicts.begin(), state_->conflicts.end(),
                                           [&](const SyncConflict& k) {
                                               return k.uid == uid && k.field == c.field &&
                                                      k.localValue == c.localValue &&
                                                      k.serverValue == c.serverValue;
                                           });
            if (!known) {
                state_->conflicts.push_back(conflict);
            }
        }
        keeper_.save();
    }
    if (merged.recordChanged) {
        document_.writeContact(link.record, merged.record, ContactsDocument::Forcing::Later);
    }
    QByteArray synced = server ? server->vcard : (base.isEmpty() ? merged.card : base);
    QString syncedEtag = etag;
    if (mustPut) {
        try {
            syncedEtag = server_.put(link.href, merged.card, etag);
            synced = merged.card;
            written();
            if (syncedEtag.isEmpty()) {
                for (const RemoteCard& card : server_.fetch({link.href})) {
                    syncedEtag = card.etag;
                    synced = card.vcard;
                }
            }
        } catch (const ServerError& error) {
            if (refusedCard(error, name)) {
                return;
            }
            if (error.kind() != ServerError::Kind::PreconditionFailed) {
                throw;
            }
            // The card changed on the server meanwhile (or, for a new card,
            // a stopped sync had sent it already): merge with it and try once
            // more. The record written above is the local side now, against
            // the link and the card as last synced.
            if (retry) {
                const std::vector<RemoteCard> now = server_.fetch({link.href});
                if (!now.empty()) {
                    syncContact(uid, now.front(), false);
                    return;
                }
            }
            summary_.lines.append(QStringLiteral("Left for the next sync: ") + name);
            return;
        }
    }
    link.etag = syncedEtag;
    link.fingerprint = recordFingerprint(merged.record);
    state_->storeCard(uid, synced);
    state_->setLink(link);
    saveState();
}

}  // namespace tandor::sync
