#include "sync/SyncState.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>

#include "platform/AppError.h"
#include "sync/BookMembership.h"

namespace tandor::sync {
namespace {

// The journal is folded into `state` when it grows past this, or past
// `state` itself (so each byte saved is rewritten a bounded number of times).
constexpr qint64 kJournalBound = 256 * 1024;

}  // namespace

QByteArray recordFingerprint(const ContactRecord& record) {
    QByteArray bytes = record.bytes();
    const FieldLayout& reminder = layoutOf(Field::BirthdayReminder);
    bytes.replace(reminder.offset, reminder.width, QByteArray(reminder.width, ' '));
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

bool SyncState::isLinked(const QString& contactsPath) {
    return QFileInfo(SyncStateFiles(contactsPath).statePath()).isFile();
}

SyncState SyncState::create(const QString& contactsPath, const QString& url, const QString& user) {
    SyncState state;
    state.files_ = SyncStateFiles(contactsPath);
    state.url = url;
    state.user = user;
    return state;
}

bool SyncState::sameBook(const QString& url, const QString& other) {
    const auto normal = [](const QString& text) {
        return QUrl(text.trimmed()).adjusted(QUrl::StripTrailingSlash | QUrl::NormalizePathSegments);
    };
    return normal(url) == normal(other);
}

void SyncState::startAfresh(const QString& newUrl, const QString& newUser) {
    url = newUrl;
    user = newUser;
    syncToken.clear();
    lastSync = QDateTime();
    conflicts.clear();
    index_.clear();
    changes_.clear();
    // The generation goes on, so no journal of the old link is ever read.
    wholeNeeded_ = true;
}

SyncState SyncState::load(const QString& contactsPath) {
    SyncState state = create(contactsPath, QString(), QString());
    StateContents s;
    try {
        s = state.files_.readState(state.stateBytes_);
    } catch (const AppError& error) {
        throw AppError(error.number(), QStringLiteral("The sync state of %1 cannot be read: %2")
                                           .arg(QFileInfo(contactsPath).fileName(), error.description()));
    }
    state.url = s.url;
    state.user = s.user;
    state.syncToken = s.syncToken;
    state.lastSync = s.lastSync;
    state.conflicts = s.conflicts;
    state.index_.reset(std::move(s.links), std::move(s.deletions));
    state.generation_ = s.generation;
    state.inFile_ = true;
    // Only the whole saves of a journal of this generation are applied; a
    // journal of any kind is folded into `state` at the next save.
    const auto saves = state.files_.readJournal(state.generation_, state.journalLeftOver_);
    state.wholeNeeded_ = state.journalLeftOver_;
    for (const std::vector<QJsonObject>& save : saves) {
        for (const QJsonObject& change : save) {
            state.apply(change);
        }
    }
    state.keepSavedHead();
    state.forgetOutsideBook();
    return state;
}

// The changes a journal line holds, each as the call that made it.
void SyncState::apply(const QJsonObject& c) {
    if (c.contains(QStringLiteral("link"))) {
        index_.set(statejson::linkFrom(c.value(QStringLiteral("link")).toObject()));
    } else if (c.contains(QStringLiteral("unlink"))) {
        index_.drop(c.value(QStringLiteral("unlink")).toString());
    } else if (c.contains(QStringLiteral("undelete"))) {
        index_.dropDeletion(c.value(QStringLiteral("undelete")).toString());
    } else if (c.contains(QStringLiteral("removed"))) {
        index_.recordRemoved(c.value(QStringLiteral("removed")).toInt());
    } else if (c.contains(QStringLiteral("conflicts"))) {
        conflicts = statejson::conflictsFrom(c.value(QStringLiteral("conflicts")).toArray());
    } else if (c.contains(QStringLiteral("head"))) {
        const QJsonObject h = c.value(QStringLiteral("head")).toObject();
        url = h.value(QStringLiteral("url")).toString();
        user = h.value(QStringLiteral("user")).toString();
        syncToken = h.value(QStringLiteral("syncToken")).toString();
        lastSync = QDateTime::fromString(h.value(QStringLiteral("lastSync")).toString(), Qt::ISODate);
    }
}

void SyncState::note(QJsonObject change) {
    changes_.push_back(std::move(change));
}

void SyncState::keepSavedHead() {
    savedUrl_ = url;
    savedUser_ = user;
    savedToken_ = syncToken;
    savedLastSync_ = lastSync;
    savedConflicts_ = conflicts;
}

void SyncState::save() {
    if (!journaled_ || !inFile_ || wholeNeeded_ || journalBytes_ > std::max(kJournalBound, stateBytes_)) {
        saveWhole();
    } else {
        appendJournal();
    }
}

void SyncState::appendJournal() {
    if (conflicts != savedConflicts_) {
        note(QJsonObject{{QStringLiteral("conflicts"), statejson::conflicts(conflicts)}});
    }
    if (url != savedUrl_ || user != savedUser_ || syncToken != savedToken_ || lastSync != savedLastSync_) {
        note(QJsonObject{{QStringLiteral("head"),
                          QJsonObject{{QStringLiteral("url"), url},
                                      {QStringLiteral("user"), user},
                                      {QStringLiteral("syncToken"), syncToken},
                                      {QStringLiteral("lastSync"), statejson::timeText(lastSync)}}}});
    }
    if (changes_.empty()) {
        files_.forceCards();
        return;
    }
    // An append that fails is put right by writing the state whole at the
    // next save (a torn line is never appended to).
    wholeNeeded_ = true;
    journalBytes_ += files_.appendJournal(generation_, changes_, journalBytes_ == 0);
    changes_.clear();
    keepSavedHead();
    wholeNeeded_ = false;
}

StateContents SyncState::contents() const {
    return {generation_ + 1, url,           user, syncToken, lastSync, index_.links(), index_.deletions(),
            conflicts};
}

void SyncState::saveWhole() {
    wholeNeeded_ = true;  // until the journal is gone
    stateBytes_ = files_.writeState(contents());
    ++generation_;
    inFile_ = true;
    changes_.clear();
    keepSavedHead();
    journalBytes_ = 0;
    wholeNeeded_ = false;
}

void SyncState::setLink(const SyncLink& link) {
    note(QJsonObject{{QStringLiteral("link"), statejson::link(link)}});
    index_.set(link);
}

void SyncState::dropLink(const QString& uid) {
    if (index_.drop(uid)) {
        note(QJsonObject{{QStringLiteral("unlink"), uid}});
    }
}

void SyncState::dropDeletion(const QString& uid) {
    if (index_.dropDeletion(uid)) {
        note(QJsonObject{{QStringLiteral("undelete"), uid}});
    }
}

void SyncState::recordRemoved(int n) {
    note(QJsonObject{{QStringLiteral("removed"), n}});
    index_.recordRemoved(n);
}

void SyncState::relink(std::vector<SyncLink> links, const std::vector<SyncLink>& givenUp) {
    std::vector<SyncLink> deletions = index_.deletions();
    for (SyncLink gone : givenUp) {
        gone.record = 0;
        deletions.push_back(std::move(gone));
    }
    index_.reset(std::move(links), std::move(deletions));
    wholeNeeded_ = true;  // too much moved to journal
    forgetOutsideBook();
}

bool SyncState::forgetOutsideBook() {
    if (url.isEmpty()) {
        return false;
    }
    // A member is kept in the spelling the client gives its listings.
    const auto inside = [this](const std::vector<SyncLink>& all, bool& dropped) {
        std::vector<SyncLink> kept;
        for (SyncLink link : all) {
            const std::optional<QString> member = memberPath(url, link.href);
            if (!member) {
                dropped = true;
                continue;
            }
            dropped = dropped || *member != link.href;
            link.href = *member;
            kept.push_back(std::move(link));
        }
        return kept;
    };
    bool dropped = false;
    std::vector<SyncLink> links = inside(index_.links(), dropped);
    std::vector<SyncLink> deletions = inside(index_.deletions(), dropped);
    if (dropped) {
        index_.reset(std::move(links), std::move(deletions));
        wholeNeeded_ = true;
    }
    return dropped;
}

}  // namespace tandor::sync
