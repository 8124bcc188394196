#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "store/ContactRecord.h"

namespace tandor::test {

// A contact of the sync tests: names, city and e-mail, company included and
// birthday reminders on.
ContactRecord person(const QString& first, const QString& last, const QString& city,
                     const QString& email = {});

// Every field a card carries (sync::isSyncedField).
std::vector<Field> syncedFields();

// Contacts as lines to compare a file with an address book: the values of
// `fields`, trimmed, joined by "|", one line a contact, sorted.
QString contactLine(const ContactFields& values, const std::vector<Field>& fields = syncedFields());
// Every record of a contacts file; fails the test (ADD_FAILURE) for a line
// that stands there twice.
QStringList fileLines(const QString& path, const std::vector<Field>& fields = syncedFields());
// Every card as the record it becomes (sync::cardRecordValues); fails the
// test for a card without UID and for two cards with the same UID.
QStringList cardLines(const std::vector<QByteArray>& cards, const std::vector<Field>& fields = syncedFields());

}  // namespace tandor::test
