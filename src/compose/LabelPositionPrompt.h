#pragma once

#include <QString>
#include <optional>

#include "compose/CompositionState.h"
#include "platform/Platform.h"

namespace tandor {

struct LabelSheet;

// The label-position prompt, asked when Label stock is chosen (after the
// click handler has selected Portrait, cleared the font boxes and emptied the
// captions): its text names the sheet's count and an example position.
inline const QString kLabelPositionPromptTitle = QStringLiteral("Label position reading L to R");
QString labelPositionPromptText(const LabelSheet& sheet);

// Why an answer to the prompt is refused: a message with an OK button, after a
// beep; the prompt is then asked again.
struct LabelPositionRefusal {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::Information;
};

// One answer to the prompt on the window's sheet. Spaces and decimal points
// are dropped (" 1 - 3 " reads 1-3, 1.5 reads 15) and the answer is kept as
// LabelPositionText and StartPosition. An accepted answer sets EndPosition,
// LabelCount, the margin boxes and the position caption, or (no position:
// empty, 0, Cancel) returns the medium to none; a refused one gives the
// message that says why.
std::optional<LabelPositionRefusal> takeLabelPosition(CompositionState& state, const QString& answer);

}  // namespace tandor
