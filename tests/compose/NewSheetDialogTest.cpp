#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "appshell/widgets/ApplicationShell.h"
#include "compose/widgets/MainWindow.h"
#include "compose/widgets/NewSheetDialog.h"
#include "platform/ScriptedPlatform.h"
#include "sheets/SheetDesignFile.h"
#include "support/TestFiles.h"

using namespace tandor;

namespace {

class NewSheetDialogTest : public ::testing::Test {
protected:
    NewSheetDialogTest()
        : shell(platform, folder.withDefaultAdjustments()), sheets(folder.file(QStringLiteral("sheets"))), dialog(shell, sheets) {
        dialog.show();
    }

    template <typename T>
    T* find(const char* name) {
        T* w = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void type(const char* box, const QString& text) {
        QLineEdit* edit = find<QLineEdit>(box);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    QString problem() { return find<QLabel>("lblSheetProblem")->text(); }

    test::TempFolder folder;
    ScriptedPlatform platform;
    ApplicationShell shell;
    QString sheets;
    NewSheetDialog dialog;
};

}  // namespace

TEST_F(NewSheetDialogTest, InvalidValuesRefuseSaveAndAValidSheetIsWrittenIntoTheFolder) {
    auto* save = find<QPushButton>("cmdSheetSave");
    const QString file = sheetFilePath(sheets, QStringLiteral("Pantry"));
    // A new sheet has the 30-up layout and no name yet.
    EXPECT_EQ(problem(), QStringLiteral("Give the sheet a name."));
    EXPECT_FALSE(save->isEnabled());

    type("txtSheetName", QStringLiteral("Pantry"));
    EXPECT_TRUE(save->isEnabled()) << problem().toStdString();
    type("txtSheetPitchX", QStringLiteral("2.5"));
    EXPECT_EQ(problem(), QStringLiteral("Labels overlap: the horizontal pitch 2.50 in is less than the label width 2.63 in."));
    EXPECT_FALSE(save->isEnabled());
    QTest::mouseClick(save, Qt::LeftButton);
    type("txtSheetRows", QStringLiteral("x"));
    EXPECT_FALSE(save->isEnabled());
    QTest::keyClick(&dialog, Qt::Key_S, Qt::AltModifier);
    EXPECT_FALSE(QFileInfo::exists(file)) << "an invalid sheet was saved";

    type("txtSheetPitchX", QStringLiteral("2.75"));
    type("txtSheetRows", QStringLiteral("10"));
    ASSERT_TRUE(save->isEnabled()) << problem().toStdString();
    QTest::mouseClick(save, Qt::LeftButton);
    ASSERT_TRUE(QFileInfo::exists(file));
    const ReadSheetFile saved = designFromXml(test::readAll(file));
    ASSERT_TRUE(saved.design.has_value()) << saved.problem.toStdString();
    EXPECT_EQ(saved.design->pitchX, 2.75);
    EXPECT_EQ(saved.design->rows, 10);
    ASSERT_FALSE(platform.messages().isEmpty());
    EXPECT_TRUE(platform.messages().last().text.contains(file)) << platform.messages().last().text.toStdString();
    EXPECT_TRUE(platform.messages().last().text.contains(QStringLiteral("now in the list of label sheets under its name, Pantry")));
    auto* list = find<QListWidget>("lstSheets");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Pantry"));

    // Another new sheet of the same name is not written over it unasked.
    QTest::mouseClick(find<QPushButton>("cmdSheetNew"), Qt::LeftButton);
    type("txtSheetName", QStringLiteral("Pantry"));
    type("txtSheetColumns", QStringLiteral("2"));
    const qsizetype asked = platform.messages().size();
    QTest::mouseClick(save, Qt::LeftButton);  // answered No
    ASSERT_EQ(platform.messages().size(), asked + 1);
    EXPECT_EQ(platform.messages().last().buttons, MessageButtons::YesNo);
    EXPECT_EQ(designFromXml(test::readAll(file)).design->columns, 3);

    // The saved sheet opens for editing in millimetres, and is deleted.
    list->setCurrentRow(0);
    QTest::mouseClick(find<QPushButton>("cmdSheetOpen"), Qt::LeftButton);
    EXPECT_EQ(find<QLineEdit>("txtSheetColumns")->text(), QStringLiteral("3"));
    auto* mm = find<QRadioButton>("optSheetMm");
    QTest::mouseClick(mm, Qt::LeftButton, {}, QPoint(6, mm->height() / 2));
    EXPECT_EQ(find<QLineEdit>("txtSheetLabelWidth")->text(), QStringLiteral("66.675"));
    EXPECT_EQ(find<QLineEdit>("txtSheetPaperWidth")->text(), QStringLiteral("215.9"));
    list->setCurrentRow(0);
    platform.answerMessage(MessageAnswer::Yes);
    QTest::mouseClick(find<QPushButton>("cmdSheetDelete"), Qt::LeftButton);
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_EQ(list->count(), 0);
}

TEST_F(NewSheetDialogTest, EveryControlHasAMnemonicOfItsOwnAndTheMenuOpensTheDialog) {
    QStringList letters;
    auto letterOf = [](const QString& caption) {
        const qsizetype amp = caption.indexOf(QLatin1Char('&'));
        return amp < 0 ? QString() : caption.mid(amp + 1, 1).toLower();
    };
    QStringList captions;
    for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>()) {
        captions.append(b->text());
    }
    for (QLabel* l : dialog.findChildren<QLabel*>()) {
        if (l->buddy()) {
            captions.append(l->text());
        }
    }
    EXPECT_GE(captions.size(), 19);
    for (const QString& caption : captions) {
        const QString letter = letterOf(caption);
        EXPECT_FALSE(letter.isEmpty()) << caption.toStdString() << " has no mnemonic";
        EXPECT_FALSE(letters.contains(letter)) << caption.toStdString() << " shares its mnemonic";
        letters.append(letter);
    }

    MainWindow& main = shell.mainWindow();
    main.show();
    QAction* item = main.findChild<QAction*>(QStringLiteral("mnuMarginNewSheet"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text().remove(QLatin1Char('&')), QStringLiteral("New Label Sheet..."));
    QString shownFolder;
    QTimer::singleShot(0, [this, &shownFolder] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<NewSheetDialog*>(w); d && d != &dialog && d->isVisible()) {
                shownFolder = d->folder();
                d->reject();
            }
        }
    });
    item->trigger();  // the dialog is modal: it is answered above
    EXPECT_EQ(shownFolder, userSheetsFolder());
}
