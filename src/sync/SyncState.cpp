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

void writeAtomically(const QString& path, const QByteArray& bytes, const char* faultPoint) {
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
    disk::syncFolder(QFileInfo(path).absolutePath());
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

SyncState SyncState::load(const QString& contactsPath) {
    const QString path = folderOf(contactsPath) + QStringLiteral("/state");
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        throw fileerror::openFailure(path, errno);
    }
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(file.readAll(), &error);
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
    for (const QJsonValue& v : o.value(QStringLiteral("conflicts")).toArray()) {
        const QJsonObject c = v.toObject();
        const int field = fieldNumber(c.value(QStringLiteral("field")).toString());
        if (field < 0) {
            continue;
        }
        state.conflicts.push_back({c.value(QStringLiteral("uid")).toString(),
                                   c.value(QStringLiteral("contact")).toString(),
                                   static_cast<Field>(field),
                                   c.value(QStringLiteral("local")).toString(),
                                   c.value(QStringLiteral("server")).toString()});
    }
    state.sortLinks();
    return state;
}

void SyncState::save() const {
    QJsonObject o;
    o[QStringLiteral("version")] = kStateVersion;
    o[QStringLiteral("url")] = url;
    o[QStringLiteral("user")] = user;
    o[QStringLiteral("syncToken")] = syncToken;
    o[QStringLiteral("lastSync")] = lastSync.isValid() ? lastSync.toUTC().toString(Qt::ISODate) : QString();
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
    QJsonArray conflictList;
    for (const SyncConflict& c : conflicts) {
        QJsonObject j;
        j[QStringLiteral("uid")] = c.uid;
        j[QStringLiteral("contact")] = c.contact;
        j[QStringLiteral("field")] = QLatin1String(layoutOf(c.field).name);
        j[QStringLiteral("local")] = c.localValue;
        j[QStringLiteral("server")] = c.serverValue;
        conflictList.append(j);
    }
    o[QStringLiteral("conflicts")] = conflictList;
    makeFolder(folderOf(contactsPath_));
    writeAtomically(folderOf(contactsPath_) + QStringLiteral("/state"),
                    QJsonDocument(o).toJson(QJsonDocument::Indented), "sync.state.write");
}

const SyncLink* SyncState::linkOfRecord(int n) const {
    const auto it = std::lower_bound(links_.begin(), links_.end(), n,
                                     [](const SyncLink& l, int record) { return l.record < record; });
    return it != links_.end() && it->record == n ? &*it : nullptr;
}

const SyncLink* SyncState::linkOfHref(const QString& href) const {
    for (const SyncLink& link : links_) {
        if (link.href == href) {
            return &link;
        }
    }
    return nullptr;
}

const SyncLink* SyncState::linkOfUid(const QString& uid) const {
    for (const SyncLink& link : links_) {
        if (link.uid == uid) {
            return &link;
        }
    }
    return nullptr;
}

void SyncState::setLink(const SyncLink& link) {
    dropLink(link.uid);
    links_.erase(std::remove_if(links_.begin(), links_.end(),
                                [&](const SyncLink& l) { return l.record == link.record; }),
                 links_.end());
    links_.push_back(link);
    sortLinks();
}

void SyncState::dropLink(const QString& uid) {
    links_.erase(std::remove_if(links_.begin(), links_.end(),
                                [&](const SyncLink& l) { return l.uid == uid; }),
                 links_.end());
}

void SyncState::dropDeletion(const QString& uid) {
    deletions_.erase(std::remove_if(deletions_.begin(), deletions_.end(),
                                    [&](const SyncLink& l) { return l.uid == uid; }),
                     deletions_.end());
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
    writeAtomically(cardPath(uid), card, "sync.card.write");
}

void SyncState::dropCard(const QString& uid) const {
    QFile::remove(cardPath(uid));
}

void SyncState::sortLinks() {
    std::stable_sort(links_.begin(), links_.end(),
                     [](const SyncLink& a, const SyncLink& b) { return a.record < b.record; });
}

void SyncState::recordRemoved(int n) {
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
    if (state_->realign(document_.file())) {
        try {
            state_->save();
        } catch (const AppError&) {
            saveFailed_ = true;
        }
    }
}

SyncState& SyncStateKeeper::link(const QString& url, const QString& user) {
    state_ = SyncState::create(document_.fileName(), url, user);
    state_->save();
    return *state_;
}

void SyncStateKeeper::save() {
    if (state_) {
        state_->save();
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
    try {
        state_->save();
        saveFailed_ = false;
    } catch (const AppError&) {
        // The state is realigned by fingerprint when the file is next opened.
        saveFailed_ = true;
    }
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
