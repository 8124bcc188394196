#include "printing/LabelSheet.h"

#include <array>

#include "platform/Numbers.h"

namespace tandor {
namespace {

// Columns step 33 characters (2.75 in at 12 characters per inch), rows
// alternately 7 and 6 lines (1 in).
constexpr std::array<int, 3> kLeftPad = {2, 35, 68};
constexpr std::array<int, 3> kLeftPadShifted = {3, 36, 69};
constexpr std::array<int, 10> kTopPad = {3, 10, 16, 23, 30, 36, 43, 50, 56, 63};

constexpr std::array<const char*, 3> kShiftedModels = {"HP DeskJet 640C/642C/648C", "Officejet Pro",
                                                       "ENVY"};

}  // namespace

std::optional<LabelPads> labelPads(int position, bool shiftedPrinter) {
    if (position < 1 || position > kLabelPositions) {
        return std::nullopt;
    }
    const int column = (position - 1) % 3;
    const int row = (position - 1) / 3;
    return LabelPads{shiftedPrinter ? kLeftPadShifted[column] : kLeftPad[column], kTopPad[row]};
}

void writeLabelPads(CompositionState& state, int position, bool shiftedPrinter) {
    if (const std::optional<LabelPads> pads = labelPads(position, shiftedPrinter)) {
        state.leftPad = QString::number(pads->left);
        state.topPad = QString::number(pads->top);
    }
}

bool isShiftedPrinter(const QString& deviceName) {
    for (const char* model : kShiftedModels) {
        if (deviceName.contains(QLatin1String(model), Qt::CaseSensitive)) {
            return true;
        }
    }
    return false;
}

int positionNumber(const QString& text) {
    // Cleaned answers hold no decimal point, so the leading number is whole;
    // clamp before converting so that any text reads without overflow.
    const double value = leadingNumber(text);
    if (value > 32767.0) {
        return 32767;
    }
    if (value < -32768.0) {
        return -32768;
    }
    return static_cast<int>(roundHalfEven(value));
}

bool applyRangeRule(CompositionState& state) {
    const QString& text = state.labelPositionText;
    const qsizetype length = text.size();
    if (length >= 1 && length <= 2) {
        state.startPosition = text;
        state.labelCount = 1;
        return true;
    }
    if (length < 3 || length > 5) {
        return true;
    }
    if (length == 3) {
        state.startPosition = text.left(1);
        state.endPosition = text.right(1);
    } else if (length == 4) {
        state.startPosition = text.left(1);
        state.endPosition = text.right(2);
    } else {
        state.startPosition = text.left(2);
        state.endPosition = text.right(2);
    }
    // A start or end with other characters after its leading number (1-2a,
    // a-5) is counted by the leading numbers, the same numbers the comparison
    // uses, so that the count always agrees with what was accepted.
    const int start = positionNumber(state.startPosition);
    const int end = positionNumber(state.endPosition);
    if (end < start) {
        return false;
    }
    state.labelCount = end - start + 1;
    return true;
}

int centringSpaces(const QString& text) {
    const long long spaces = roundHalfEven(15.0 - static_cast<double>(text.size()) / 2.0);
    return spaces > 0 ? static_cast<int>(spaces) : 0;
}

}  // namespace tandor
