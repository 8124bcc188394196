#include "list/TabStops.h"

#include <cmath>

namespace tandor {
namespace {
constexpr int kCharactersPastTheLast = 8;
}

TabRuler measureTabStops(const std::vector<int>& stops, const QString& ruler, const TextWidthOf& width) {
    TabRuler measured;
    measured.character = ruler.isEmpty() ? width(QStringLiteral("0")) : width(ruler) / ruler.size();
    measured.stops.reserve(stops.size());
    for (const int stop : stops) {
        const qsizetype whole = std::min<qsizetype>(stop / 4, ruler.size());
        const double rest = stop / 4.0 - static_cast<double>(whole);
        measured.stops.push_back(width(ruler.left(whole)) + rest * measured.character);
    }
    return measured;
}

std::vector<double> tabPieceOffsets(const QStringList& pieces, const TabRuler& ruler, const TextWidthOf& width) {
    std::vector<double> offsets;
    offsets.reserve(pieces.size());
    const double step = kCharactersPastTheLast * ruler.character;
    double x = 0.0;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            double next = -1.0;
            for (const double stop : ruler.stops) {
                if (stop > x) {
                    next = stop;
                    break;
                }
            }
            if (next < 0.0) {
                const double last = ruler.stops.empty() ? 0.0 : ruler.stops.back();
                next = step > 0.0 ? last + (std::floor((x - last) / step) + 1) * step : x;
            }
            x = next;
        }
        offsets.push_back(x);
        x += width(pieces[i]);
    }
    return offsets;
}

}  // namespace tandor
