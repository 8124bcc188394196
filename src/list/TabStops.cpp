#include "list/TabStops.h"

#include <cmath>

namespace tandor {
namespace {
constexpr int kStopsPastTheLast = 32;
}

std::vector<double> tabPieceOffsets(const QStringList& pieces, const std::vector<int>& stops,
                                    double averageCharWidth,
                                    const std::function<double(const QString&)>& width) {
    std::vector<double> offsets;
    offsets.reserve(pieces.size());
    const double unit = averageCharWidth / 4.0;
    double x = 0.0;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            double next = -1.0;
            for (int stop : stops) {
                if (stop * unit > x) {
                    next = stop * unit;
                    break;
                }
            }
            if (next < 0.0) {
                const int last = stops.empty() ? 0 : stops.back();
                const double beyond = (x - last * unit) / (kStopsPastTheLast * unit);
                next = (last + (std::floor(beyond) + 1) * kStopsPastTheLast) * unit;
            }
            x = next;
        }
        offsets.push_back(x);
        x += width(pieces[i]);
    }
    return offsets;
}

}  // namespace tandor
