#include "printing/LabelPositionPrompt.h"

#include "platform/Platform.h"
#include "printing/Composition.h"
#include "printing/LabelSheet.h"

namespace tandor {
namespace {

const QString kPromptTitle = QStringLiteral("Label position reading L to R");
const QString kPromptText = QStringLiteral(
    "Enter the label position [a number between 1 and 30] on which to print.  Example: label "
    "position 5 would be the middle label on the 2nd row of label sheet.  To print multiple "
    "labels, enter a range such as 4-9, 15-18, etc.  To print an entire sheet, enter 1-30.");

// Spaces and decimal points are dropped: " 1 - 3 " reads 1-3, 1.5 reads 15.
QString cleanAnswer(const QString& answer) {
    QString text = answer;
    text.remove(QLatin1Char(' '));
    text.remove(QLatin1Char('.'));
    return text;
}

void refuse(Platform& platform, const QString& text, const QString& title,
            MessageIcon icon = MessageIcon::Information) {
    platform.beep();
    platform.message(text, title, icon, MessageButtons::Ok);
}

void refuseWithoutDash(Platform& platform) {
    refuse(platform,
           QStringLiteral("Use a dash when specifying a range of labels to print.  Examples: 1-30, "
                          "5-8, 15-22.  Each number represents a label position on label sheet."),
           QStringLiteral("Include dash for range of labels"));
}

}  // namespace

void runLabelPositionPrompt(CompositionState& state, Platform& platform) {
    for (;;) {
        const QString text =
            cleanAnswer(platform.input(kPromptText, kPromptTitle, QStringLiteral("1")));
        state.labelPositionText = text;
        state.startPosition = text;

        if (!text.contains(QLatin1Char('-')) && text.size() > 2) {
            refuseWithoutDash(platform);
            continue;
        }
        if (positionNumber(text.right(2)) > kLabelPositions) {
            refuse(platform, QStringLiteral("Label position cannot exceed 30"),
                   QStringLiteral("Maximum is 30"));
            continue;
        }
        if (text.size() == 5 && text.at(1) == QLatin1Char('-')) {
            refuse(platform,
                   QStringLiteral("No more than 30 labels may be printed.  To print an entire "
                                  "sheet, enter 1-30."),
                   QStringLiteral("Maximum is 30"));
            continue;
        }
        // Longer answers (1-2-3-4) fit none of the range forms; they would leave
        // the previous label count in force.
        if (text.size() > 5) {
            refuseWithoutDash(platform);
            continue;
        }
        if (!applyRangeRule(state)) {
            refuse(platform,
                   QStringLiteral("Label starting position cannot exceed ending position."),
                   QStringLiteral("Try again"));
            continue;
        }

        const int start = positionNumber(state.startPosition);
        if (start >= 1 && start <= kLabelPositions) {
            writeLabelPads(state, start, false);
        }
        // A negative start (-5) names no position at all: it is refused like a
        // start above 30 rather than printed on whatever the boxes hold.
        if (start > kLabelPositions || start < 0) {
            refuse(platform, QStringLiteral("Cannot be greater than 30"),
                   QStringLiteral("Enter a number between 1 and 30"), MessageIcon::Exclamation);
            continue;
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
        return;
    }
}

}  // namespace tandor
