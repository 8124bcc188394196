#include "compose/LabelPositions.h"

#include "platform/Numbers.h"

namespace tandor {

const LabelSheet& sheetOf(const CompositionState& state) {
    return addressSheetOr(state.sheetName);
}

std::optional<LabelPads> labelPads(int position, int columnShift, const LabelSheet& sheet) {
    if (!sheet.contains(position)) {
        return std::nullopt;
    }
    return LabelPads{sheet.leftPadAt(position) + columnShift, sheet.topPadAt(position)};
}

void writeLabelPads(CompositionState& state, int position, int columnShift) {
    if (const std::optional<LabelPads> pads = labelPads(position, columnShift, sheetOf(state))) {
        state.leftPad = QString::number(pads->left);
        state.topPad = QString::number(pads->top);
    }
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

int centringSpaces(const QString& text, int characters) {
    const long long spaces = roundHalfEven(characters / 2.0 - static_cast<double>(text.size()) / 2.0);
    return spaces > 0 ? static_cast<int>(spaces) : 0;
}

}  // namespace tandor
