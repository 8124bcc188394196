#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>

namespace tandor {

// The font of every on-screen view that lays text out in character columns
// (the contact list and its header). The program asks for it by name rather
// than taking the desktop's "monospace", whose face differs from desktop to
// desktop and may be no fixed-pitch font at all.
//
// The faces tried in order: Liberation Mono (installed with the program), then
// other fixed-pitch faces common on Linux desktops.
extern const QStringList kColumnFontFamilies;

// The first of `families` that `usable` accepts (installed and fixed-pitch);
// `fallback` when none is.
QString chooseColumnFamily(const QStringList& families, const std::function<bool(const QString&)>& usable,
                           const QString& fallback);

// The column font at a size: the first of kColumnFontFamilies installed on
// this machine with fixed pitch, else the desktop's fixed-pitch font; without
// kerning, so that the width of a text is the sum of its characters.
QFont columnFont(double pointSize);

}  // namespace tandor
