#include "compose/LabelPositionPrompt.h"

#include "compose/Composition.h"
#include "compose/LabelPositions.h"

namespace tandor {

// The prompt names the sheet's count; the example position is the middle
// label of the 2nd row on a sheet of three columns, the right one on a sheet
// of two.
QString labelPositionPromptText(const LabelSheet& sheet) {
    const int count = sheet.count();
    const int columns = sheet.columnsInRow(0);
    const QString example =
        columns == 3
            ? QStringLiteral("label position 5 would be the middle label on the 2nd row")
        : columns == 2
            ? QStringLiteral("label position 4 would be the right label on the 2nd row")
            : QStringLiteral("label position %1 would be the first label on the 2nd row")
                  .arg(columns + 1);
    return QStringLiteral(
               "Enter the label position [a number between 1 and %1] on which to print.  "
               "Example: %2 of label sheet.  To print multiple labels, enter a range such as "
               "4-9, 15-18, etc.  To print an entire sheet, enter 1-%1.")
        .arg(count)
        .arg(example);
}

namespace {

// Spaces and decimal points are dropped: " 1 - 3 " reads 1-3, 1.5 reads 15.
QString cleanAnswer(const QString& answer) {
    QString text = answer;
    text.remove(QLatin1Char(' '));
    text.remove(QLatin1Char('.'));
    return text;
}

LabelPositionRefusal withoutDash() {
    return {QStringLiteral("Use a dash when specifying a range of labels to print.  Examples: 1-30, "
                           "5-8, 15-22.  Each number represents a label position on label sheet."),
            QStringLiteral("Include dash for range of labels"), MessageIcon::Information};
}

}  // namespace

std::optional<LabelPositionRefusal> takeLabelPosition(CompositionState& state, const QString& answer) {
    const LabelSheet& sheet = sheetOf(state);
    const int count = sheet.count();
    const QString most = QString::number(count);
    const QString text = cleanAnswer(answer);
    state.labelPositionText = text;
    state.startPosition = text;

    if (!text.contains(QLatin1Char('-')) && text.size() > 2) {
        return withoutDash();
    }
    if (positionNumber(text.right(2)) > count) {
        return LabelPositionRefusal{QStringLiteral("Label position cannot exceed ") + most,
                                    QStringLiteral("Maximum is ") + most, MessageIcon::Information};
    }
    if (text.size() == 5 && text.at(1) == QLatin1Char('-')) {
        return LabelPositionRefusal{QStringLiteral("No more than %1 labels may be printed.  To print an entire "
                                                   "sheet, enter 1-%1.")
                                        .arg(count),
                                    QStringLiteral("Maximum is ") + most, MessageIcon::Information};
    }
    // Longer answers (1-2-3-4) fit none of the range forms; they would leave
    // the previous label count in force.
    if (text.size() > 5) {
        return withoutDash();
    }
    if (!applyRangeRule(state)) {
        return LabelPositionRefusal{QStringLiteral("Label starting position cannot exceed ending position."),
                                    QStringLiteral("Try again"), MessageIcon::Information};
    }

    const int start = positionNumber(state.startPosition);
    if (sheet.contains(start)) {
        writeLabelPads(state, start, 0);
    }
    // A negative start (-5) names no position at all: it is refused like a
    // start beyond the sheet rather than printed on whatever the boxes hold.
    if (start > count || start < 0) {
        return LabelPositionRefusal{QStringLiteral("Cannot be greater than ") + most,
                                    QStringLiteral("Enter a number between 1 and ") + most,
                                    MessageIcon::Exclamation};
    }

    if (start != 0) {
        state.positionCaption = QStringLiteral("Label Position ") + state.labelPositionText;
        state.positionCaptionVisible = true;
        composition::focusPrintButton(state);
    } else {
        state.positionCaptionVisible = false;
        state.positionCaption.clear();
        state.labelSelected = false;
        state.envelopeSelected = false;
        state.leftPad = QStringLiteral("2");
        state.topPad = QStringLiteral("3");
    }
    return std::nullopt;
}

}  // namespace tandor
