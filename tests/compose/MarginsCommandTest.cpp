#include <gtest/gtest.h>

#include "support/PrintTestSupport.h"

#include <QRandomGenerator>

#include "compose/widgets/MarginsCommand.h"
#include "platform/AppError.h"
#include "platform/FaultPoint.h"
#include "platform/ScriptedPlatform.h"
#include "sheets/AdjustmentFile.h"
#include "support/TestFiles.h"

using namespace tandor;
using test::readAll;
using test::slot;
using test::TempFolder;

namespace {

// Runs a Margins command answering the left and top boxes in turn.
ScriptedPlatform runMargins(const QString& folder, MarginsKind kind, const QStringList& answers) {
    ScriptedPlatform platform;
    for (const QString& a : answers) {
        platform.answerInput(a);
    }
    runMarginsCommand(platform, folder, kind);
    return platform;
}

QStringList titles(const ScriptedPlatform& p) {
    QStringList out;
    for (const RecordedMessage& m : p.messages()) {
        out.append(m.title);
    }
    return out;
}

const QString kDone =
    QStringLiteral("D O N E !  Margin(s) for on-the-fly labels adjusted successfully.");

}  // namespace

TEST(AdjustmentFile, MissingEmptyAndGarbageFilesNeverCrash) {
    TempFolder folder;
    const Adjustment missing = readAdjustment(folder.path(), kOnTheFly);
    EXPECT_EQ(missing.left, 0);
    EXPECT_TRUE(QFile::exists(folder.file(kAdjustmentFileName)));  // created empty
    EXPECT_EQ(readAll(folder.file(kAdjustmentFileName)), QByteArray());

    EXPECT_THROW(readAdjustment(folder.file("no/such/folder"), kOnTheFly), AppError);

    QRandomGenerator random(7);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(random.bounded(0, 80), '\0');
        for (char& c : bytes) {
            c = static_cast<char>(random.bounded(256));
        }
        if (round % 2 == 0 && bytes.size() >= 8) {
            bytes.replace(0, 8, "ONTHEFLY");
        }
        try {
            adjustmentIn(bytes, kOnTheFly);
        } catch (const AppError&) {
        }
        folder.write(kAdjustmentFileName, bytes);
        ScriptedPlatform p = runMargins(folder.path(), MarginsKind::OnTheFly, {"1", "-1"});
        EXPECT_EQ(p.messages().last().text, kDone);
    }
}

TEST(MarginsCommand, AsksWithItsTextsAndAddsBothEntries) {
    TempFolder folder;
    const QString dir = folder.withDefaultAdjustments();
    const ScriptedPlatform p = runMargins(dir, MarginsKind::OnTheFly, {"-1", "2"});

    ASSERT_EQ(p.messages().size(), 3);
    EXPECT_EQ(p.messages()[0].text,
              "In the next box, enter a positive or negative number indicating how many characters "
              "to the right or "
              "left you want to move the print for an on-the-fly label.  Example: -1 to move "
              "printing one character "
              "to left, -2 to move printing two characters to left, 1 to move printing one "
              "character to right, etc.");
    EXPECT_EQ(p.messages()[1].text,
              "In the next box, enter a positive or negative number indicating how many rows down "
              "or up you want to "
              "move the print for an on-the-fly label.  Example: -1 to move printing one row "
              "higher, -2 to move "
              "printing two rows higher, 1 to move printing one row lower, etc.");
    EXPECT_EQ(titles(p), QStringList({"Left margin adjustment", "Top margin adjustment",
                                      "Margin adjustment completed"}));
    EXPECT_EQ(p.messages()[2].text, kDone);
    for (const RecordedMessage& m : p.messages()) {
        EXPECT_EQ(m.icon, MessageIcon::None);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
    }
    ASSERT_EQ(p.inputs().size(), 2);
    EXPECT_EQ(p.inputs()[0].title, "How many characters right or left?");
    EXPECT_EQ(
        p.inputs()[0].prompt,
        "Enter number of characters, positive or negative, to move right or left, respectively:");
    EXPECT_EQ(p.inputs()[1].title, "How many characters down or up?");
    EXPECT_EQ(
        p.inputs()[1].prompt,
        "Enter number of characters, positive or negative, to move down or up, respectively:");
    EXPECT_TRUE(p.inputs()[0].defaultText.isEmpty());

    EXPECT_EQ(
        readAll(folder.file(kAdjustmentFileName)),
        slot("ONTHEFLY", "-1", "2") + slot("ENVELOPE", "0", "0") + slot("BULKLIST", "0", "0"));
    runMargins(dir, MarginsKind::OnTheFly, {"-1", ""});
    EXPECT_EQ(readAdjustment(dir, kOnTheFly).left, -2);
    EXPECT_EQ(readAdjustment(dir, kOnTheFly).top, 2);
}

TEST(MarginsCommand, OtherCommandsChangeTheirOwnRecordWithTheirOwnTexts) {
    TempFolder folder;
    const QString dir = folder.withDefaultAdjustments();
    const ScriptedPlatform bulk = runMargins(dir, MarginsKind::SearchResultLabels, {"3", "4"});
    EXPECT_TRUE(
        bulk.messages()[0].text.contains("move the print for Search-result labels (labels found "
                                         "via 'Search Contacts').  Example: -1"));
    EXPECT_TRUE(bulk.messages()[1].text.contains(
        "move the print for Search-result labels.  Example: -1 to move"));
    const ScriptedPlatform env = runMargins(dir, MarginsKind::Envelope, {"5", "6"});
    EXPECT_TRUE(env.messages()[0].text.endsWith(
        "to right, etc. Note: some printers print envelopes sideways, which may cause left and top "
        "margins to be "
        "reversed.  If you find that to be the case, simply reverse them here accordingly."));
    EXPECT_TRUE(env.messages()[1].text.contains(
        "move the print for an envelope.  Example: -1 to move printing one row"));
    EXPECT_EQ(env.messages()[2].text, kDone);  // the same text for every command
    EXPECT_EQ(readAll(folder.file(kAdjustmentFileName)),
              slot("ONTHEFLY", "0", "0") + slot("ENVELOPE", "5", "6") + slot("BULKLIST", "3", "4"));
}

TEST(MarginsCommand, RefusesLongAndNonNumericEntriesAndRepeatsTheBox) {
    TempFolder folder;
    const QString dir = folder.withDefaultAdjustments();
    const QByteArray before = readAll(folder.file(kAdjustmentFileName));
    const ScriptedPlatform p =
        runMargins(dir, MarginsKind::OnTheFly, {"1000", "abc", "   ", "", "x", "12345", ""});
    EXPECT_EQ(p.inputs().size(), 7);
    QStringList texts;
    for (const RecordedMessage& m : p.messages()) {
        texts.append(m.text);
    }
    // An empty left entry skips the top margin's introduction.
    EXPECT_EQ(texts.mid(1),
              QStringList({"Number too high.", "Enter no. of characters to move right or left.",
                           "Enter no. of characters to move right or left.",
                           "Enter no. of characters to move down or up.", "Number too high.",
                           "No margin adjustment made."}));
    EXPECT_EQ(titles(p).mid(1, 5), QStringList(5, "Non-valid entry"));
    EXPECT_EQ(titles(p).last(), "Margins not adjusted");
    EXPECT_EQ(readAll(folder.file(kAdjustmentFileName)), before);
}

TEST(MarginsCommand, SumsThatDoNotFitAreClampedNotCut) {
    TempFolder folder;
    const QString dir = folder.withDefaultAdjustments();
    runMargins(dir, MarginsKind::OnTheFly, {"99", "-99"});
    runMargins(dir, MarginsKind::OnTheFly, {"99", "-99"});
    EXPECT_EQ(readAll(folder.file(kAdjustmentFileName)).left(18), slot("ONTHEFLY", "198", "-99"));
    for (int i = 0; i < 5; ++i) {
        runMargins(dir, MarginsKind::OnTheFly, {"999", ""});
    }
    EXPECT_EQ(readAdjustment(dir, kOnTheFly).left, 999);

    folder.write(kAdjustmentFileName, slot("ENVELOPE", "1.5", "-1"));
    runMargins(dir, MarginsKind::Envelope, {".25", "-.5"});  // 1.75 -> 1.8, -1.5 -> -2
    EXPECT_EQ(readAll(folder.file(kAdjustmentFileName)), slot("ENVELOPE", "1.8", "-2"));
    folder.write(kAdjustmentFileName, slot("ENVELOPE", "0", "0"));
    runMargins(dir, MarginsKind::Envelope, {"1.5", ""});
    EXPECT_EQ(readAll(folder.file(kAdjustmentFileName)), slot("ENVELOPE", "1.5", "0"));
    EXPECT_EQ(readAdjustment(dir, kEnvelope).left, 2);

    // A fraction below one keeps its digits without the leading zero.
    folder.write(kAdjustmentFileName, slot("ENVELOPE", "0", "0"));
    runMargins(dir, MarginsKind::Envelope, {"-.5", ".25"});
    EXPECT_EQ(readAll(folder.file(kAdjustmentFileName)), slot("ENVELOPE", "-.5", ".25"));
    runMargins(dir, MarginsKind::Envelope, {"-.5", "-.4"});  // -1, -0.15 -> -.2
    EXPECT_EQ(readAll(folder.file(kAdjustmentFileName)), slot("ENVELOPE", "-1", "-.2"));
}

TEST(MarginsCommand, EveryRecordOfTheNameIsUpdatedAndOtherBytesKept) {
    TempFolder folder;
    const QByteArray odd = slot("ONTHEFLY", "2", "abc", "|", "AB") +
                           slot("BULKLIST", "1", "1", "x", QByteArray(2, '\0')) +
                           slot("ONTHEFLY", "-3", "4", "#", "zz");
    folder.write(kAdjustmentFileName, odd);
    runMargins(folder.path(), MarginsKind::OnTheFly, {"1", "1"});
    EXPECT_EQ(readAll(folder.file(kAdjustmentFileName)),
              slot("ONTHEFLY", "3", "1", "|", "AB") +
                  slot("BULKLIST", "1", "1", "x", QByteArray(2, '\0')) +
                  slot("ONTHEFLY", "-2", "5", "#", "zz"));
}

TEST(MarginsCommand, AMissingFileOrRecordIsCreatedSoTheEntryIsStored) {
    TempFolder folder;
    ScriptedPlatform p = runMargins(folder.path(), MarginsKind::Envelope, {"2", ""});
    EXPECT_EQ(p.messages().last().text, kDone);
    EXPECT_EQ(readAll(folder.file(kAdjustmentFileName)),
              slot("ONTHEFLY", "0", "0") + slot("ENVELOPE", "2", "0") + slot("BULKLIST", "0", "0"));

    folder.write(kAdjustmentFileName, QByteArray());
    runMargins(folder.path(), MarginsKind::OnTheFly, {"", "-3"});
    EXPECT_EQ(readAll(folder.file(kAdjustmentFileName)), slot("ONTHEFLY", "0", "-3"));

    // A stray tail shorter than half a slot is replaced by the new slot.
    folder.write(kAdjustmentFileName, slot("ONTHEFLY", "1", "1") + "xyz");
    runMargins(folder.path(), MarginsKind::SearchResultLabels, {"4", "4"});
    EXPECT_EQ(readAll(folder.file(kAdjustmentFileName)),
              slot("ONTHEFLY", "1", "1") + slot("BULKLIST", "4", "4"));

    // Nothing entered: the missing file is not created.
    TempFolder empty;
    p = runMargins(empty.path(), MarginsKind::OnTheFly, {"", ""});
    EXPECT_EQ(p.messages().last().text, "No margin adjustment made.");
    EXPECT_FALSE(QFile::exists(empty.file(kAdjustmentFileName)));
}

TEST(MarginsCommand, WriteFailuresThrowAndLeaveTheFileAsItWas) {
    TempFolder folder;
    const QString dir = folder.withDefaultAdjustments();
    const QByteArray before = readAll(folder.file(kAdjustmentFileName));
    fault::startRecording();
    runMargins(dir, MarginsKind::OnTheFly, {"1", "1"});
    const QStringList points = fault::recordedHits();
    fault::disarmAll();
    ASSERT_EQ(points, QStringList({"adjustments.open", "adjustments.write", "adjustments.commit"}));
    folder.write(kAdjustmentFileName, before);
    for (const QString& point : points) {
        fault::arm(point);
        ScriptedPlatform p;
        p.answerInput("1");
        p.answerInput("1");
        try {
            runMarginsCommand(p, dir, MarginsKind::OnTheFly);
            ADD_FAILURE() << "no failure at " << point.toStdString();
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), errors::kDeviceIo);
        }
        fault::disarmAll();
        EXPECT_EQ(readAll(folder.file(kAdjustmentFileName)), before) << point.toStdString();
        EXPECT_NE(p.messages().last().text, kDone);
    }
    EXPECT_THROW(runMargins(folder.file("missing/folder"), MarginsKind::OnTheFly, {"1", "1"}),
                 AppError);
}

TEST(MarginsCommand, AFractionKeepsItsLeadingZeroWhenTheFieldHasRoom) {
    TempFolder folder;
    const QString dir = folder.withDefaultAdjustments();
    folder.write(kAdjustmentFileName, slot("ENVELOPE", "0", "0"));
    runMargins(dir, MarginsKind::Envelope, {".5", "-.5"});
    EXPECT_EQ(readAll(folder.file(kAdjustmentFileName)), slot("ENVELOPE", "0.5", "-.5"));
}
