// File New, File Open and File Close, the file dialog answered by the test.
#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>

#include "StoreTestHelpers.h"
#include "platform/AppError.h"
#include "store/ContactsDocument.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

namespace tandor {
namespace {

using test::personBytes;

class ContactsDocumentTest : public test::StoreTest {
protected:
    test::TempFolder program;  // the program folder
    test::TempFolder data;     // where the user keeps contacts files
    ContactsDocument session{program.path()};
    QList<OpenFileRequest> requests;  // the dialogs shown
    QStringList namesDuringDialog;    // how the installer's data file was named meanwhile

    void SetUp() override {
        test::StoreTest::SetUp();
        program.write("unins000.DAT", "installer data");
    }
    // File New or File Open as the shell runs it, its dialog answered with
    // `path` (empty: cancelled).
    bool choose(FileChoice choice, const QString& path,
                const ContactsDocument::BirthdayCheck& birthdayCheck = {}) {
        session.beginChoosing();
        requests.append(session.fileRequest(choice));
        namesDuringDialog.append(QFileInfo::exists(program.file("unins000.DAT"))   ? "DAT"
                                 : QFileInfo::exists(program.file("unins000.DAK")) ? "DAK"
                                                                                   : "none");
        if (path.isEmpty()) {
            return false;
        }
        session.openChosen(choice, path, birthdayCheck);
        return true;
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
        EXPECT_EQ(session.reminders(), Reminders::NotSet);
    }
};

TEST_F(ContactsDocumentTest, StartsWithNoFile) {
    expectNoFile();
}

TEST_F(ContactsDocumentTest, FileNewCreatesTheFileAndHidesTheInstallerFileMeanwhile) {
    const QString path = data.file("Family.DAT");
    ASSERT_TRUE(choose(FileChoice::New, path));

    ASSERT_EQ(requests.size(), 1);
    const OpenFileRequest& request = requests[0];
    EXPECT_EQ(request.title, QStringLiteral("New"));
    EXPECT_EQ(request.startFolder, program.path());
    EXPECT_EQ(request.filter, QStringLiteral("Data Files (*.DAT)|*.DAT"));
    EXPECT_TRUE(request.acceptNewName);
    // A name typed without extension gets ".DAT"; other files stay reachable.
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("DAT"));
    EXPECT_TRUE(request.offerAllFiles);
    EXPECT_EQ(namesDuringDialog, QStringList{"DAK"});
    EXPECT_TRUE(installerVisible());
    EXPECT_EQ(test::readAll(program.file("unins000.DAT")), QByteArray("installer data"));

    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_TRUE(session.file().isOpen());
    EXPECT_EQ(session.fileName(), path);
    EXPECT_EQ(session.fileTitle(), QStringLiteral("Family"));
    EXPECT_EQ(session.mainWindowTitle(), QStringLiteral("Tandor  [Family]"));
    EXPECT_TRUE(session.hasFile());
    EXPECT_EQ(session.reminders(), Reminders::On);
    EXPECT_TRUE(session.remindersOn());
}

TEST_F(ContactsDocumentTest, FileNewOnAnExistingFileOpensItUnchangedWithRemindersShownOn) {
    const QByteArray bytes =
        test::fileBytes({personBytes("Ann", "Lee", '0'), personBytes("Bob", "Ray", '0')});
    const QString path = data.write("Old.DAT", bytes);
    ASSERT_TRUE(choose(FileChoice::New, path));
    EXPECT_EQ(test::readAll(path), bytes);
    EXPECT_EQ(session.file().recordCount(), 2);
    EXPECT_EQ(session.reminders(), Reminders::On);
}

TEST_F(ContactsDocumentTest, CancelledDialogChangesNothing) {
    const QString path = data.write("Family.DAT", personBytes("Ann", "Lee"));
    ASSERT_TRUE(choose(FileChoice::Open, path));
    session.setCurrentRecord(1);

    // Cancelled File Open and File New: the file stays current and open.
    EXPECT_FALSE(choose(FileChoice::Open, {}));
    EXPECT_FALSE(installerVisible());  // it stays hidden until a dialog completes
    EXPECT_TRUE(QFileInfo::exists(program.file("unins000.DAK")));
    EXPECT_FALSE(choose(FileChoice::New, {}));
    EXPECT_EQ(requests.size(), 3);
    EXPECT_EQ(requests[1].title, QStringLiteral("Open"));
    EXPECT_EQ(requests[2].title, QStringLiteral("New"));
    EXPECT_TRUE(session.file().isOpen());
    EXPECT_EQ(session.file().read(1).field(Field::FName), QStringLiteral("Ann"));
    EXPECT_EQ(session.fileName(), path);
    EXPECT_EQ(session.mainWindowTitle(), QStringLiteral("Tandor  [Family]"));
    EXPECT_EQ(session.currentRecord(), 1);

    // The next completed dialog names it back; so does the shut-down.
    ASSERT_TRUE(choose(FileChoice::Open, path));
    EXPECT_EQ(namesDuringDialog.last(), QStringLiteral("DAK"));
    EXPECT_TRUE(installerVisible());
    EXPECT_FALSE(choose(FileChoice::New, {}));
    session.restoreInstallerFile();
    EXPECT_TRUE(installerVisible());
}

TEST_F(ContactsDocumentTest, FileOpenSetsTheRemindersFromRecordOne) {
    struct Case {
        QByteArray bytes;
        Reminders reminders;
        int checks;
    };
    const Case cases[] = {
        {{}, Reminders::NotSet, 0},
        {test::fileBytes({personBytes("A", "A", '1'), personBytes("B", "B", '0')}), Reminders::On,
         1},
        {test::fileBytes({personBytes("A", "A", '0'), personBytes("B", "B", '1')}), Reminders::Off,
         1},
        {personBytes("A", "A", ' '), Reminders::Off, 1},
    };
    for (const Case& c : cases) {
        const QString path = data.write("Case.DAT", c.bytes);
        int checks = 0;
        ASSERT_TRUE(choose(FileChoice::Open, path, [&](ContactsDocument& s) {
            ++checks;
            // The check runs with the file current and the reminders set.
            EXPECT_TRUE(s.file().isOpen());
            EXPECT_EQ(s.reminders(), c.reminders);
            EXPECT_TRUE(installerVisible());
        }));
        EXPECT_EQ(checks, c.checks);
        EXPECT_EQ(session.reminders(), c.reminders);
        EXPECT_TRUE(session.hasFile());
        EXPECT_EQ(test::readAll(path), c.bytes);
        EXPECT_FALSE(requests.last().acceptNewName);
    }
}

TEST_F(ContactsDocumentTest, SwitchingFilesLeavesTheOldOneUntouched) {
    const QByteArray first =
        test::fileBytes({personBytes("Ann", "Lee"), personBytes("Bob", "Ray")});
    const QString a = data.write("A.DAT", first);
    const QString b = data.write("B.DAT", personBytes("Cy", "Day"));
    ASSERT_TRUE(choose(FileChoice::Open, a));
    ASSERT_TRUE(choose(FileChoice::Open, b));
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

    ASSERT_TRUE(choose(FileChoice::New, data.file("family.dat")));
    EXPECT_EQ(session.mainWindowTitle(), QStringLiteral("Tandor  [family.dat]"));
}

TEST_F(ContactsDocumentTest, FileCloseReturnsToNoFile) {
    ASSERT_TRUE(choose(FileChoice::Open, data.write("Family.DAT", personBytes("Ann", "Lee"))));
    session.setCurrentRecord(1);
    session.fileClose();
    expectNoFile();
    EXPECT_EQ(session.currentRecord(), 0);
    EXPECT_NO_THROW(session.fileClose());
}

TEST_F(ContactsDocumentTest, FailureToOpenLeavesNoFileAndTheInstallerFileNamedBack) {
    ASSERT_TRUE(choose(FileChoice::Open, data.write("Family.DAT", personBytes("Ann", "Lee"))));
    try {
        choose(FileChoice::New, data.file("missing/folder/X.DAT"));
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
    EXPECT_THROW(choose(FileChoice::Open, path), AppError);
    expectNoFile();
    EXPECT_TRUE(installerVisible());

    fault::arm("installer.restore");
    EXPECT_THROW(choose(FileChoice::Open, path), AppError);
    expectNoFile();
    EXPECT_TRUE(installerVisible());  // named back when the error is handled
    EXPECT_EQ(test::readAll(path), personBytes("Ann", "Lee"));
}

TEST_F(ContactsDocumentTest, FailingBirthdayCheckLeavesNoFile) {
    EXPECT_THROW(choose(FileChoice::Open, data.write("Family.DAT", personBytes("Ann", "Lee")),
                        [](ContactsDocument&) { throw AppError(57, "Device I/O error"); }),
                 AppError);
    expectNoFile();
}

TEST_F(ContactsDocumentTest, FirstContactIntoAnEmptyFileSwitchesRemindersOn) {
    const QString path = data.write("Empty.DAT", {});
    ASSERT_TRUE(choose(FileChoice::Open, path));
    ASSERT_TRUE(session.remindersOn());  // "Enable" is disabled, so a new contact takes "1"
    ContactRecord record;
    record.setField(Field::FName, QStringLiteral("Ann"));
    record.setField(Field::BirthdayReminder, session.remindersOn() ? "1" : "0");
    session.appendContact(record);
    EXPECT_EQ(session.reminders(), Reminders::On);

    // In a file with reminders off nothing changes.
    ASSERT_TRUE(choose(FileChoice::Open, data.write("Off.DAT", personBytes("Bob", "Ray", '0'))));
    record.setField(Field::BirthdayReminder, "0");
    session.appendContact(record);
    EXPECT_EQ(session.reminders(), Reminders::Off);
}

TEST_F(ContactsDocumentTest, WorksWithoutAnInstallerFile) {
    QFile::remove(program.file("unins000.DAT"));
    ASSERT_TRUE(choose(FileChoice::New, data.file("Family.DAT")));
    EXPECT_EQ(namesDuringDialog, QStringList{"none"});
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
         [&] { ASSERT_TRUE(choose(FileChoice::Open, data.write("Empty.DAT", {}))); },
         {"opened"}},
        {"the first contact switches reminders on",
         [&] { session.appendContact(contact("Ann")); },
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
        {"reminders off", [&] { session.switchReminders(false); }, {"rewritten 0+0", "reminders"}},
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
