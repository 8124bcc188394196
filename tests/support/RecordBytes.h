#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

namespace tandor::test {

// Contact records laid out byte for byte from the record table, written apart
// from the program's own record code so that each checks the other: the
// fields in table order with their widths, a "|" after each but the last, CR LF
// at the end. Values are stored bytes (Windows-1252), left-aligned and padded
// with spaces; a field not named is all spaces.
QByteArray recordBytes(const QMap<QString, QByteArray>& values);

// A record with a first and last name and a birthday reminder byte.
QByteArray personBytes(const QByteArray& first, const QByteArray& last, char reminder = '1');

// The bytes of a file holding these records one after another.
QByteArray fileBytes(const QList<QByteArray>& records);

// Byte offset and width of a named field, from the same table.
int fieldOffset(const QString& name);
int fieldWidth(const QString& name);

}  // namespace tandor::test
