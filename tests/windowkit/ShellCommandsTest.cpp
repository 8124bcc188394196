#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "platform/ScriptedPlatform.h"
#include "compose/widgets/MainWindow.h"
#include "windowkit/HelpLinks.h"
#include "windowkit/SystemInfo.h"
#include "windowkit/widgets/AboutBox.h"
#include "appshell/widgets/ApplicationShell.h"
#include "store/ContactsDocument.h"
#include "support/MenuKeys.h"
#include "support/TestFiles.h"

using namespace tandor;

namespace {

class ShellCommandsTest : public ::testing::Test {
protected:
    ShellCommandsTest() : shell(platform, folder.withDefaultAdjustments()), session(shell.document()), window(shell.mainWindow()) {
        window.show();
        QApplication::setActiveWindow(&window);
        line1 = window.findChild<QLineEdit*>(QStringLiteral("txtLMLine1"));
    }
    ~ShellCommandsTest() override {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<AboutBox*>(w)) {
                w->close();
            }
        }
    }
    QAction* action(const char* name) { return window.findChild<QAction*>(QString::fromLatin1(name)); }
    QMenu* editMenu() { return window.findChild<QMenu*>(QStringLiteral("mnuLMEdit")); }
    // Line 1 holding "Ann Lee" with the keyboard focus and the given part selected.
    void selectInLine1(int start, int length) {
        line1->setFocus();
        line1->setText(QStringLiteral("Ann Lee"));
        line1->setSelection(start, length);
    }
    void openEditMenu() {
        auto* menu = window.findChild<QMenu*>(QStringLiteral("mnuLMEdit"));
        ASSERT_NE(menu, nullptr);
        emit menu->aboutToShow();
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    ApplicationShell shell;
    ContactsDocument& session;
    MainWindow& window;
    QLineEdit* line1 = nullptr;
};

}  // namespace

TEST_F(ShellCommandsTest, TheEditMenuEnablesCutAndCopyOnlyForASelection) {
    line1->setFocus();
    QTest::keyClicks(line1, QStringLiteral("Ann Lee"));
    openEditMenu();
    EXPECT_FALSE(action("mnuLMEditCut")->isEnabled());
    EXPECT_FALSE(action("mnuLMEditCopy")->isEnabled());
    EXPECT_TRUE(action("mnuLMEditPaste")->isEnabled());

    line1->setSelection(0, 3);
    openEditMenu();
    EXPECT_TRUE(action("mnuLMEditCut")->isEnabled());
    EXPECT_TRUE(action("mnuLMEditCopy")->isEnabled());
}

TEST_F(ShellCommandsTest, CutCopyAndPasteGoThroughTheClipboard) {
    line1->setFocus();
    QTest::keyClicks(line1, QStringLiteral("Ann Lee"));
    line1->setSelection(0, 3);
    action("mnuLMEditCopy")->trigger();
    EXPECT_EQ(platform.clipboardText(), QStringLiteral("Ann"));
    EXPECT_EQ(line1->text(), QStringLiteral("Ann Lee"));

    line1->setSelection(3, 4);
    action("mnuLMEditCut")->trigger();
    EXPECT_EQ(platform.clipboardText(), QStringLiteral(" Lee"));
    EXPECT_EQ(line1->text(), QStringLiteral("Ann"));

    auto* line2 = window.findChild<QLineEdit*>(QStringLiteral("txtLMLine2"));
    line2->setFocus();
    QTest::keyClicks(line2, QStringLiteral("12"));
    line2->setCursorPosition(1);
    action("mnuLMEditPaste")->trigger();
    EXPECT_EQ(line2->text(), QStringLiteral("1 Lee2"));
}

TEST_F(ShellCommandsTest, TheEditMenuUsedFromTheKeyboardActsOnTheSelectionLeftInTheBox) {
    // Alt+E opens the menu with Cut highlighted; Return cuts the selection.
    platform.setClipboardText(QStringLiteral("old"));
    selectInLine1(0, 3);
    QTest::keyClick(line1, Qt::Key_E, Qt::AltModifier);
    ASSERT_EQ(QApplication::activePopupWidget(), editMenu());
    EXPECT_TRUE(action("mnuLMEditCut")->isEnabled());
    EXPECT_EQ(editMenu()->activeAction(), action("mnuLMEditCut"));
    QTest::keyClick(editMenu(), Qt::Key_Return);
    EXPECT_EQ(line1->text(), QStringLiteral(" Lee"));
    EXPECT_EQ(platform.clipboardText(), QStringLiteral("Ann"));
    EXPECT_EQ(QApplication::focusWidget(), line1);

    // Alt, then the arrow keys: Copy leaves the box, its selection and the
    // focus as they were.
    selectInLine1(4, 3);
    QMenu* menu = test::openMenuByKeys(&window, editMenu());
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(action("mnuLMEditCut")->isEnabled());
    EXPECT_TRUE(action("mnuLMEditCopy")->isEnabled());
    test::chooseByKeys(menu, action("mnuLMEditCopy"));
    EXPECT_EQ(platform.clipboardText(), QStringLiteral("Lee"));
    EXPECT_EQ(line1->text(), QStringLiteral("Ann Lee"));
    EXPECT_EQ(line1->selectedText(), QStringLiteral("Lee"));
    EXPECT_EQ(QApplication::focusWidget(), line1);

    // Paste replaces the selection, here one made from the caret leftwards;
    // the caret stays at the start of the selection as it was.
    platform.setClipboardText(QStringLiteral("Bo"));
    line1->setCursorPosition(3);
    QTest::keyClick(line1, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(line1, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(line1, Qt::Key_E, Qt::AltModifier);
    QTest::keyClick(editMenu(), Qt::Key_Escape);  // back to the menu bar
    EXPECT_EQ(line1->selectedText(), QStringLiteral("nn"));
    EXPECT_EQ(line1->cursorPosition(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);  // back to the box
    EXPECT_EQ(QApplication::focusWidget(), line1);
    EXPECT_EQ(line1->selectedText(), QStringLiteral("nn"));
    EXPECT_EQ(line1->cursorPosition(), 1);
    menu = test::openMenuByKeys(&window, editMenu());
    ASSERT_NE(menu, nullptr);
    test::chooseByKeys(menu, action("mnuLMEditPaste"));
    EXPECT_EQ(line1->text(), QStringLiteral("ABo Lee"));

    // With only a caret, the keyboard-opened menu greys Cut and Copy.
    line1->setCursorPosition(2);
    menu = test::openMenuByKeys(&window, editMenu());
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(action("mnuLMEditCut")->isEnabled());
    EXPECT_FALSE(action("mnuLMEditCopy")->isEnabled());
    EXPECT_TRUE(action("mnuLMEditPaste")->isEnabled());
    QTest::keyClick(menu, Qt::Key_Escape);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(line1->cursorPosition(), 2);
}

TEST_F(ShellCommandsTest, ASelectionTheMenuBarTookIsDroppedWhenTheFocusMovesElsewhere) {
    auto* line2 = window.findChild<QLineEdit*>(QStringLiteral("txtLMLine2"));
    selectInLine1(0, 3);
    line2->setText(QStringLiteral("12 Oak"));
    QTest::keyClick(line1, Qt::Key_Alt);
    ASSERT_NE(QApplication::focusWidget(), line1);
    line2->setFocus(Qt::MouseFocusReason);
    line2->setSelection(0, 2);
    action("mnuLMEditCut")->trigger();
    EXPECT_EQ(platform.clipboardText(), QStringLiteral("12"));
    EXPECT_EQ(line2->text(), QStringLiteral(" Oak"));
    EXPECT_EQ(line1->text(), QStringLiteral("Ann Lee"));
    line1->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(line1->hasSelectedText()) << "no old selection comes back";
}

TEST_F(ShellCommandsTest, CtrlXCAndVInATextBoxRunTheEditCommands) {
    platform.setClipboardText(QStringLiteral("old"));
    selectInLine1(4, 3);
    QTest::keyClick(line1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboardText(), QStringLiteral("Lee"));

    line1->setCursorPosition(0);
    QTest::keyClick(line1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboardText(), QString())
        << "Copy with nothing selected empties the clipboard";

    line1->setSelection(0, 4);
    QTest::keyClick(line1, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboardText(), QStringLiteral("Ann "));
    EXPECT_EQ(line1->text(), QStringLiteral("Lee"));

    platform.setClipboardText(QStringLiteral("Bo "));
    line1->setCursorPosition(0);
    QTest::keyClick(line1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(line1->text(), QStringLiteral("Bo Lee"));

    // Other keys stay with the box: Ctrl+Z undoes there.
    QTest::keyClick(line1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(line1->text(), QStringLiteral("Bo Lee"));
}

TEST_F(ShellCommandsTest, HelpAndLookUpsOpenTheirDocumentsAndPages) {
    const QString before = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
    action("mnuManual")->trigger();
    QDir::setCurrent(before);
    action("mnuStates")->trigger();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdPeopleFind")), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdZipFinder")), Qt::LeftButton);
    ASSERT_EQ(platform.shellOpened().size(), 4);
    EXPECT_EQ(platform.shellOpened()[0], folder.file(QStringLiteral("tdrUman.pdf")));
    EXPECT_EQ(platform.shellOpened()[1], folder.file(QStringLiteral("tdr_state_abbreviations.pdf")));
    EXPECT_TRUE(platform.shellOpened()[2].startsWith(QStringLiteral("https://")));
    EXPECT_TRUE(platform.shellOpened()[3].startsWith(QStringLiteral("https://")));
}

TEST_F(ShellCommandsTest, HelpAndLookUpsThatCannotOpenSaySoWithThePathOrAddress) {
    EXPECT_TRUE(platform.messages().isEmpty());  // opened: nothing to say
    platform.shellOpenFails = true;
    action("mnuManual")->trigger();
    action("mnuStates")->trigger();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdPeopleFind")), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdZipFinder")), Qt::LeftButton);
    ASSERT_EQ(platform.messages().size(), 4);
    for (int i = 0; i < 4; ++i) {
        const RecordedMessage& m = platform.messages()[i];
        EXPECT_EQ(m.title, kNotOpenedTitle);
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
        EXPECT_TRUE(m.text.contains(QStringLiteral("\n\n") + platform.shellOpened()[i] + QStringLiteral("\n\n")))
            << m.text.toStdString();
    }
    EXPECT_EQ(platform.messages()[0].text, documentNotOpenedText(folder.file(QStringLiteral("tdrUman.pdf"))));
    EXPECT_EQ(platform.messages()[3].text, pageNotOpenedText(kZipFinderAddress));
}

TEST_F(ShellCommandsTest, TheAboutBoxNamesTheProgramAndItsVersionAndComesForward) {
    action("mnuAbout")->trigger();
    AboutBox* box = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* b = qobject_cast<AboutBox*>(w); b && b->isVisible()) {
            box = b;
        }
    }
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("About Tandor"));
    EXPECT_EQ(box->findChild<QLabel*>(QStringLiteral("lblTitle"))->text(), QStringLiteral("Tandor"));
    EXPECT_EQ(box->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Version 5.8.0"));
    EXPECT_TRUE(box->findChild<QLabel*>(QStringLiteral("lblDisclaimer"))->text().startsWith(QStringLiteral("Disclaimer:")));
    EXPECT_EQ(box->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->text(), QStringLiteral("&System Info..."));
    EXPECT_TRUE(window.isVisible()) << "the caller stays open";

    action("mnuAbout")->trigger();
    int boxes = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        boxes += qobject_cast<AboutBox*>(w) && w->isVisible() ? 1 : 0;
    }
    EXPECT_EQ(boxes, 1);

    QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    QPointer<QWidget> infoWindow;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("frmSystemInformation") && w->isVisible()) {
            infoWindow = w;
        }
    }
    ASSERT_FALSE(infoWindow.isNull());
    auto* info = infoWindow->findChild<QPlainTextEdit*>(QStringLiteral("txtSystemInformation"));
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->toPlainText().contains(folder.path()));
    EXPECT_TRUE(platform.messages().isEmpty());
    QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the box is deleted
    // The information stays open when the about box closes.
    ASSERT_FALSE(infoWindow.isNull());
    EXPECT_TRUE(infoWindow->isVisible());
    infoWindow->close();
}

// An installed copy: the help documents are where they were installed, the
// program folder (in the about box's system information) is the user's own.
TEST(ShellCommandsInstalled, HelpOpensTheInstalledDocuments) {
    test::TempFolder program;
    test::TempFolder installed;
    ScriptedPlatform platform;
    ApplicationShell shell(platform, program.withDefaultAdjustments(), installed.path());
    MainWindow& window = shell.mainWindow();
    window.findChild<QAction*>(QStringLiteral("mnuManual"))->trigger();
    window.findChild<QAction*>(QStringLiteral("mnuStates"))->trigger();
    EXPECT_EQ(platform.shellOpened(), QStringList({installed.file(QStringLiteral("tdrUman.pdf")),
                                                   installed.file(QStringLiteral("tdr_state_abbreviations.pdf"))}));
    const QString info = systemInformationLines(program.path(), installed.path()).join(QLatin1Char('\n'));
    EXPECT_TRUE(info.contains(QStringLiteral("Program folder: ") + program.path()));
    EXPECT_TRUE(info.contains(QStringLiteral("Help documents: ") + installed.path()));
    EXPECT_FALSE(systemInformationLines(program.path(), program.path()).join(QLatin1Char('\n')).contains(
        QStringLiteral("Help documents")));
}
