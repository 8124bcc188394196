#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include "platform/FaultPoint.h"
#include "platform/ScriptedPlatform.h"
#include "compose/widgets/MainWindow.h"
#include "appshell/widgets/ApplicationShell.h"
#include "store/ContactsDocument.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

using namespace tandor;

namespace {

// The File menu of the main window with scripted dialogs: titles, enabled items
// and the error routine.
class FileMenuTest : public ::testing::Test {
protected:
    FileMenuTest() : shell(platform, folder.path()), session(shell.document()), window(shell.mainWindow()) {
        window.show();
    }
    QAction* item(const char* name) { return window.findChild<QAction*>(QString::fromLatin1(name)); }
    QPushButton* button(const char* name) { return window.findChild<QPushButton*>(QString::fromLatin1(name)); }
    QString hidden(const char* name) { return window.findChild<QLineEdit*>(QString::fromLatin1(name))->text(); }

    void expectFileItems(bool enabled) {
        for (const char* name : {"mnuAdd", "mnuEdit", "mnuFind", "mnuDelete", "mnuSrchContacts", "mnuImport",
                                 "mnuExport", "mnuViewOne", "mnuViewAll"}) {
            EXPECT_EQ(item(name)->isEnabled(), enabled) << name;
        }
        EXPECT_EQ(button("cmdAddContact")->isEnabled(), enabled);
        EXPECT_EQ(button("cmdFindContact")->isEnabled(), enabled);
    }
    QString contactsFile(const QString& name, int records, char reminder) {
        QByteArray bytes;
        for (int i = 0; i < records; ++i) {
            bytes += test::personBytes("Ann", "Lee", reminder);
        }
        return folder.write(name, bytes);
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    ApplicationShell shell;
    ContactsDocument& session;
    MainWindow& window;
};

}  // namespace

TEST_F(FileMenuTest, NewMakesAFileCurrentWithRemindersOn) {
    expectFileItems(false);
    const QString path = folder.file(QStringLiteral("Family.DAT"));
    platform.answerOpenFile(path);
    item("mnuFileNew")->trigger();
    ASSERT_EQ(platform.openFileRequests().size(), 1);
    EXPECT_EQ(platform.openFileRequests()[0].title, QStringLiteral("New"));
    EXPECT_EQ(platform.openFileRequests()[0].filter, QStringLiteral("Data Files (*.DAT)|*.DAT"));
    EXPECT_EQ(platform.openFileRequests()[0].startFolder, folder.path());
    EXPECT_TRUE(platform.openFileRequests()[0].acceptNewName);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tandor  [Family]"));
    EXPECT_EQ(hidden("txtFileNam"), path);
    EXPECT_EQ(hidden("txtFileTitle"), QStringLiteral("Family"));
    expectFileItems(true);
    EXPECT_FALSE(item("mnuFileBdayOn")->isEnabled());
    EXPECT_TRUE(item("mnuFileBdayOff")->isEnabled());
}

TEST_F(FileMenuTest, OpenSetsTheBirthdayItemsFromTheFileAndCloseClearsEverything) {
    platform.answerOpenFile(contactsFile(QStringLiteral("off.dat"), 2, '0'));
    item("mnuFileOpen")->trigger();
    EXPECT_EQ(platform.openFileRequests().last().title, QStringLiteral("Open"));
    EXPECT_FALSE(platform.openFileRequests().last().acceptNewName);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tandor  [off.dat]"));
    EXPECT_TRUE(item("mnuFileBdayOn")->isEnabled());
    EXPECT_FALSE(item("mnuFileBdayOff")->isEnabled());

    platform.answerOpenFile(contactsFile(QStringLiteral("empty.DAT"), 0, '1'));
    item("mnuFileOpen")->trigger();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tandor  [empty]"));
    EXPECT_FALSE(item("mnuFileBdayOn")->isEnabled());
    EXPECT_FALSE(item("mnuFileBdayOff")->isEnabled());

    // Cancelling the dialog keeps the current file current.
    item("mnuFileOpen")->trigger();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tandor  [empty]"));
    EXPECT_TRUE(session.file().isOpen());

    item("mnuFileClose")->trigger();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tandor"));
    EXPECT_TRUE(hidden("txtFileNam").isEmpty());
    EXPECT_TRUE(hidden("txtFileTitle").isEmpty());
    expectFileItems(false);
    EXPECT_FALSE(item("mnuFileBdayOn")->isEnabled());
    EXPECT_FALSE(item("mnuFileBdayOff")->isEnabled());
    EXPECT_FALSE(session.file().isOpen());
}

TEST_F(FileMenuTest, AFailedOpenAnsweredWithRetryLeavesNoFileCurrent) {
    platform.answerOpenFile(contactsFile(QStringLiteral("Family.DAT"), 1, '1'));
    item("mnuFileOpen")->trigger();
    platform.answerOpenFile(folder.file(QStringLiteral("no-such-folder/Other.DAT")));
    platform.answerMessage(MessageAnswer::Retry);
    item("mnuFileNew")->trigger();
    ASSERT_FALSE(platform.messages().isEmpty());
    const RecordedMessage& m = platform.messages().last();
    EXPECT_TRUE(m.text.startsWith(QStringLiteral("An error has occurred. Error number ")));
    EXPECT_TRUE(m.text.endsWith(QStringLiteral(".  Try again, or notify author.")));
    EXPECT_EQ(m.title, QStringLiteral("Error"));
    EXPECT_EQ(m.buttons, MessageButtons::RetryCancel);
    EXPECT_EQ(m.icon, MessageIcon::None);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tandor"));
    expectFileItems(false);
    EXPECT_FALSE(session.file().isOpen());
}

// The installer file cannot be hidden: File > Open shows the error and no
// dialog, and the file that was open is closed.
TEST_F(FileMenuTest, AnInstallerFileThatCannotBeHiddenStopsOpenBeforeItsDialog) {
    platform.answerOpenFile(contactsFile(QStringLiteral("Family.DAT"), 1, '1'));
    item("mnuFileOpen")->trigger();
    ASSERT_TRUE(session.file().isOpen());
    const qsizetype dialogs = platform.openFileRequests().size();
    folder.write(QStringLiteral("unins000.DAT"), "installer");
    fault::arm("installer.hide");
    platform.answerMessage(MessageAnswer::Retry);
    item("mnuFileOpen")->trigger();
    fault::disarmAll();
    EXPECT_EQ(platform.openFileRequests().size(), dialogs);
    ASSERT_FALSE(platform.messages().isEmpty());
    EXPECT_EQ(platform.messages().last().title, QStringLiteral("Error"));
    EXPECT_FALSE(session.file().isOpen());
    expectFileItems(false);
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("unins000.DAT"))));
}

// `tandor FILE.DAT`: the file opens as File > Open opens the one its dialog
// chose; a file that cannot be opened gets the error routine of File > Open,
// and Retry leaves no file current. A missing file is not made.
TEST_F(FileMenuTest, AFileNamedOnTheCommandLineOpensAsFileOpenDoes) {
    struct Case {
        const char* name;
        QString path;
        QString title;    // of the main window afterwards
        QString message;  // the error message, empty for none
    };
    QDir(folder.path()).mkdir(QStringLiteral("Folder.DAT"));
    const QList<Case> cases = {
        {"a contacts file", contactsFile(QStringLiteral("Family.DAT"), 2, '0'), "Tandor  [Family]", ""},
        {"a missing file", folder.file(QStringLiteral("Other.DAT")), "Tandor",
         "An error has occurred. Error number 53 -- File not found.  Try again, or notify author."},
        {"a missing folder", folder.file(QStringLiteral("no-such-folder/Other.DAT")), "Tandor",
         "An error has occurred. Error number 76 -- Path not found.  Try again, or notify author."},
        {"a folder", folder.file(QStringLiteral("Folder.DAT")), "Tandor",
         "An error has occurred. Error number 75 -- Path/File access error.  Try again, or notify author."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool opened = c.message.isEmpty();
        platform.clearRecords();
        if (!opened) {
            platform.answerMessage(MessageAnswer::Retry);
        }
        shell.openNamedFile(c.path);
        EXPECT_EQ(window.windowTitle(), c.title);
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(platform.openFileRequests().isEmpty());
        ASSERT_EQ(platform.messages().size(), opened ? 0 : 1);
        if (!opened) {
            EXPECT_EQ(platform.messages()[0].text, c.message);
            EXPECT_EQ(platform.messages()[0].buttons, MessageButtons::RetryCancel);
        }
        EXPECT_EQ(session.file().isOpen(), opened);
        EXPECT_EQ(hidden("txtFileNam"), opened ? c.path : QString());
        expectFileItems(opened);
        EXPECT_EQ(item("mnuFileBdayOn")->isEnabled(), opened);  // reminders are off in the file
        EXPECT_TRUE(QFileInfo::exists(c.path) == opened || QFileInfo(c.path).isDir());
    }
}

TEST_F(FileMenuTest, ClosingGoesOnWhenTheInstallerFileCannotBeNamedBack) {
    folder.write(QStringLiteral("unins000.DAT"), "installer");
    platform.answerOpenFile(QString());
    item("mnuFileOpen")->trigger();
    ASSERT_TRUE(QFile::exists(folder.file(QStringLiteral("unins000.DAK"))));
    fault::arm("installer.restore");
    window.close();
    fault::disarmAll();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(platform.settings().size(), 4);  // the placement is still saved
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("unins000.DAK"))));
}

TEST_F(FileMenuTest, AFailedOpenAnsweredWithCancelEndsTheProgram) {
    platform.answerOpenFile(folder.file(QStringLiteral("no-such-folder/Other.DAT")));
    platform.answerMessage(MessageAnswer::Cancel);
    item("mnuFileNew")->trigger();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(FileMenuTest, TheInstallerFileIsHiddenDuringTheDialogAndNamedBackAfter) {
    folder.write(QStringLiteral("unins000.DAT"), "installer");
    platform.answerOpenFile(QString());  // cancelled: the file keeps its hidden name
    item("mnuFileOpen")->trigger();
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("unins000.DAK"))));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("unins000.DAT"))));

    platform.answerOpenFile(folder.file(QStringLiteral("Family.DAT")));
    item("mnuFileNew")->trigger();
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("unins000.DAT"))));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("unins000.DAK"))));

    platform.answerOpenFile(QString());
    item("mnuFileOpen")->trigger();
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("unins000.DAK"))));
    item("mnuFileExit")->trigger();  // shutting down names it back
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("unins000.DAT"))));
    EXPECT_FALSE(window.isVisible());
}
