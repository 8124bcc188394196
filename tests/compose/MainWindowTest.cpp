#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "platform/ScriptedPlatform.h"
#include "compose/widgets/MainWindow.h"
#include "appshell/widgets/ApplicationShell.h"
#include "platform/RecordingSurface.h"
#include "platform/AppError.h"
#include "sheets/LabelSheet.h"
#include "sheets/SheetLibrary.h"
#include "store/ContactsDocument.h"
#include "support/MenuKeys.h"
#include "support/TestFiles.h"

using namespace tandor;

namespace {

// The main window's tests know the sheets the program is built with: the
// label-template library of the machine is left out while they run.
struct BuiltInSheetsOnly {
    BuiltInSheetsOnly() { SheetLibrary::program().reload(QStringList{}); }
    ~BuiltInSheetsOnly() { SheetLibrary::program().reload(); }
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : shell(platform, folder.withDefaultAdjustments()), session(shell.document()), window(shell.mainWindow()) {
        window.show();
        QApplication::setActiveWindow(&window);
    }

    template <typename T>
    T* find(const char* name) {
        T* w = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Clicks an option button on its indicator (the button may be wider than its text).
    void clickOption(const char* name) {
        QRadioButton* option = find<QRadioButton>(name);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    }
    QLineEdit* line(int n) {
        static const char* names[5] = {"txtLMLine1", "txtLMLine2", "txtLMline3", "txtLMLine4", "txtLMLine5"};
        return find<QLineEdit>(names[n - 1]);
    }

    BuiltInSheetsOnly builtInSheets;  // before the shell, which fills the sheet list
    test::TempFolder folder;
    ScriptedPlatform platform;
    ApplicationShell shell;
    ContactsDocument& session;
    MainWindow& window;
};

}  // namespace

TEST_F(MainWindowTest, StartsWithItsTitleInstructionsAndStartUpState) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tandor"));
    EXPECT_EQ(find<QLabel>("lblLMHeader")->text(), QStringLiteral("Tandor"));
    EXPECT_EQ(find<QLabel>("lblLMInstruct")->text(),
              QStringLiteral("Tandor prints labels (compatible with Avery 5160 and 8160 labels) and envelopes.\n"
                             "Power tip: click 'Search Contacts' to print labels for a specific subset of your contacts."));
    EXPECT_TRUE(find<QRadioButton>("optPortrait")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("optLMLeftjust")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("optLMLabel")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("optLMEnvelope")->isChecked());
    EXPECT_EQ(find<QLineEdit>("txtLMLeftPad")->text(), QStringLiteral("2"));
    EXPECT_EQ(find<QLineEdit>("txtLMToppad")->text(), QStringLiteral("3"));
    auto* list = find<QComboBox>("cboLMEnvelope");
    EXPECT_EQ(list->count(), 7);
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->placeholderText(), QStringLiteral("Select Envelope Size"));
    EXPECT_FALSE(find<QCheckBox>("chkBold")->isVisible());
    EXPECT_FALSE(find<QCheckBox>("chkLargeFont")->isVisible());
    EXPECT_TRUE(find<QPushButton>("cmdLMStart")->isVisible());
    EXPECT_FALSE(find<QPushButton>("cmdRetAddress")->isVisible());
    EXPECT_FALSE(find<QLineEdit>("txtFileNam")->isVisible());
    EXPECT_FALSE(find<QLineEdit>("txtFileTitle")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), line(1));
}

TEST_F(MainWindowTest, HasEveryControlWithItsCaptionAndToolTip) {
    struct Expect {
        const char* name;
        const char* caption;
        const char* tip;
    };
    const Expect buttons[] = {
        {"cmdLMStart", "Print", ""},
        {"cmdRetAddress", "Print", "Prints 80 return address labels on Avery 5167 (1/2\" x 1 3/4\") labels"},
        {"cmdAddContact", "Add Contact", "Add a new contact to file"},
        {"cmdFindContact", "Find Contact", "Retrieve a contact from file"},
        {"cmdLMClear", "Clear Form", ""},
        {"cmdLMExit", "Exit", ""},
        {"cmdPeopleFind", "People Finder", ""},
        {"cmdZipFinder", "Zip Code Finder", "Look up Zip Code"},
    };
    for (const Expect& e : buttons) {
        auto* b = find<QPushButton>(e.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(test::shown(b->text()), QString::fromUtf8(e.caption)) << e.name;
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(e.tip)) << e.name;
    }
    EXPECT_EQ(find<QCheckBox>("chkBold")->toolTip(), QStringLiteral("If checked, will print envelope in bold"));
    EXPECT_EQ(find<QCheckBox>("chkLargeFont")->toolTip(),
              QStringLiteral("If checked, will print envelope in larger, italicized font"));
    EXPECT_EQ(test::shown(find<QRadioButton>("optLMLabel")->text()), QStringLiteral("Label stock"));
    EXPECT_EQ(test::shown(find<QRadioButton>("optLMEnvelope")->text()), QStringLiteral("Envelope"));
    EXPECT_EQ(test::shown(find<QRadioButton>("optLMCenter")->text()), QStringLiteral("Centered"));
    EXPECT_EQ(test::shown(find<QRadioButton>("optLandscape")->text()), QStringLiteral("Landscape"));
}

TEST_F(MainWindowTest, TheInstructionsNameTheSheetChosenInTheList) {
    auto* sheets = find<QComboBox>("cboLMSheet");
    auto* instructions = find<QLabel>("lblLMInstruct");
    const std::pair<const char*, const char*> cases[] = {
        {"L7160", "compatible with Avery L7160 and J8160 labels"},
        {"5161", "compatible with Avery 5161 and 8161 labels"},
        {"5160", "compatible with Avery 5160 and 8160 labels"},
    };
    for (const auto& [sheet, named] : cases) {
        const int index = sheets->findData(QString::fromLatin1(sheet));
        ASSERT_GE(index, 0) << sheet;
        sheets->setCurrentIndex(index);
        emit sheets->activated(index);
        EXPECT_TRUE(instructions->text().contains(QString::fromLatin1(named))) << instructions->text().toStdString();
        EXPECT_EQ(instructions->text().count(QStringLiteral("Avery")), 1) << sheet;
    }
}

// The sheet list is a picker: Alt and its caption's letter go to it, typing
// narrows the matches shown under it, Enter takes the first and remembers it.
TEST_F(MainWindowTest, TypingInTheSheetListNarrowsItAndChoosingRemembersTheSheet) {
    auto* sheets = find<QComboBox>("cboLMSheet");
    auto* matches = window.findChild<QCompleter*>()->popup();
    line(1)->setFocus();
    QTest::keyClick(&window, Qt::Key_Y, Qt::AltModifier);
    ASSERT_TRUE(sheets->lineEdit()->hasFocus());
    sheets->lineEdit()->selectAll();
    QTest::keyClicks(sheets->lineEdit(), QStringLiteral("a4 Avery"));
    ASSERT_TRUE(matches->isVisible());
    QStringList shown;
    for (int row = 0; row < matches->model()->rowCount(); ++row) {
        shown << matches->model()->index(row, 0).data().toString();
    }
    EXPECT_EQ(shown, QStringList({"Avery L7160 / J8160 Address Labels: A4, 21 labels of 63.5 x 38.1 mm",
                                  "Avery L7163 / J8163 Address Labels: A4, 14 labels of 99.1 x 38.1 mm"}));
    QTest::keyClicks(sheets->lineEdit(), QStringLiteral(" 63"));
    EXPECT_EQ(matches->model()->rowCount(), 1);
    QTest::keyClick(matches, Qt::Key_Return);
    EXPECT_FALSE(matches->isVisible());
    EXPECT_EQ(platform.settings().value("Settings/LabelSheet"), "L7163");
    EXPECT_EQ(platform.settings().value("Settings/RecentSheets"), "L7163");
    EXPECT_EQ(sheets->currentData().toString(), "L7163");
    EXPECT_EQ(sheets->lineEdit()->text(), sheets->itemText(sheets->currentIndex()));
    EXPECT_TRUE(find<QLabel>("lblLMInstruct")->text().contains("Avery L7163 and J8163"));

    // The sheet used last comes first; a text that matches nothing says so,
    // and leaving the list shows the chosen sheet again.
    sheets->lineEdit()->selectAll();
    QTest::keyClicks(sheets->lineEdit(), QStringLiteral("avery"));
    EXPECT_TRUE(matches->model()->index(0, 0).data().toString().startsWith("Avery L7163 "));
    sheets->lineEdit()->selectAll();
    QTest::keyClicks(sheets->lineEdit(), QStringLiteral("zz"));
    ASSERT_EQ(matches->model()->rowCount(), 1);
    EXPECT_TRUE(matches->model()->index(0, 0).data().toString().startsWith("No sheet matches \"zz\""));
    QTest::keyClick(matches, Qt::Key_Escape);
    line(1)->setFocus();
    EXPECT_EQ(sheets->lineEdit()->text(), sheets->itemText(sheets->findData("L7163")));
    EXPECT_EQ(platform.settings().value("Settings/LabelSheet"), "L7163");
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsShortcutsAndSeparators) {
    QStringList menus;
    for (QAction* a : window.menuBar()->actions()) {
        menus << a->text();
    }
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&Contacts", "&View", "&Margins", "&Help"}));
    auto* file = window.findChild<QMenu*>(QStringLiteral("mnuFile"));
    ASSERT_NE(file, nullptr);
    QStringList items;
    for (QAction* a : file->actions()) {
        items << (a->isSeparator() ? QStringLiteral("-") : test::shown(a->text()));
    }
    EXPECT_EQ(items, QStringList({"New", "Open", "Close", "-", "Enable Birthday Reminders",
                                  "Disable Birthday Reminders", "-", "Sync Now", "-", "Return Address Labels",
                                  "State Abbreviations",
                                  "-", "Print Preview...", "Print", "-", "Exit"}));
    EXPECT_EQ(find<QAction>("mnuFileOpen")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(find<QAction>("mnuFilePrint")->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_EQ(find<QAction>("mnuFileNew")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(find<QAction>("mnuFileExit")->shortcut(), QKeySequence(QKeySequence::Quit));  // the desktop's
    EXPECT_EQ(find<QAction>("mnuManual")->shortcut(), QKeySequence(Qt::Key_F1));
    auto* contacts = window.findChild<QMenu*>(QStringLiteral("mnuContacts"));
    items.clear();
    for (QAction* a : contacts->actions()) {
        items << (a->isSeparator() ? QStringLiteral("-") : test::shown(a->text()));
    }
    EXPECT_EQ(items, QStringList({"Add Contact", "Edit Contact", "Find Contact", "Delete Contact", "-",
                                  "Search Contacts", "-", "Import Contacts", "Export Contacts", "-",
                                  "Address Book Account...", "Sync Conflicts..."}));
    // Without a file, every contact item and both birthday items are disabled.
    for (const char* name : {"mnuAdd", "mnuEdit", "mnuFind", "mnuDelete", "mnuSrchContacts", "mnuImport",
                             "mnuExport", "mnuViewOne", "mnuViewAll", "mnuFileBdayOn", "mnuFileBdayOff"}) {
        EXPECT_FALSE(find<QAction>(name)->isEnabled()) << name;
    }
    EXPECT_FALSE(find<QPushButton>("cmdAddContact")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("cmdFindContact")->isEnabled());
    for (const char* name : {"mnuFileNew", "mnuFileOpen", "mnuFileClose", "mnuRetAddress", "mnuFilePrint",
                             "mnuFileExit", "mnuMarginOnTheFly", "mnuMarginSearch", "mnuMarginEnvelope"}) {
        EXPECT_TRUE(find<QAction>(name)->isEnabled()) << name;
    }
}

TEST_F(MainWindowTest, EnterInLinesOneToFourMovesOnButNotInLineFive) {
    line(1)->setFocus();
    QTest::keyClick(line(1), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), line(2));
    line(2)->setFocus();
    QTest::keyClick(line(2), Qt::Key_Enter, Qt::KeypadModifier);  // the keypad's Enter
    EXPECT_EQ(QApplication::focusWidget(), line(3));
    line(4)->setFocus();
    QTest::keyClick(line(4), Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), line(5));
    QTest::keyClick(line(5), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), line(5));
    QTest::keyClicks(line(5), QStringLiteral("x"));
    EXPECT_EQ(line(5)->text(), QStringLiteral("x"));
}

TEST_F(MainWindowTest, EnvelopeSizeAndLabelClicksWriteTheMarginBoxes) {
    clickOption("optLMEnvelope");
    EXPECT_TRUE(find<QRadioButton>("optLandscape")->isChecked());
    auto* list = find<QComboBox>("cboLMEnvelope");
    EXPECT_TRUE(list->isVisible());
    list->setCurrentIndex(1);
    emit list->activated(1);
    EXPECT_EQ(find<QLineEdit>("txtLMLeftPad")->text(), QStringLiteral("23"));
    EXPECT_EQ(find<QLineEdit>("txtLMToppad")->text(), QStringLiteral("32"));
    EXPECT_TRUE(find<QCheckBox>("chkBold")->isVisible());
    EXPECT_EQ(find<QLabel>("lblLMEnvSize")->text(), QStringLiteral("#6 3/4 Small envelope (3 5/8 in x 6 1/2 in)"));

    platform.answerInput(QStringLiteral("5"));
    clickOption("optLMLabel");
    EXPECT_TRUE(find<QRadioButton>("optLMLabel")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("optLMEnvelope")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("optPortrait")->isChecked());
    EXPECT_EQ(find<QLineEdit>("txtLMLeftPad")->text(), QStringLiteral("35"));
    EXPECT_EQ(find<QLineEdit>("txtLMToppad")->text(), QStringLiteral("10"));
    EXPECT_EQ(find<QLabel>("lblLMPosition")->text(), QStringLiteral("Label Position 5"));
    EXPECT_FALSE(find<QCheckBox>("chkBold")->isVisible());

    clickOption("optLMEnvelope");
    EXPECT_EQ(find<QLineEdit>("txtLMLeftPad")->text(), QStringLiteral("28"));
    EXPECT_EQ(find<QLineEdit>("txtLMToppad")->text(), QStringLiteral("39"));
}

TEST_F(MainWindowTest, ClearFormEmptiesTheLinesAndKeepsCentered) {
    QTest::keyClicks(line(1), QStringLiteral("Ann Lee"));
    clickOption("optLMCenter");
    QTest::mouseClick(find<QPushButton>("cmdLMClear"), Qt::LeftButton);
    EXPECT_TRUE(line(1)->text().isEmpty());
    EXPECT_TRUE(find<QRadioButton>("optLMCenter")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("optLMLeftjust")->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), line(1));
}

// A surface that fails while the label is laid out: as the printer would
// (an error the printer reports) or as a fault of the program would.
class FailingSurface : public RecordingSurface {
public:
    explicit FailingSurface(bool printerError) : printerError_(printerError) {}
    void printLine(const QList<PrintItem>& items, LineEnd end) override {
        if (printerError_) {
            throw AppError(errors::kPrinterError, QStringLiteral("Printer error"));
        }
        throw std::logic_error("label column out of range");
        RecordingSurface::printLine(items, end);
    }

private:
    bool printerError_;
};

TEST_F(MainWindowTest, APrinterFailureAndAProgramFaultInPrintAreToldApart) {
    struct Case {
        bool printerError;
        QString text;
        QString title;
    } cases[] = {
        {true, kPrinterProblemText, kPrinterErrorTitle},
        {false,
         QStringLiteral("An error has occurred. Error number 51 -- Internal error: label column out of "
                        "range.  Try again, or notify author."),
         QStringLiteral("Error")},
    };
    platform.answerInput(QStringLiteral("1"));  // label position 1
    clickOption("optLMLabel");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.printerError ? "printer error" : "program fault");
        platform.clearRecords();
        platform.setPrintSurface(std::make_shared<FailingSurface>(c.printerError));
        line(1)->setText(QStringLiteral("Ann Lee"));
        line(2)->setText(QStringLiteral("12 Oak Lane"));
        line(3)->setText(QStringLiteral("Reno, NV 89501"));
        platform.answerMessage(MessageAnswer::Retry);  // the error message keeps the program running
        QTest::mouseClick(find<QPushButton>("cmdLMStart"), Qt::LeftButton);
        ASSERT_FALSE(platform.messages().isEmpty());
        EXPECT_EQ(platform.messages().last().text, c.text);
        EXPECT_EQ(platform.messages().last().title, c.title);
        int printerMessages = 0;
        for (const RecordedMessage& m : platform.messages()) {
            printerMessages += m.text == kPrinterProblemText ? 1 : 0;
        }
        EXPECT_EQ(printerMessages, c.printerError ? 1 : 0);
        EXPECT_TRUE(window.isVisible());
    }
}

TEST_F(MainWindowTest, PrintWithoutLinesRefusesWithABeep) {
    QTest::mouseClick(find<QPushButton>("cmdLMStart"), Qt::LeftButton);
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(platform.messages()[0].text, QStringLiteral("No information entered"));
    EXPECT_EQ(platform.messages()[0].title, QStringLiteral("Missing Data"));
    EXPECT_EQ(platform.messages()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(platform.beeps(), 1);
}

TEST_F(MainWindowTest, ReturnAddressWithEmptyLinesSwapsThePrintButtons) {
    find<QAction>("mnuRetAddress")->trigger();
    EXPECT_FALSE(find<QPushButton>("cmdLMStart")->isVisible());
    EXPECT_TRUE(find<QPushButton>("cmdRetAddress")->isVisible());
    EXPECT_FALSE(find<QRadioButton>("optLMLabel")->isEnabled());
    EXPECT_FALSE(find<QRadioButton>("optLMEnvelope")->isEnabled());
    QTest::mouseClick(find<QPushButton>("cmdLMClear"), Qt::LeftButton);
    EXPECT_TRUE(find<QPushButton>("cmdLMStart")->isVisible());
    EXPECT_TRUE(find<QRadioButton>("optLMLabel")->isEnabled());
}

TEST_F(MainWindowTest, MarginsFromTheMenuChangeTheAdjustmentFile) {
    platform.answerInput(QStringLiteral("-1"));
    platform.answerInput(QString());
    find<QAction>("mnuMarginOnTheFly")->trigger();
    ASSERT_FALSE(platform.messages().isEmpty());
    EXPECT_EQ(platform.messages().last().text,
              QStringLiteral("D O N E !  Margin(s) for on-the-fly labels adjusted successfully."));
    EXPECT_TRUE(test::readAll(folder.file(QStringLiteral("TDRPARAM.TXT"))).startsWith("ONTHEFLY -1 "));
}

TEST_F(MainWindowTest, ClosingWritesThePlacementUnlessMinimized) {
    window.close();
    EXPECT_EQ(platform.settings().size(), 4);
    EXPECT_TRUE(platform.settings().contains(QStringLiteral("Settings/MainLeft")));
    EXPECT_TRUE(platform.settings().contains(QStringLiteral("Settings/MainHeight")));
    EXPECT_GT(platform.settings().value(QStringLiteral("Settings/MainWidth")).toInt(), 0);
}

TEST(MainWindowMinimized, ClosingWhileMinimizedWritesNoPlacement) {
    test::TempFolder folder;
    ScriptedPlatform platform;
    ApplicationShell shell(platform, folder.path());
    MainWindow& window = shell.mainWindow();
    window.showMinimized();
    window.setWindowState(Qt::WindowMinimized);
    window.close();
    EXPECT_TRUE(platform.settings().isEmpty());
}
