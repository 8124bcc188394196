#include "compose/widgets/MarginsCommand.h"

#include "platform/Platform.h"
#include "print/PaperEdge.h"

namespace tandor {
namespace {

// Asks until the answer is accepted: empty (no change) or a number.
QString askEntry(Platform& platform, const MarginsEntryQuestion& question) {
    for (;;) {
        const QString entry = platform.input(question.prompt, question.title, QString());
        const std::optional<QString> refusal = marginsEntryRefusal(entry, question);
        if (!refusal) {
            return entry;
        }
        platform.message(*refusal, kNonValidEntryTitle);
    }
}

}  // namespace

void runMarginsCommand(Platform& platform, const QString& programFolder, MarginsKind kind) {
    const MarginsQuestions questions = marginsQuestions(kind);
    platform.message(questions.left.intro, questions.left.introTitle);
    const QString left = askEntry(platform, questions.left);
    if (!left.isEmpty()) {
        platform.message(questions.top.intro, questions.top.introTitle);
    }
    const QString top = askEntry(platform, questions.top);

    if (left.isEmpty() && top.isEmpty()) {
        platform.message(kNoMarginsText, kNoMarginsTitle);
        return;
    }
    // Adjustments calibrated now are calibrated on the placement in use now.
    keepPlaceByPaperEdge(platform);
    addToAdjustment(programFolder, adjustmentName(kind), left, top);
    platform.message(kMarginsDoneText, kMarginsDoneTitle);
}

}  // namespace tandor
