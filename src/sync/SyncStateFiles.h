#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <vector>

#include "store/ContactRecord.h"
#include "sync/SyncLinks.h"

namespace tandor::sync {

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

// What `state` holds (its "version" aside).
struct StateContents {
    qint64 generation = 0;
    QString url;
    QString user;
    QString syncToken;
    QDateTime lastSync;
    std::vector<SyncLink> links;
    std::vector<SyncLink> deletions;
    std::vector<SyncConflict> conflicts;
};

// The JSON of the state's parts, as `state` and the journal write them.
namespace statejson {
QJsonObject link(const SyncLink& link);
SyncLink linkFrom(const QJsonObject& object);
QJsonArray conflicts(const std::vector<SyncConflict>& conflicts);
// Conflicts of a field this program does not know are left out.
std::vector<SyncConflict> conflictsFrom(const QJsonArray& list);
QString timeText(const QDateTime& time);
// `state` as written: indented JSON, the generation given.
QByteArray stateBytes(const StateContents& contents);
// Throws AppError (the reason only) when the bytes are not a state.
StateContents stateFrom(const QByteArray& bytes);
}  // namespace statejson

// The folder "NAME.DAT.sync" beside a linked file, on the disk:
//   state          the state whole (StateContents), replaced atomically;
//   state.journal  a first line {"journal": generation}, then the saves since
//                  `state` of that generation was written, each one JSON line
//                  per change, its last line marked "end"; appended and forced
//                  to disk once per save;
//   cards/         each linked contact's card as last synced, one file per
//                  UID (the SHA-1 of the UID in hex, ".vcf"). A card is written
//                  under a temporary name and renamed into place, not forced:
//                  the cards stored since are forced with their folder at once
//                  (forceCards), before the state that links them is saved.
class SyncStateFiles {
public:
    explicit SyncStateFiles(QString contactsPath) : contactsPath_(std::move(contactsPath)) {}

    static QString folderOf(const QString& contactsPath);
    const QString& contactsPath() const { return contactsPath_; }
    QString folder() const { return folderOf(contactsPath_); }
    QString statePath() const;
    QString journalPath() const;

    // Reads `state`; its size in bytes goes to `bytes`. Throws AppError with
    // the reason ("Permission denied", "the file state is damaged").
    StateContents readState(qint64& bytes) const;
    // Writes `state` atomically (making the folders), the cards stored
    // since forced first, and removes the journal. Returns its size. Throws
    // AppError; a stop after the replacement leaves a stale journal.
    qint64 writeState(const StateContents& contents);

    // The whole saves of the journal of this generation, in order: a save cut
    // short (its last line torn, or its end never written) is left out, and
    // so is all of a journal of another generation. Whether a journal is
    // there at all goes to `present`.
    std::vector<std::vector<QJsonObject>> readJournal(qint64 generation, bool& present) const;
    // Appends one save (its last change is marked "end"), starting the
    // journal of this generation when `fresh`; forced to disk before it
    // returns. Returns the bytes appended. Throws AppError.
    qint64 appendJournal(qint64 generation, std::vector<QJsonObject> save, bool fresh);

    QByteArray card(const QString& uid) const;
    // Written whole under a temporary name and renamed into place (a stop
    // leaves the old card or the new one), not forced. Throws AppError.
    void storeCard(const QString& uid, const QByteArray& card);
    void dropCard(const QString& uid) const;
    // Forces the cards stored since the last time, and the cards folder,
    // onto the disk: once for all of them.
    void forceCards();
    bool cardsUnforced() const { return !unforced_.isEmpty(); }

private:
    QString cardPath(const QString& uid) const;

    QString contactsPath_;
    QStringList unforced_;  // the cards stored since forceCards
};

}  // namespace tandor::sync
