#include <QLabel>
#include <QMainWindow>
#include <QMenu>

#include "ContactWindowFixture.h"
#include "contacts/BrowserRules.h"
#include "support/MenuKeys.h"

using namespace tandor;
using namespace tandor::test;

namespace {

class ContactBrowserTest : public ContactWindowTest {
protected:
    QWidget* openBrowser(const char* item = "mnuEdit") {
        if (QString::fromLatin1(item).startsWith(QLatin1String("cmd"))) {
            click(item);
        } else {
            trigger(item);
        }
        QWidget* browser = window("frmEdDelViewContact");
        if (browser) {
            activate(browser);
        }
        return browser;
    }
    static QComboBox* findList(QWidget* browser) {
        return child<QComboBox>(browser, "cboFindContact");
    }
    static QStringList items(QWidget* browser) {
        QStringList out;
        QComboBox* list = findList(browser);
        for (int i = 0; i < list->count(); ++i) {
            out << list->itemText(i) + QLatin1Char('=') + list->itemData(i).toString();
        }
        return out;
    }
    static bool focusInFindList(QWidget* browser) {
        QWidget* focus = QApplication::focusWidget();
        return focus && (focus == findList(browser) || focus->parentWidget() == findList(browser));
    }
    // Chooses the find list's item at `index` with the Down key, as a user does.
    static void chooseWithKeys(QWidget* browser, int index) {
        QComboBox* list = findList(browser);
        list->setFocus();
        for (int i = 0; i <= index; ++i) {
            QTest::keyClick(list, Qt::Key_Down);
        }
    }
    static bool editing(QWidget* browser) {
        bool all = true;
        bool none = true;
        for (const char* name : {"txtACFName", "txtACNotes", "txtACCompany"}) {
            (box(browser, name)->isEnabled() ? none : all) = false;
        }
        for (const char* name : {"cmdSave", "cmdDelete", "cmdPrintLabel"}) {
            (child<QPushButton>(browser, name)->isEnabled() ? none : all) = false;
        }
        EXPECT_TRUE(all || none) << "boxes and buttons disagree";
        return all;
    }
    void stepBy(QWidget* browser, const char* button) {
        child<QPushButton>(browser, button)->click();
    }

    QList<QByteArray> three = {person("Ann", "Lee"), person("Bob", "Ray"), person("Cy", "Do")};
};

}  // namespace

TEST_F(ContactBrowserTest, EveryMainWindowItemOpensItsWindow) {
    openFile(three);
    for (const char* item : {"mnuEdit", "mnuFind", "mnuDelete", "mnuViewOne", "cmdFindContact"}) {
        SCOPED_TRACE(item);
        QWidget* browser = openBrowser(item);
        ASSERT_NE(browser, nullptr);
        EXPECT_FALSE(main.isVisible());
        EXPECT_EQ(browser->windowTitle(), QStringLiteral("Contact Information  [Family]"));
        EXPECT_TRUE(focusInFindList(browser));
        EXPECT_EQ(findList(browser)->currentText(), QStringLiteral("Select Contact"));
        EXPECT_EQ(items(browser), QStringList({"Ann  Lee=1", "Bob  Ray=2", "Cy  Do=3"}));
        EXPECT_FALSE(editing(browser));
        EXPECT_FALSE(child<QCheckBox>(browser, "chkCompanyInclude")->isVisible());
        EXPECT_FALSE(child<QLabel>(browser, "lblACCompOnLabel")->isVisible());
        child<QPushButton>(browser, "cmdCancel")->click();
        settle();
        EXPECT_EQ(window("frmEdDelViewContact"), nullptr);
        EXPECT_TRUE(main.isVisible());
        EXPECT_EQ(main.focusWidget(), mainChild<QLineEdit>("txtLMLine1"));
    }
    // Add Contact opens the new-contact form from its button and its menu item.
    for (const char* item : {"cmdAddContact", "mnuAdd"}) {
        SCOPED_TRACE(item);
        if (QString::fromLatin1(item).startsWith(QLatin1String("cmd"))) {
            click(item);
        } else {
            trigger(item);
        }
        QWidget* form = window("frmNewContact");
        ASSERT_NE(form, nullptr);
        EXPECT_FALSE(main.isVisible());
        form->close();
        settle();
        EXPECT_TRUE(main.isVisible());
    }
    EXPECT_TRUE(platform.messages().isEmpty());
}

TEST_F(ContactBrowserTest, WindowHasItsControlsAndMenus) {
    openFile(three);
    QWidget* browser = openBrowser();
    struct Expect {
        const char* name;
        const char* caption;
        const char* tip;
    };
    const Expect buttons[] = {
        {"cmdFirst", "|<", "Jump to first contact in file"},
        {"cmdPrevious", "<", "Previous contact"},
        {"cmdNext", ">", "Next contact"},
        {"cmdLast", ">|", "Jump to last contact in file"},
        {"cmdSave", "Save changes", ""},
        {"cmdDelete", "Delete contact", ""},
        {"cmdPrintLabel", "Print Label", ""},
        {"cmdCancel", "Close", "Return to main screen"},
        {"cmdPeopleFind", "People Finder", ""},
        {"cmdZipFinder", "Zip Code Finder", "Look up Zip Code"},
        {"cmdStateAbb", "?", "Look up State abbreviations"},
    };
    for (const Expect& e : buttons) {
        auto* b = child<QPushButton>(browser, e.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(test::shown(b->text()), QString::fromUtf8(e.caption)) << e.name;
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(e.tip)) << e.name;
    }
    EXPECT_EQ(box(browser, "txtACNotes")->toolTip(),
              QStringLiteral("Notes are limited to 80 characters"));
    EXPECT_EQ(box(browser, "txtACZip")->toolTip(),
              QStringLiteral("For help in finding Zip Code, click 'Zip Code Finder'"));
    EXPECT_EQ(child<QCheckBox>(browser, "chkCompanyInclude")->toolTip(),
              QStringLiteral("If checked, Company Name will be included when printing address"));
    EXPECT_EQ(child<QLabel>(browser, "lblACCompOnLabel")->text(),
              QStringLiteral("Include Company Name in Address"));
    const std::tuple<const char*, const char*, QKeySequence> actions[] = {
        {"mnuEDVPrint", "Print", QKeySequence(QStringLiteral("Ctrl+P"))},
        {"mnuEDVEditCut", "Cut", QKeySequence(QStringLiteral("Ctrl+X"))},
        {"mnuEDVEditCopy", "Copy", QKeySequence(QStringLiteral("Ctrl+C"))},
        {"mnuEDVEditPaste", "Paste", QKeySequence(QStringLiteral("Ctrl+V"))},
        {"mnuEDVManual", "User Manual", QKeySequence(Qt::Key_F1)},
        {"mnuEDVAbout", "About Tandor", {}},
    };
    for (const auto& [name, caption, shortcut] : actions) {
        auto* a = child<QAction>(browser, name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(test::shown(a->text()), QString::fromUtf8(caption));
        EXPECT_EQ(a->shortcut(), shortcut) << name;
    }
    for (const auto& [name, caption] :
         {std::pair{"mnuEDVFile", "&File"}, std::pair{"mnuEDVEdit", "&Edit"},
          std::pair{"mnuEDVHelp", "&Help"}}) {
        auto* m = child<QMenu>(browser, name);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->title(), QString::fromUtf8(caption));
    }
}

TEST_F(ContactBrowserTest, TheFindListIsSortedAndCarriesRecordNumbers) {
    openFile({person("Zoe", "Young"), person("Adam", "Best"), person("bob", "Cole"),
              contact({{"FName", "Adam"}, {"MiddleInit", "B"}, {"LName", "Best"}})});
    QWidget* browser = openBrowser("cmdFindContact");
    EXPECT_EQ(items(browser),
              QStringList({"Adam  Best=2", "Adam B Best=4", "bob  Cole=3", "Zoe  Young=1"}));
    chooseWithKeys(browser, 0);
    EXPECT_EQ(session.currentRecord(), 2);
    EXPECT_EQ(box(browser, "txtACFName")->text(), QStringLiteral("Adam"));
    EXPECT_EQ(box(browser, "txtACLName")->text(), QStringLiteral("Best"));
    EXPECT_TRUE(editing(browser));
    // A name typed into the list and confirmed with Enter chooses it too.
    QLineEdit* typed = findList(browser)->lineEdit();
    typed->selectAll();
    QTest::keyClicks(typed, "bob  Cole");
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_EQ(session.currentRecord(), 3);
    EXPECT_EQ(box(browser, "txtACLName")->text(), QStringLiteral("Cole"));
    // The last item is record 1, not record 4.
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(findList(browser), Qt::Key_Down);
    }
    EXPECT_EQ(session.currentRecord(), 1);
    EXPECT_EQ(box(browser, "txtACFName")->text(), QStringLiteral("Zoe"));
}

TEST_F(ContactBrowserTest, SteppingPastBothEndsAndRefillingTheList) {
    openFile(three);
    QWidget* browser = openBrowser();
    // A fresh window: Previous says so, Next shows record 1 without enabling anything.
    stepBy(browser, "cmdPrevious");
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(platform.messages()[0].text, QStringLiteral("Beginning of file."));
    EXPECT_EQ(platform.messages()[0].title, QStringLiteral("Start of file reached"));
    EXPECT_EQ(session.currentRecord(), 0);
    stepBy(browser, "cmdNext");
    EXPECT_EQ(session.currentRecord(), 1);
    EXPECT_EQ(box(browser, "txtACFName")->text(), QStringLiteral("Ann"));
    EXPECT_FALSE(editing(browser));
    stepBy(browser, "cmdLast");
    EXPECT_EQ(session.currentRecord(), 3);
    stepBy(browser, "cmdNext");
    EXPECT_EQ(platform.messages().last().text, QStringLiteral("End of file."));
    EXPECT_EQ(platform.messages().last().title, QStringLiteral("No more contacts"));
    EXPECT_EQ(session.currentRecord(), 3);
    EXPECT_EQ(box(browser, "txtACFName")->text(), QStringLiteral("Cy"));
    stepBy(browser, "cmdFirst");
    EXPECT_EQ(box(browser, "txtACFName")->text(), QStringLiteral("Ann"));
    stepBy(browser, "cmdPrevious");
    EXPECT_EQ(platform.messages().size(), 3);
    EXPECT_EQ(platform.messages().last().text, QStringLiteral("Beginning of file."));

    // After a choice, a step empties the list and fills it again from the file.
    chooseWithKeys(browser, 1);
    EXPECT_EQ(findList(browser)->currentIndex(), 1);
    EXPECT_TRUE(editing(browser));
    stepBy(browser, "cmdNext");
    EXPECT_EQ(session.currentRecord(), 3);
    EXPECT_EQ(findList(browser)->currentIndex(), -1);
    EXPECT_EQ(findList(browser)->currentText(), QStringLiteral("Select Contact"));
    EXPECT_EQ(items(browser).size(), 3);
    EXPECT_TRUE(editing(browser));
    stepBy(browser, "cmdPrevious");
    EXPECT_EQ(box(browser, "txtACLName")->text(), QStringLiteral("Ray"));
}

TEST_F(ContactBrowserTest, FirstAndLastOnAnEmptyFileShowNothing) {
    openFile({});
    QWidget* browser = openBrowser();
    EXPECT_EQ(findList(browser)->count(), 0);
    stepBy(browser, "cmdFirst");
    stepBy(browser, "cmdLast");
    EXPECT_EQ(session.currentRecord(), 0);
    EXPECT_EQ(box(browser, "txtACFName")->text(), QString());
    EXPECT_TRUE(platform.messages().isEmpty());
    stepBy(browser, "cmdNext");
    EXPECT_EQ(platform.messages().last().text, QStringLiteral("End of file."));
}

TEST_F(ContactBrowserTest, SavingAChangeRewritesOnlyThatRecord) {
    openFile(three);
    const QByteArray before = fileNow();
    QWidget* browser = openBrowser();
    chooseWithKeys(browser, 1);  // Bob Ray, record 2
    ASSERT_EQ(session.currentRecord(), 2);

    // A refusal first: focus in the box, nothing written.
    box(browser, "txtACEmail")->setText("bob@example");
    child<QPushButton>(browser, "cmdSave")->click();
    EXPECT_EQ(platform.messages().last().text,
              QStringLiteral("Email address must contain the '.' character."));
    EXPECT_EQ(platform.messages().last().title, QStringLiteral("Incorrect entry"));
    EXPECT_EQ(platform.messages().last().icon, MessageIcon::None);
    EXPECT_EQ(platform.messages().last().buttons, MessageButtons::Ok);
    EXPECT_EQ(QApplication::focusWidget(), box(browser, "txtACEmail"));
    EXPECT_EQ(fileNow(), before);

    box(browser, "txtACEmail")->setText("bob@example.com");
    box(browser, "txtACLName")->setText("Rayburn, Jr");
    box(browser, "txtACState")->setText("c");  // one letter passes in the browser
    box(browser, "txtACCountry")->setText("u,s");
    child<QPushButton>(browser, "cmdSave")->click();
    const RecordedMessage& saved = platform.messages().last();
    EXPECT_EQ(saved.text, QStringLiteral("S A V E D"));
    EXPECT_EQ(saved.title, QStringLiteral("Changes saved"));
    EXPECT_EQ(saved.icon, MessageIcon::None);
    const QByteArray after = fileNow();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.left(513), before.left(513));
    EXPECT_EQ(after.mid(1026), before.mid(1026));
    EXPECT_EQ(recordNow(2), contact({{"FName", "Bob"},
                                     {"LName", "Rayburn Jr"},
                                     {"State", "C"},
                                     {"Country", "US"},
                                     {"Email", "bob@example.com"}}));
    // The window stays on the contact with the cleaning shown; the list is not refreshed.
    EXPECT_EQ(window("frmEdDelViewContact"), browser);
    EXPECT_EQ(box(browser, "txtACLName")->text(), QStringLiteral("Rayburn Jr"));
    EXPECT_EQ(findList(browser)->itemText(1), QStringLiteral("Bob  Ray"));
    EXPECT_EQ(session.currentRecord(), 2);
}

TEST_F(ContactBrowserTest, LeavingUnsavedChangesAsksFirst) {
    openFile(three);
    QWidget* browser = openBrowser();
    chooseWithKeys(browser, 0);  // Ann Lee, record 1
    ASSERT_EQ(session.currentRecord(), 1);
    const QByteArray before = fileNow();
    auto* next = child<QPushButton>(browser, "cmdNext");
    box(browser, "txtACFName")->setText("Anne");
    // Cancel stays on the contact with the typing kept.
    platform.answerMessage(MessageAnswer::Cancel);
    next->click();
    EXPECT_EQ(platform.messages().last().text, kUnsavedChangesText);
    EXPECT_EQ(platform.messages().last().buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(session.currentRecord(), 1);
    EXPECT_EQ(box(browser, "txtACFName")->text(), QStringLiteral("Anne"));
    // No discards the typing and steps on; an unchanged contact asks nothing.
    platform.answerMessage(MessageAnswer::No);
    next->click();
    EXPECT_EQ(session.currentRecord(), 2);
    EXPECT_EQ(fileNow(), before);
    const qsizetype asked = platform.messages().size();
    next->click();
    EXPECT_EQ(session.currentRecord(), 3);
    EXPECT_EQ(platform.messages().size(), asked);
    // Yes saves before Escape closes the window.
    box(browser, "txtACFName")->setText("Cyrus");
    platform.answerMessage(MessageAnswer::Yes);
    QTest::keyClick(box(browser, "txtACFName"), Qt::Key_Escape);
    settle();
    EXPECT_EQ(window("frmEdDelViewContact"), nullptr);
    EXPECT_EQ(recordNow(3), contact({{"FName", "Cyrus"}, {"LName", "Do"}}));
}

TEST_F(ContactBrowserTest, TheCompanyRuleOfTheBrowser) {
    openFile(
        {contact({{"FName", "Al"}, {"LName", "One"}, {"Company", "Acme"}, {"IncludeCompany", "0"}}),
         person("Bo", "Two"),
         contact(
             {{"FName", "Cy"}, {"LName", "Three"}, {"Company", "Beta"}, {"IncludeCompany", "1"}})});
    QWidget* browser = openBrowser();
    auto* check = child<QCheckBox>(browser, "chkCompanyInclude");
    auto* label = child<QLabel>(browser, "lblACCompOnLabel");
    chooseWithKeys(browser, 0);
    // Shown as stored, even though setting the company checked it on the way.
    EXPECT_TRUE(check->isVisible());
    EXPECT_TRUE(label->isVisible());
    EXPECT_FALSE(check->isChecked());
    stepBy(browser, "cmdNext");
    EXPECT_FALSE(check->isVisible());
    EXPECT_FALSE(label->isVisible());
    stepBy(browser, "cmdNext");
    EXPECT_TRUE(check->isVisible());
    EXPECT_TRUE(check->isChecked());
    stepBy(browser, "cmdPrevious");
    // Typing a company shows and checks the box; clearing it clears the box.
    QTest::keyClicks(box(browser, "txtACCompany"), "Gamma");
    EXPECT_TRUE(check->isVisible());
    EXPECT_TRUE(label->isVisible());
    EXPECT_TRUE(check->isChecked());
    box(browser, "txtACCompany")->clear();
    EXPECT_FALSE(check->isChecked());
    EXPECT_TRUE(check->isVisible());
}

TEST_F(ContactBrowserTest, DeletingWithYesCompactsAndWithNoKeepsEverything) {
    openFile(three);
    QWidget* browser = openBrowser();
    chooseWithKeys(browser, 1);  // record 2

    platform.answerMessage(MessageAnswer::No);
    child<QPushButton>(browser, "cmdDelete")->click();
    ASSERT_EQ(platform.messages().size(), 2);
    const RecordedMessage& question = platform.messages()[0];
    EXPECT_EQ(question.text,
              QStringLiteral("WARNING!  This will delete entire contact from your file.\n"
                             "Do you REALLY want to delete this contact?"));
    EXPECT_EQ(question.title, QStringLiteral("Confirm deletion."));
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.icon, MessageIcon::None);
    EXPECT_EQ(platform.messages()[1].text, QStringLiteral("Nothing deleted..."));
    EXPECT_EQ(platform.messages()[1].title, QStringLiteral("Deletion not performed."));
    EXPECT_EQ(QApplication::focusWidget(), child<QPushButton>(browser, "cmdCancel"));
    EXPECT_EQ(fileNow(), fileBytes(three));
    EXPECT_EQ(session.currentRecord(), 2);

    // Yes: "Contact deleted!" comes when the record is marked and the file not yet compacted.
    QByteArray atConfirmation;
    platform.onMessage = [&](const RecordedMessage& m) {
        if (m.text == QLatin1String("Contact deleted!")) {
            atConfirmation = fileNow();
        }
    };
    platform.answerMessage(MessageAnswer::Yes);
    child<QPushButton>(browser, "cmdDelete")->click();
    ASSERT_EQ(platform.messages().size(), 4);
    EXPECT_EQ(platform.messages()[3].title, QStringLiteral("Contact deleted."));
    ASSERT_EQ(atConfirmation.size(), 3 * 513);
    EXPECT_TRUE(atConfirmation.mid(513).startsWith("*DELETED*"));
    EXPECT_EQ(fileNow(), fileBytes({three[0], three[2]}));
    settle();
    EXPECT_EQ(window("frmEdDelViewContact"), nullptr);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(session.currentRecord(), 0);

    browser = openBrowser();
    EXPECT_EQ(items(browser), QStringList({"Ann  Lee=1", "Cy  Do=2"}));
}

TEST_F(ContactBrowserTest, FailuresOfferRetryAndCancel) {
    openFile(three);
    QWidget* browser = openBrowser();
    chooseWithKeys(browser, 0);
    box(browser, "txtACLName")->setText("Leeds");
    fault::arm(QStringLiteral("contacts.write"));
    platform.answerMessage(MessageAnswer::Retry);
    child<QPushButton>(browser, "cmdSave")->click();
    EXPECT_EQ(platform.messages().last().buttons, MessageButtons::RetryCancel);
    EXPECT_EQ(platform.messages().last().title, QStringLiteral("Error"));
    settle();
    ASSERT_EQ(window("frmEdDelViewContact"), browser);
    EXPECT_EQ(box(browser, "txtACLName")->text(), QStringLiteral("Leeds"));
    EXPECT_EQ(session.currentRecord(), 1);
    EXPECT_EQ(fileNow(), fileBytes(three));

    // A failed compaction: nothing is lost, and Cancel unloads the browser.
    fault::arm(QStringLiteral("compact.write"));
    platform.answerMessage(MessageAnswer::Yes);
    platform.answerMessage(MessageAnswer::Ok);
    platform.answerMessage(MessageAnswer::Cancel);
    child<QPushButton>(browser, "cmdDelete")->click();
    EXPECT_TRUE(
        platform.messages().last().text.startsWith(QStringLiteral("An error has occurred.")));
    settle();
    EXPECT_EQ(window("frmEdDelViewContact"), nullptr);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(session.currentRecord(), 0);
    EXPECT_EQ(fileNow(), fileBytes(three));
}

TEST_F(ContactBrowserTest, AFailedReadLeavesTheRecordNumberWithTheContactShown) {
    openFile(three);
    QWidget* browser = openBrowser();
    chooseWithKeys(browser, 0);  // Ann Lee, record 1
    ASSERT_EQ(session.currentRecord(), 1);

    // Choosing Bob fails: Ann stays on screen and Save changes writes her own record.
    fault::arm(QStringLiteral("contacts.read"));
    platform.answerMessage(MessageAnswer::Retry);
    QTest::keyClick(findList(browser), Qt::Key_Down);
    settle();
    ASSERT_EQ(window("frmEdDelViewContact"), browser);
    EXPECT_EQ(box(browser, "txtACFName")->text(), QStringLiteral("Ann"));
    EXPECT_EQ(session.currentRecord(), 1);

    // A step whose list refill fails: the contact shown is the one the number names.
    fault::arm(QStringLiteral("contacts.read"), 1);
    platform.answerMessage(MessageAnswer::Retry);
    stepBy(browser, "cmdNext");
    settle();
    EXPECT_EQ(box(browser, "txtACFName")->text(), QStringLiteral("Bob"));
    EXPECT_EQ(session.currentRecord(), 2);

    child<QPushButton>(browser, "cmdSave")->click();
    EXPECT_EQ(platform.messages().last().text, QStringLiteral("S A V E D"));
    EXPECT_EQ(fileNow(), fileBytes(three));
}

TEST_F(ContactBrowserTest, TheContactListOpensTheBrowserOnARecord) {
    openFile(three);
    // A stand-in for the contact list, which hands over to the browser and goes.
    auto* list = new QMainWindow;
    list->setObjectName(QStringLiteral("frmViewAll"));
    shell.showInPlaceOfMain(list);
    session.reopen();  // the double-click closes and reopens the file
    shell.openBrowser(2);
    list->close();
    settle();
    QWidget* browser = window("frmEdDelViewContact");
    ASSERT_NE(browser, nullptr);
    activate(browser);
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(session.currentRecord(), 2);
    EXPECT_EQ(box(browser, "txtACFName")->text(), QStringLiteral("Bob"));
    EXPECT_TRUE(editing(browser));
    EXPECT_EQ(items(browser).size(), 3);
    EXPECT_EQ(findList(browser)->currentText(), QStringLiteral("Select Contact"));
    EXPECT_TRUE(focusInFindList(browser));
    browser->close();
    settle();
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(session.currentRecord(), 0);
}

TEST_F(ContactBrowserTest, AFailedOpeningOffersRetryAndCancel) {
    openFile(three);
    DocumentAccess::file(session).close();  // the file is gone from under the window
    platform.answerMessage(MessageAnswer::Retry);
    QWidget* browser = openBrowser();
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_TRUE(platform.messages()[0].text.startsWith(
        QStringLiteral("An error has occurred. Error number 52")));
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(findList(browser)->count(), 0);
    browser->close();
    settle();

    platform.answerMessage(MessageAnswer::Cancel);
    trigger("mnuViewOne");
    settle();
    EXPECT_EQ(window("frmEdDelViewContact"), nullptr);
    EXPECT_TRUE(main.isVisible());

    // A record the file does not hold opens the browser with nothing shown.
    DocumentAccess::file(session).open(path);
    shell.openBrowser(4);
    browser = window("frmEdDelViewContact");
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(session.currentRecord(), 0);
    EXPECT_FALSE(editing(browser));
    EXPECT_EQ(platform.messages().size(), 2);
}
