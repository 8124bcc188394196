// File New, File Open and File Close through a scripted platform.
#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>

#include "StoreTestHelpers.h"
#include "platform/AppError.h"
#include "platform/ScriptedPlatform.h"
#include "store/ContactsDocument.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

namespace tandor {
namespace {

using test::personBytes;

// Notes how the installer's data file was named while the dialog was open.
class WatchingPlatform : public ScriptedPlatform {
public:
    explicit WatchingPlatform(QString programFolder) : folder_(std::move(programFolder)) {}
    QString openFile(const OpenFileRequest& request) override {
        namesDuringDialog.append(QFileInfo::exists(folder_ + "/unins000.DAT")   ? "DAT"
                                 : QFileInfo::exists(folder_ + "/unins000.DAK") ? "DAK"
                                                                                : "none");
        return ScriptedPlatform::openFile(request);
    }
    QStringList namesDuringDialog;

private:
    QString folder_;
};

class ContactsDocumentTest : public test::StoreTest {
protected:
    test::TempFolder program;  // the program folder
    test::TempFolder data;     // where the user keeps contacts files
    ContactsDocument session{program.path()};
    WatchingPlatform platform{program.path()};

    void SetUp() override {
        test::StoreTest::SetUp();
        program.write("unins000.DAT", "installer data");
    }
    bool installerVisible() const {
        return QFileInfo::exists(program.file("unins000.DAT")) &&
               !QFileInfo::exists(program.file("unins000.DAK"));
    }
    void expectNoFile() const {
        EXPECT_FALSE(session.hasFile());
        EXPECT_FALSE(session.file().isOpen());
        EXPECT_EQ(session.fileName(), QString());
        EXPECT_EQ(session.fileTitle(), QString());
        EXPECT_EQ(session.mainWindowTitle(), QStringLiteral("Tandor"));
        EXPECT_FALSE(session.contactItemsEnabled());
        EXPECT_FALSE(session.birthdayOnEnabled());
        EXPECT_FALSE(session.birthdayOffEnabled());
    }
};

TEST_F(ContactsDocumentTest, StartsWithNoFile) {
    expectNoFile();
}

TEST_F(ContactsDocumentTest, FileNewCreatesTheFileAndHidesTheInstallerFileMeanwhile) {
    const QString path = data.file("Family.DAT");
    platform.answerOpenFile(path);
    ASSERT_TRUE(session.fileNew(platform));

    ASSERT_EQ(platform.openFileRequests().size(), 1);
    const OpenFileRequest& request = platform.openFileRequests()[0];
    EXPECT_EQ(request.title, QStringLiteral("New"));
    EXPECT_EQ(request.startFolder, program.path());
    EXPECT_EQ(request.filter, QStringLiteral("Data Files (*.DAT)|*.DAT"));
    EXPECT_TRUE(request.acceptNewName);
    // A name typed without extension gets ".DAT"; other files stay reachable.
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("DAT"));
    EXPECT_TRUE(request.offerAllFiles);
    EXPECT_EQ(platform.namesDuringDialog, QStringList{"DAK"});
    EXPECT_TRUE(installerVisible());
    EXPECT_EQ(test::readAll(program.file("unins000.DAT")), QByteArray("installer data"));

    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_TRUE(session.file().isOpen());
    EXPECT_EQ(session.fileName(), path);
    EXPECT_EQ(session.fileTitle(), QStringLiteral("Family"));
    EXPECT_EQ(session.mainWindowTitle(), QStringLiteral("Tandor  [Family]"));
    EXPECT_TRUE(session.contactItemsEnabled());
    EXPECT_FALSE(session.birthdayOnEnabled());
    EXPECT_TRUE(session.birthdayOffEnabled());
    EXPECT_TRUE(session.remindersOn());
}

TEST_F(ContactsDocumentTest, FileNewOnAnExistingFileOpensItUnchangedWithRemindersShownOn) {
    const QByteArray bytes =
        test::fileBytes({personBytes("Ann", "Lee", '0'), personBytes("Bob", "Ray", '0')});
    const QString path = data.write("Old.DAT", bytes);
    platform.answerOpenFile(path);
    ASSERT_TRUE(session.fileNew(platform));
    EXPECT_EQ(test::readAll(path), bytes);
    EXPECT_EQ(session.file().recordCount(), 2);
    EXPECT_FALSE(session.birthdayOnEnabled());
    EXPECT_TRUE(session.birthdayOffEnabled());
}

TEST_F(ContactsDocumentTest, CancelledDialogChangesNothing) {
    const QString path = data.write("Family.DAT", personBytes("Ann", "Lee"));
    platform.answerOpenFile(path);
    ASSERT_TRUE(session.fileOpen(platform));
    session.setCurrentRecord(1);

    // Cancelled File Open and File New: the file stays current and open.
    EXPECT_FALSE(session.fileOpen(platform));
    EXPECT_FALSE(installerVisible());  // it stays hidden until a dialog completes
    EXPECT_TRUE(QFileInfo::exists(program.file("unins000.DAK")));
    EXPECT_FALSE(session.fileNew(platform));
    EXPECT_EQ(platform.openFileRequests().size(), 3);
    EXPECT_EQ(platform.openFileRequests()[1].title, QStringLiteral("Open"));
    EXPECT_EQ(platform.openFileRequests()[2].title, QStringLiteral("New"));
    EXPECT_TRUE(session.file().isOpen());
    EXPECT_EQ(session.file().read(1).field(Field::FName), QStringLiteral("Ann"));
    EXPECT_EQ(session.fileName(), path);
    EXPECT_EQ(session.mainWindowTitle(), QStringLiteral("Tandor  [Family]"));
    EXPECT_EQ(session.currentRecord(), 1);

    // The next completed dialog names it back; so does the shut-down.
    platform.answerOpenFile(path);
    ASSERT_TRUE(session.fileOpen(platform));
    EXPECT_EQ(platform.namesDuringDialog.last(), QStringLiteral("DAK"));
    EXPECT_TRUE(installerVisible());
    EXPECT_FALSE(session.fileNew(platform));
    session.restoreInstallerFile();
    EXPECT_TRUE(installerVisible());
}

TEST_F(ContactsDocumentTest, FileOpenSetsTheBirthdayItemsFromRecordOne) {
    struct Case {
        QByteArray bytes;
        bool onEnabled;
        bool offEnabled;
        int checks;
    };
    const Case cases[] = {
        {{}, false, false, 0},
        {test::fileBytes({personBytes("A", "A", '1'), personBytes("B", "B", '0')}), false, true, 1},
        {test::fileBytes({personBytes("A", "A", '0'), personBytes("B", "B", '1')}), true, false, 1},
        {personBytes("A", "A", ' '), true, false, 1},
    };
    for (const Case& c : cases) {
        const QString path = data.write("Case.DAT", c.bytes);
        platform.answerOpenFile(path);
        int checks = 0;
        ASSERT_TRUE(session.fileOpen(platform, [&](ContactsDocument& s) {
            ++checks;
            // The check runs with the file current and the menus set.
            EXPECT_TRUE(s.file().isOpen());
            EXPECT_EQ(s.birthdayOnEnabled(), c.onEnabled);
            EXPECT_EQ(s.birthdayOffEnabled(), c.offEnabled);
            EXPECT_TRUE(installerVisible());
        }));
        EXPECT_EQ(checks, c.checks);
        EXPECT_EQ(session.birthdayOnEnabled(), c.onEnabled);
        EXPECT_EQ(session.birthdayOffEnabled(), c.offEnabled);
        EXPECT_TRUE(session.contactItemsEnabled());
        EXPECT_EQ(test::readAll(path), c.bytes);
        EXPECT_FALSE(platform.openFileRequests().last().acceptNewName);
    }
}

TEST_F(ContactsDocumentTest, SwitchingFilesLeavesTheOldOneUntouched) {
    const QByteArray first =
        test::fileBytes({personBytes("Ann", "Lee"), personBytes("Bob", "Ray")});
    const QString a = data.write("A.DAT", first);
    const QString b = data.write("B.DAT", personBytes("Cy", "Day"));
    platform.answerOpenFile(a);
    ASSERT_TRUE(session.fileOpen(platform));
    platform.answerOpenFile(b);
    ASSERT_TRUE(session.fileOpen(platform));
    EXPECT_EQ(session.file().path(), b);
    EXPECT_EQ(session.file().recordCount(), 1);
    EXPECT_EQ(session.mainWindowTitle(), QStringLiteral("Tandor  [B]"));
    EXPECT_EQ(test::readAll(a), first);
}

TEST_F(ContactsDocumentTest, DisplayTitles) {
    EXPECT_EQ(ContactsDocument::displayTitle(data.file("Family.DAT")), QStringLiteral("Family"));
    EXPECT_EQ(ContactsDocument::displayTitle(data.file("family.dat")), QStringLiteral("family.dat"));
    EXPECT_EQ(ContactsDocument::displayTitle(data.file("Old.DAT.DAT")), QStringLiteral("Old"));
    EXPECT_EQ(ContactsDocument::displayTitle(data.file("My.DATA")), QStringLiteral("MyA"));
    EXPECT_EQ(ContactsDocument::displayTitle(QStringLiteral("C:\\Tandor\\Club.DAT")),
              QStringLiteral("Club"));

    platform.answerOpenFile(data.file("family.dat"));
    ASSERT_TRUE(session.fileNew(platform));
    EXPECT_EQ(session.mainWindowTitle(), QStringLiteral("Tandor  [family.dat]"));
}

TEST_F(ContactsDocumentTest, FileCloseReturnsToNoFile) {
    platform.answerOpenFile(data.write("Family.DAT", personBytes("Ann", "Lee")));
    ASSERT_TRUE(session.fileOpen(platform));
    session.setCurrentRecord(1);
    session.fileClose();
    expectNoFile();
    EXPECT_EQ(session.currentRecord(), 0);
    EXPECT_NO_THROW(session.fileClose());
}

TEST_F(ContactsDocumentTest, FailureToOpenLeavesNoFileAndTheInstallerFileNamedBack) {
    platform.answerOpenFile(data.write("Family.DAT", personBytes("Ann", "Lee")));
    ASSERT_TRUE(session.fileOpen(platform));
    platform.answerOpenFile(data.file("missing/folder/X.DAT"));
    try {
        session.fileNew(platform);
        ADD_FAILURE() << "a file in a missing folder was opened";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), 76);
        EXPECT_EQ(standardErrorText(e),
                  QStringLiteral("An error has occurred. Error number 76 -- Path not found.  Try "
                                 "again, or notify author."));
    }
    expectNoFile();
    EXPECT_TRUE(installerVisible());
}

TEST_F(ContactsDocumentTest, FailedRenameOfTheInstallerFile) {
    const QString path = data.write("Family.DAT", personBytes("Ann", "Lee"));
    fault::arm("installer.hide");
    platform.answerOpenFile(path);
    EXPECT_THROW(session.fileOpen(platform), AppError);
    EXPECT_TRUE(platform.openFileRequests().isEmpty());  // no dialog after the failure
    expectNoFile();
    EXPECT_TRUE(installerVisible());

    fault::arm("installer.restore");
    EXPECT_THROW(session.fileOpen(platform), AppError);
    expectNoFile();
    EXPECT_TRUE(installerVisible());  // named back when the error is handled
    EXPECT_EQ(test::readAll(path), personBytes("Ann", "Lee"));
}

TEST_F(ContactsDocumentTest, FailingBirthdayCheckLeavesNoFile) {
    platform.answerOpenFile(data.write("Family.DAT", personBytes("Ann", "Lee")));
    EXPECT_THROW(
        session.fileOpen(platform, [](ContactsDocument&) { throw AppError(57, "Device I/O error"); }),
        AppError);
    expectNoFile();
}

TEST_F(ContactsDocumentTest, FirstContactIntoAnEmptyFileSwitchesRemindersOn) {
    const QString path = data.write("Empty.DAT", {});
    platform.answerOpenFile(path);
    ASSERT_TRUE(session.fileOpen(platform));
    ASSERT_TRUE(session.remindersOn());  // "Enable" is disabled, so a new contact takes "1"
    ContactRecord record;
    record.setField(Field::FName, QStringLiteral("Ann"));
    record.setField(Field::BirthdayReminder, session.remindersOn() ? "1" : "0");
    session.appendContact(record);
    EXPECT_FALSE(session.birthdayOnEnabled());
    EXPECT_TRUE(session.birthdayOffEnabled());

    // In a file with reminders off nothing changes.
    platform.answerOpenFile(data.write("Off.DAT", personBytes("Bob", "Ray", '0')));
    ASSERT_TRUE(session.fileOpen(platform));
    record.setField(Field::BirthdayReminder, "0");
    session.appendContact(record);
    EXPECT_TRUE(session.birthdayOnEnabled());
    EXPECT_FALSE(session.birthdayOffEnabled());
}

TEST_F(ContactsDocumentTest, WorksWithoutAnInstallerFile) {
    QFile::remove(program.file("unins000.DAT"));
    platform.answerOpenFile(data.file("Family.DAT"));
    ASSERT_TRUE(session.fileNew(platform));
    EXPECT_EQ(platform.namesDuringDialog, QStringList{"none"});
    EXPECT_FALSE(QFileInfo::exists(program.file("unins000.DAK")));
}

}  // namespace
}  // namespace tandor

namespace tandor {
namespace {

// Every change of the file reaches whoever listens, in order, and says which
// records it touched.
TEST_F(ContactsDocumentTest, EveryChangeIsAnnouncedWithTheRecordsItTouched) {
    QStringList heard;
    const auto kindName = [](RecordChange::Kind k) {
        switch (k) {
            case RecordChange::Kind::Appended: return "appended";
            case RecordChange::Kind::Written: return "written";
            case RecordChange::Kind::Removed: return "removed";
            case RecordChange::Kind::Rewritten: return "rewritten";
        }
        return "?";
    };
    QObject::connect(&session, &ContactsDocument::opened, [&] { heard << "opened"; });
    QObject::connect(&session, &ContactsDocument::closed, [&] { heard << "closed"; });
    QObject::connect(&session, &ContactsDocument::remindersChanged, [&] { heard << "reminders"; });
    QObject::connect(&session, &ContactsDocument::currentRecordChanged,
                     [&](int n) { heard << QStringLiteral("current %1").arg(n); });
    QObject::connect(&session, &ContactsDocument::recordsChanged, [&](const RecordChange& c) {
        heard << QStringLiteral("%1 %2+%3").arg(QLatin1String(kindName(c.kind))).arg(c.first).arg(c.count);
    });
    const auto contact = [](const char* first) {
        ContactRecord r;
        r.setField(Field::FName, QString::fromLatin1(first));
        r.setField(Field::BirthdayReminder, QStringLiteral("1"));
        return r;
    };

    struct Step {
        const char* what;
        std::function<void()> run;
        QStringList expected;
    } steps[] = {
        {"open an empty file",
         [&] {
             platform.answerOpenFile(data.write("Empty.DAT", {}));
             ASSERT_TRUE(session.fileOpen(platform));
         },
         {"opened"}},
        {"the first contact switches reminders on", [&] { session.appendContact(contact("Ann")); },
         {"reminders", "appended 1+1"}},
        {"another contact", [&] { session.appendContact(contact("Bob")); }, {"appended 2+1"}},
        {"an import of three",
         [&] {
             session.appendMany([&](ContactsFile& file) {
                 for (const char* name : {"Cy", "Di", "Ed"}) {
                     file.append(contact(name));
                 }
             });
         },
         {"appended 3+3"}},
        {"an import that adds nothing", [&] { session.appendMany([](ContactsFile&) {}); }, {}},
        {"the browser shows contact 4", [&] { session.setCurrentRecord(4); }, {"current 4"}},
        {"an edit", [&] { session.writeContact(2, contact("Bo")); }, {"written 2+1"}},
        {"deleting contact 1 moves the one shown down",
         [&] { session.deleteContact(1); },
         {"current 3", "removed 1+1"}},
        {"reminders off", [&] { session.disableBirthdayReminders(platform); },
         {"rewritten 0+0", "reminders"}},
        {"close", [&] { session.fileClose(); }, {"reminders", "current 0", "closed"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        heard.clear();
        step.run();
        EXPECT_EQ(heard, step.expected);
    }
    // What the announcements said is what the file holds.
    const QByteArray bytes = test::readAll(data.file("Empty.DAT"));
    EXPECT_EQ(bytes.size(), 4 * 513);
}

}  // namespace
}  // namespace tandor
