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
QString fromAnsi(QByteArrayView bytes);

// The byte a single character is stored as ('?' when it has none).
char ansiByte(QChar c);

}  // namespace tandor
