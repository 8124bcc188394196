#include "sync/CardMerge.h"

#include <QBuffer>
#include <algorithm>

#include "exchange/ContactExport.h"
#include "exchange/VcardExport.h"
#include "exchange/VcardReader.h"
#include "exchange/VcardSource.h"
#include "platform/AppError.h"
#include "sync/CardFields.h"

namespace tandor::sync {
namespace {

std::optional<VcardCard> readCard(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    VcardReader reader(buffer);
    try {
        return reader.next();
    } catch (const AppError&) {
        return std::nullopt;
    }
}

ContactFields builtFields(ContactFields values) {
    values[Field::BirthdayReminder].clear();
    return ContactRecord::build(values).fields();
}

}  // namespace

bool isSyncedField(Field field) {
    return field != Field::BirthdayReminder;
}

ContactFields cardRecordValues(const QByteArray& vcard) {
    const std::optional<VcardCard> card = readCard(vcard);
    return builtFields(card ? vcardValues(*card) : ContactFields{});
}

ContactRecord recordForCard(const QByteArray& vcard, bool remindersOn) {
    ContactFields values = cardRecordValues(vcard);
    values[Field::BirthdayReminder] = remindersOn ? QStringLiteral("1") : QStringLiteral("0");
    return ContactRecord::build(values);
}

bool holdsNoContact(const ContactFields& values) {
    for (const FieldLayout& f : recordLayout()) {
        if (f.field != Field::IncludeCompany && f.field != Field::BirthdayReminder &&
            !values[f.field].isEmpty()) {
            return false;
        }
    }
    return true;
}

bool cardHoldsNoContact(const QByteArray& vcard) {
    return holdsNoContact(cardRecordValues(vcard));
}

QString cardUid(const QByteArray& vcard) {
    CardLines card(vcard);
    const int line = card.first("UID");
    return line < 0 ? QString() : vcardText(card.value(line)).trimmed();
}

QByteArray cardForNewContact(const ContactRecord& record, const QString& uid) {
    ExportRun run;
    CardLines card(vcardCard(record, run));
    const int line = card.first("UID");
    card.set(line, vcardEscaped(uid));
    return card.bytes();
}

QByteArray withRecordValues(const QByteArray& cardBytes, const ContactRecord& record,
                            const std::vector<Field>& fields, const QString& uid) {
    CardLines card(cardBytes);
    CardSources sources = cardSources(card);
    const auto edits = [&](std::initializer_list<Field> these) {
        for (const Field f : these) {
            if (std::find(fields.begin(), fields.end(), f) != fields.end()) {
                return true;
            }
        }
        return false;
    };
    // A card named only by its FN (the import split it) gets an N holding
    // the names as read, before the edited ones go into it.
    if (sources.n < 0 && edits({Field::FName, Field::LName, Field::MiddleInit})) {
        const std::optional<VcardCard> whole = readCard(cardBytes);
        const ContactFields values = whole ? vcardValues(*whole) : ContactFields{};
        sources.n = card.add("N", QStringList{vcardEscaped(values[Field::LName]),
                                              vcardEscaped(values[Field::FName]),
                                              vcardEscaped(values[Field::MiddleInit]), QString(),
                                              QString()}
                                      .join(u';'));
    }
    bool names = false;
    bool company = false;
    for (const Field field : fields) {
        writeField(card, sources, field, record.field(field));
        names = names || field == Field::FName || field == Field::LName ||
                field == Field::MiddleInit;
        company = company || field == Field::Company;
    }
    if (names || (company && record.field(Field::FName).isEmpty() &&
                  record.field(Field::LName).isEmpty())) {
        renewFormattedName(card, sources);
    }
    if (sources.uid < 0 && !uid.isEmpty()) {
        card.add("UID", vcardEscaped(uid));
    }
    return card.bytes();
}

MergeResult mergeCard(const MergeInput& input) {
    const QByteArray server = input.server ? *input.server : input.base.value_or(QByteArray());
    const QByteArray base = input.base ? *input.base : server;
    const ContactFields baseValues = cardRecordValues(base);
    const ContactFields serverValues = cardRecordValues(server);
    // The record as its card reads back: what the record holds in the terms
    // the cards are compared in.
    const ContactFields localValues =
        input.localEdited ? cardRecordValues(cardForNewContact(input.local, input.uid)) : baseValues;
    std::optional<ContactFields> serverWhole;

    MergeResult result;
    ContactFields record = input.local.fields();
    std::vector<Field> localFields;
    for (const FieldLayout& layout : recordLayout()) {
        const Field f = layout.field;
        if (!isSyncedField(f)) {
            continue;
        }
        const bool localChanged = localValues[f] != baseValues[f];
        const bool serverChanged = serverValues[f] != baseValues[f];
        if (localChanged && !serverChanged) {
            localFields.push_back(f);
        } else if (localChanged && serverChanged && localValues[f] != serverValues[f]) {
            if (!serverWhole) {
                const std::optional<VcardCard> card = readCard(server);
                serverWhole = card ? vcardValues(*card) : ContactFields{};
            }
            result.conflicts.push_back({f, input.local.field(f), (*serverWhole)[f]});
            record[f] = serverValues[f];
        } else if (serverChanged && !localChanged) {
            record[f] = serverValues[f];
        }
    }
    result.record = ContactRecord::build(record);
    result.card = withRecordValues(server, input.local, localFields, input.uid);
    result.cardChanged = result.card != server;
    result.recordChanged = !(result.record == input.local);
    return result;
}

DeletionOutcome resolveDeletion(bool editedOnOtherSide) {
    return editedOnOtherSide ? DeletionOutcome::KeepEdited : DeletionOutcome::DeleteOther;
}

}  // namespace tandor::sync
