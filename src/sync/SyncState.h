#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <vector>

#include "store/ContactRecord.h"
#include "sync/SyncLinks.h"
#include "sync/SyncStateFiles.h"

namespace tandor::sync {

// What a contacts file linked to an address book keeps beside it. For
// "NAME.DAT" the folder "NAME.DAT.sync" holds (SyncStateFiles.h):
//   state   the address book's URL and the user (never the password), the
//           sync token, the time of the last sync, each linked record's href,
//           ETag, UID and fingerprint, the contacts deleted here that the
//           server still has, and the conflicts of the last syncs (JSON,
//           UTF-8, replaced atomically)
//   state.journal  the changes saved since `state` was last written, one JSON
//           line each, appended and forced to disk (a sync saves after every
//           batch of contacts: appending keeps that linear); folded into `state` and
//           removed at the end of a sync, when it grows past a bound and when
//           a file is opened with one left over
//   cards/  each linked contact's card as last synced, whole (one file per
//           UID, each put in place atomically; the cards stored since the
//           last save are forced to disk with their folder once, before the
//           links that name them)
// A file without the folder is not linked, and nothing of this touches it.
// The links themselves are a LinkIndex (SyncLinks.h); SyncState notes each
// change of them for the journal.

// A record's contents as last synced, to tell a changed record: a hash of its
// bytes without BirthdayReminder (which the file switches for every record).
QByteArray recordFingerprint(const ContactRecord& record);

class SyncState {
public:
    // "NAME.DAT.sync" beside the file.
    static QString folderOf(const QString& contactsPath) { return SyncStateFiles::folderOf(contactsPath); }
    static bool isLinked(const QString& contactsPath);
    // The state of a linked file. Throws AppError when it cannot be read,
    // its description "The sync state of NAME.DAT cannot be read: REASON"
    // (REASON "Permission denied", "the file state is damaged"...).
    static SyncState load(const QString& contactsPath);
    // The state of a file linked now to an address book; nothing is written
    // until save().
    static SyncState create(const QString& contactsPath, const QString& url, const QString& user);
    // Whether two address-book URLs name the same book (a trailing slash
    // or the case of the scheme and host aside).
    static bool sameBook(const QString& url, const QString& other);
    // Forgets every link, deletion, conflict and the token: the file is
    // matched against the address book at `url` afresh, as at a first sync.
    // Saved (whole) at the next save.
    void startAfresh(const QString& url, const QString& user);

    // Saves what changed since the last save. While journaled (a sync) it is
    // appended to the journal when `state` is on the disk, else (or when the
    // journal has grown past its bound, or the state was loaded with a
    // journal) the whole state is written. Either way it is on the disk when
    // save returns, all of it or (stopped midway) none of it, and so is every
    // card stored before it. Throws AppError.
    void save();
    void setJournaled(bool journaled) { journaled_ = journaled; }
    // Writes `state` (making the folders when needed) in one atomic
    // replacement and removes the journal. Throws AppError.
    void saveWhole();
    // Loaded with a journal (folded into `state` at the next save).
    bool journalLeftOver() const { return journalLeftOver_; }

    const QString& contactsPath() const { return files_.contactsPath(); }
    QString url;
    QString user;
    QString syncToken;
    QDateTime lastSync;
    std::vector<SyncConflict> conflicts;

    // The links, in record order.
    const std::vector<SyncLink>& links() const { return index_.links(); }
    const SyncLink* linkOfRecord(int n) const { return index_.ofRecord(n); }
    const SyncLink* linkOfHref(const QString& href) const { return index_.ofHref(href); }
    const SyncLink* linkOfUid(const QString& uid) const { return index_.ofUid(uid); }
    // Adds the link, or replaces the one of the same UID.
    void setLink(const SyncLink& link);
    void dropLink(const QString& uid);

    // Linked contacts deleted from the file whose cards the server still
    // has, with the href, ETag and UID they had (`record` is 0).
    const std::vector<SyncLink>& deletions() const { return index_.deletions(); }
    void dropDeletion(const QString& uid);

    // The card of a linked contact as last synced; empty when none is kept.
    QByteArray card(const QString& uid) const { return files_.card(uid); }
    // Put in place atomically; forced to disk (with every card stored since
    // the last save) at the next save, before any link to the card is.
    // Throws AppError.
    void storeCard(const QString& uid, const QByteArray& card) { files_.storeCard(uid, card); }
    void dropCard(const QString& uid) const { files_.dropCard(uid); }

    // Keeping in step with the file. Record n was deleted and the ones after
    // it moved down by one: its link becomes a deletion.
    void recordRemoved(int n);
    // Puts these links in place of all (a realignment, SyncRealign.h); the
    // links given up become deletions. Saved whole at the next save.
    void relink(std::vector<SyncLink> links, const std::vector<SyncLink>& givenUp);
    // Forgets the links and deletions whose card lies outside the linked
    // address book (taken in from a faulty server by an older program): such
    // a card is never written or deleted, and its contact goes to the book as
    // a new card. The others keep their hrefs in the spelling the client
    // gives its listings. Returns whether anything changed.
    bool forgetOutsideBook();

private:
    SyncState() : files_(QString()) {}
    void note(QJsonObject change);
    void apply(const QJsonObject& change);
    void appendJournal();
    void keepSavedHead();
    StateContents contents() const;

    SyncStateFiles files_;
    LinkIndex index_;

    // Saving: the changes since the last save, in order (to be journaled).
    std::vector<QJsonObject> changes_;
    bool journaled_ = false;
    // `state` of this generation is on the disk; the journal holds changes
    // for that generation only (a journal of an older one is stale).
    bool inFile_ = false;
    bool wholeNeeded_ = false;
    bool journalLeftOver_ = false;
    qint64 generation_ = 0;
    qint64 stateBytes_ = 0;
    qint64 journalBytes_ = 0;
    // What was saved last of the fields saved whole.
    QString savedUrl_, savedUser_, savedToken_;
    QDateTime savedLastSync_;
    std::vector<SyncConflict> savedConflicts_;
};

}  // namespace tandor::sync

// The keeper that follows the document, for the code that knows it by this
// header.
#include "sync/SyncStateKeeper.h"  // IWYU pragma: export
