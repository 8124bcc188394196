#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "sync/AddressBookServer.h"
#include "sync/CardMerge.h"
#include "sync/SyncState.h"
#include "sync/SyncSummary.h"

namespace tandor {
class ContactsDocument;
}

namespace tandor::sync {

// One sync of the open file of a document with an address book:
//   1. the server's changes since the stored sync token are listed, and the
//      cards changed there fetched in bounded batches; each is merged into
//      its record (CardMerge.h) through the document, the record written
//      first, then the merged card sent back when the record added to it,
//      then the link and the card as synced; a card new on the server is
//      appended (or, when an unlinked record holds exactly its values,
//      linked to that record: nothing is appended twice);
//   2. cards gone from the server: an unchanged record is deleted, a record
//      changed here is kept and its card written anew;
//   3. contacts deleted here are deleted on the server (If-Match); one
//      changed there meanwhile comes back into the file with the change;
//   4. records changed here are written into their cards (If-Match), and each
//      new record gets a UID and an href kept in the state before its card
//      is sent (If-None-Match: *). A write refused because the card changed
//      (412) fetches the card, merges and tries once more; a second refusal
//      leaves the contact for the next sync, and so does a write the server
//      refuses outright (403, 409, 413, 415...: SyncSummary::refused);
//   5. the new sync token and the time are stored last. After writes of its
//      own the sync lists the changes since the token of step 1 once more:
//      its own writes match their links' ETags and are passed over, and any
//      other change (someone else's, meanwhile) is taken in as in steps 1 and
//      2, so the token stored covers everything the file holds. (The token of
//      step 1 would not do: a server may leave out a card created and
//      deleted after a token, and a card this sync added and someone deleted
//      before the next sync would stay in the file for good.) When that last
//      listing fails, the token is cleared and the next sync compares the
//      full listing; so does every sync with a server that has no sync token.
// A contact deleted on one side and edited on the other is kept with the
// edit, listed in the summary and in the state's conflicts (SyncConflict::Kind).
// The state is saved (lines appended to its journal, SyncState.h) after
// each batch of contacts, and at once where a later step depends on it (a
// new card's link before its PUT, the conflicts before the record takes the
// server's values); each record and card is on the disk before a link to it.
// So a sync stopped at any moment (an error, Cancel, the program killed)
// leaves the file and the state consistent and the token unchanged, and the
// next sync finishes the work without duplicates: a card appended here whose
// link was not saved is found again by its values, a card written on the
// server whose new ETag was not saved comes back as a change and is merged.
class Synchronizer {
public:
    using Progress = std::function<void(int done, int total, const QString& text)>;
    using CancelCheck = std::function<bool()>;

    // The document's file must be open; for a real sync it must be linked
    // (keeper.state()), a dry run of a file not linked yet shows what its
    // first sync would do.
    Synchronizer(ContactsDocument& document, SyncStateKeeper& keeper, AddressBookServer& server);

    void setProgress(Progress progress) { progress_ = std::move(progress); }
    // Asked between steps; true stops the sync as a ServerError Cancelled.
    void setCancelCheck(CancelCheck cancel) { cancel_ = std::move(cancel); }
    // How many cards one fetch asks for.
    void setBatchSize(int cards) { batch_ = cards > 0 ? cards : 1; }

    // Runs the sync. A dry run changes nothing, on either side, and lists in
    // the summary what would change. Throws ServerError (the server, Cancel)
    // and AppError (the file, the state; a file not linked).
    SyncSummary run(bool dryRun = false);

private:
    // What a listing asks of the file: the cards to fetch (new or changed
    // since they were last synced) and the hrefs gone from the server.
    struct Incoming {
        QStringList toFetch;
        QStringList removed;
    };

    // The steps of run(), in their order.
    void begin(bool dryRun, std::optional<SyncState>& scratch);
    Incoming incomingOf(const ServerChanges& changes) const;
    int localChangeCount() const;
    void pullCards(const QStringList& hrefs);
    void pullRemovals(const QStringList& hrefs);
    void pushDeletions();
    void pushChanges();
    void pushNewContacts();
    void storeToken(const QString& token);
    QString tokenAfterWrites(const QString& token);
    void endJournal();

    void checkCancel();
    // Whether `error` is the server refusing one card (the sync goes on
    // without it); notes the refusal in the summary.
    bool refusedCard(const ServerError& error, const QString& name);
    // A contact kept with an edit: told in the summary and kept in the
    // state's conflicts (saved with its link).
    void noteKept(const QString& uid, const QString& name, SyncConflict::Kind kind);
    void step(const QString& text);
    void pullCard(const RemoteCard& card);
    void pullRemoval(const QString& href);
    void pushDeletion(const SyncLink& deletion);
    const SyncLink* deletionOfHref(const QString& href) const;
    // Gives a new record its UID, href and card (not saved yet); false for a
    // record that holds nothing.
    bool linkNew(int record);
    void pushNew(int record);
    // Saves the state, or while saves are deferred marks it unsaved.
    void saveState();
    // Saves what saveState() left unsaved.
    void saveDeferred();
    // Merges the contact of `uid` with the server's card (none: the server
    // did not change it) and writes both sides; `retry` allows one more try
    // after a 412.
    void syncContact(const QString& uid, const std::optional<RemoteCard>& server, bool retry);
    // Writes the merged card: its new ETag into `link`, the card as synced
    // into `synced`. False when the contact is left for the next sync, or
    // was merged again with the server's card after a 412. Throws ServerError.
    bool putCard(SyncLink& link, const MergeResult& merged, const QString& etag, bool retry,
                 QByteArray& synced);
    // Tells the merge in the summary and keeps its conflicts (saved before
    // the record takes the server's values).
    void noteMerge(const QString& uid, const ContactRecord& local, const MergeResult& merged);
    // An unlinked record holding exactly the record's values (taken: it is
    // given once), or 0.
    int unlinkedRecordLike(const ContactRecord& record);

    ContactsDocument& document_;
    SyncStateKeeper& keeper_;
    AddressBookServer& server_;
    Progress progress_;
    CancelCheck cancel_;
    int batch_ = 50;
    bool dryRun_ = false;
    SyncState* state_ = nullptr;
    SyncState* journaled_ = nullptr;  // the state whose saves are journaled (not in a dry run)
    SyncSummary summary_;
    std::optional<QHash<QByteArray, QList<int>>> unlinked_;
    QSet<int> dryLinked_;  // records a dry run found already on the server
    QSet<QString> merged_;  // the contacts merged with the server's card in step 1
    bool deferSaves_ = false;
    bool unsaved_ = false;
    bool wrote_ = false;  // a card was written or deleted on the server
    int done_ = 0;
    int total_ = 0;
};

}  // namespace tandor::sync
