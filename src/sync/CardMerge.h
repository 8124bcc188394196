#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "store/ContactRecord.h"

namespace tandor::sync {

// The merging of a contact's record with its card on the server. Pure
// functions: nothing here reads or writes a file or the network.
//
// A record holds a part of a card (the properties the vCard import takes,
// VcardSource.h), cut to the width of its fields and in Windows-1252. So a
// card is never made from the record alone once it exists: a local edit is
// written into the last synced card, property by property, and only into the
// properties the edited fields come from; every other line of the card
// (photos, further numbers, other properties, long values) is kept byte for
// byte.

// The fields a card carries: every field but BirthdayReminder, which belongs
// to the file.
bool isSyncedField(Field field);

// What a card becomes in a record: the import's reading of its values
// (vcardValues), laid out as a record and read back, so each value is cut to
// its field and holds "?" for a character Windows-1252 cannot hold.
// BirthdayReminder is left empty. A text that holds no card gives empty values.
ContactFields cardRecordValues(const QByteArray& vcard);

// The record a new card from the server becomes, with BirthdayReminder "1"
// when reminders are on for the file, else "0".
ContactRecord recordForCard(const QByteArray& vcard, bool remindersOn);

// Whether the values hold nothing but the two switches (Include Company,
// Birthday Reminder).
bool holdsNoContact(const ContactFields& values);
// Whether a card gives nothing a record holds (a group card, say): such a card
// is left on the server and not taken into the file.
bool cardHoldsNoContact(const QByteArray& vcard);

// The card of a contact that has none yet: the vCard export's card of the
// record (VcardExport.h) with `uid` as its UID.
QByteArray cardForNewContact(const ContactRecord& record, const QString& uid);

// The card's UID, empty when it has none.
QString cardUid(const QByteArray& vcard);

// A field changed on both sides: the server's value was kept and the local
// value set aside here.
struct FieldConflict {
    Field field = Field::FName;
    QString localValue;   // the record's value before the merge
    QString serverValue;  // the server's value, whole (not cut to the field)
    bool operator==(const FieldConflict&) const = default;
};

struct MergeInput {
    // The card as last synced (the base). Without one, the server's card is
    // taken as the base.
    std::optional<QByteArray> base;
    // The server's card now; without one, the base (the server did not change it).
    std::optional<QByteArray> server;
    // The record now, and whether it changed since the last sync (its
    // fingerprint differs from the link's). An unchanged record is taken as
    // agreeing with the base in every field.
    ContactRecord local;
    bool localEdited = false;
    // The UID the written card carries when the server's card has none.
    QString uid;
};

struct MergeResult {
    QByteArray card;      // the card to keep on the server (and as the next base)
    ContactRecord record; // the record to keep in the file
    std::vector<FieldConflict> conflicts;
    bool cardChanged = false;    // `card` differs from the server's card: it must be written
    bool recordChanged = false;  // `record` differs from the local record
};

// Merges per field, comparing what the base, the record and the server's
// card give in a record (cardRecordValues; the record as the export's card of
// it reads back): a field changed on one side only takes that side's value; a
// field changed on both sides to different values takes the server's value
// and the local one goes into `conflicts`. A field the record holds cut or
// with "?" is unchanged while it equals what the base gives, and the card then
// keeps its whole value.
MergeResult mergeCard(const MergeInput& input);

// Writes the record's values of `fields` into a card, leaving every other line
// as it is (the writing mergeCard does for a local edit). A card without UID
// gets `uid`.
QByteArray withRecordValues(const QByteArray& card, const ContactRecord& record,
                            const std::vector<Field>& fields, const QString& uid);

// What becomes of a contact deleted on one side.
enum class DeletionOutcome {
    DeleteOther,  // unchanged on the other side: delete it there too
    KeepEdited,   // edited on the other side: kept, with the edit (put back where it was deleted)
};
DeletionOutcome resolveDeletion(bool editedOnOtherSide);

}  // namespace tandor::sync
