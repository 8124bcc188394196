#pragma once

#include <QStringList>
#include <array>
#include <functional>
#include <vector>

namespace tandor {

// Where the TAB-separated pieces of a list line are drawn. Stops are given in
// quarters of the average character width (the list's own unit). Each piece
// after the first starts at the first stop to the right of the text already
// drawn; past the last stop, further stops follow every 32 units (eight
// average characters).
//
// Returns the x of each piece, in the unit of `averageCharWidth` and `width`.
std::vector<double> tabPieceOffsets(const QStringList& pieces, const std::vector<int>& stops,
                                    double averageCharWidth,
                                    const std::function<double(const QString&)>& width);

}  // namespace tandor
