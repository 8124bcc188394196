#include "sync/Synchronizer.h"

#include <QScopeGuard>
#include <QSet>
#include <QUrl>
#include <QUuid>
#include <algorithm>

#include "platform/AppError.h"
#include "store/ContactsDocument.h"
#include "sync/CardMerge.h"
#include "sync/ConflictChoice.h"

namespace tandor::sync {

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
    summary_.refusedCard(name, error.message());
    return true;
}

void Synchronizer::noteKept(const QString& uid, const QString& name, SyncConflict::Kind kind) {
    summary_.keptWithEdit(name, kind);
    keepConflict(*state_, SyncConflict{uid, name, Field::FName, QString(), QString(), kind});
}

void Synchronizer::step(const QString& text) {
    checkCancel();
    if (progress_) {
        progress_(std::min(done_, total_), total_, text);
    }
    ++done_;
}

SyncSummary Synchronizer::run(bool dryRun) {
    std::optional<SyncState> scratch;  // a dry run's copy of the state, never saved
    begin(dryRun, scratch);
    const auto unjournal = qScopeGuard([this] { endJournal(); });
    step(QStringLiteral("Asking the server for changes"));
    const ServerChanges changes = server_.changesSince(state_->syncToken);
    summary_.refusedOutsideBook(changes.refusedHrefs);
    const Incoming incoming = incomingOf(changes);
    total_ = 1 + static_cast<int>(incoming.toFetch.size() + incoming.removed.size() +
                                  state_->deletions().size()) +
             localChangeCount();
    pullCards(incoming.toFetch);
    pullRemovals(incoming.removed);
    pushDeletions();
    pushChanges();
    pushNewContacts();
    if (!dryRun_) {
        storeToken(changes.newSyncToken);
    }
    if (progress_) {
        progress_(total_, total_, QStringLiteral("Done"));
    }
    return summary_;
}

void Synchronizer::begin(bool dryRun, std::optional<SyncState>& scratch) {
    dryRun_ = dryRun;
    summary_ = SyncSummary();
    unlinked_.reset();
    dryLinked_.clear();
    merged_.clear();
    wrote_ = false;
    done_ = 0;
    total_ = 0;
    state_ = keeper_.state();
    if (dryRun) {
        scratch = state_ ? *state_ : SyncState::create(document_.fileName(), QString(), QString());
        state_ = &*scratch;
    } else if (!state_) {
        throw AppError(errors::kPathNotFound,
                       QStringLiteral("The contacts file is not linked to an address book (there is no folder %1).")
                           .arg(SyncState::folderOf(document_.fileName())));
    }
    if (!state_->url.isEmpty()) {
        summary_.server = QUrl(state_->url).adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery |
                                                     QUrl::RemoveFragment).toString();
    }
    // Each contact's save is appended to the state's journal; the state is
    // written whole at the end (or, stopped, when the file is next opened).
    // Within a batch of contacts the saves that only follow the server's
    // answer are gathered into one (saveDeferred): a sync stopped before it
    // leaves cards written on the server whose new ETags are not kept yet,
    // and the next sync lists them as changed there and merges them again
    // (nothing is sent twice; a new card's link is kept before its PUT).
    journaled_ = dryRun ? nullptr : state_;
    if (journaled_) {
        journaled_->setJournaled(true);
    }
    deferSaves_ = !dryRun;
    unsaved_ = false;
}

void Synchronizer::endJournal() {
    deferSaves_ = false;
    if (journaled_) {
        try {
            saveDeferred();
        } catch (const AppError&) {
            // Left for the next sync, as after a kill.
        }
        journaled_->setJournaled(false);
        journaled_ = nullptr;
    }
}

Synchronizer::Incoming Synchronizer::incomingOf(const ServerChanges& changes) const {
    Incoming incoming;
    QSet<QString> listed;
    for (const RemoteCard& card : changes.changed) {
        listed.insert(card.href);
        const SyncLink* link = state_->linkOfHref(card.href);
        // Unchanged since the last sync (a contact deleted here is deleted
        // on the server in step 3), or written by this sync.
        const SyncLink* known = link ? link : deletionOfHref(card.href);
        if (!known || known->etag.isEmpty() || known->etag != card.etag) {
            incoming.toFetch.append(card.href);
        }
    }
    incoming.removed = changes.removedHrefs;
    if (!changes.complete) {
        // A full listing: a card written before and not listed now is gone.
        for (const SyncLink& link : state_->links()) {
            if (!link.etag.isEmpty() && !listed.contains(link.href) && !incoming.removed.contains(link.href)) {
                incoming.removed.append(link.href);
            }
        }
    }
    return incoming;
}

int Synchronizer::localChangeCount() const {
    int count = 0;
    for (int n = 1, records = document_.file().recordCount(); n <= records; ++n) {
        const SyncLink* link = state_->linkOfRecord(n);
        if (!link || link->etag.isEmpty() || link->fingerprint != recordFingerprint(document_.file().read(n))) {
            ++count;
        }
    }
    return count;
}

// 1. The server's changes into the file.
void Synchronizer::pullCards(const QStringList& hrefs) {
    for (qsizetype at = 0; at < hrefs.size(); at += batch_) {
        checkCancel();
        const std::vector<RemoteCard> cards = server_.fetch(hrefs.mid(at, batch_));
        for (const RemoteCard& card : cards) {
            step(QStringLiteral("Taking in changes from the server"));
            pullCard(card);
        }
        saveDeferred();
    }
    unlinked_.reset();
}

// 2. Cards gone from the server.
void Synchronizer::pullRemovals(const QStringList& hrefs) {
    for (const QString& href : hrefs) {
        step(QStringLiteral("Taking in deletions from the server"));
        pullRemoval(href);
    }
    saveDeferred();
}

// 5. The token, last.
void Synchronizer::storeToken(const QString& token) {
    state_->syncToken = wrote_ ? tokenAfterWrites(token) : token;
    state_->lastSync = QDateTime::currentDateTimeUtc();
    keeper_.saveWhole();
}

QString Synchronizer::tokenAfterWrites(const QString& token) {
    if (token.isEmpty()) {
        return token;  // no sync token: each sync compares the full listing
    }
    try {
        const ServerChanges after = server_.changesSince(token);
        summary_.refusedOutsideBook(after.refusedHrefs);
        const Incoming incoming = incomingOf(after);
        pullCards(incoming.toFetch);
        pullRemovals(incoming.removed);
        return after.newSyncToken;
    } catch (const ServerError& error) {
        // All else is done and saved: the next sync compares the full listing.
        if (error.kind() == ServerError::Kind::Cancelled) {
            state_->syncToken.clear();
            keeper_.saveWhole();
            throw;
        }
        summary_.lines.append(QStringLiteral("The last listing failed (%1): the next sync compares the whole "
                                             "address book.")
                                  .arg(error.message()));
        return QString();
    }
}

const SyncLink* Synchronizer::deletionOfHref(const QString& href) const {
    const SyncLink* found = nullptr;
    for (const SyncLink& d : state_->deletions()) {
        if (d.href == href) {
            found = &d;
        }
    }
    return found;
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
    const SyncLink* deletion = deletionOfHref(card.href);
    const QString deletedUid = deletion ? deletion->uid : QString();
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
        summary_.addedHereNow(contactName(record));
    }
    if (dryRun_) {
        dryLinked_.insert(n);
    } else {
        if (n == 0) {
            n = document_.appendContact(record, ContactsDocument::Forcing::Later);
        }
        state_->storeCard(uid, card.vcard);
        state_->setLink({n, card.href, card.etag, uid, recordFingerprint(record)});
    }
    if (!deletedUid.isEmpty()) {
        // Saved with its link.
        noteKept(uid, contactName(record), SyncConflict::Kind::KeptServerEdit);
        state_->dropDeletion(deletedUid);
    }
    if (!dryRun_) {
        saveState();
    }
}

void Synchronizer::pullRemoval(const QString& href) {
    const SyncLink* found = state_->linkOfHref(href);
    if (!found) {
        // Deleted on both sides.
        if (const SyncLink* deletion = deletionOfHref(href)) {
            const QString uid = deletion->uid;
            state_->dropDeletion(uid);
            if (!dryRun_) {
                state_->dropCard(uid);
                saveState();
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
        noteKept(link.uid, contactName(record), SyncConflict::Kind::KeptLocalEdit);
        link.etag.clear();
        state_->setLink(link);
        if (!dryRun_) {
            saveState();
        }
        return;
    }
    summary_.deletedHereNow(contactName(record));
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

}  // namespace tandor::sync
