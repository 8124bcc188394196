#include "sync/SyncState.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QUrl>
#include <algorithm>
#include <cerrno>

#include "platform/AppError.h"
#include "platform/FaultPoint.h"
#include "store/ContactsDocument.h"
#include "store/ContactsFile.h"
#include "store/DiskSync.h"
#include "store/FileError.h"
#include "sync/CardMerge.h"

namespace tandor::sync {
namespace {

constexpr int kStateVersion = 1;

// Writes the file whole under a temporary name, forces it to disk and puts it
// in place; the folder's new entry is forced too unless `syncFolder` is false
// (the caller forces it later, before anything on the disk names the file).
void writeAtomically(const QString& path, const QByteArray& bytes, const char* faultPoint, bool syncFolder = true) {
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        throw fileerror::openFailure(path, errno);
    }
    fault::hit(faultPoint);
    if (file.write(bytes) != bytes.size()) {
        const int err = errno;
        file.cancelWriting();
        throw fileerror::make(fileerror::numberForErrno(err));
    }
    if (!file.commit()) {
        throw fileerror::make(fileerror::numberForErrno(errno));
    }
    if (syncFolder) {
        disk::syncFolder(QFileInfo(path).absolutePath());
    }
}

void makeFolder(const QString& path) {
    if (!QDir().mkpath(path)) {
        throw fileerror::make(errors::kPathFileAccess);
    }
}

QJsonObject linkObject(const SyncLink& link) {
    QJsonObject o;
    if (link.record > 0) {
        o[QStringLiteral("record")] = link.record;
    }
    o[QStringLiteral("href")] = link.href;
    o[QStringLiteral("etag")] = link.etag;
    o[QStringLiteral("uid")] = link.uid;
    if (!link.fingerprint.isEmpty()) {
        o[QStringLiteral("fingerprint")] = QString::fromLatin1(link.fingerprint);
    }
    return o;
}

SyncLink linkFrom(const QJsonObject& o) {
    SyncLink link;
    link.record = o.value(QStringLiteral("record")).toInt();
    link.href = o.value(QStringLiteral("href")).toString();
    link.etag = o.value(QStringLiteral("etag")).toString();
    link.uid = o.value(QStringLiteral("uid")).toString();
    link.fingerprint = o.value(QStringLiteral("fingerprint")).toString().toLatin1();
    return link;
}

// The journal is folded into `state` when it grows past this, or past
// `state` itself (so each byte saved is rewritten a bounded number of times).
constexpr qint64 kJournalBound = 256 * 1024;

int fieldNumber(const QString& name);

QJsonArray conflictArray(const std::vector<SyncConflict>& conflicts) {
    QJsonArray list;
    for (const SyncConflict& c : conflicts) {
        QJsonObject j;
        j[QStringLiteral("uid")] = c.uid;
        j[QStringLiteral("contact")] = c.contact;
        // A kept contact names no field: an older program passes it over.
        j[QStringLiteral("field")] =
            c.kind == SyncConflict::Kind::Field ? QString::fromLatin1(layoutOf(c.field).name) : QString();
        if (c.kind != SyncConflict::Kind::Field) {
            j[QStringLiteral("kept")] =
                QLatin1String(c.kind == SyncConflict::Kind::KeptLocalEdit ? "here" : "server");
        }
        j[QStringLiteral("local")] = c.localValue;
        j[QStringLiteral("server")] = c.serverValue;
        list.append(j);
    }
    return list;
}

std::vector<SyncConflict> conflictsFrom(const QJsonArray& list) {
    std::vector<SyncConflict> conflicts;
    for (const QJsonValue& v : list) {
        const QJsonObject c = v.toObject();
        const QString kept = c.value(QStringLiteral("kept")).toString();
        SyncConflict::Kind kind = SyncConflict::Kind::Field;
        if (kept == QLatin1String("here")) {
            kind = SyncConflict::Kind::KeptLocalEdit;
        } else if (kept == QLatin1String("server")) {
            kind = SyncConflict::Kind::KeptServerEdit;
        }
        const int field = kind == SyncConflict::Kind::Field
                              ? fieldNumber(c.value(QStringLiteral("field")).toString())
                              : 0;
        if (field < 0) {
            continue;
        }
        conflicts.push_back({c.value(QStringLiteral("uid")).toString(),
                             c.value(QStringLiteral("contact")).toString(), static_cast<Field>(field),
                             c.value(QStringLiteral("local")).toString(),
                             c.value(QStringLiteral("server")).toString(), kind});
    }
    return conflicts;
}

QString timeText(const QDateTime& time) {
    return time.isValid() ? time.toUTC().toString(Qt::ISODate) : QString();
}

int fieldNumber(const QString& name) {
    for (const FieldLayout& f : recordLayout()) {
        if (name == QLatin1String(f.name)) {
            return static_cast<int>(f.field);
        }
    }
    return -1;
}

// How alike two contacts are: the synced fields that hold the same text,
// among those that hold any; 0 unless more than half of them agree.
int likeness(const ContactFields& a, const ContactFields& b) {
    int same = 0;
    int filled = 0;
    for (const FieldLayout& f : recordLayout()) {
        if (!isSyncedField(f.field) || f.field == Field::IncludeCompany ||
            (a[f.field].isEmpty() && b[f.field].isEmpty())) {
            continue;
        }
        ++filled;
        same += a[f.field] == b[f.field] ? 1 : 0;
    }
    return 2 * same > filled ? same : 0;
}

}  // namespace

QByteArray recordFingerprint(const ContactRecord& record) {
    QByteArray bytes = record.bytes();
    const FieldLayout& reminder = layoutOf(Field::BirthdayReminder);
    bytes.replace(reminder.offset, reminder.width, QByteArray(reminder.width, ' '));
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

QString SyncState::folderOf(const QString& contactsPath) {
    return contactsPath + QStringLiteral(".sync");
}

bool SyncState::isLinked(const QString& contactsPath) {
    return QFileInfo(folderOf(contactsPath) + QStringLiteral("/state")).isFile();
}

SyncState SyncState::create(const QString& contactsPath, const QString& url, const QString& user) {
    SyncState state;
    state.contactsPath_ = contactsPath;
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
    links_.clear();
    deletions_.clear();
    reindex();
    changes_.clear();
    // The generation goes on, so no journal of the old link is ever read.
    wholeNeeded_ = true;
}

SyncState SyncState::load(const QString& contactsPath) {
    const QString path = folderOf(contactsPath) + QStringLiteral("/state");
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        throw fileerror::openFailure(path, errno);
    }
    const QByteArray bytes = file.readAll();
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !json.isObject()) {
        throw AppError(errors::kDeviceIo,
                       QStringLiteral("The sync state of this file cannot be read: ") + path);
    }
    const QJsonObject o = json.object();
    SyncState state = create(contactsPath, o.value(QStringLiteral("url")).toString(),
                             o.value(QStringLiteral("user")).toString());
    state.syncToken = o.value(QStringLiteral("syncToken")).toString();
    state.lastSync = QDateTime::fromString(o.value(QStringLiteral("lastSync")).toString(), Qt::ISODate);
    for (const QJsonValue& v : o.value(QStringLiteral("links")).toArray()) {
        state.links_.push_back(linkFrom(v.toObject()));
    }
    for (const QJsonValue& v : o.value(QStringLiteral("deletions")).toArray()) {
        state.deletions_.push_back(linkFrom(v.toObject()));
    }
    state.conflicts = conflictsFrom(o.value(QStringLiteral("conflicts")).toArray());
    state.sortLinks();
    state.reindex();
    state.generation_ = o.value(QStringLiteral("generation")).toInteger();
    state.stateBytes_ = bytes.size();
    state.inFile_ = true;
    state.readJournal();
    state.keepSavedHead();
    return state;
}

QString SyncState::journalPath() const {
    return folderOf(contactsPath_) + QStringLiteral("/state.journal");
}

// The journal: a first line {"journal": generation}, then the saves in
// order, each one line per change, its last line marked "end". Only whole
// saves are applied: a save cut short by a stop (its last line torn, or its
// end never written) is left out, and a journal of another generation (left
// by a stop just after `state` was rewritten) is stale.
void SyncState::readJournal() {
    QFile file(journalPath());
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    // Whatever it holds, it is folded into `state` at the next save.
    wholeNeeded_ = true;
    journalLeftOver_ = true;
    // The last piece follows the last newline: empty, or a torn line.
    const QList<QByteArray> lines = file.readAll().split('\n');
    std::vector<QJsonObject> save;
    recording_ = false;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QJsonDocument line = QJsonDocument::fromJson(lines[i]);
        if (!line.isObject()) {
            break;
        }
        const QJsonObject change = line.object();
        if (i == 0) {
            if (change.value(QStringLiteral("journal")).toInteger(-1) != generation_) {
                break;
            }
            continue;
        }
        save.push_back(change);
        if (change.value(QStringLiteral("end")).toBool()) {
            for (const QJsonObject& c : save) {
                apply(c);
            }
            save.clear();
        }
    }
    recording_ = true;
}

void SyncState::apply(const QJsonObject& c) {
    if (c.contains(QStringLiteral("link"))) {
        setLink(linkFrom(c.value(QStringLiteral("link")).toObject()));
    } else if (c.contains(QStringLiteral("unlink"))) {
        dropLink(c.value(QStringLiteral("unlink")).toString());
    } else if (c.contains(QStringLiteral("undelete"))) {
        dropDeletion(c.value(QStringLiteral("undelete")).toString());
    } else if (c.contains(QStringLiteral("removed"))) {
        recordRemoved(c.value(QStringLiteral("removed")).toInt());
    } else if (c.contains(QStringLiteral("conflicts"))) {
        conflicts = conflictsFrom(c.value(QStringLiteral("conflicts")).toArray());
    } else if (c.contains(QStringLiteral("head"))) {
        const QJsonObject h = c.value(QStringLiteral("head")).toObject();
        url = h.value(QStringLiteral("url")).toString();
        user = h.value(QStringLiteral("user")).toString();
        syncToken = h.value(QStringLiteral("syncToken")).toString();
        lastSync = QDateTime::fromString(h.value(QStringLiteral("lastSync")).toString(), Qt::ISODate);
    }
}

void SyncState::note(QJsonObject change) {
    if (recording_) {
        changes_.push_back(std::move(change));
    }
}

void SyncState::keepSavedHead() {
    savedUrl_ = url;
    savedUser_ = user;
    savedToken_ = syncToken;
    savedLastSync_ = lastSync;
    savedConflicts_ = conflicts;
}

void SyncState::save() {
    syncCards();
    if (!journaled_ || !inFile_ || wholeNeeded_ ||
        journalBytes_ > std::max(kJournalBound, stateBytes_)) {
        saveWhole();
    } else {
        appendJournal();
    }
}

void SyncState::appendJournal() {
    if (conflicts != savedConflicts_) {
        note(QJsonObject{{QStringLiteral("conflicts"), conflictArray(conflicts)}});
    }
    if (url != savedUrl_ || user != savedUser_ || syncToken != savedToken_ || lastSync != savedLastSync_) {
        note(QJsonObject{{QStringLiteral("head"),
                          QJsonObject{{QStringLiteral("url"), url},
                                      {QStringLiteral("user"), user},
                                      {QStringLiteral("syncToken"), syncToken},
                                      {QStringLiteral("lastSync"), timeText(lastSync)}}}});
    }
    if (changes_.empty()) {
        return;
    }
    const bool fresh = journalBytes_ == 0;
    QByteArray bytes;
    if (fresh) {
        bytes = QJsonDocument(QJsonObject{{QStringLiteral("journal"), generation_}}).toJson(QJsonDocument::Compact) +
                '\n';
    }
    changes_.back()[QStringLiteral("end")] = true;
    for (const QJsonObject& c : changes_) {
        bytes += QJsonDocument(c).toJson(QJsonDocument::Compact) + '\n';
    }
    // An append that fails is put right by writing the state whole at the
    // next save (a torn line is never appended to).
    wholeNeeded_ = true;
    fault::hit("sync.state.write");
    const QString path = journalPath();
    QFile file(path);
    errno = 0;
    if (!file.open(fresh ? QIODevice::WriteOnly | QIODevice::Truncate
                         : QIODevice::WriteOnly | QIODevice::Append)) {
        throw fileerror::openFailure(path, errno);
    }
    if (file.write(bytes) != bytes.size() || !disk::syncFile(file)) {
        throw fileerror::make(fileerror::numberForErrno(errno));
    }
    file.close();
    if (fresh) {
        disk::syncFolder(folderOf(contactsPath_));
    }
    journalBytes_ += bytes.size();
    changes_.clear();
    keepSavedHead();
    wholeNeeded_ = false;
}

void SyncState::saveWhole() {
    QJsonObject o;
    o[QStringLiteral("version")] = kStateVersion;
    o[QStringLiteral("generation")] = generation_ + 1;
    o[QStringLiteral("url")] = url;
    o[QStringLiteral("user")] = user;
    o[QStringLiteral("syncToken")] = syncToken;
    o[QStringLiteral("lastSync")] = timeText(lastSync);
    QJsonArray links;
    for (const SyncLink& link : links_) {
        links.append(linkObject(link));
    }
    o[QStringLiteral("links")] = links;
    QJsonArray deletions;
    for (const SyncLink& link : deletions_) {
        deletions.append(linkObject(link));
    }
    o[QStringLiteral("deletions")] = deletions;
    o[QStringLiteral("conflicts")] = conflictArray(conflicts);
    const QByteArray bytes = QJsonDocument(o).toJson(QJsonDocument::Indented);
    makeFolder(folderOf(contactsPath_));
    syncCards();
    // A stop after this leaves a journal of the generation before: stale.
    writeAtomically(folderOf(contactsPath_) + QStringLiteral("/state"), bytes, "sync.state.write");
    ++generation_;
    inFile_ = true;
    stateBytes_ = bytes.size();
    changes_.clear();
    keepSavedHead();
    journalBytes_ = 0;
    wholeNeeded_ = true;  // until the journal is gone
    if (QFile::exists(journalPath())) {
        if (!QFile::remove(journalPath())) {
            throw fileerror::make(errors::kPathFileAccess);
        }
        disk::syncFolder(folderOf(contactsPath_));
    }
    wholeNeeded_ = false;
}

const SyncLink* SyncState::linkOfRecord(int n) const {
    const auto it = std::lower_bound(links_.begin(), links_.end(), n,
                                     [](const SyncLink& l, int record) { return l.record < record; });
    return it != links_.end() && it->record == n ? &*it : nullptr;
}

const SyncLink* SyncState::linkOfHref(const QString& href) const {
    const auto it = recordOfHref_.constFind(href);
    return it == recordOfHref_.cend() ? nullptr : linkOfRecord(*it);
}

const SyncLink* SyncState::linkOfUid(const QString& uid) const {
    const auto it = recordOfUid_.constFind(uid);
    return it == recordOfUid_.cend() ? nullptr : linkOfRecord(*it);
}

void SyncState::reindex() {
    recordOfUid_.clear();
    recordOfHref_.clear();
    for (const SyncLink& link : links_) {
        recordOfUid_.insert(link.uid, link.record);
        recordOfHref_.insert(link.href, link.record);
    }
}

void SyncState::setLink(const SyncLink& link) {
    note(QJsonObject{{QStringLiteral("link"), linkObject(link)}});
    const bool recording = recording_;
    recording_ = false;
    dropLink(link.uid);
    recording_ = recording;
    const auto at = std::lower_bound(links_.begin(), links_.end(), link.record,
                                     [](const SyncLink& l, int record) { return l.record < record; });
    if (at != links_.end() && at->record == link.record) {
        recordOfUid_.remove(at->uid);
        recordOfHref_.remove(at->href);
        *at = link;
    } else {
        links_.insert(at, link);
    }
    recordOfUid_.insert(link.uid, link.record);
    recordOfHref_.insert(link.href, link.record);
}

void SyncState::dropLink(const QString& uid) {
    const auto found = recordOfUid_.constFind(uid);
    if (found == recordOfUid_.cend()) {
        return;
    }
    note(QJsonObject{{QStringLiteral("unlink"), uid}});
    const auto at = std::lower_bound(links_.begin(), links_.end(), *found,
                                     [](const SyncLink& l, int record) { return l.record < record; });
    recordOfUid_.remove(uid);
    if (at != links_.end() && at->uid == uid) {
        recordOfHref_.remove(at->href);
        links_.erase(at);
    }
}

void SyncState::dropDeletion(const QString& uid) {
    const auto gone = std::remove_if(deletions_.begin(), deletions_.end(),
                                     [&](const SyncLink& l) { return l.uid == uid; });
    if (gone != deletions_.end()) {
        note(QJsonObject{{QStringLiteral("undelete"), uid}});
    }
    deletions_.erase(gone, deletions_.end());
}

QString SyncState::cardPath(const QString& uid) const {
    return folderOf(contactsPath_) + QStringLiteral("/cards/") +
           QString::fromLatin1(QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1).toHex()) +
           QStringLiteral(".vcf");
}

QByteArray SyncState::card(const QString& uid) const {
    QFile file(cardPath(uid));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SyncState::storeCard(const QString& uid, const QByteArray& card) const {
    makeFolder(folderOf(contactsPath_) + QStringLiteral("/cards"));
    // The cards folder is forced once, at the next save, before a link to
    // this card can reach the disk.
    writeAtomically(cardPath(uid), card, "sync.card.write", false);
    cardsUnsynced_ = true;
}

void SyncState::syncCards() const {
    if (cardsUnsynced_) {
        disk::syncFolder(folderOf(contactsPath_) + QStringLiteral("/cards"));
        cardsUnsynced_ = false;
    }
}

void SyncState::dropCard(const QString& uid) const {
    QFile::remove(cardPath(uid));
}

void SyncState::sortLinks() {
    std::stable_sort(links_.begin(), links_.end(),
                     [](const SyncLink& a, const SyncLink& b) { return a.record < b.record; });
}

void SyncState::recordRemoved(int n) {
    note(QJsonObject{{QStringLiteral("removed"), n}});
    for (auto it = links_.begin(); it != links_.end();) {
        if (it->record == n) {
            // A new card whose first PUT was never answered may be on the
            // server all the same: it is deleted there too.
            SyncLink gone = *it;
            gone.record = 0;
            deletions_.push_back(gone);
            it = links_.erase(it);
        } else {
            if (it->record > n) {
                --it->record;
            }
            ++it;
        }
    }
    reindex();
}

bool SyncState::realign(const ContactsFile& file) {
    const int count = file.recordCount();
    std::vector<QByteArray> prints(count + 1);
    for (int n = 1; n <= count; ++n) {
        prints[n] = recordFingerprint(file.read(n));
    }
    const auto inPlace = [&](const SyncLink& l) {
        return l.record >= 1 && l.record <= count && prints[l.record] == l.fingerprint;
    };
    // A record changed here since the last sync no longer has its
    // fingerprint: the links stay where they are unless records moved.
    int misplaced = 0;
    for (const SyncLink& l : links_) {
        misplaced += inPlace(l) ? 0 : 1;
    }
    const auto allInFile = [&] {
        for (const SyncLink& l : links_) {
            if (l.record < 1 || l.record > count) {
                return false;
            }
        }
        return true;
    };
    if (misplaced == 0) {
        return false;
    }

    // Links in order find the next record of their fingerprint.
    QHash<QByteArray, std::vector<int>> byPrint;
    for (int n = 1; n <= count; ++n) {
        byPrint[prints[n]].push_back(n);
    }
    std::vector<int> found(links_.size(), 0);
    std::vector<bool> taken(count + 1, false);
    int after = 0;
    for (std::size_t i = 0; i < links_.size(); ++i) {
        const auto it = byPrint.find(links_[i].fingerprint);
        if (it == byPrint.end()) {
            continue;
        }
        const auto next = std::upper_bound(it->begin(), it->end(), after);
        if (next != it->end()) {
            found[i] = *next;
            taken[*next] = true;
            after = *next;
        }
    }
    // Where nothing moved, the links that found no record are local edits.
    bool moved = false;
    for (std::size_t i = 0; i < links_.size(); ++i) {
        moved = moved || (found[i] != 0 && found[i] != links_[i].record);
    }
    if (!moved && allInFile()) {
        return false;
    }

    // The stretches between links that found their records.
    std::vector<SyncLink> gone;
    std::size_t i = 0;
    int lowRecord = 0;
    while (i < links_.size()) {
        if (found[i] != 0) {
            lowRecord = found[i];
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < links_.size() && found[end] == 0) {
            ++end;
        }
        const int highRecord = end < links_.size() ? found[end] : count + 1;
        std::vector<int> records;
        for (int n = lowRecord + 1; n < highRecord; ++n) {
            if (!taken[n]) {
                records.push_back(n);
            }
        }
        const std::size_t links = end - i;
        if (records.size() == links) {
            for (std::size_t k = 0; k < links; ++k) {
                found[i + k] = records[k];
            }
        } else {
            // A deletion in this stretch: each link takes, in order, the
            // record most like its card.
            std::size_t from = 0;
            for (std::size_t k = i; k < end; ++k) {
                const ContactFields synced = cardRecordValues(card(links_[k].uid));
                int best = -1;
                int bestLikeness = 0;
                for (std::size_t r = from; r < records.size(); ++r) {
                    const int like = likeness(synced, file.read(records[r]).fields());
                    if (like > bestLikeness) {
                        best = static_cast<int>(r);
                        bestLikeness = like;
                    }
                }
                if (best >= 0) {
                    found[k] = records[best];
                    from = best + 1;
                }
            }
        }
        i = end;
    }
    std::vector<SyncLink> kept;
    for (std::size_t k = 0; k < links_.size(); ++k) {
        if (found[k] == 0) {
            SyncLink deleted = links_[k];
            deleted.record = 0;
            deletions_.push_back(deleted);
        } else {
            SyncLink link = links_[k];
            link.record = found[k];
            kept.push_back(link);
        }
    }
    links_ = std::move(kept);
    sortLinks();
    reindex();
    wholeNeeded_ = true;  // too much moved to journal
    return true;
}

SyncStateKeeper::SyncStateKeeper(ContactsDocument& document, QObject* parent)
    : QObject(parent), document_(document) {
    connect(&document, &ContactsDocument::opened, this, [this] { load(); });
    connect(&document, &ContactsDocument::closed, this, [this] { state_.reset(); });
    connect(&document, &ContactsDocument::recordsChanged, this,
            [this](const RecordChange& change) { recordsChanged(change); });
    if (document.hasFile()) {
        load();
    }
}

void SyncStateKeeper::load() {
    state_.reset();
    saveFailed_ = false;
    loadError_.clear();
    const QString path = document_.fileName();
    if (path.isEmpty() || !SyncState::isLinked(path)) {
        return;
    }
    try {
        state_ = SyncState::load(path);
    } catch (const AppError& error) {
        // The file opens all the same; a sync says why it cannot go on.
        loadError_ = error.description();
        return;
    }
    // A journal left by a sync that stopped is folded into `state` now.
    if ((state_->realign(document_.file()) || state_->journalLeftOver()) && !writesNothing_) {
        try {
            state_->saveWhole();
        } catch (const AppError&) {
            saveFailed_ = true;
        }
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
    return *state_;
}

void SyncStateKeeper::save() {
    if (state_ && !writesNothing_) {
        state_->save();
        saveFailed_ = false;
    }
}

void SyncStateKeeper::saveWhole() {
    if (state_ && !writesNothing_) {
        state_->saveWhole();
        saveFailed_ = false;
    }
}

void SyncStateKeeper::recordsChanged(const RecordChange& change) {
    // Appended records have no link yet; a record written keeps its link
    // (its fingerprint now differs: a local change); reminders switched
    // change no fingerprint.
    if (!state_ || change.kind != RecordChange::Kind::Removed) {
        return;
    }
    state_->recordRemoved(change.first);
    if (writesNothing_) {
        return;
    }
    try {
        state_->save();
        saveFailed_ = false;
    } catch (const AppError&) {
        // The state is realigned by fingerprint when the file is next opened.
        saveFailed_ = true;
    }
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
