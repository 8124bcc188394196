#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace tandor {

// The width of a text in some font, in any unit (pixels on screen).
using TextWidthOf = std::function<double(const QString&)>;

// Where the tab stops of a list lie. Stops are given in quarters of a
// character (the list's own unit) and measured on a ruler, the header text the
// columns stand under: a stop of 4 * p quarters lies where the ruler's
// character p begins, as `width` measures it. So a column starts under its
// heading in any font, fixed-pitch or not, whatever its average character
// width says. Between characters and past the ruler's end a character counts
// as the ruler's average width (the width of "0" without a ruler).
struct TabRuler {
    std::vector<double> stops;  // the x of each stop
    double character = 0.0;     // the width of one character past the ruler
};
TabRuler measureTabStops(const std::vector<int>& stops, const QString& ruler, const TextWidthOf& width);

// The x of each TAB-separated piece of a line: each piece after the first
// starts at the first stop to the right of the text already drawn; past the
// last stop, further stops follow every eight characters.
std::vector<double> tabPieceOffsets(const QStringList& pieces, const TabRuler& ruler, const TextWidthOf& width);

}  // namespace tandor
