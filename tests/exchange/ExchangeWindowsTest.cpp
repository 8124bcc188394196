// The import and export windows, driven as the user drives them.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "ExchangeTestSupport.h"
#include "exchange/widgets/ExportWindow.h"
#include "exchange/widgets/ImportWindow.h"
#include "platform/FaultPoint.h"
#include "platform/ScriptedPlatform.h"
#include "compose/widgets/MainWindow.h"
#include "appshell/widgets/ApplicationShell.h"
#include "store/ContactsDocument.h"
#include "support/MenuKeys.h"

namespace tandor {
namespace {

const QString kErrorEnd = QStringLiteral(".  Try again, or notify ");

class ExchangeWindows : public ::testing::Test {
protected:
    ExchangeWindows() : shell(platform, folder.withDefaultAdjustments()), session(shell.document()), main(shell.mainWindow()) {
        main.show();
        QApplication::setActiveWindow(&main);
    }
    ~ExchangeWindows() override {
        fault::disarmAll();
        if (window) {
            delete window.data();
        }
    }

    // Makes a contacts file current through File Open.
    void openContacts(const QString& name, const QByteArray& bytes) {
        contactsPath = folder.write(name, bytes);
        platform.answerOpenFile(contactsPath);
        mainAction("mnuFileOpen")->trigger();
        ASSERT_EQ(session.fileName(), contactsPath);
    }
    // Opens the window through the main window's Contacts menu.
    void openWindow(const char* menuItem, const char* name) {
        mainAction(menuItem)->trigger();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QLatin1String(name) && w->isVisible()) {
                window = w;
            }
        }
        ASSERT_TRUE(window) << name;
        QApplication::setActiveWindow(window);
    }
    QAction* mainAction(const char* name) {
        return main.findChild<QAction*>(QString::fromLatin1(name));
    }
    template <typename T>
    T* find(const char* name) {
        T* w = window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    // Lets a closed window be deleted, which shows the main window again.
    void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    const RecordedMessage& lastMessage() const { return platform.messages().last(); }
    void expectMenu(const char* menu, const char* title, const QStringList& items) {
        auto* m = find<QMenu>(menu);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->title(), QLatin1String(title));
        QStringList got;
        for (QAction* a : m->actions()) {
            got << (a->isSeparator()
                        ? QStringLiteral("-")
                        : a->objectName() + "=" + test::shown(a->text()) +
                              (a->shortcut().isEmpty() ? "" : " " + a->shortcut().toString()));
        }
        EXPECT_EQ(got, items);
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    ApplicationShell shell;
    ContactsDocument& session;
    MainWindow& main;
    QString contactsPath;
    QPointer<QWidget> window;
};

// Import window.

class ImportWindowTest : public ExchangeWindows {
protected:
    void SetUp() override {
        openContacts(QStringLiteral("Family.DAT"), {});
        openWindow("mnuImport", "frmLMImport");
    }
    QString writeCsv(const QStringList& lines) {
        return folder.write(QStringLiteral("contacts.csv"), test::csvLines(lines));
    }
    void choose(const QString& path) {
        platform.answerOpenFile(path);
        click("cmdCsvOpen");
    }
};

TEST_F(ImportWindowTest, OpensInPlaceOfTheMainWindowWithItsControlsAndMenus) {
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Import Contacts  [Family]"));
    EXPECT_EQ(find<QLabel>("lblImpHdr")->text(),
              "First, download contacts (as a csv file) from your email provider or other source, "
              "and save to PC.\r\nWhen ready, click 'Open csv file' to select the file to import.  "
              "Click 'Import' to begin importing.");
    EXPECT_EQ(find<QPushButton>("cmdCsvOpen")->text(), "&Open csv file");
    EXPECT_EQ(find<QPushButton>("cmdStartImport")->text(), "&Import");
    EXPECT_EQ(find<QPushButton>("cmdImpCancel")->text(), "&Close");
    EXPECT_FALSE(find<QPushButton>("cmdStartImport")->isEnabled());
    EXPECT_FALSE(find<QLineEdit>("txtImpFilename")->isVisible());
    expectMenu("mnuITFile", "&File", {"mnuITFileExit=Exit"});
    expectMenu(
        "mnuITEdit", "&Edit",
        {"mnuITEditCut=Cut Ctrl+X", "mnuITEditCopy=Copy Ctrl+C", "mnuITEditPaste=Paste Ctrl+V"});
    expectMenu("mnuITHelp", "&Help",
               {"mnuITHelpUM=User Manual F1", "-", "mnuITHelpAbout=About Tandor"});
}

TEST_F(ImportWindowTest, ChoosingAFile) {
    click("cmdCsvOpen");                               // cancelled
    ASSERT_EQ(platform.openFileRequests().size(), 2);  // File Open, then this one
    const OpenFileRequest& request = platform.openFileRequests().last();
    EXPECT_EQ(request.title, "Open");
    EXPECT_EQ(request.filter,
              "CSV Files (*.CSV)|*.CSV|vCard Files (*.VCF;*.VCARD)|*.VCF;*.VCARD|"
              "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*");
    EXPECT_TRUE(request.startFolder.isEmpty());
    EXPECT_FALSE(find<QLineEdit>("txtImpFilename")->isVisible());
    EXPECT_FALSE(find<QPushButton>("cmdStartImport")->isEnabled());

    choose(writeCsv({"First Name,Last Name,Email,Phone"}));
    EXPECT_TRUE(find<QLineEdit>("txtImpFilename")->isVisible());
    EXPECT_EQ(find<QLineEdit>("txtImpFilename")->text(), "contacts.csv");
    EXPECT_TRUE(find<QPushButton>("cmdStartImport")->isEnabled());
    EXPECT_TRUE(platform.messages().isEmpty());

    // The Edit menu works on the name box.
    auto* name = find<QLineEdit>("txtImpFilename");
    name->setFocus();
    name->setSelection(0, 8);
    find<QAction>("mnuITEditCopy")->trigger();
    EXPECT_EQ(platform.clipboardText(), "contacts");
}

TEST_F(ImportWindowTest, AnImportRunEndsWithItsCount) {
    choose(
        writeCsv({"First Name,Last Name,Email,Phone", "Ann,Lee,ann@x.com,", "Bob,Ray,bob@x.com,"}));
    click("cmdStartImport");
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(lastMessage().text, "D O N E !  2 contacts successfully imported.");
    EXPECT_EQ(lastMessage().title, "Import completed");
    EXPECT_EQ(lastMessage().icon, MessageIcon::None);
    EXPECT_EQ(lastMessage().buttons, MessageButtons::Ok);
    EXPECT_FALSE(find<QPushButton>("cmdStartImport")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), find<QPushButton>("cmdImpCancel"));
    EXPECT_FALSE(platform.busy());
    EXPECT_EQ(session.file().recordCount(), 2);
    EXPECT_EQ(session.file().read(1).field(Field::BirthdayReminder), "1");
    // The first contacts of an empty file switch its reminders on.
    EXPECT_EQ(session.reminders(), Reminders::On);

    // Choosing the file again allows a second run, which finds only duplicates.
    choose(contactsPath.section('/', 0, -2) + "/contacts.csv");
    click("cmdStartImport");
    EXPECT_EQ(lastMessage().text,
              "D O N E !  0 contacts successfully imported.\n"
              "2 contacts were already on file and were skipped.");
    EXPECT_EQ(session.file().recordCount(), 2);
}

TEST_F(ImportWindowTest, TheFileTypeChosenLastIsShownFirst) {
    const QString vcard = QStringLiteral("vCard Files (*.VCF;*.VCARD)");
    const QString cards = folder.write(QStringLiteral("phone.vcf"),
                                       "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann\r\nEND:VCARD\r\n");
    click("cmdCsvOpen");  // cancelled: nothing is remembered
    EXPECT_EQ(platform.openFileRequests().last().selectedFilter, "");
    platform.answerOpenFile(cards, vcard);
    click("cmdCsvOpen");
    click("cmdImpCancel");
    settle();

    // The window opened again shows vCard files first, until another type is chosen.
    openWindow("mnuImport", "frmLMImport");
    choose(cards);
    EXPECT_EQ(platform.openFileRequests().last().selectedFilter, vcard);
    platform.answerOpenFile(writeCsv({"First Name,Last Name,Email,Phone"}),
                            QStringLiteral("CSV Files (*.CSV)"));
    click("cmdCsvOpen");
    click("cmdCsvOpen");
    EXPECT_EQ(platform.openFileRequests().last().selectedFilter, "CSV Files (*.CSV)");
}

TEST_F(ImportWindowTest, AVcardFileTellsTheCardsItCouldNotRead) {
    choose(folder.write(QStringLiteral("phone.vcf"),
                        "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Lee;Ann\r\nEND:VCARD\r\n"
                        "BEGIN:VCARD\r\nVERSION:7\r\nN:Ray;Bob\r\nEND:VCARD\r\n"));
    click("cmdStartImport");
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(lastMessage().text,
              "D O N E !  1 contacts successfully imported.  1 card could not be read.");
    EXPECT_EQ(lastMessage().title, "Import completed");
    EXPECT_EQ(session.file().read(1).field(Field::LName), "Lee");
}

TEST_F(ImportWindowTest, AFileOfNoKnownLayoutOrWithoutAnEmailColumn) {
    choose(writeCsv({"Given,Family", "Ann,Lee"}));
    click("cmdStartImport");
    EXPECT_TRUE(platform.messages().isEmpty());
    EXPECT_TRUE(find<QPushButton>("cmdStartImport")->isEnabled());

    choose(writeCsv({"First Name,Last Name,Email", "Ann,Lee,ann@x.com"}));
    click("cmdStartImport");
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(lastMessage().text, "CSV file not compatible with import function.");
    EXPECT_EQ(lastMessage().title, "No contacts imported");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Information);
    EXPECT_FALSE(find<QPushButton>("cmdStartImport")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), find<QPushButton>("cmdImpCancel"));
    EXPECT_EQ(session.file().recordCount(), 0);
}

TEST_F(ImportWindowTest, ImportWithoutAChosenFileBeeps) {
    find<QPushButton>("cmdStartImport")->setEnabled(true);
    click("cmdStartImport");
    EXPECT_EQ(platform.beeps(), 1);
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(lastMessage().text, "Click 'Open csv file' to select a file to import.");
    EXPECT_EQ(lastMessage().title, "No csv file selected");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Information);
}

TEST_F(ImportWindowTest, TheErrorRoutineOffersRetryAndCancel) {
    // A file that cannot be read when chosen.
    platform.answerMessage(MessageAnswer::Retry);
    choose(folder.file("missing.csv"));
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(lastMessage().text,
              "An error has occurred. Error number 53 -- File not found" + kErrorEnd + "Tandor.");
    EXPECT_EQ(lastMessage().title, "Error");
    EXPECT_EQ(lastMessage().icon, MessageIcon::None);
    EXPECT_EQ(lastMessage().buttons, MessageButtons::RetryCancel);
    settle();
    ASSERT_TRUE(window);  // Retry: the window stays as it was
    EXPECT_FALSE(find<QLineEdit>("txtImpFilename")->isVisible());

    // A write failure in the middle of a run: the contacts before it stay.
    choose(
        writeCsv({"First Name,Last Name,Email,Phone", "Ann,Lee,ann@x.com,", "Bob,Ray,bob@x.com,"}));
    fault::arm(QStringLiteral("contacts.write"), 1);
    platform.answerMessage(MessageAnswer::Cancel);
    click("cmdStartImport");
    EXPECT_TRUE(lastMessage().text.startsWith("An error has occurred. Error number 57 -- "));
    EXPECT_TRUE(lastMessage().text.endsWith(kErrorEnd + "Tandor."));
    EXPECT_FALSE(platform.busy());
    EXPECT_EQ(session.file().recordCount(), 1);
    settle();
    EXPECT_FALSE(window);  // Cancel closed it
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(session.file().isOpen());
}

TEST_F(ImportWindowTest, CloseShowsTheMainWindowWithTheFocusInLine1) {
    click("cmdImpCancel");
    settle();
    EXPECT_FALSE(window);
    EXPECT_TRUE(main.isVisible());
    QApplication::setActiveWindow(&main);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "txtLMLine1");
    EXPECT_TRUE(session.file().isOpen());
}

TEST_F(ImportWindowTest, FileExitClosesEveryFileAndEndsTheProgram) {
    find<QAction>("mnuITFileExit")->trigger();
    settle();
    EXPECT_FALSE(window);
    EXPECT_FALSE(session.hasFile());
    EXPECT_FALSE(session.file().isOpen());
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(platform.settings().contains("Settings/MainLeft"));  // the main window's unload ran
}

// Export window.

class ExportWindowTest : public ExchangeWindows {
protected:
    void open(const QString& name, const QByteArray& bytes) {
        openContacts(name, bytes);
        openWindow("mnuExport", "frmLMExport");
    }
    QByteArray twoContacts() const {
        return test::contactBytes({{"FName", "Ann"}, {"IncludeCompany", "0"}}) +
               test::contactBytes({{"FName", "Bob"}, {"LName", "Ray"}, {"Birthdate", "19800410"}});
    }
};

TEST_F(ExportWindowTest, OpensWithItsControlsAndNoOptionChosen) {
    open(QStringLiteral("Family.DAT"), twoContacts());
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Export Contacts  [Family]"));
    auto* csv = find<QRadioButton>("optExpCGCSV");
    auto* text = find<QRadioButton>("optExpCGTXT");
    EXPECT_EQ(test::shown(csv->text()), "Export contacts to comma separated values (.csv) file");
    EXPECT_EQ(csv->toolTip(),
              "Creates and stores a csv file of contacts, with file name of: TDRC_filename.csv");
    EXPECT_EQ(test::shown(text->text()), "Export contacts to text (.txt) file");
    EXPECT_EQ(text->toolTip(),
              "Creates and stores a text file of contacts, with file name of: TDRT_filename.txt");
    auto* vcard = find<QRadioButton>("optExpCGVCF");
    EXPECT_EQ(test::shown(vcard->text()), "Export contacts to vCard (.vcf) file");
    EXPECT_EQ(vcard->toolTip(),
              "Creates and stores a vCard file of contacts, with file name of: TDRV_filename.vcf");
    EXPECT_FALSE(vcard->isChecked());
    EXPECT_EQ(csv->parentWidget(), find<QGroupBox>("frExpOptions"));
    EXPECT_FALSE(csv->isChecked());
    EXPECT_FALSE(text->isChecked());
    auto* create = find<QPushButton>("cmdExpCreate");
    EXPECT_EQ(create->text(), "&Create export file");
    EXPECT_EQ(create->toolTip(), "Creates selected export file and stores in application's folder");
    EXPECT_FALSE(create->isEnabled());
    EXPECT_EQ(find<QPushButton>("cmdExpCancel")->text(), "C&lose");
    EXPECT_EQ(find<QPushButton>("cmdExpCancel")->toolTip(), "Return to main screen");
    EXPECT_EQ(find<QLabel>("lblExpBanner")->text(), "Tandor");
    EXPECT_EQ(find<QLabel>("lblExpBanner")->font().family(), "Times New Roman");
    EXPECT_EQ(
        find<QLabel>("lblExport")->text(),
        "Select type of export file to create, Comma Separated Values (csv) or Text (txt).\r\n"
        "Export file will contain First Name, Middle Initial, Last Name, Street Address1,\r\n"
        "Street Address 2, City, State, Zip Code, Country, Company, Incl Company, Home Phone,\r\n"
        "Cell Phone, Work Phone, Email Address, Birthdate, Category, and Notes.\r\n"
        "The export file will be stored in your Tandor folder.");
    expectMenu("mnuETFile", "&File", {"mnuETFileExit=Exit"});
    expectMenu("mnuETHelp", "&Help",
               {"mnuETHelpUM=User Manual F1", "-", "mnuETHelpAbout=About Tandor"});

    text->click();
    EXPECT_TRUE(create->isEnabled());
}

TEST_F(ExportWindowTest, CreatesTheCsvFileInTheProgramFolder) {
    open(QStringLiteral("Family.DAT"), twoContacts());
    find<QRadioButton>("optExpCGCSV")->click();
    click("cmdExpCreate");
    const QByteArray written = test::readAll(folder.file("TDRC_Family.csv"));
    EXPECT_EQ(written.count("\r\n"), 3);
    EXPECT_TRUE(written.contains("\r\nAnn,,,,,,,,,,0,,,,,,,\r\n"));
    EXPECT_TRUE(written.contains("\r\nBob,,Ray,,,,,,,,,,,,,04-10-1980,,\r\n"));
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(lastMessage().text,
              "D O N E !  A csv file of contacts has been created and stored in your Tandor "
              "folder.  This file is named TDRC_Family.csv\nFull path: " +
                  QDir::toNativeSeparators(folder.file("TDRC_Family.csv")));
    EXPECT_EQ(lastMessage().title, "Export file created");
    EXPECT_EQ(lastMessage().icon, MessageIcon::None);
    EXPECT_EQ(QApplication::focusWidget(), find<QPushButton>("cmdExpCancel"));
    EXPECT_TRUE(find<QRadioButton>("optExpCGCSV")->isChecked());
    EXPECT_FALSE(platform.busy());

    find<QRadioButton>("optExpCGTXT")->click();
    click("cmdExpCreate");
    EXPECT_TRUE(
        test::readAll(folder.file("TDRT_Family.txt")).contains("\r\nAnn||||||||||0|||||||\r\n"));
    EXPECT_TRUE(lastMessage().text.contains("This file is named TDRT_Family.txt\n"));

    find<QRadioButton>("optExpCGVCF")->click();
    click("cmdExpCreate");
    EXPECT_TRUE(test::readAll(folder.file("TDRV_Family.vcf"))
                    .startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\nN:;Ann;;;\r\nFN:Ann\r\n"));
    EXPECT_EQ(lastMessage().text,
              "D O N E !  A vCard file of contacts has been created and stored in your Tandor "
              "folder.  This file is named TDRV_Family.vcf\nFull path: " +
                  QDir::toNativeSeparators(folder.file("TDRV_Family.vcf")));
}

TEST_F(ExportWindowTest, AnEmptyFileSaysThereWereNoContacts) {
    open(QStringLiteral("family.dat"), {});
    find<QRadioButton>("optExpCGCSV")->click();
    click("cmdExpCreate");
    EXPECT_EQ(lastMessage().text,
              "Export file could not be created.  There were no contacts on file.");
    EXPECT_EQ(lastMessage().title, "Export file not created");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Information);
    EXPECT_EQ(test::readAll(folder.file("TDRC_family.csv")).count("\r\n"), 1);
}

TEST_F(ExportWindowTest, AFileInAFolderOfItsOwnIsExportedBesideIt) {
    QDir(folder.path()).mkdir(QStringLiteral("data"));
    open(QStringLiteral("data/Office.DAT"), twoContacts());
    EXPECT_TRUE(find<QLabel>("lblExport")->text().endsWith(
        QStringLiteral("The export file will be stored in the folder of your contacts file.")));
    find<QRadioButton>("optExpCGCSV")->click();
    click("cmdExpCreate");
    EXPECT_EQ(test::readAll(folder.file("data/TDRC_Office.csv")).count("\r\n"), 3);
    EXPECT_EQ(lastMessage().text,
              "D O N E !  A csv file of contacts has been created and stored in the folder of "
              "your contacts file.  This file is named TDRC_Office.csv\nFull path: " +
                  QDir::toNativeSeparators(folder.file("data/TDRC_Office.csv")));
}

TEST_F(ExportWindowTest, AnExportThatCannotBeWrittenShowsTheError) {
    QDir(folder.path()).mkdir(QStringLiteral("TDRC_Family.csv"));
    open(QStringLiteral("Family.DAT"), twoContacts());
    find<QRadioButton>("optExpCGCSV")->click();
    platform.answerMessage(MessageAnswer::Retry);
    click("cmdExpCreate");
    EXPECT_EQ(lastMessage().text, "An error has occurred. Error number 75 -- Path/File access "
                                  "error" + kErrorEnd + "author.");
    EXPECT_EQ(lastMessage().title, "Error");
    EXPECT_EQ(lastMessage().buttons, MessageButtons::RetryCancel);
    EXPECT_FALSE(platform.busy());
    settle();
    ASSERT_TRUE(window);
    EXPECT_TRUE(find<QRadioButton>("optExpCGCSV")->isChecked());

    platform.answerMessage(MessageAnswer::Cancel);
    click("cmdExpCreate");
    settle();
    EXPECT_FALSE(window);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(test::readAll(contactsPath), twoContacts());
}

TEST_F(ExportWindowTest, CloseAndFileExit) {
    open(QStringLiteral("Family.DAT"), twoContacts());
    click("cmdExpCancel");
    settle();
    EXPECT_FALSE(window);
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(session.file().isOpen());

    openWindow("mnuExport", "frmLMExport");
    find<QAction>("mnuETFileExit")->trigger();
    settle();
    EXPECT_FALSE(window);
    EXPECT_FALSE(session.file().isOpen());
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(platform.settings().contains("Settings/MainLeft"));
}

}  // namespace
}  // namespace tandor
