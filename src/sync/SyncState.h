#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "store/ContactRecord.h"

namespace tandor {
class ContactsDocument;
class ContactsFile;
struct RecordChange;
}  // namespace tandor

namespace tandor::sync {

// What a contacts file linked to an address book keeps beside it. For
// "NAME.DAT" the folder "NAME.DAT.sync" holds:
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
//           UID, each replaced atomically; the folder itself is forced to
//           disk once per save, before the links that name its cards)
// A file without the folder is not linked, and nothing of this touches it.

// A record's contents as last synced, to tell a changed record: a hash of its
// bytes without BirthdayReminder (which the file switches for every record).
QByteArray recordFingerprint(const ContactRecord& record);

struct SyncLink {
    int record = 0;  // its number in the file, from 1
    QString href;    // where its card is on the server
    // The card's ETag as last synced. Empty for a new card whose first PUT
    // was not yet answered: its UID and href are kept before it is sent.
    QString etag;
    QString uid;
    QByteArray fingerprint;  // recordFingerprint of the record as last synced
};

// A field changed on both sides in a sync: the server's value went into the
// record and the local value is kept here for the user to choose. Or a
// contact deleted on one side and edited on the other, kept with the edit
// (`field` and the values unused), for the user to know.
struct SyncConflict {
    enum class Kind { Field, KeptLocalEdit, KeptServerEdit };
    QString uid;      // the contact's card
    QString contact;  // its name as the file shows it
    Field field = Field::FName;
    QString localValue;
    QString serverValue;
    Kind kind = Kind::Field;
    bool operator==(const SyncConflict&) const = default;
};

class SyncState {
public:
    // "NAME.DAT.sync" beside the file.
    static QString folderOf(const QString& contactsPath);
    static bool isLinked(const QString& contactsPath);
    // The state of a linked file. Throws AppError when it cannot be read.
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
    // save returns, all of it or (stopped midway) none of it. Throws AppError.
    void save();
    void setJournaled(bool journaled) { journaled_ = journaled; }
    // Writes `state` (making the folders when needed) in one atomic
    // replacement and removes the journal. Throws AppError.
    void saveWhole();
    // Loaded with a journal (folded into `state` at the next save).
    bool journalLeftOver() const { return journalLeftOver_; }

    const QString& contactsPath() const { return contactsPath_; }
    QString url;
    QString user;
    QString syncToken;
    QDateTime lastSync;
    std::vector<SyncConflict> conflicts;

    // The links, in record order.
    const std::vector<SyncLink>& links() const { return links_; }
    const SyncLink* linkOfRecord(int n) const;
    const SyncLink* linkOfHref(const QString& href) const;
    const SyncLink* linkOfUid(const QString& uid) const;
    // Adds the link, or replaces the one of the same UID.
    void setLink(const SyncLink& link);
    void dropLink(const QString& uid);

    // Linked contacts deleted from the file whose cards the server still
    // has, with the href, ETag and UID they had (`record` is 0).
    const std::vector<SyncLink>& deletions() const { return deletions_; }
    void dropDeletion(const QString& uid);

    // The card of a linked contact as last synced; empty when none is kept.
    QByteArray card(const QString& uid) const;
    // Written atomically; the cards folder is forced to disk at the next
    // save, before any link to the card is. Throws AppError.
    void storeCard(const QString& uid, const QByteArray& card) const;
    void dropCard(const QString& uid) const;

    // Keeping in step with the file. Record n was deleted and the ones after
    // it moved down by one: its link becomes a deletion.
    void recordRemoved(int n);
    // Checks each link against the record at its number and, where they
    // disagree, realigns the links by fingerprint (records moved by a
    // compaction the state did not hear of). Links that still find no record
    // keep, in a stretch with as many records left as links, the records in
    // order (local edits); in a stretch with fewer records (a deletion), the
    // record most like their card, or else become deletions. Returns whether
    // anything changed.
    bool realign(const ContactsFile& file);

private:
    QString cardPath(const QString& uid) const;
    QString journalPath() const;
    void sortLinks();
    void reindex();
    void note(QJsonObject change);
    void apply(const QJsonObject& change);
    void readJournal();
    void appendJournal();
    void keepSavedHead();
    // Forces the cards folder to disk when a card was stored since.
    void syncCards() const;

    QString contactsPath_;
    std::vector<SyncLink> links_;
    std::vector<SyncLink> deletions_;
    // The record of each linked UID and href.
    QHash<QString, int> recordOfUid_;
    QHash<QString, int> recordOfHref_;

    // Saving: the changes since the last save, in order (to be journaled).
    std::vector<QJsonObject> changes_;
    bool recording_ = true;  // changes are noted (not while the journal is read)
    bool journaled_ = false;
    // `state` of this generation is on the disk; the journal holds changes
    // for that generation only (a journal of an older one is stale).
    bool inFile_ = false;
    bool wholeNeeded_ = false;
    bool journalLeftOver_ = false;
    mutable bool cardsUnsynced_ = false;  // a card stored since the cards folder was forced
    qint64 generation_ = 0;
    qint64 stateBytes_ = 0;
    qint64 journalBytes_ = 0;
    // What was saved last of the fields saved whole.
    QString savedUrl_, savedUser_, savedToken_;
    QDateTime savedLastSync_;
    std::vector<SyncConflict> savedConflicts_;
};

// Keeps the state of a document's file in step with it: loads it (and
// realigns it) when a linked file is opened, shifts the links on each
// deletion and saves. A file that is not linked is left alone.
class SyncStateKeeper : public QObject {
    Q_OBJECT

public:
    explicit SyncStateKeeper(ContactsDocument& document, QObject* parent = nullptr);

    // The open file's state; null when no file is open or it is not linked.
    SyncState* state() { return state_ ? &*state_ : nullptr; }
    // Whether the open file is linked to this address book and user.
    bool linkedTo(const QString& url, const QString& user) const;
    // Links the open file to an address book and saves the new state. A file
    // linked to the same book and user keeps its state; one linked to
    // another starts afresh. Throws AppError.
    SyncState& link(const QString& url, const QString& user);
    // A keeper that writes nothing (a dry run): the state is loaded and
    // realigned in memory only. Set before the file is opened.
    void setWritesNothing(bool writesNothing) { writesNothing_ = writesNothing; }
    // Saves the state (throws AppError).
    void save();
    // Writes the state whole, dropping its journal (throws AppError).
    void saveWhole();
    // A change the keeper could not save (the next save or load puts it right).
    bool saveFailed() const { return saveFailed_; }
    // Why the state of a linked file could not be read when it was opened
    // (the file is open all the same, with state() null); empty when it was.
    const QString& loadError() const { return loadError_; }

private:
    void load();
    void recordsChanged(const tandor::RecordChange& change);

    ContactsDocument& document_;
    std::optional<SyncState> state_;
    bool writesNothing_ = false;
    bool saveFailed_ = false;
    QString loadError_;
};

// Contacts > "Sync Conflicts...": the conflicts kept, newest last.
const std::vector<SyncConflict>& listConflicts(const SyncState& state);
// The name of a field as the contact forms label it ("Home Phone", "Email
// Address"), for the conflicts the user sees.
QString fieldCaption(Field field);
// Puts the local value of conflict `index` back into its record (through the
// document) and forgets the conflict; the next sync sends it to the server.
// A conflict whose contact is no longer linked is only forgotten. Throws
// AppError.
void applyConflict(ContactsDocument& document, SyncStateKeeper& keeper, std::size_t index);
// Forgets conflict `index`, keeping the server's value.
void dismissConflict(SyncStateKeeper& keeper, std::size_t index);

}  // namespace tandor::sync
