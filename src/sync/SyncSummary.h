#pragma once

#include <QString>
#include <QStringList>

#include "store/ContactRecord.h"
#include "sync/SyncState.h"

namespace tandor::sync {

// What one sync did (or, in a dry run, would do): its counts and one line per
// change, each change said once.
struct SyncSummary {
    int addedHere = 0;  // in the contacts file
    int changedHere = 0;
    int deletedHere = 0;
    int addedOnServer = 0;
    int changedOnServer = 0;
    int deletedOnServer = 0;
    // Fields changed on both sides (the server's value was kept), and
    // contacts deleted on one side and edited on the other (kept with the
    // edit); each is listed in Sync Conflicts.
    int conflicts = 0;
    // One line per change: "Here: add Ann Smith", "Server: change Ann Smith",
    // "Here: change Ann Smith (Email, City)", "Conflict: Ann Smith, City: here
    // \"Leeds\", server \"York\"", "Conflict: Ann Smith, deleted on the
    // server, kept with this computer's edit", "Left for the next sync: Ann
    // Smith", "Refused: /other/x.vcf, listed by https://dav.example outside
    // the address book".
    QStringList lines;
    // The contacts whose card the server refused to write or delete (a
    // read-only address book, a card too large...), "Ann Smith: the
    // server's reason"; each is left for the next sync.
    QStringList refused;
    // The card addresses the server listed outside the linked address book,
    // refused: nothing of them is fetched, stored, written or deleted.
    QStringList outsideBook;
    // The server that listed them, "https://dav.example" (empty when the
    // file is not linked yet).
    QString server;

    void addedHereNow(const QString& name);
    void deletedHereNow(const QString& name);
    // `fields`: the names of the fields that changed, "Email, City".
    void changedHereNow(const QString& name, const QString& fields);
    void writtenOnServer(bool added, const QString& name);
    void deletedOnServerNow(const QString& name);
    void fieldConflict(const QString& name, Field field, const QString& here, const QString& there);
    void keptWithEdit(const QString& name, SyncConflict::Kind kind);
    // A card the server refused with `reason`: said once however often it is tried.
    void refusedCard(const QString& name, const QString& reason);
    void leftForNextSync(const QString& name);
    void refusedOutsideBook(const QStringList& hrefs);
};

// A contact's name as the summary shows it: first and last name, else the company.
QString contactName(const ContactRecord& record);

// The names of the synced fields that differ, "Email, City".
QString changedFieldNames(const ContactRecord& before, const ContactRecord& after);

}  // namespace tandor::sync
