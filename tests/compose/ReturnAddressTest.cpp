#include <gtest/gtest.h>

#include <QRegularExpression>

#include "compose/PrintRuns.h"
#include "support/PrintTestSupport.h"

using namespace tandor;
using test::PrintBench;

namespace {

const QString kLoading =
    "Prints 80 return address labels on Avery 5167 [1/2 inch x 1 3/4 inch] labels";
const QString kCompleted = "Done!  Do you want to print another page of Return Address Labels?";

struct ReturnBench : PrintBench {
    ReturnBench() { state.lines = {"Ann Lee", "12 Oak Ln", "Reno, NV 89501", "", ""}; }
    void run() { runReturnAddressCommand(state, platform); }
    QStringList texts() const {
        QStringList out;
        for (const RecordedMessage& m : platform.messages()) {
            out.append(m.text);
        }
        return out;
    }
};

}  // namespace

TEST(ReturnAddress, OneSheetOf89LinesWithFourColumns) {
    ReturnBench b;
    b.state.lines[1] = "";  // an empty second line on every label
    b.run();
    ASSERT_EQ(b.texts(), QStringList({kLoading, kCompleted}));
    const RecordedMessage& loading = b.platform.messages()[0];
    EXPECT_EQ(loading.title, "Load printer with Avery 5167, 8167, or 18167 label stock");
    EXPECT_EQ(loading.icon, MessageIcon::Information);
    const RecordedMessage& completed = b.platform.messages()[1];
    EXPECT_EQ(completed.title, "Completed");
    EXPECT_EQ(completed.icon, MessageIcon::None);
    EXPECT_EQ(completed.buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(b.platform.printRequests().at(0).disablePrintToFile);

    const QStringList& ops = b.ops();
    EXPECT_EQ(ops.mid(0, 9),
              QStringList({"font name Courier New", "font size 8", "italic off",
                           "orientation portrait", "empty", "empty", "empty", "empty", "empty"}));
    EXPECT_EQ(ops.mid(9, 3), QStringList({"font name Courier New", "font size 8", "bold off"}));
    EXPECT_EQ(ops.count("empty") + ops.filter(QRegularExpression("^line ")).size(), 89);
    EXPECT_EQ(
        ops.at(12),
        "line [col 3] \"Ann Lee\" [col 35] \"Ann Lee\" [col 66] \"Ann Lee\" [col 97] \"Ann Lee\"");
    EXPECT_EQ(ops.last(), "end document");

    ASSERT_EQ(b.surface().documents().size(), 1u);
    ASSERT_EQ(b.surface().documents()[0].pages.size(), 1u);
    const std::vector<PlacedText>& placed = b.surface().documents()[0].pages[0].texts;
    ASSERT_EQ(placed.size(), 20u * 2 * 4);
    const int columns[4] = {3, 35, 66, 97};
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const int row = static_cast<int>(i / 8) + 1;
        const int extra = (row > 8) + (row > 13) + (row > 15);
        const bool third = (i / 4) % 2 == 1;
        EXPECT_EQ(placed[i].line, 6 + 4 * (row - 1) + extra + (third ? 2 : 0)) << i;
        EXPECT_EQ(placed[i].column, columns[i % 4]) << i;
        EXPECT_EQ(placed[i].text, third ? "Reno, NV 89501" : "Ann Lee") << i;
        EXPECT_EQ(placed[i].font, (FontSpec{"Courier New", 8, false, false})) << i;
    }
    EXPECT_FALSE(b.state.returnAddressMode);
    EXPECT_TRUE(b.state.mediumOptionsEnabled);
}

TEST(ReturnAddress, EmptyLinesSwitchToReturnAddressMode) {
    ReturnBench b;
    b.state.lines = {"", "", "", "x", ""};
    b.run();
    EXPECT_EQ(b.texts(), QStringList({kLoading, "Fill in Lines 1, 2, and 3, then press Print."}));
    EXPECT_EQ(b.platform.messages()[1].title, "Instructions");
    EXPECT_EQ(b.platform.messages()[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(b.platform.beeps(), 1);
    EXPECT_TRUE(b.state.returnAddressMode);
    EXPECT_FALSE(b.state.mediumOptionsEnabled);
    EXPECT_TRUE(b.platform.printRequests().isEmpty());

    // Filled in and printed from the return-address button: the buttons switch
    // back at once, the options only after the last answer.
    b.platform.clearRecords();
    b.state.lines = {"A", "B", "C", "", ""};
    bool enabledWhenAsked = true;
    bool modeWhenAsked = true;
    b.platform.onMessage = [&](const RecordedMessage& m) {
        if (m.title == "Completed") {
            enabledWhenAsked = b.state.mediumOptionsEnabled;
            modeWhenAsked = b.state.returnAddressMode;
        }
    };
    b.run();
    EXPECT_FALSE(enabledWhenAsked);
    EXPECT_FALSE(modeWhenAsked);
    EXPECT_TRUE(b.state.mediumOptionsEnabled);
}

TEST(ReturnAddress, LinesFourAndFiveMustBeEmpty) {
    for (int line : {3, 4}) {
        ReturnBench b;
        b.state.lines[line] = " ";
        b.run();
        ASSERT_EQ(b.platform.messages().size(), 2);
        EXPECT_EQ(b.platform.messages()[1].text, "Leave Lines 4 and 5 blank");
        EXPECT_EQ(b.platform.messages()[1].title, "Small label can fit only 3 lines");
        EXPECT_EQ(b.platform.messages()[1].icon, MessageIcon::Exclamation);
        EXPECT_EQ(b.state.focus, FocusTarget::Line4);
        EXPECT_TRUE(b.ops().isEmpty());
    }
}

TEST(ReturnAddress, CopiesAndTheYesLoop) {
    ReturnBench b;
    b.platform.answerPrint({false, 3, false});
    b.platform.answerMessage(MessageAnswer::Ok);
    b.platform.answerMessage(MessageAnswer::Yes);
    b.platform.answerMessage(MessageAnswer::Ok);
    b.platform.answerMessage(MessageAnswer::No);
    b.run();
    EXPECT_EQ(b.texts(), QStringList({kLoading, kCompleted, kLoading, kCompleted}));
    EXPECT_EQ(b.platform.printRequests().size(), 2);
    EXPECT_EQ(b.surface().documents().size(), 4u);  // three sheets, then one more
    EXPECT_TRUE(b.state.mediumOptionsEnabled);
}

TEST(ReturnAddress, CancelIsSilentAndFailureReportsThePrinter) {
    ReturnBench cancelled;
    cancelled.platform.answerPrint({true, 1, false});
    cancelled.run();
    EXPECT_EQ(cancelled.texts(), QStringList({kLoading}));
    EXPECT_TRUE(cancelled.ops().isEmpty());

    ReturnBench failing;
    failing.state.returnAddressMode = true;
    failing.state.mediumOptionsEnabled = false;
    failing.surface().failAtOperation(40);
    failing.run();
    EXPECT_EQ(failing.texts(),
              QStringList({kLoading, "A printer problem exists.  Check printer."}));
    EXPECT_EQ(failing.platform.messages()[1].title, "Printer error");
    EXPECT_EQ(failing.platform.messages()[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(failing.surface().abandonedDocuments(), 1);
    EXPECT_TRUE(failing.surface().documents().empty());
    EXPECT_TRUE(failing.state.returnAddressMode);  // left as it was
    EXPECT_FALSE(failing.state.mediumOptionsEnabled);
}
