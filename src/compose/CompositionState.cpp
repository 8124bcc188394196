#include "compose/CompositionState.h"

namespace tandor {

bool CompositionState::allLinesEmpty() const {
    for (const QString& line : lines) {
        if (!line.isEmpty()) {
            return false;
        }
    }
    return true;
}

const std::array<EnvelopeSize, 7>& envelopeSizes() {
    static const std::array<EnvelopeSize, 7> sizes = {{
        {1, "#10 Standard Business envelope (4 1/8 in x 9 1/2 in)", 38, 33, 38, 33},
        {2, "#6 3/4 Small envelope (3 5/8 in x 6 1/2 in)", 23, 32, 28, 39},
        {3, "#A2 Invitation envelope (4 3/8 in x 5 3/4 in)", 20, 32, 24, 37},
        {4, "#A7 Announcement envelope (5 1/4 in x 7 1/4 in)", 28, 30, 34, 36},
        {5, "#A8 Std Greeting Card envelope (5.5 in x 8 1/8 in)", 30, 30, 36, 36},
        {6, "#A10 Lrg Greeting Card envelope (6 in x 9 1/2 in)", 36, 25, 44, 30},
        {7, "Custom (edit Left and Top margin boxes)", 30, 30, 36, 36},
    }};
    return sizes;
}

}  // namespace tandor
