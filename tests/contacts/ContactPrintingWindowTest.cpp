#include <QRadioButton>

#include "ContactWindowFixture.h"

using namespace tandor;
using namespace tandor::test;

namespace {

class ContactPrintingWindowTest : public ContactWindowTest {
protected:
    QWidget* browserOn(int n) {
        shell.openBrowser(n);
        QWidget* browser = window("frmEdDelViewContact");
        if (browser) {
            activate(browser);
        }
        return browser;
    }
    QStringList mainLines() {
        QStringList out;
        for (const char* name :
             {"txtLMLine1", "txtLMLine2", "txtLMline3", "txtLMLine4", "txtLMLine5"}) {
            out << mainChild<QLineEdit>(name)->text();
        }
        return out;
    }
    // The texts placed on one page, in order.
    static QStringList texts(const PrintedPage& page) {
        QStringList out;
        for (const PlacedText& t : page.texts) {
            out << t.text;
        }
        return out;
    }
};

QByteArray address(const QByteArray& company, const QByteArray& include, const QByteArray& sStreet,
                   const QByteArray& city, const QByteArray& initial = "Q") {
    return contact({{"FName", "John"},
                    {"MiddleInit", initial},
                    {"LName", "Smith"},
                    {"FStreet", "1 Main St"},
                    {"SStreet", sStreet},
                    {"City", city},
                    {"State", "IL"},
                    {"Zip", "62701"},
                    {"Country", "USA"},
                    {"Company", company},
                    {"IncludeCompany", include}});
}

}  // namespace

TEST_F(ContactPrintingWindowTest, PrintLabelFillsTheMainWindowForEachRowOfTheTable) {
    openFile({address("Acme", "1", "", "Springfield"), address("Acme", "1", "Apt 2", "Springfield"),
              address("Acme", "1", "Apt 2", ""), address("Acme", "0", "", "Springfield", ""),
              address("", "1", "Apt 2", "Springfield"), address("", "0", "Apt 2", "")});
    const QString place = QStringLiteral("Springfield, IL  62701");
    const QStringList expected[6] = {
        {"John Q Smith", "Acme", "1 Main St", place, ""},
        {"John Q Smith", "Acme", "1 Main St", "Apt 2", place},
        {"John Q Smith", "Acme", "1 Main St", "Apt 2", ""},
        {"John Smith", "1 Main St", place, "", ""},
        {"John Q Smith", "1 Main St", "Apt 2", place, ""},
        {"John Q Smith", "1 Main St", "Apt 2", "", ""},
    };
    auto* bold = mainChild<QCheckBox>("chkBold");
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        // An envelope in bold on the main window beforehand.
        mainChild<QRadioButton>("optLMEnvelope")->click();
        auto* sizes = mainChild<QComboBox>("cboLMEnvelope");
        QTest::keyClick(sizes, Qt::Key_Down);
        if (!bold->isChecked()) {
            bold->click();
        }
        ASSERT_TRUE(bold->isVisible());
        QWidget* browser = browserOn(n);
        ASSERT_NE(browser, nullptr);
        child<QPushButton>(browser, "cmdPrintLabel")->click();
        settle();
        EXPECT_EQ(window("frmEdDelViewContact"), nullptr);
        EXPECT_TRUE(main.isVisible());
        EXPECT_EQ(mainLines(), expected[n - 1]);
        EXPECT_FALSE(bold->isChecked());
        EXPECT_FALSE(bold->isVisible());
        // Clearing the checked box is a click on it: the focus goes on to Print.
        EXPECT_EQ(main.focusWidget(), mainChild<QPushButton>("cmdLMStart"));
    }
    // What the boxes show is printed, saved or not; nothing is written.
    QWidget* browser = browserOn(1);
    box(browser, "txtACCity")->setText("  Peoria ");
    child<QCheckBox>(browser, "chkCompanyInclude")->setChecked(false);
    child<QPushButton>(browser, "cmdPrintLabel")->click();
    settle();
    EXPECT_EQ(mainLines(), QStringList({"John Q Smith", "1 Main St", "Peoria, IL  62701", "", ""}));
    // "Bold" was clear already: the focus stays in Line 1.
    EXPECT_EQ(main.focusWidget(), mainChild<QLineEdit>("txtLMLine1"));
    EXPECT_EQ(recordNow(1), address("Acme", "1", "", "Springfield"));
    EXPECT_TRUE(platform.messages().isEmpty());
}

TEST_F(ContactPrintingWindowTest, FilePrintPrintsTheSheetOrTheSelection) {
    openFile({contact({{"FName", "Ann"},
                       {"LName", "Lee"},
                       {"City", "Reno"},
                       {"Notes", "Likes green tea and long walks"}})});
    platform.setToday(QDate(2024, 3, 1));
    QWidget* browser = browserOn(1);
    ASSERT_NE(browser, nullptr);
    box(browser, "txtACState")->setText("NV");  // printed as shown, not saved
    platform.answerPrint({.copies = 3});
    child<QAction>(browser, "mnuEDVPrint")->trigger();
    ASSERT_EQ(platform.printRequests().size(), 1);
    EXPECT_TRUE(platform.printRequests()[0].offerSelection);
    const RecordingSurface& s = *platform.recording();
    ASSERT_EQ(s.documents().size(), 1u);
    ASSERT_EQ(s.documents()[0].pages.size(), 3u);
    for (const PrintedPage& page : s.documents()[0].pages) {
        const QStringList onPage = texts(page);
        EXPECT_TRUE(onPage.contains(QStringLiteral("Ann  Lee")));
        EXPECT_TRUE(onPage.contains(QStringLiteral("Reno, NV  ")));
        EXPECT_TRUE(onPage.contains(QStringLiteral("Likes green tea and long walks")));
    }

    // "Selection" with the focus in the notes: only the selected text, once.
    QLineEdit* notes = box(browser, "txtACNotes");
    notes->setFocus();
    notes->setSelection(6, 9);
    platform.answerPrint({.copies = 2, .selection = true});
    child<QAction>(browser, "mnuEDVPrint")->trigger();
    ASSERT_EQ(s.documents().size(), 2u);
    ASSERT_EQ(s.documents()[1].pages.size(), 1u);
    EXPECT_EQ(texts(s.documents()[1].pages[0]), QStringList({"green tea"}));

    // "Selection" with the focus in the find list: nothing is printed.
    child<QComboBox>(browser, "cboFindContact")->setFocus();
    platform.answerPrint({.selection = true});
    child<QAction>(browser, "mnuEDVPrint")->trigger();
    EXPECT_EQ(s.documents().size(), 2u);
    EXPECT_TRUE(platform.messages().isEmpty());
    EXPECT_EQ(window("frmEdDelViewContact"), browser);
}
