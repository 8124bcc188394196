#include "compose/widgets/LabelPositionCommand.h"

#include "compose/LabelPositionPrompt.h"
#include "compose/LabelPositions.h"
#include "sheets/LabelSheet.h"
#include "platform/Platform.h"

namespace tandor {

void askLabelPosition(CompositionState& state, Platform& platform) {
    const QString prompt = labelPositionPromptText(sheetOf(state));
    for (;;) {
        const QString answer = platform.input(prompt, kLabelPositionPromptTitle, QStringLiteral("1"));
        const std::optional<LabelPositionRefusal> refusal = takeLabelPosition(state, answer);
        if (!refusal) {
            return;
        }
        platform.beep();
        platform.message(refusal->text, refusal->title, refusal->icon, MessageButtons::Ok);
    }
}

}  // namespace tandor
