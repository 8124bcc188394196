#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QPushButton>
#include <QScreen>
#include <QAbstractButton>
#include <QRegularExpression>
#include <QPointer>
#include <QTest>

#include "platform/ScriptedPlatform.h"
#include "compose/widgets/MainWindow.h"
#include "windowkit/widgets/AboutBox.h"
#include "appshell/widgets/ApplicationShell.h"
#include "store/ContactsFile.h"
#include "store/ContactsDocument.h"
#include "support/MenuKeys.h"
#include "support/TestFiles.h"

using namespace tandor;

namespace {

// The main window with a contacts file of one contact open, and a way to open
// each of the other windows from its menus.
class EveryWindowTest : public ::testing::Test {
protected:
    EveryWindowTest() : shell(platform, folder.withDefaultAdjustments()), session(shell.document()), main(shell.mainWindow()) {
        const QString path = folder.file(QStringLiteral("Family.DAT"));
        {
            ContactsFile file;
            file.open(path);
            ContactFields f;
            f[Field::FName] = QStringLiteral("Ann");
            f[Field::LName] = QStringLiteral("Lee");
            f[Field::State] = QStringLiteral("NV");
            f[Field::IncludeCompany] = QStringLiteral("0");
            f[Field::BirthdayReminder] = QStringLiteral("0");
            file.append(ContactRecord::build(f));
        }
        main.show();
        platform.answerOpenFile(path);
        mainAction("mnuFileOpen")->trigger();
    }
    ~EveryWindowTest() override {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != &main && w->isVisible()) {
                platform.answerMessage(MessageAnswer::No);  // typing left in a form is dropped
                w->close();
            }
        }
    }

    QAction* mainAction(const char* name) { return main.findChild<QAction*>(QString::fromLatin1(name)); }

    QWidget* open(const char* menuItem, const char* windowName) {
        mainAction(menuItem)->trigger();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QLatin1String(windowName) && w->isVisible()) {
                QApplication::setActiveWindow(w);
                return w;
            }
        }
        ADD_FAILURE() << windowName << " did not open";
        return nullptr;
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    ApplicationShell shell;
    ContactsDocument& session;
    MainWindow& main;
};

struct WindowCase {
    const char* menuItem;
    const char* window;
};

const WindowCase kWindows[] = {
    {"mnuAdd", "frmNewContact"},     {"mnuEdit", "frmEdDelViewContact"}, {"mnuViewAll", "frmViewAll"},
    {"mnuImport", "frmLMImport"},    {"mnuExport", "frmLMExport"}, {"mnuSyncAccount", "frmSyncAccount"},
};

}  // namespace

TEST_F(EveryWindowTest, F1OpensTheManualFromTheProgramFolderInEveryWindow) {
    const QString manual = folder.file(QStringLiteral("tdrUman.pdf"));
    const QString before = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
    QApplication::setActiveWindow(&main);
    QTest::keyClick(&main, Qt::Key_F1);
    ASSERT_EQ(platform.shellOpened().size(), 1);
    EXPECT_EQ(platform.shellOpened().last(), manual);
    for (const WindowCase& c : kWindows) {
        QWidget* w = open(c.menuItem, c.window);
        ASSERT_NE(w, nullptr);
        const qsizetype opened = platform.shellOpened().size();
        QTest::keyClick(w, Qt::Key_F1);
        ASSERT_EQ(platform.shellOpened().size(), opened + 1) << c.window;
        EXPECT_EQ(platform.shellOpened().last(), manual) << c.window;
        w->close();
    }
    QDir::setCurrent(before);
}

TEST_F(EveryWindowTest, EveryWindowShowsTheAboutBox) {
    for (const WindowCase& c : kWindows) {
        QWidget* w = open(c.menuItem, c.window);
        ASSERT_NE(w, nullptr);
        QAction* about = nullptr;
        for (QAction* a : w->findChildren<QAction*>()) {
            if (a->objectName().endsWith(QLatin1String("About"))) {
                about = a;
            }
        }
        ASSERT_NE(about, nullptr) << c.window;
        EXPECT_TRUE(about->isEnabled()) << c.window;
        about->trigger();
        bool shown = false;
        QRect boxPlace;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<AboutBox*>(top); box && box->isVisible()) {
                shown = true;
                boxPlace = box->geometry();
                box->close();
            }
        }
        EXPECT_TRUE(shown) << c.window;
        // Over the window it was opened from (centred, as far as the screen allows), not beside it.
        EXPECT_TRUE(boxPlace.contains(w->geometry().center()))
            << c.window << ": the about box at " << boxPlace.x() << "," << boxPlace.y() << " is not over the window at "
            << w->x() << "," << w->y() << " " << w->width() << "x" << w->height();
        EXPECT_TRUE(w->screen()->availableGeometry().contains(boxPlace)) << c.window;
        EXPECT_TRUE(w->isVisible()) << c.window << " stays open beside the about box";
        w->close();
    }
}

TEST_F(EveryWindowTest, TheStateButtonOpensTheSheetAndLeavesTheFocusInTheStateBox) {
    for (const WindowCase& c : {kWindows[0], kWindows[1]}) {
        QWidget* w = open(c.menuItem, c.window);
        ASSERT_NE(w, nullptr);
        if (auto* first = w->findChild<QLineEdit*>(QStringLiteral("txtACFName"))) {
            first->setEnabled(true);
            first->setFocus();
        }
        auto* button = w->findChild<QPushButton*>(QStringLiteral("cmdStateAbb"));
        ASSERT_NE(button, nullptr) << c.window;
        EXPECT_EQ(button->text(), QStringLiteral("?"));
        EXPECT_EQ(button->toolTip(), QStringLiteral("Look up State abbreviations"));
        auto* state = w->findChild<QLineEdit*>(QStringLiteral("txtACState"));
        state->setEnabled(true);
        button->click();
        EXPECT_EQ(platform.shellOpened().last(), folder.file(QStringLiteral("tdr_state_abbreviations.pdf")));
        EXPECT_EQ(QApplication::focusWidget(), state) << c.window;
        w->close();
    }
}

TEST_F(EveryWindowTest, EditMenusGreyCutAndCopyWithoutASelection) {
    struct EditCase {
        WindowCase window;
        const char* menu;
        const char* prefix;
    };
    const EditCase cases[] = {{kWindows[0], "mnuNewEdit", "mnuNew"},
                              {kWindows[3], "mnuITEdit", "mnuIT"}};
    for (const EditCase& c : cases) {
        QWidget* w = open(c.window.menuItem, c.window.window);
        ASSERT_NE(w, nullptr);
        auto* menu = w->findChild<QMenu*>(QString::fromLatin1(c.menu));
        ASSERT_NE(menu, nullptr) << c.menu;
        auto item = [&](const char* suffix) {
            return w->findChild<QAction*>(QString::fromLatin1(c.prefix) + QString::fromLatin1(suffix));
        };
        QLineEdit* box = w->findChild<QLineEdit*>();
        ASSERT_NE(box, nullptr);
        box->setFocus();
        emit menu->aboutToShow();
        EXPECT_FALSE(item("EditCut")->isEnabled()) << c.menu;
        EXPECT_FALSE(item("EditCopy")->isEnabled()) << c.menu;
        EXPECT_TRUE(item("EditPaste")->isEnabled()) << c.menu;
        w->close();
    }
}

TEST_F(EveryWindowTest, EditMenusUsedFromTheKeyboardActOnTheFocusedBox) {
    struct EditCase {
        WindowCase window;
        const char* box;
        const char* prefix;
    };
    const EditCase cases[] = {{kWindows[0], "txtACFName", "mnuNew"},
                              {kWindows[1], "txtACFName", "mnuEDV"},
                              {kWindows[3], "txtImpFilename", "mnuIT"}};
    for (const EditCase& c : cases) {
        QWidget* w = open(c.window.menuItem, c.window.window);
        ASSERT_NE(w, nullptr);
        auto item = [&](const char* suffix) {
            return w->findChild<QAction*>(QString::fromLatin1(c.prefix) + QString::fromLatin1(suffix));
        };
        auto* menu = w->findChild<QMenu*>(QString::fromLatin1(c.prefix) + QStringLiteral("Edit"));
        ASSERT_NE(menu, nullptr) << c.window.window;
        auto* box = w->findChild<QLineEdit*>(QString::fromLatin1(c.box));
        ASSERT_NE(box, nullptr) << c.window.window;
        box->setVisible(true);
        box->setEnabled(true);
        box->setReadOnly(false);
        box->setText(QStringLiteral("Ann Lee"));
        box->setFocus();
        box->setSelection(4, 3);

        ASSERT_NE(test::openMenuByKeys(w, menu), nullptr) << c.window.window;
        EXPECT_TRUE(item("EditCut")->isEnabled()) << c.window.window;
        test::chooseByKeys(menu, item("EditCut"));
        EXPECT_EQ(box->text(), QStringLiteral("Ann ")) << c.window.window;
        EXPECT_EQ(platform.clipboardText(), QStringLiteral("Lee")) << c.window.window;

        box->setSelection(0, 3);
        ASSERT_NE(test::openMenuByKeys(w, menu), nullptr) << c.window.window;
        test::chooseByKeys(menu, item("EditCopy"));
        EXPECT_EQ(platform.clipboardText(), QStringLiteral("Ann")) << c.window.window;
        EXPECT_EQ(box->selectedText(), QStringLiteral("Ann")) << c.window.window;

        box->setCursorPosition(4);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box->text(), QStringLiteral("Ann Ann"))
            << c.window.window << ": Ctrl+V pastes the clipboard";
        w->close();
    }
}

TEST_F(EveryWindowTest, EscapeClosesEachWindowAsItsCloseButtonDoes) {
    for (const WindowCase& c : kWindows) {
        QWidget* w = open(c.menuItem, c.window);
        ASSERT_NE(w, nullptr);
        const QPointer<QWidget> window(w);  // a window that closes may delete itself
        QWidget* focus = w->focusWidget() ? w->focusWidget() : w;
        QTest::keyClick(focus, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull() || !window->isVisible()) << c.window;
        EXPECT_TRUE(main.isVisible()) << c.window;
    }
}

TEST_F(EveryWindowTest, EveryMenuOfEveryWindowHasAMnemonicOfItsOwn) {
    QList<QWidget*> windows{&main};
    for (const WindowCase& c : kWindows) {
        windows.append(open(c.menuItem, c.window));
    }
    for (QWidget* w : windows) {
        ASSERT_NE(w, nullptr);
        QStringList letters;
        for (QAction* menu : w->findChild<QMenuBar*>()->actions()) {
            const qsizetype amp = menu->text().indexOf(QLatin1Char('&'));
            ASSERT_GE(amp, 0) << w->objectName().toStdString() << " " << menu->text().toStdString();
            letters.append(menu->text().mid(amp + 1, 1).toLower());
        }
        EXPECT_EQ(letters.size(), QSet<QString>(letters.begin(), letters.end()).size()) << w->objectName().toStdString();
    }
}

// The mnemonic letter of a caption, or an empty string.
QString mnemonic(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (caption[i + 1] != QLatin1Char('&')) {
                return caption.mid(i + 1, 1).toLower();
            }
            ++i;
        }
    }
    return {};
}

// Every caption with a letter has a mnemonic, and no two share one.
void expectOwnMnemonics(const QStringList& captions, const QString& where) {
    QStringList letters;
    for (const QString& caption : captions) {
        if (!caption.contains(QRegularExpression(QStringLiteral("[A-Za-z0-9]")))) {
            continue;  // "<", "?"
        }
        const QString letter = mnemonic(caption);
        EXPECT_FALSE(letter.isEmpty()) << where.toStdString() << ": \"" << caption.toStdString() << "\" has no mnemonic";
        if (!letter.isEmpty()) {
            EXPECT_FALSE(letters.contains(letter))
                << where.toStdString() << ": \"" << caption.toStdString() << "\" shares its mnemonic";
            letters.append(letter);
        }
    }
}

TEST_F(EveryWindowTest, EveryMenuItemAndButtonOfEveryWindowHasAMnemonicOfItsOwn) {
    QList<QWidget*> windows{&main};
    for (const WindowCase& c : kWindows) {
        windows.append(open(c.menuItem, c.window));
    }
    windows.append(showAboutBox(&main, platform, folder.path()));
    for (QWidget* w : windows) {
        ASSERT_NE(w, nullptr);
        QStringList controls;
        if (auto* bar = w->findChild<QMenuBar*>()) {
            for (QAction* title : bar->actions()) {
                controls.append(title->text());
                QStringList items;
                for (QAction* a : title->menu()->actions()) {
                    if (!a->isSeparator()) {
                        items.append(a->text());
                    }
                }
                expectOwnMnemonics(items, w->objectName() + QLatin1Char(' ') + title->text());
            }
        }
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
            if (!b->objectName().startsWith(QLatin1String("qt_"))) {
                controls.append(b->text());
            }
        }
        expectOwnMnemonics(controls, w->objectName());
    }
}

TEST_F(EveryWindowTest, AltAndALetterNeverTypesIntoATextBox) {
    struct AltCase {
        const char* menuItem;  // null: the main window
        const char* window;
        const char* box;
        Qt::Key key;
    };
    const AltCase cases[] = {
        {"mnuAdd", "frmNewContact", "txtACFName", Qt::Key_S},  // Save's
        {"mnuAdd", "frmNewContact", "txtACFName", Qt::Key_Q},  // no control's
        {nullptr, "frmLMaker", "txtLMLine1", Qt::Key_Z},       // Zip Code Finder's
        {nullptr, "frmLMaker", "txtLMLine1", Qt::Key_Q},
        {"mnuEdit", "frmEdDelViewContact", "txtACFName", Qt::Key_Q},
    };
    for (const AltCase& c : cases) {
        QWidget* w = &main;
        if (c.menuItem) {
            w = open(c.menuItem, c.window);
        } else {
            QApplication::setActiveWindow(&main);
        }
        ASSERT_NE(w, nullptr);
        auto* box = w->findChild<QLineEdit*>(QString::fromLatin1(c.box));
        ASSERT_NE(box, nullptr) << c.box;
        box->setEnabled(true);
        box->setReadOnly(false);
        box->clear();
        box->setFocus();
        QTest::keyClick(box, c.key, Qt::AltModifier);
        EXPECT_EQ(box->text(), QString()) << c.window << ": Alt+" << QKeySequence(c.key).toString().toStdString();
        QTest::keyClick(box, c.key);
        EXPECT_EQ(box->text().size(), 1) << c.window << ": the letter alone still types";
        box->clear();
        if (w != &main) {
            w->close();
        }
    }
}

TEST_F(EveryWindowTest, EnterPressesTheFocusedButtonButStillMovesOnInTheLines) {
    QApplication::setActiveWindow(&main);
    auto* clear = main.findChild<QPushButton*>(QStringLiteral("cmdLMClear"));
    auto* line1 = main.findChild<QLineEdit*>(QStringLiteral("txtLMLine1"));
    line1->setText(QStringLiteral("Ann Lee"));
    line1->setFocus();
    QTest::keyClick(line1, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), main.findChild<QLineEdit*>(QStringLiteral("txtLMLine2")));
    clear->setFocus();
    QTest::keyClick(clear, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(line1->text(), QString()) << "Enter on Clear Form cleared the lines";
    line1->setText(QStringLiteral("Ann Lee"));
    clear->setFocus();
    QTest::keyClick(clear, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(line1->text(), QStringLiteral("Ann Lee")) << "Ctrl+Enter is not a press";
}
