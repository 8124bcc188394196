#include "sync/SyncStateFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <cerrno>

#include "platform/AppError.h"
#include "platform/FaultPoint.h"
#include "store/ForceToDisk.h"
#include "store/FileError.h"

namespace tandor::sync {
namespace {

constexpr int kStateVersion = 1;

void makeFolder(const QString& path) {
    if (!QDir().mkpath(path)) {
        throw fileerror::make(errors::kPathFileAccess);
    }
}

// Writes the file whole under a temporary name, forces it to disk, puts it in
// place and forces the folder's new entry.
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
    disk::forceFolder(QFileInfo(path).absolutePath());
}

int fieldNumber(const QString& name) {
    for (const FieldLayout& f : recordLayout()) {
        if (name == QLatin1String(f.name)) {
            return static_cast<int>(f.field);
        }
    }
    return -1;
}

std::vector<SyncLink> linksFrom(const QJsonArray& list) {
    std::vector<SyncLink> links;
    for (const QJsonValue& v : list) {
        links.push_back(statejson::linkFrom(v.toObject()));
    }
    return links;
}

QJsonArray linkArray(const std::vector<SyncLink>& links) {
    QJsonArray list;
    for (const SyncLink& link : links) {
        list.append(statejson::link(link));
    }
    return list;
}

}  // namespace

namespace statejson {

QJsonObject link(const SyncLink& link) {
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

QJsonArray conflicts(const std::vector<SyncConflict>& conflicts) {
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

QByteArray stateBytes(const StateContents& s) {
    QJsonObject o;
    o[QStringLiteral("version")] = kStateVersion;
    o[QStringLiteral("generation")] = s.generation;
    o[QStringLiteral("url")] = s.url;
    o[QStringLiteral("user")] = s.user;
    o[QStringLiteral("syncToken")] = s.syncToken;
    o[QStringLiteral("lastSync")] = timeText(s.lastSync);
    o[QStringLiteral("links")] = linkArray(s.links);
    o[QStringLiteral("deletions")] = linkArray(s.deletions);
    o[QStringLiteral("conflicts")] = conflicts(s.conflicts);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

StateContents stateFrom(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !json.isObject()) {
        throw AppError(errors::kDeviceIo, QStringLiteral("the file state is damaged"));
    }
    const QJsonObject o = json.object();
    StateContents s;
    s.generation = o.value(QStringLiteral("generation")).toInteger();
    s.url = o.value(QStringLiteral("url")).toString();
    s.user = o.value(QStringLiteral("user")).toString();
    s.syncToken = o.value(QStringLiteral("syncToken")).toString();
    s.lastSync = QDateTime::fromString(o.value(QStringLiteral("lastSync")).toString(), Qt::ISODate);
    s.links = linksFrom(o.value(QStringLiteral("links")).toArray());
    s.deletions = linksFrom(o.value(QStringLiteral("deletions")).toArray());
    s.conflicts = conflictsFrom(o.value(QStringLiteral("conflicts")).toArray());
    return s;
}

}  // namespace statejson

QString SyncStateFiles::folderOf(const QString& contactsPath) {
    return contactsPath + QStringLiteral(".sync");
}

QString SyncStateFiles::statePath() const {
    return folder() + QStringLiteral("/state");
}

QString SyncStateFiles::journalPath() const {
    return folder() + QStringLiteral("/state.journal");
}

StateContents SyncStateFiles::readState(qint64& bytes) const {
    QFile file(statePath());
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const AppError failure = fileerror::openFailure(statePath(), errno);
        throw AppError(failure.number(), failure.description());
    }
    const QByteArray all = file.readAll();
    bytes = all.size();
    return statejson::stateFrom(all);
}

qint64 SyncStateFiles::writeState(const StateContents& contents) {
    const QByteArray bytes = statejson::stateBytes(contents);
    makeFolder(folder());
    forceCards();
    // A stop after this leaves a journal of the generation before: stale.
    writeAtomically(statePath(), bytes, "sync.state.write");
    if (QFile::exists(journalPath())) {
        if (!QFile::remove(journalPath())) {
            throw fileerror::make(errors::kPathFileAccess);
        }
        disk::forceFolder(folder());
    }
    return bytes.size();
}

std::vector<std::vector<QJsonObject>> SyncStateFiles::readJournal(qint64 generation, bool& present) const {
    std::vector<std::vector<QJsonObject>> saves;
    QFile file(journalPath());
    present = file.open(QIODevice::ReadOnly);
    if (!present) {
        return saves;
    }
    // The last piece follows the last newline: empty, or a torn line.
    const QList<QByteArray> lines = file.readAll().split('\n');
    std::vector<QJsonObject> save;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QJsonDocument line = QJsonDocument::fromJson(lines[i]);
        if (!line.isObject()) {
            break;
        }
        const QJsonObject change = line.object();
        if (i == 0) {
            if (change.value(QStringLiteral("journal")).toInteger(-1) != generation) {
                break;
            }
            continue;
        }
        save.push_back(change);
        if (change.value(QStringLiteral("end")).toBool()) {
            saves.push_back(std::move(save));
            save.clear();
        }
    }
    return saves;
}

qint64 SyncStateFiles::appendJournal(qint64 generation, std::vector<QJsonObject> save, bool fresh) {
    QByteArray bytes;
    if (fresh) {
        bytes = QJsonDocument(QJsonObject{{QStringLiteral("journal"), generation}}).toJson(QJsonDocument::Compact) +
                '\n';
    }
    save.back()[QStringLiteral("end")] = true;
    for (const QJsonObject& c : save) {
        bytes += QJsonDocument(c).toJson(QJsonDocument::Compact) + '\n';
    }
    forceCards();
    fault::hit("sync.state.write");
    const QString path = journalPath();
    QFile file(path);
    errno = 0;
    if (!file.open(fresh ? QIODevice::WriteOnly | QIODevice::Truncate : QIODevice::WriteOnly | QIODevice::Append)) {
        throw fileerror::openFailure(path, errno);
    }
    if (file.write(bytes) != bytes.size() || !disk::forceFile(file)) {
        throw fileerror::make(fileerror::numberForErrno(errno));
    }
    file.close();
    if (fresh) {
        disk::forceFolder(folder());
    }
    return bytes.size();
}

QString SyncStateFiles::cardPath(const QString& uid) const {
    return folder() + QStringLiteral("/cards/") +
           QString::fromLatin1(QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1).toHex()) +
           QStringLiteral(".vcf");
}

QByteArray SyncStateFiles::card(const QString& uid) const {
    QFile file(cardPath(uid));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SyncStateFiles::storeCard(const QString& uid, const QByteArray& card) {
    makeFolder(folder() + QStringLiteral("/cards"));
    const QString path = cardPath(uid);
    const QString temporary = path + QStringLiteral(".new");
    fault::hit("sync.card.write");
    QFile file(temporary);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw fileerror::openFailure(temporary, errno);
    }
    if (file.write(card) != card.size() || !file.flush()) {
        const int err = errno;
        file.close();
        QFile::remove(temporary);
        throw fileerror::make(fileerror::numberForErrno(err));
    }
    file.close();
    if (const int err = disk::replaceFile(temporary, path)) {
        QFile::remove(temporary);
        throw fileerror::make(fileerror::numberForErrno(err));
    }
    unforced_.append(path);
}

void SyncStateFiles::dropCard(const QString& uid) const {
    QFile::remove(cardPath(uid));
}

void SyncStateFiles::forceCards() {
    if (unforced_.isEmpty()) {
        return;
    }
    const QString cards = folder() + QStringLiteral("/cards");
    // One call forces every card written and the folder's entries.
    if (disk::forceFileSystemOf(cards)) {
        unforced_.clear();
        return;
    }
    for (const QString& path : std::as_const(unforced_)) {
        QFile file(path);
        // A card not on the disk is never linked: the save that would link it fails.
        if (!file.open(QIODevice::ReadWrite) || !disk::forceFile(file)) {
            throw AppError(errors::kDeviceIo,
                           QStringLiteral("the card %1 cannot be written to the disk").arg(QFileInfo(path).fileName()));
        }
    }
    disk::forceFolder(cards);
    unforced_.clear();
}

}  // namespace tandor::sync
