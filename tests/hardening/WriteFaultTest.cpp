// Every command that writes a file, failed in every way a disk fails: at each
// step in turn (a fault point), on a full disk, on a file that became
// read-only, and on a file (or folder) removed while the program holds it.
//
// Each command is first run without a fault; that run gives the files as they
// must be after success and the fault points it passes. Then, from the same
// start, each fault in turn. Afterwards the contacts file holds every contact
// it held before plus only complete new records of that run, its length is a
// multiple of 513, no record is marked deleted, the other files are as before
// or as after success (an export: as far as it was written), and the user saw
// the error routine (standard message, "Error", Retry and Cancel), never a
// message of success.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <functional>

#include "DiskLimit.h"
#include "WindowWorld.h"
#include "platform/FaultPoint.h"
#include "support/ReadOnly.h"

namespace tandor {
namespace {

using test::WindowWorld;

// How a command may change the contacts file.
enum class Shape {
    Append,   // adds records at the end
    InPlace,  // rewrites records where they are
    Delete,   // all or nothing
    Other,    // writes another file and only reads the contacts file
};

struct Command {
    const char* name;
    Shape shape;
    char reminder;      // the reminder byte of the contacts on file
    QString otherFile;  // the other file written, in the program folder
    std::function<void(WindowWorld&)> run;
};

const QString kCsvName = QStringLiteral("people.csv");

QByteArray csvToImport() {
    return "First Name,MI,Last Name,Street1,Street2,City,State,Zip,Country,Company,"
           "Include Company in Address,Home Phone,Cell Phone,Work Phone,Email,Birthdate,"
           "Category,Notes\r\n"
           "Dee,,Fox,1 Elm St,,Reno,NV,89501,,,0,,,,dee@example.com,,,\r\n"
           "Eve,,Gray,2 Elm St,,Reno,NV,89501,,,0,,,,eve@example.com,,,\r\n"
           "Flo,,Hunt,3 Elm St,,Reno,NV,89501,,,0,,,,flo@example.com,,,\r\n";
}

const std::vector<Command>& commands() {
    static const std::vector<Command> list = {
        {"NewContactSave",
         Shape::Append,
         '1',
         {},
         [](WindowWorld& w) {
             w.setLine(0, QStringLiteral("Dee Fox"));
             w.setLine(1, QStringLiteral("12 Oak Lane"));
             w.setLine(2, QStringLiteral("Reno, NV  89501"));
             w.click("cmdAddContact");
             WindowWorld::clickIn(WindowWorld::window("frmNewContact"), "cmdSave");
         }},
        {"BrowserSave",
         Shape::InPlace,
         '1',
         {},
         [](WindowWorld& w) {
             w.trigger("mnuEdit");
             QWidget* browser = WindowWorld::window("frmEdDelViewContact");
             WindowWorld::chooseFirstContact(browser);
             WindowWorld::setBox(browser, "txtACLName", QStringLiteral("Changed"));
             WindowWorld::clickIn(browser, "cmdSave");
         }},
        {"Delete",
         Shape::Delete,
         '1',
         {},
         [](WindowWorld& w) {
             w.trigger("mnuDelete");
             QWidget* browser = WindowWorld::window("frmEdDelViewContact");
             WindowWorld::chooseFirstContact(browser);
             w.platform.answerMessage(MessageAnswer::Yes);
             WindowWorld::clickIn(browser, "cmdDelete");
         }},
        {"RemindersOn",
         Shape::InPlace,
         '0',
         {},
         [](WindowWorld& w) { w.trigger("mnuFileBdayOn"); }},
        {"RemindersOff",
         Shape::InPlace,
         '1',
         {},
         [](WindowWorld& w) { w.trigger("mnuFileBdayOff"); }},
        {"Import",
         Shape::Append,
         '1',
         {},
         [](WindowWorld& w) {
             w.trigger("mnuImport");
             QWidget* window = WindowWorld::window("frmLMImport");
             w.platform.answerOpenFile(w.program.file(kCsvName));
             WindowWorld::clickIn(window, "cmdCsvOpen");
             WindowWorld::clickIn(window, "cmdStartImport");
         }},
        {"Export", Shape::Other, '1', QStringLiteral("TDRC_Family.csv"),
         [](WindowWorld& w) {
             w.trigger("mnuExport");
             QWidget* window = WindowWorld::window("frmLMExport");
             if (window) {
                 window->findChild<QRadioButton*>(QStringLiteral("optExpCGCSV"))->click();
             }
             WindowWorld::clickIn(window, "cmdExpCreate");
         }},
        {"Margins", Shape::Other, '1', QStringLiteral("TDRPARAM.TXT"),
         [](WindowWorld& w) {
             w.platform.answerInput(QStringLiteral("1"));
             w.platform.answerInput(QStringLiteral("-1"));
             w.trigger("mnuMarginOnTheFly");
         }},
    };
    return list;
}

enum class Failure { FaultPoint, DiskFull, ReadOnly, Removed };

const char* failureName(Failure f) {
    switch (f) {
        case Failure::FaultPoint:
            return "FaultPoint";
        case Failure::DiskFull:
            return "DiskFull";
        case Failure::ReadOnly:
            return "ReadOnly";
        case Failure::Removed:
            return "Removed";
    }
    return "";
}

QList<QByteArray> startingContacts(char reminder) {
    return {test::contactBytes("Ann", "Lee", reminder), test::contactBytes("Bo", "Diaz", reminder),
            test::contactBytes("Cy", "Ray", reminder)};
}

// The files of a run and what the user was told.
struct Outcome {
    QByteArray contacts;
    bool contactsExist = false;
    QByteArray other;
    bool otherExists = false;
    QStringList programFiles;
    QList<RecordedMessage> messages;
};

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

Outcome outcomeOf(WindowWorld& w, const Command& c) {
    Outcome o;
    o.contactsExist = QFile::exists(w.contactsPath());
    o.contacts = test::bytesOf(w.contactsPath());
    if (!c.otherFile.isEmpty()) {
        const QString other = w.program.file(c.otherFile);
        o.otherExists = QFile::exists(other);
        o.other = test::bytesOf(other);
    }
    o.programFiles = filesIn(w.programFolder());
    o.messages = w.platform.messages();
    return o;
}

bool isErrorRoutine(const RecordedMessage& m) {
    return m.title == QLatin1String("Error") && m.buttons == MessageButtons::RetryCancel &&
           m.icon == MessageIcon::None &&
           m.text.startsWith(QLatin1String("An error has occurred. Error number "));
}

bool isSuccess(const RecordedMessage& m) {
    return m.text == QLatin1String("S A V E D") || m.text.startsWith(QLatin1String("D O N E !")) ||
           m.text.startsWith(QLatin1String("Birthday Reminders have been turned"));
}

bool anyMarked(const QByteArray& bytes) {
    for (qsizetype at = 0; at < bytes.size(); at += 513) {
        if (bytes.mid(at, 9) == "*DELETED*") {
            return true;
        }
    }
    return false;
}

// The checks every failed (or legitimately succeeded) run must pass.
void expectSound(const Command& c, Failure failure, const QByteArray& before,
                 const QByteArray& otherBefore, const Outcome& success, const Outcome& got,
                 bool errorRequired) {
    const bool error = !got.messages.isEmpty() && isErrorRoutine(got.messages.last());
    const bool succeeded = std::any_of(got.messages.begin(), got.messages.end(), isSuccess);
    if (errorRequired) {
        EXPECT_TRUE(error)
            << "no error routine; last message: "
            << (got.messages.isEmpty() ? QString() : got.messages.last().text).toStdString();
    }
    EXPECT_FALSE(error && succeeded) << "an error and a message of success";
    EXPECT_TRUE(error || succeeded || c.shape == Shape::Delete) << "the user was told nothing";

    if (failure == Failure::Removed) {
        // The contacts file (or, for the export and the margins, the whole
        // program folder) is gone: nothing may bring back a file of the old
        // name holding something else.
        EXPECT_FALSE(got.contactsExist) << "a removed contacts file came back";
        EXPECT_TRUE(c.shape != Shape::Other || got.programFiles.isEmpty())
            << "a file made in a removed folder";
    } else {
        ASSERT_TRUE(got.contactsExist);
        const QByteArray& after = got.contacts;
        EXPECT_EQ(after.size() % 513, 0) << "length " << after.size();
        EXPECT_FALSE(anyMarked(after)) << "a record marked deleted at rest";
        if (succeeded) {
            EXPECT_EQ(after, success.contacts) << "a success that is not the success";
        }
        switch (c.shape) {
            case Shape::Append:
                EXPECT_TRUE(after.startsWith(before) && success.contacts.startsWith(after))
                    << "not the contacts before plus complete new ones";
                break;
            case Shape::InPlace:
                ASSERT_EQ(after.size(), before.size());
                for (qsizetype at = 0; at < after.size(); at += 513) {
                    const QByteArray record = after.mid(at, 513);
                    EXPECT_TRUE(record == before.mid(at, 513) ||
                                record == success.contacts.mid(at, 513))
                        << "record " << at / 513 + 1 << " is neither as before nor as saved";
                }
                break;
            case Shape::Delete:
                EXPECT_TRUE(after == before || after == success.contacts) << "a deletion half done";
                break;
            case Shape::Other:
                EXPECT_EQ(after, before) << "the contacts file changed";
                break;
        }
    }
    if (!c.otherFile.isEmpty() && failure != Failure::Removed) {
        if (c.otherFile == QLatin1String("TDRPARAM.TXT")) {
            EXPECT_TRUE(got.other == otherBefore || got.other == success.other)
                << "TDRPARAM.TXT half written";
        } else {
            EXPECT_TRUE(success.other.startsWith(got.other)) << "an export that is not a prefix";
        }
    }
    // No copy or temporary file left behind.
    for (const QString& f : got.programFiles) {
        EXPECT_TRUE(success.programFiles.contains(f) || f == QLatin1String("Family.DAT"))
            << "left in the program folder: " << f.toStdString();
    }
}

class WriteFaultTest : public ::testing::TestWithParam<std::tuple<int, Failure>> {
protected:
    const Command& command() const { return commands()[std::get<0>(GetParam())]; }
    Failure failure() const { return std::get<1>(GetParam()); }

    std::unique_ptr<WindowWorld> freshWorld() const {
        auto w = std::make_unique<WindowWorld>(startingContacts(command().reminder));
        w->program.write(kCsvName, csvToImport());
        return w;
    }
};

TEST_P(WriteFaultTest, LeavesEveryContactAndTellsTheUser) {
    const Command& c = command();
    // The run without a fault.
    QByteArray before;
    QByteArray otherBefore;
    Outcome success;
    QStringList steps;
    {
        auto w = freshWorld();
        before = test::bytesOf(w->contactsPath());
        otherBefore =
            c.otherFile.isEmpty() ? QByteArray() : test::bytesOf(w->program.file(c.otherFile));
        fault::startRecording();
        c.run(*w);
        steps = fault::recordedHits();
        fault::disarmAll();
        success = outcomeOf(*w, c);
    }
    ASSERT_TRUE(std::any_of(success.messages.begin(), success.messages.end(), isSuccess) ||
                c.shape == Shape::Delete)
        << c.name << " did not succeed without a fault";
    ASSERT_EQ(success.contacts == before, c.shape == Shape::Other) << "what the command wrote";
    ASSERT_FALSE(steps.isEmpty());

    switch (failure()) {
        case Failure::FaultPoint: {
            QHash<QString, int> seen;
            for (const QString& step : steps) {
                const int occurrence = seen[step]++;
                SCOPED_TRACE(QStringLiteral("%1 #%2").arg(step).arg(occurrence + 1).toStdString());
                auto w = freshWorld();
                fault::arm(step, occurrence);
                c.run(*w);
                fault::disarmAll();
                expectSound(c, failure(), before, otherBefore, success, outcomeOf(*w, c), true);
            }
            break;
        }
        case Failure::DiskFull: {
            // A limit inside the first new record (or inside the copy, the export,
            // the new TDRPARAM.TXT); in-place writes need no room and may succeed.
            qint64 limit = before.size() + 100;
            bool mustFail = c.shape == Shape::Append;
            if (c.shape == Shape::Delete) {
                limit = before.size() - 513 - 100;
                mustFail = true;
            } else if (c.shape == Shape::Other) {
                limit = 10;
                mustFail = true;
            }
            auto w = freshWorld();
            {
                test::DiskLimit full(limit);
                ASSERT_TRUE(full.effective());
                c.run(*w);
            }
            expectSound(c, failure(), before, otherBefore, success, outcomeOf(*w, c), mustFail);
            break;
        }
        case Failure::ReadOnly: {
            auto w = freshWorld();
            // The export makes a new file in the program folder: that folder is
            // made read-only; every other command its file.
            const QString target = c.otherFile.isEmpty() ? w->contactsPath()
                                   : c.otherFile == QLatin1String("TDRPARAM.TXT")
                                       ? w->program.file(c.otherFile)
                                       : w->programFolder();
            bool effective = false;
            {
                test::ReadOnly readOnly(target);
                effective = readOnly.effective();
                c.run(*w);
            }
            if (!effective) {
                GTEST_SKIP() << "this file system does not refuse writing here";
            }
            // Writing through a file already open may still be allowed by the
            // system (permissions are checked when a file is opened): then the
            // run must be a full success.
            expectSound(c, failure(), before, otherBefore, success, outcomeOf(*w, c),
                        c.shape == Shape::Other || c.shape == Shape::Delete);
            break;
        }
        case Failure::Removed: {
            auto w = freshWorld();
            if (c.shape == Shape::Other) {
                ASSERT_TRUE(QDir(w->programFolder()).removeRecursively());
            } else {
                ASSERT_TRUE(QFile::remove(w->contactsPath()));
            }
            c.run(*w);
            expectSound(c, failure(), before, otherBefore, success, outcomeOf(*w, c), true);
            break;
        }
    }
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<int, Failure>>& info) {
    return std::string(commands()[std::get<0>(info.param)].name) +
           failureName(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(EveryWritingCommand, WriteFaultTest,
                         ::testing::Combine(::testing::Range(0, 8),
                                            ::testing::Values(Failure::FaultPoint,
                                                              Failure::DiskFull, Failure::ReadOnly,
                                                              Failure::Removed)),
                         caseName);

}  // namespace
}  // namespace tandor
