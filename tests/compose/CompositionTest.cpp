#include <gtest/gtest.h>

#include "platform/ScriptedPlatform.h"
#include "compose/Composition.h"
#include "compose/widgets/LabelPositionCommand.h"

using namespace tandor;

namespace {

CompositionState started() {
    CompositionState s;
    composition::startUp(s);
    return s;
}

}  // namespace

TEST(Composition, StartUpSelectsPortraitAndLeftJustifiedWithDefaultPads) {
    const CompositionState s = started();
    EXPECT_TRUE(s.portrait);
    EXPECT_FALSE(s.landscape);
    EXPECT_TRUE(s.leftJustified);
    EXPECT_FALSE(s.centered);
    EXPECT_EQ(s.leftPad, QStringLiteral("2"));
    EXPECT_EQ(s.topPad, QStringLiteral("3"));
    EXPECT_FALSE(s.labelSelected);
    EXPECT_FALSE(s.envelopeSelected);
    EXPECT_FALSE(s.envelopeListVisible);
    EXPECT_EQ(s.envelopeIndex, -1);
    EXPECT_FALSE(s.boldVisible);
    EXPECT_FALSE(s.largeFontVisible);
    EXPECT_FALSE(s.returnAddressMode);
    EXPECT_TRUE(s.envelopeSizeCode.isEmpty());
    EXPECT_EQ(s.focus, FocusTarget::Line1);
}

TEST(Composition, EnvelopeBeforeAnySizeLeavesThePadsAndAsksForASizeLater) {
    CompositionState s = started();
    s.leftPad = QStringLiteral("7");
    s.topPad = QStringLiteral("9");
    composition::clickEnvelope(s);
    EXPECT_TRUE(s.envelopeSelected);
    EXPECT_TRUE(s.landscape);
    EXPECT_TRUE(s.envelopeListVisible);
    EXPECT_EQ(s.envelopeSizeCode, QStringLiteral("0"));
    EXPECT_EQ(s.leftPad, QStringLiteral("7"));
    EXPECT_EQ(s.topPad, QStringLiteral("9"));
    EXPECT_EQ(s.focus, FocusTarget::Line1);
}

TEST(Composition, TheListAndTheEnvelopeOptionWriteTheirOwnMargins) {
    CompositionState s = started();
    composition::clickEnvelope(s);
    composition::chooseEnvelopeSize(s, 1);  // "#6 3/4 Small envelope"
    EXPECT_EQ(s.leftPad, QStringLiteral("23"));
    EXPECT_EQ(s.topPad, QStringLiteral("32"));
    EXPECT_EQ(s.envelopeSizeCode, QStringLiteral("2"));
    EXPECT_EQ(s.sizeCaption, QStringLiteral("#6 3/4 Small envelope (3 5/8 in x 6 1/2 in)"));
    EXPECT_TRUE(s.boldVisible);
    EXPECT_TRUE(s.largeFontVisible);
    EXPECT_EQ(s.focus, FocusTarget::PrintButton);

    ScriptedPlatform platform;
    platform.answerInput(QStringLiteral("5"));
    composition::clickLabel(s);
    askLabelPosition(s, platform);
    EXPECT_TRUE(s.portrait);
    EXPECT_FALSE(s.envelopeListVisible);
    EXPECT_FALSE(s.boldVisible);
    composition::clickEnvelope(s);  // the list is still on that item
    EXPECT_EQ(s.leftPad, QStringLiteral("28"));
    EXPECT_EQ(s.topPad, QStringLiteral("39"));
    EXPECT_TRUE(s.sizeCaption.isEmpty());
}

TEST(Composition, EveryEnvelopeSizeHasBothMarginColumns) {
    const int list[7][2] = {{38, 33}, {23, 32}, {20, 32}, {28, 30}, {30, 30}, {36, 25}, {30, 30}};
    const int option[7][2] = {{38, 33}, {28, 39}, {24, 37}, {34, 36}, {36, 36}, {44, 30}, {36, 36}};
    for (int i = 0; i < 7; ++i) {
        CompositionState s = started();
        composition::chooseEnvelopeSize(s, i);
        EXPECT_EQ(s.leftPad.toInt(), list[i][0]) << i;
        EXPECT_EQ(s.topPad.toInt(), list[i][1]) << i;
        composition::clickEnvelope(s);
        EXPECT_EQ(s.leftPad.toInt(), option[i][0]) << i;
        EXPECT_EQ(s.topPad.toInt(), option[i][1]) << i;
        EXPECT_EQ(s.envelopeSizeCode, QString::number(i + 1));
    }
    EXPECT_EQ(QString::fromLatin1(envelopeSizes()[6].text), QStringLiteral("Custom (edit Left and Top margin boxes)"));
}

TEST(Composition, PortraitResetsThePadsAndTheOtherOptionsMoveTheFocus) {
    CompositionState s = started();
    composition::chooseEnvelopeSize(s, 0);
    composition::clickPortrait(s);
    EXPECT_EQ(s.leftPad, QStringLiteral("2"));
    EXPECT_EQ(s.topPad, QStringLiteral("3"));
    s.focus = FocusTarget::Unchanged;
    composition::clickCentered(s);
    EXPECT_TRUE(s.centered);
    EXPECT_FALSE(s.leftJustified);
    EXPECT_EQ(s.focus, FocusTarget::Line1);
    s.focus = FocusTarget::Unchanged;
    composition::clickBold(s, true);
    EXPECT_EQ(s.focus, FocusTarget::PrintButton);
    s.returnAddressMode = true;
    s.focus = FocusTarget::Unchanged;
    composition::clickLargeFont(s, true);
    EXPECT_EQ(s.focus, FocusTarget::Unchanged) << "the Print button is hidden in return-address mode";
}

TEST(Composition, ClearFormResetsTheMediumButKeepsAlignmentOrientationAndList) {
    CompositionState s = started();
    s.lines = {"a", "b", "c", "d", "e"};
    composition::clickCentered(s);
    composition::clickEnvelope(s);
    composition::chooseEnvelopeSize(s, 3);
    ASSERT_FALSE(s.sizeCaption.isEmpty());
    composition::clickBold(s, true);
    s.returnAddressMode = true;
    s.mediumOptionsEnabled = false;
    composition::clearForm(s);
    EXPECT_TRUE(s.sizeCaption.isEmpty());
    for (const QString& line : s.lines) {
        EXPECT_TRUE(line.isEmpty());
    }
    EXPECT_TRUE(s.centered);
    EXPECT_TRUE(s.landscape);
    EXPECT_EQ(s.envelopeIndex, 3);
    EXPECT_FALSE(s.envelopeSelected);
    EXPECT_FALSE(s.labelSelected);
    EXPECT_FALSE(s.bold);
    EXPECT_FALSE(s.boldVisible);
    EXPECT_FALSE(s.returnAddressMode);
    EXPECT_TRUE(s.mediumOptionsEnabled);
    EXPECT_FALSE(s.envelopeListVisible);
    EXPECT_EQ(s.envelopeSizeCode, QStringLiteral("0"));
    EXPECT_EQ(s.startPosition, QStringLiteral("0"));
    EXPECT_EQ(s.leftPad, QStringLiteral("2"));
    EXPECT_EQ(s.topPad, QStringLiteral("3"));
    EXPECT_EQ(s.focus, FocusTarget::Line1);
}

TEST(Composition, ALineOfSpacesIsNotEmpty) {
    CompositionState s;
    EXPECT_TRUE(s.allLinesEmpty());
    s.lines[4] = QStringLiteral(" ");
    EXPECT_FALSE(s.allLinesEmpty());
}
