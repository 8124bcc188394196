#include "sync/SyncSummary.h"

#include "sync/CardMerge.h"
#include "sync/ConflictChoice.h"

namespace tandor::sync {

void SyncSummary::addedHereNow(const QString& name) {
    lines.append(QStringLiteral("Here: add ") + name);
    ++addedHere;
}

void SyncSummary::deletedHereNow(const QString& name) {
    lines.append(QStringLiteral("Here: delete ") + name);
    ++deletedHere;
}

void SyncSummary::changedHereNow(const QString& name, const QString& fields) {
    lines.append(QStringLiteral("Here: change ") + name + QStringLiteral(" (") + fields +
                 QStringLiteral(")"));
    ++changedHere;
}

void SyncSummary::writtenOnServer(bool added, const QString& name) {
    lines.append((added ? QStringLiteral("Server: add ") : QStringLiteral("Server: change ")) +
                 name);
    ++(added ? addedOnServer : changedOnServer);
}

void SyncSummary::deletedOnServerNow(const QString& name) {
    lines.append(QStringLiteral("Server: delete ") + name);
    ++deletedOnServer;
}

void SyncSummary::fieldConflict(const QString& name, Field field, const QString& here,
                                const QString& there) {
    lines.append(QStringLiteral("Conflict: %1, %2: here \"%3\", server \"%4\"")
                     .arg(name, QLatin1String(layoutOf(field).name), here, there));
    ++conflicts;
}

void SyncSummary::keptWithEdit(const QString& name, SyncConflict::Kind kind) {
    lines.append(QStringLiteral("Conflict: ") + name + QStringLiteral(", ") + keptText(kind));
    ++conflicts;
}

void SyncSummary::refusedCard(const QString& name, const QString& reason) {
    const QString entry = name + QStringLiteral(": ") + reason;
    if (!refused.contains(entry)) {
        leftForNextSync(name);
        refused.append(entry);
    }
}

void SyncSummary::leftForNextSync(const QString& name) {
    lines.append(QStringLiteral("Left for the next sync: ") + name);
}

void SyncSummary::refusedOutsideBook(const QStringList& hrefs) {
    for (const QString& href : hrefs) {
        if (!outsideBook.contains(href)) {
            outsideBook.append(href);
            lines.append(QStringLiteral("Refused: %1, listed by %2 outside the address book")
                             .arg(href, server.isEmpty() ? QStringLiteral("the server") : server));
        }
    }
}

QString contactName(const ContactRecord& record) {
    QStringList names;
    for (const Field f : {Field::FName, Field::LName}) {
        if (!record.field(f).isEmpty()) {
            names.append(record.field(f));
        }
    }
    return names.isEmpty() ? record.field(Field::Company) : names.join(u' ');
}

QString changedFieldNames(const ContactRecord& before, const ContactRecord& after) {
    QStringList names;
    for (const FieldLayout& f : recordLayout()) {
        if (isSyncedField(f.field) && before.field(f.field) != after.field(f.field)) {
            names.append(QLatin1String(f.name));
        }
    }
    return names.join(QStringLiteral(", "));
}

}  // namespace tandor::sync
