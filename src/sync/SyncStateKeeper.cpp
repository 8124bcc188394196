#include "sync/SyncStateKeeper.h"

#include <QFileInfo>

#include "platform/AppError.h"
#include "store/ContactsDocument.h"
#include "sync/SyncRealign.h"

namespace tandor::sync {

SyncStateKeeper::SyncStateKeeper(ContactsDocument& document, QObject* parent)
    : QObject(parent), document_(document) {
    connect(&document, &ContactsDocument::opened, this, [this] { load(); });
    connect(&document, &ContactsDocument::closed, this, [this] {
        state_.reset();
        loadError_.clear();
        saveError_.clear();
    });
    connect(&document, &ContactsDocument::recordsChanged, this,
            [this](const RecordChange& change) { recordsChanged(change); });
    if (document.hasFile()) {
        load();
    }
}

void SyncStateKeeper::load() {
    state_.reset();
    saveError_.clear();
    loadError_.clear();
    const QString path = document_.fileName();
    if (path.isEmpty() || !SyncState::isLinked(path)) {
        return;
    }
    try {
        state_ = SyncState::load(path);
    } catch (const AppError& error) {
        // The file opens all the same; the sync and the account window say why
        // it cannot go on.
        loadError_ = error.description() + u'.';
        return;
    }
    // A journal left by a sync that stopped is folded into `state` now.
    if (realignLinks(*state_, document_.file()) || state_->journalLeftOver()) {
        saveNow(true, false);
    }
}

bool SyncStateKeeper::linkedTo(const QString& url, const QString& user) const {
    return state_ && SyncState::sameBook(state_->url, url) && state_->user == user;
}

SyncState& SyncStateKeeper::link(const QString& url, const QString& user) {
    if (linkedTo(url, user)) {
        return *state_;
    }
    if (state_) {
        state_->startAfresh(url, user);
    } else {
        state_ = SyncState::create(document_.fileName(), url, user);
    }
    state_->save();
    loadError_.clear();
    saveError_.clear();
    return *state_;
}

void SyncStateKeeper::saveNow(bool whole, bool rethrow) {
    if (!state_ || writesNothing_) {
        return;
    }
    try {
        // The records written for the links come first.
        document_.forceWrites();
        if (whole) {
            state_->saveWhole();
        } else {
            state_->save();
        }
        saveError_.clear();
    } catch (const AppError& error) {
        const AppError failure(error.number(), QStringLiteral("The sync state of %1 cannot be saved: %2")
                                                   .arg(QFileInfo(state_->contactsPath()).fileName(),
                                                        error.description()));
        saveError_ = failure.description() + u'.';
        if (rethrow) {
            throw failure;
        }
    }
}

void SyncStateKeeper::save() {
    saveNow(false, true);
}

void SyncStateKeeper::saveWhole() {
    saveNow(true, true);
}

void SyncStateKeeper::recordsChanged(const RecordChange& change) {
    // Appended records have no link yet; a record written keeps its link
    // (its fingerprint now differs: a local change); reminders switched
    // change no fingerprint.
    if (!state_ || change.kind != RecordChange::Kind::Removed) {
        return;
    }
    state_->recordRemoved(change.first);
    // A failure is told by saveError(); the state is realigned by
    // fingerprint when the file is next opened.
    saveNow(false, false);
}

QString fieldCaption(Field field) {
    static const char* const captions[kFieldCount] = {
        "First Name", "Middle Initial", "Last Name", "Street Address", "Additional Street Info/Apt",
        "City", "State", "Zip Code", "Country", "Home Phone", "Cell Phone", "Work Phone",
        "Email Address", "Birthdate", "Category", "Notes", "Company Name", "Include Company",
        "Birthday Reminder",
    };
    return QString::fromLatin1(captions[static_cast<int>(field)]);
}

const std::vector<SyncConflict>& listConflicts(const SyncState& state) {
    return state.conflicts;
}

void applyConflict(ContactsDocument& document, SyncStateKeeper& keeper, std::size_t index) {
    SyncState* state = keeper.state();
    if (!state || index >= state->conflicts.size()) {
        return;
    }
    const SyncConflict conflict = state->conflicts[index];
    if (const SyncLink* link = state->linkOfUid(conflict.uid)) {
        ContactRecord record = document.file().read(link->record);
        record.setField(conflict.field, conflict.localValue);
        document.writeContact(link->record, record);
    }
    state->conflicts.erase(state->conflicts.begin() + static_cast<std::ptrdiff_t>(index));
    keeper.save();
}

void dismissConflict(SyncStateKeeper& keeper, std::size_t index) {
    SyncState* state = keeper.state();
    if (!state || index >= state->conflicts.size()) {
        return;
    }
    state->conflicts.erase(state->conflicts.begin() + static_cast<std::ptrdiff_t>(index));
    keeper.save();
}

}  // namespace tandor::sync
