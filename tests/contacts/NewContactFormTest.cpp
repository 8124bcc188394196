#include <QLabel>
#include <QMenu>

#include "ContactWindowFixture.h"
#include "contacts/BrowserRules.h"
#include "support/MenuKeys.h"

using namespace tandor;
using namespace tandor::test;

namespace {

class NewContactFormTest : public ContactWindowTest {
protected:
    // Add Contact with the main window's lines as they are; the form, activated.
    QWidget* openForm() {
        click("cmdAddContact");
        QWidget* form = window("frmNewContact");
        if (form) {
            activate(form);
        }
        return form;
    }
    // Types into the focused control and presses Enter.
    static void typeAndEnter(const QString& text) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClicks(focus, text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
};

const char* const kTabOrder[17] = {
    "txtACFName",     "txtACMiddleInit", "txtACLName",  "txtACFStreet", "txtACSStreet",
    "txtACCity",      "txtACState",      "txtACZip",    "txtACCountry", "txtACCompany",
    "txtACBirthdate", "txtACHPhone",     "txtACCPhone", "txtACWPhone",  "txtACEmail",
    "txtACCategory",  "txtACNotes",
};

}  // namespace

TEST_F(NewContactFormTest, TypedThroughTheKeyboardAndSaved) {
    openFile({person("Al", "One"), person("Bo", "Two"), person("Cy", "Three")});
    QWidget* form = openForm();
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Add Contact  [Family]"));
    EXPECT_FALSE(child<QLabel>(form, "lblIncCompName")->isVisible());
    EXPECT_FALSE(child<QCheckBox>(form, "chkIncComp")->isVisible());

    const char* typed[17] = {
        "Ann",
        "q.",
        "Lee,",
        "12 Oak Lane",
        "Apt 5",
        "Boston,",
        "ma",
        "02101",
        "usa,east",
        "Acme, Inc",
        "04/10/1980",
        "(212) 555-1234",
        "",
        "+1 555 1234",
        "ann@example.com",
        "Golf,Friends",
        "likes tea, cake",
    };
    for (int i = 0; i < 17; ++i) {
        ASSERT_EQ(QApplication::focusWidget(), box(form, kTabOrder[i])) << kTabOrder[i];
        typeAndEnter(QString::fromUtf8(typed[i]));
        if (i == 9) {
            // The company changed: the include-company controls appear.
            EXPECT_TRUE(child<QLabel>(form, "lblIncCompName")->isVisible());
            EXPECT_TRUE(child<QCheckBox>(form, "chkIncComp")->isVisible());
        }
    }
    // Enter in Notes moves to Save and saves nothing.
    auto* save = child<QPushButton>(form, "cmdSave");
    EXPECT_EQ(QApplication::focusWidget(), save);
    EXPECT_EQ(fileNow().size(), 3 * 513);
    EXPECT_TRUE(platform.messages().isEmpty());
    child<QCheckBox>(form, "chkIncComp")->click();
    QTest::keyClick(save, Qt::Key_Space);

    ASSERT_EQ(platform.messages().size(), 1);
    const RecordedMessage& saved = platform.messages()[0];
    EXPECT_EQ(saved.text, QStringLiteral("S A V E D"));
    EXPECT_EQ(saved.title, QStringLiteral("Contact saved to file"));
    EXPECT_EQ(saved.icon, MessageIcon::None);
    EXPECT_EQ(saved.buttons, MessageButtons::Ok);
    ASSERT_EQ(fileNow().size(), 4 * 513);
    EXPECT_EQ(recordNow(4), contact({{"FName", "Ann"},
                                     {"MiddleInit", "Q"},
                                     {"LName", "Lee"},
                                     {"FStreet", "12 Oak Lane"},
                                     {"SStreet", "Apt 5"},
                                     {"City", "Boston"},
                                     {"State", "MA"},
                                     {"Zip", "02101"},
                                     {"Country", "USA EAST"},
                                     {"HPhone", "212-555-1234"},
                                     {"WPhone", "15551234"},
                                     {"Email", "ann@example.com"},
                                     {"Birthdate", "19800410"},
                                     {"Category", "Golf Friends"},
                                     {"Notes", "likes tea  cake"},
                                     {"Company", "Acme Inc"},
                                     {"IncludeCompany", "1"}}));
    settle();
    EXPECT_EQ(window("frmNewContact"), nullptr);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.focusWidget(), mainChild<QLineEdit>("txtLMLine1"));
}

TEST_F(NewContactFormTest, FirstContactIntoAnEmptyFileSwitchesRemindersOn) {
    openFile({});
    EXPECT_FALSE(mainChild<QAction>("mnuFileBdayOn")->isEnabled());
    EXPECT_FALSE(mainChild<QAction>("mnuFileBdayOff")->isEnabled());
    QWidget* form = openForm();
    box(form, "txtACLName")->setText("Lee");
    // A company typed and cleared again leaves the controls visible and stores "0".
    box(form, "txtACCompany")->setText("Acme");
    child<QCheckBox>(form, "chkIncComp")->setChecked(true);
    box(form, "txtACCompany")->clear();
    EXPECT_TRUE(child<QCheckBox>(form, "chkIncComp")->isVisible());
    child<QPushButton>(form, "cmdSave")->click();
    ASSERT_EQ(fileNow().size(), 513);
    EXPECT_EQ(recordNow(1), contact({{"LName", "Lee"}, {"IncludeCompany", "0"}}));
    EXPECT_TRUE(mainChild<QAction>("mnuFileBdayOff")->isEnabled());
    EXPECT_FALSE(mainChild<QAction>("mnuFileBdayOn")->isEnabled());
}

TEST_F(NewContactFormTest, RefusalsMoveTheFocusAndKeepTheCleaning) {
    openFile({person("Al", "One")});
    QWidget* form = openForm();
    auto* save = child<QPushButton>(form, "cmdSave");

    save->click();
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(platform.messages()[0].text,
              QStringLiteral("Enter last name, 16 characters or less."));
    EXPECT_EQ(platform.messages()[0].title, QStringLiteral("Incorrect entry"));
    EXPECT_EQ(platform.messages()[0].icon, MessageIcon::None);
    EXPECT_EQ(platform.messages()[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(QApplication::focusWidget(), box(form, "txtACLName"));

    box(form, "txtACFName")->setText("Ann,");
    box(form, "txtACLName")->setText("Lee");
    box(form, "txtACState")->setText("c");
    save->click();
    EXPECT_EQ(platform.messages().last().text,
              QStringLiteral("State must be 2 character abbreviation."));
    EXPECT_EQ(QApplication::focusWidget(), box(form, "txtACState"));
    EXPECT_EQ(box(form, "txtACFName")->text(), QStringLiteral("Ann"));

    // The birth date is refused with its own title and the focus stays.
    box(form, "txtACState")->setText("CA");
    box(form, "txtACBirthdate")->setText("4/10/1980");
    box(form, "txtACNotes")->setFocus();
    save->click();
    EXPECT_EQ(platform.messages().last().title, QStringLiteral("Date error"));
    EXPECT_EQ(QApplication::focusWidget(), box(form, "txtACNotes"));
    EXPECT_EQ(fileNow().size(), 513);
    EXPECT_EQ(window("frmNewContact"), form);
}

TEST_F(NewContactFormTest, CloseEscapeAndTheTitleBarAskBeforeTypingIsLost) {
    openFile({person("Al", "One")});
    // Untouched, the form closes without a word.
    QWidget* form = openForm();
    ASSERT_NE(form, nullptr);
    child<QPushButton>(form, "cmdCancel")->click();
    settle();
    EXPECT_EQ(window("frmNewContact"), nullptr);
    EXPECT_TRUE(platform.messages().isEmpty());

    for (const char* road : {"Close", "Escape", "title bar"}) {
        SCOPED_TRACE(road);
        form = openForm();
        ASSERT_NE(form, nullptr);
        // Every opening is a fresh form.
        EXPECT_EQ(box(form, "txtACLName")->text(), QString());
        EXPECT_FALSE(child<QCheckBox>(form, "chkIncComp")->isVisible());
        box(form, "txtACLName")->setText("Lee");
        box(form, "txtACCompany")->setText("Acme");
        const auto leave = [&] {
            if (road[0] == 'C') {
                child<QPushButton>(form, "cmdCancel")->click();
            } else if (road[0] == 'E') {
                QTest::keyClick(box(form, "txtACLName"), Qt::Key_Escape);
            } else {
                form->close();
            }
            settle();
        };
        platform.clearRecords();
        platform.answerMessage(MessageAnswer::Cancel);
        leave();
        ASSERT_EQ(platform.messages().size(), 1);
        EXPECT_EQ(platform.messages()[0].title, kNotSavedTitle);
        EXPECT_EQ(platform.messages()[0].text, kUnsavedNewContactText);
        EXPECT_EQ(platform.messages()[0].buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(window("frmNewContact"), form);
        EXPECT_EQ(box(form, "txtACLName")->text(), QStringLiteral("Lee"));
        platform.answerMessage(MessageAnswer::No);
        leave();
        EXPECT_EQ(window("frmNewContact"), nullptr);
        EXPECT_TRUE(main.isVisible());
        EXPECT_EQ(fileNow().size(), 513);
    }

    // Yes runs the save: a refusal keeps the form open, a saved contact closes it.
    form = openForm();
    box(form, "txtACLName")->setText("Lee");
    box(form, "txtACEmail")->setText("ann@example");
    platform.clearRecords();
    platform.answerMessage(MessageAnswer::Yes);
    form->close();
    settle();
    EXPECT_EQ(window("frmNewContact"), form);
    EXPECT_EQ(platform.messages().size(), 2);  // the question, then the refusal
    EXPECT_EQ(fileNow().size(), 513);
    box(form, "txtACEmail")->setText("ann@example.com");
    platform.answerMessage(MessageAnswer::Yes);
    form->close();
    settle();
    EXPECT_EQ(window("frmNewContact"), nullptr);
    EXPECT_EQ(fileNow().size(), 1026);
}

TEST_F(NewContactFormTest, AddContactParsesTheLabelLinesOrRefusesLineOne) {
    openFile({});
    const char* lines[3] = {"John Q. Smith", "123 Main Street Apt 4", "Springfield, IL 62704"};
    const char* names[3] = {"txtLMLine1", "txtLMLine2", "txtLMline3"};
    for (int i = 0; i < 3; ++i) {
        QTest::keyClicks(mainChild<QLineEdit>(names[i]), QString::fromUtf8(lines[i]));
    }
    trigger("mnuAdd");
    QWidget* form = window("frmNewContact");
    ASSERT_NE(form, nullptr);
    activate(form);
    EXPECT_EQ(QApplication::focusWidget(), box(form, "txtACFName"));
    const std::pair<const char*, const char*> filled[] = {
        {"txtACFName", "John"},    {"txtACMiddleInit", "Q"},
        {"txtACLName", "Smith"},   {"txtACFStreet", "123 Main Street"},
        {"txtACSStreet", "Apt 4"}, {"txtACCity", "Springfield"},
        {"txtACState", "IL"},      {"txtACZip", "62704"},
        {"txtACCountry", ""},      {"txtACCompany", ""},
    };
    for (const auto& [name, text] : filled) {
        EXPECT_EQ(box(form, name)->text(), QString::fromUtf8(text)) << name;
    }
    EXPECT_FALSE(child<QCheckBox>(form, "chkIncComp")->isVisible());
    form->close();
    settle();

    mainChild<QLineEdit>("txtLMLine1")->setText("Cher");
    click("cmdAddContact");
    EXPECT_EQ(window("frmNewContact"), nullptr);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(platform.beeps(), 1);
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(platform.messages()[0].text, QStringLiteral("Line 1 must contain a space."));
    EXPECT_EQ(platform.messages()[0].title, QStringLiteral("Incorrect entry"));
    EXPECT_EQ(platform.messages()[0].icon, MessageIcon::None);
    EXPECT_EQ(platform.messages()[0].buttons, MessageButtons::Ok);
}

TEST_F(NewContactFormTest, AFailedWriteOffersRetryAndCancel) {
    openFile({person("Al", "One")});
    QWidget* form = openForm();
    box(form, "txtACLName")->setText("Lee");
    fault::arm(QStringLiteral("contacts.write"));
    platform.answerMessage(MessageAnswer::Retry);
    child<QPushButton>(form, "cmdSave")->click();
    ASSERT_EQ(platform.messages().size(), 1);
    const RecordedMessage& error = platform.messages()[0];
    EXPECT_TRUE(
        error.text.startsWith(QStringLiteral("An error has occurred. Error number 57 -- ")));
    EXPECT_TRUE(error.text.endsWith(QStringLiteral(".  Try again, or notify author.")));
    EXPECT_EQ(error.title, QStringLiteral("Error"));
    EXPECT_EQ(error.icon, MessageIcon::None);
    EXPECT_EQ(error.buttons, MessageButtons::RetryCancel);
    // Retry: the form stays with its contents, and Save can be pressed again.
    settle();
    ASSERT_EQ(window("frmNewContact"), form);
    EXPECT_EQ(box(form, "txtACLName")->text(), QStringLiteral("Lee"));
    EXPECT_EQ(fileNow().size(), 513);
    child<QPushButton>(form, "cmdSave")->click();
    EXPECT_EQ(platform.messages().last().text, QStringLiteral("S A V E D"));
    EXPECT_EQ(fileNow().size(), 2 * 513);
    settle();

    // A contact written but not forced onto the disk is taken back, so that
    // Retry and Save store it once.
    form = openForm();
    box(form, "txtACLName")->setText("Day");
    fault::arm(QStringLiteral("contacts.flush"));
    platform.answerMessage(MessageAnswer::Retry);
    child<QPushButton>(form, "cmdSave")->click();
    settle();
    ASSERT_EQ(window("frmNewContact"), form);
    EXPECT_EQ(fileNow().size(), 2 * 513);
    child<QPushButton>(form, "cmdSave")->click();
    EXPECT_EQ(platform.messages().last().text, QStringLiteral("S A V E D"));
    EXPECT_EQ(fileNow().size(), 3 * 513);
    settle();

    // Cancel: the form is unloaded and the main window comes back.
    form = openForm();
    box(form, "txtACLName")->setText("Ray");
    fault::arm(QStringLiteral("contacts.write"));
    platform.answerMessage(MessageAnswer::Cancel);
    child<QPushButton>(form, "cmdSave")->click();
    settle();
    EXPECT_EQ(window("frmNewContact"), nullptr);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(fileNow().size(), 3 * 513);
}

TEST_F(NewContactFormTest, FormHasItsControlsInTabOrderAndItsMenus) {
    openFile({});
    QWidget* form = openForm();
    ASSERT_NE(form, nullptr);
    // The focus chain from the last box: Save, Close, the look-up buttons, the check box.
    QStringList chain;
    QWidget* w = box(form, "txtACNotes");
    while (chain.size() < 7) {
        w = w->nextInFocusChain();
        if (w->focusPolicy() & Qt::TabFocus) {
            chain << w->objectName();
        }
    }
    EXPECT_EQ(chain, QStringList({"cmdSave", "cmdCancel", "cmdZipFinder", "cmdPeopleFind",
                                  "cmdStateAbb", "chkIncComp", "txtACFName"}));
    const std::tuple<const char*, const char*, const char*> buttons[] = {
        {"cmdSave", "Save", "Saves contact to file"},
        {"cmdCancel", "Close", "Return to main screen"},
        {"cmdZipFinder", "Zip Code Finder", ""},
        {"cmdPeopleFind", "People Finder", ""},
        {"cmdStateAbb", "?", "Look up State abbreviations"},
    };
    for (const auto& [name, caption, tip] : buttons) {
        auto* b = child<QPushButton>(form, name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(test::shown(b->text()), QString::fromUtf8(caption));
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(tip));
    }
    const std::pair<const char*, const char*> tips[] = {
        {"txtACFStreet", "For help in finding address, click 'People Finder'"},
        {"txtACZip", "For help in finding Zip Code, click 'Zip Code Finder'"},
        {"txtACCategory",
         "Enter one or more categories, separated by a semicolon, to include this contact in "
         "subset(s).  Example: Christmas;Golf;Customers"},
        {"txtACNotes", "Notes are limited to 80 characters."},
        {"txtACFName", ""},
    };
    for (const auto& [name, tip] : tips) {
        EXPECT_EQ(box(form, name)->toolTip(), QString::fromUtf8(tip)) << name;
    }
    EXPECT_EQ(child<QLabel>(form, "lblIncCompName")->text(),
              QStringLiteral("Include Company Name in Address"));
    EXPECT_EQ(child<QCheckBox>(form, "chkIncComp")->toolTip(),
              QStringLiteral("If checked, Company Name will be included when printing address"));
    EXPECT_FALSE(child<QCheckBox>(form, "chkIncComp")->isChecked());
    const std::tuple<const char*, const char*, QKeySequence> actions[] = {
        {"mnuNewEditCut", "Cut", QKeySequence(QStringLiteral("Ctrl+X"))},
        {"mnuNewEditCopy", "Copy", QKeySequence(QStringLiteral("Ctrl+C"))},
        {"mnuNewEditPaste", "Paste", QKeySequence(QStringLiteral("Ctrl+V"))},
        {"mnuNewManual", "User Manual", QKeySequence(Qt::Key_F1)},
        {"mnuNewAbout", "About Tandor", {}},
    };
    for (const auto& [name, caption, shortcut] : actions) {
        auto* a = child<QAction>(form, name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(test::shown(a->text()), QString::fromUtf8(caption));
        EXPECT_EQ(a->shortcut(), shortcut) << name;
    }
    EXPECT_EQ(child<QMenu>(form, "mnuNewEdit")->title(), QStringLiteral("&Edit"));
    EXPECT_EQ(child<QMenu>(form, "mnuNewHelp")->title(), QStringLiteral("&Help"));
}
