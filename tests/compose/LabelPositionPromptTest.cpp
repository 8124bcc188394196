#include <gtest/gtest.h>

#include "support/PrintTestSupport.h"

#include "platform/ScriptedPlatform.h"
#include "compose/Composition.h"
#include "compose/LabelPositions.h"
#include "compose/widgets/LabelPositionCommand.h"

using namespace tandor;

namespace {

struct Prompted {
    CompositionState state;
    ScriptedPlatform platform;
};

// Clicks Label stock and answers the position prompt in turn; the prompt ends
// (with no medium) at the first question left unanswered.
void clickLabelAnswering(Prompted& run, const QStringList& answers) {
    composition::startUp(run.state);
    run.state.lines[0] = "John";
    for (const QString& a : answers) {
        run.platform.answerInput(a);
    }
    composition::clickLabel(run.state);
    askLabelPosition(run.state, run.platform);
}

void expectNoMedium(const CompositionState& s) {
    EXPECT_FALSE(s.labelSelected);
    EXPECT_FALSE(s.envelopeSelected);
    EXPECT_FALSE(s.positionCaptionVisible);
    EXPECT_TRUE(s.positionCaption.isEmpty());
    EXPECT_EQ(s.leftPad, "2");
    EXPECT_EQ(s.topPad, "3");
}

}  // namespace

TEST(LabelPositionPrompt, AsksWithItsTextAndSetsThePositionOfAnAnswer) {
    Prompted run;
    clickLabelAnswering(run, {"5"});
    ASSERT_EQ(run.platform.inputs().size(), 1);
    const RecordedInput& asked = run.platform.inputs()[0];
    EXPECT_EQ(asked.title, "Label position reading L to R");
    EXPECT_EQ(asked.defaultText, "1");
    EXPECT_EQ(asked.prompt,
              "Enter the label position [a number between 1 and 30] on which to print.  Example: "
              "label position 5 "
              "would be the middle label on the 2nd row of label sheet.  To print multiple labels, "
              "enter a range "
              "such as 4-9, 15-18, etc.  To print an entire sheet, enter 1-30.");
    const CompositionState& s = run.state;
    EXPECT_TRUE(s.labelSelected);
    EXPECT_EQ(s.labelPositionText, "5");
    EXPECT_EQ(s.startPosition, "5");
    EXPECT_EQ(s.labelCount, 1);
    EXPECT_EQ(s.leftPad, "35");
    EXPECT_EQ(s.topPad, "10");
    EXPECT_TRUE(s.positionCaptionVisible);
    EXPECT_EQ(s.positionCaption, "Label Position 5");
    EXPECT_EQ(s.focus, FocusTarget::PrintButton);
    EXPECT_TRUE(run.platform.messages().isEmpty());
    EXPECT_EQ(run.platform.beeps(), 0);
}

TEST(LabelPositionPrompt, BlanksAndDotsAreRemoved) {
    Prompted range;
    clickLabelAnswering(range, {" 1 - 3 "});
    EXPECT_EQ(range.state.labelPositionText, "1-3");
    EXPECT_EQ(range.state.labelCount, 3);
    EXPECT_EQ(range.state.positionCaption, "Label Position 1-3");
    EXPECT_EQ(range.state.leftPad, "2");
    EXPECT_EQ(range.state.topPad, "3");

    Prompted dotted;
    clickLabelAnswering(dotted, {"1.5"});
    EXPECT_EQ(dotted.state.labelPositionText, "15");
    EXPECT_EQ(dotted.state.leftPad, "68");
    EXPECT_EQ(dotted.state.topPad, "30");

    Prompted whole;
    clickLabelAnswering(whole, {"4-9"});
    EXPECT_EQ(whole.state.startPosition, "4");
    EXPECT_EQ(whole.state.endPosition, "9");
    EXPECT_EQ(whole.state.labelCount, 6);
    EXPECT_EQ(whole.state.leftPad, "2");
    EXPECT_EQ(whole.state.topPad, "10");
}

TEST(LabelPositionPrompt, RefusedAnswersAreAskedAgain) {
    const QString dash =
        "Use a dash when specifying a range of labels to print.  Examples: 1-30, 5-8, 15-22.  Each "
        "number represents a label position on label sheet.";
    const QString tooMany =
        "No more than 30 labels may be printed.  To print an entire sheet, enter 1-30.";
    const QString order = "Label starting position cannot exceed ending position.";
    struct Case {
        const char* answer;
        QString text;
        const char* title;
        MessageIcon icon;
    };
    const Case cases[] = {
        {"123", dash, "Include dash for range of labels", MessageIcon::Information},
        {"1-2-3-4", dash, "Include dash for range of labels", MessageIcon::Information},
        {"25-35", "Label position cannot exceed 30", "Maximum is 30", MessageIcon::Information},
        {"31", "Label position cannot exceed 30", "Maximum is 30", MessageIcon::Information},
        {"1-100", tooMany, "Maximum is 30", MessageIcon::Information},
        {"9-5", order, "Try again", MessageIcon::Information},
        {"12-8", order, "Try again", MessageIcon::Information},
        {"-5", "Cannot be greater than 30", "Enter a number between 1 and 30",
         MessageIcon::Exclamation},
    };
    for (const Case& c : cases) {
        // Refused, then cancelled.
        Prompted cancelled;
        clickLabelAnswering(cancelled, {c.answer});
        ASSERT_EQ(cancelled.platform.messages().size(), 1) << c.answer;
        const RecordedMessage& m = cancelled.platform.messages()[0];
        EXPECT_EQ(m.text, c.text) << c.answer;
        EXPECT_EQ(m.title, c.title) << c.answer;
        EXPECT_EQ(m.icon, c.icon) << c.answer;
        EXPECT_EQ(m.buttons, MessageButtons::Ok) << c.answer;
        EXPECT_EQ(cancelled.platform.beeps(), 1) << c.answer;
        EXPECT_EQ(cancelled.platform.inputs().size(), 2) << c.answer;
        expectNoMedium(cancelled.state);

        // Refused, then a good answer.
        Prompted retried;
        clickLabelAnswering(retried, {c.answer, "28-30"});
        EXPECT_TRUE(retried.state.labelSelected) << c.answer;
        EXPECT_EQ(retried.state.labelCount, 3) << c.answer;
        EXPECT_EQ(retried.state.positionCaption, "Label Position 28-30") << c.answer;
        EXPECT_EQ(retried.state.leftPad, "2") << c.answer;
        EXPECT_EQ(retried.state.topPad, "63") << c.answer;
    }
}

TEST(LabelPositionPrompt, CancelZeroOrNoNumberLeaveNoMedium) {
    for (const char* answer : {"", "0", "ab", "..", "   ", "-"}) {
        Prompted run;
        run.state.leftPad = "9";
        clickLabelAnswering(run, {answer});
        EXPECT_TRUE(run.platform.messages().isEmpty()) << answer;
        EXPECT_EQ(run.platform.inputs().size(), 1) << answer;
        expectNoMedium(run.state);
    }
}

TEST(LabelPositionPrompt, AnyTypedTextEndsWithoutACrash) {
    const QStringList odd = {"\t5",  "5\n", "１２", "0-0",  "0-5",  "99-99",
                             "-1-5", "--",  "5--",  "1-2b", "a-b",  QString(300, '9'),
                             "3-",   "-30", "+5",   "ä-ö",  "30-30"};
    for (const QString& answer : odd) {
        Prompted run;
        clickLabelAnswering(run, {answer});
        const CompositionState& s = run.state;
        if (s.labelSelected) {
            const int start = positionNumber(s.startPosition);
            EXPECT_GE(start, 1) << answer.toStdString();
            EXPECT_LE(start + s.labelCount - 1, 30) << answer.toStdString();
        } else {
            expectNoMedium(s);
        }
    }
}
