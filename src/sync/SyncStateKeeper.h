#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "sync/SyncState.h"

namespace tandor {
class ContactsDocument;
struct RecordChange;
}  // namespace tandor

namespace tandor::sync {

// Keeps the state of a document's file in step with it: loads it (and
// realigns it, SyncRealign.h) when a linked file is opened, shifts the links
// on each deletion and saves. A file that is not linked is left alone.
class SyncStateKeeper : public QObject {
    Q_OBJECT

public:
    explicit SyncStateKeeper(ContactsDocument& document, QObject* parent = nullptr);

    // The open file's state; null when no file is open, it is not linked or
    // its state cannot be read (loadError()).
    SyncState* state() { return state_ ? &*state_ : nullptr; }
    // Whether the open file is linked to this address book and user.
    bool linkedTo(const QString& url, const QString& user) const;
    // Links the open file to an address book and saves the new state. A file
    // linked to the same book and user keeps its state; one linked to
    // another, or whose state cannot be read, starts afresh. Throws AppError.
    SyncState& link(const QString& url, const QString& user);
    // A keeper that writes nothing (a dry run): the state is loaded and
    // realigned in memory only. Set before the file is opened.
    void setWritesNothing(bool writesNothing) { writesNothing_ = writesNothing; }
    // Saves the state (throws AppError, its description "The sync state of
    // NAME.DAT cannot be saved: REASON").
    void save();
    // Writes the state whole, dropping its journal (throws AppError as save).
    void saveWhole();
    // A change the keeper could not save on its own (the next save or load
    // puts it right): "The sync state of NAME.DAT cannot be saved: REASON.";
    // empty once a save succeeded.
    bool saveFailed() const { return !saveError_.isEmpty(); }
    const QString& saveError() const { return saveError_; }
    // Why the state of a linked file could not be read when it was opened
    // (the file is open all the same, with state() null): "The sync state of
    // NAME.DAT cannot be read: REASON."; empty when it was.
    const QString& loadError() const { return loadError_; }
    // What stands in the way of the file's sync: loadError(), else
    // saveError(); empty when nothing does.
    QString problem() const { return loadError_.isEmpty() ? saveError_ : loadError_; }

private:
    void load();
    void recordsChanged(const tandor::RecordChange& change);
    // Saves (whole or not) unless the keeper writes nothing; a failure is
    // kept in saveError() and, when `rethrow`, thrown on.
    void saveNow(bool whole, bool rethrow);

    ContactsDocument& document_;
    std::optional<SyncState> state_;
    bool writesNothing_ = false;
    QString saveError_;
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
