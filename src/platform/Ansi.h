#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace tandor {

// Stored text is single-byte Windows-1252. A character the code page cannot
// hold is written as "?". Every byte decodes to a character (the five bytes the
// code page leaves undefined decode to the control characters of the same
// value), so reading and writing back an unknown byte keeps it.
QByteArray toAnsi(QStringView text);
// The same into `out`, stopping after `room` bytes; returns the bytes written.
qsizetype toAnsiInto(QStringView text, char* out, qsizetype room);
QString fromAnsi(QByteArrayView bytes);

// The byte a single character is stored as ('?' when it has none).
char ansiByte(QChar c);

// The text with every control character (TAB, CR, LF and the others below
// 32, DEL, and 128-159) made a space, so that a value stays on its line and
// in its column wherever it is listed or printed.
QString controlsAsSpaces(QString text);
// Whether a character is one of those control characters.
bool isControl(QChar c);

// The number of characters a user sees in a text: a character outside the
// Basic Multilingual Plane (two UTF-16 units) counts as one, as it is stored
// as one byte.
qsizetype characterCount(QStringView text);

// Upper case that never loses a character: a character changes only when its
// upper case is one character the code page holds ("\u00e9" gives "\u00c9");
// otherwise it stays as it is ("\u00b5", "\u00df"). The text never grows.
QString upperCaseKept(QStringView text);

}  // namespace tandor
