// The links beside a synced file kept in step through the contacts document,
// and found again after a stop between the record write and the state write.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>

#include "platform/FaultPoint.h"
#include "platform/ScriptedPlatform.h"
#include "store/ContactsDocument.h"
#include "support/PdfWords.h"
#include "support/SyncContacts.h"
#include "support/TestFiles.h"
#include "sync/CardMerge.h"
#include "sync/SyncSession.h"
#include "sync/SyncState.h"

namespace tandor::sync {
namespace {

using test::person;

// Links as "uid@record" in record order, then the deletions as "-uid".
QStringList linksOf(const SyncState& state) {
    QStringList out;
    for (const SyncLink& link : state.links()) {
        out.append(link.uid + u'@' + QString::number(link.record));
    }
    for (const SyncLink& link : state.deletions()) {
        out.append(u'-' + link.uid);
    }
    return out;
}

struct KeepCase {
    const char* name;
    std::function<void(ContactsDocument&, const QString& path)> change;
    bool stateWriteFails;  // the program stops after the records changed, before the state did
    QStringList links;
};

class SyncStateTest : public ::testing::Test {
protected:
    void SetUp() override { fault::disarmAll(); }
    void TearDown() override { fault::disarmAll(); }

    test::TempFolder program;
    test::TempFolder data;

    // A file of Ann, Bob and Cy linked as a, b and c.
    QString linkedFile() {
        const QString path = data.file(QStringLiteral("Family.DAT"));
        ContactsDocument document(program.path());
        document.openPath(path);
        SyncStateKeeper keeper(document);
        SyncState& state = keeper.link(QStringLiteral("https://dav.example/ann/contacts/"),
                                       QStringLiteral("ann"));
        const QStringList uids = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
        const QList<ContactRecord> records = {
            person("Ann", "Smith", "Leeds", "ann@example.com"),
            person("Bob", "Jones", "York", "bob@example.com"),
            person("Cy", "Young", "Bath", "cy@example.com")};
        for (int i = 0; i < 3; ++i) {
            const int n = document.appendContact(records[i]);
            state.storeCard(uids[i], cardForNewContact(records[i], uids[i]));
            state.setLink({n, "/ann/contacts/" + uids[i] + ".vcf", "\"1\"", uids[i],
                           recordFingerprint(records[i])});
        }
        keeper.save();
        return path;
    }
};

TEST_F(SyncStateTest, FollowsEveryChangeOfTheFileAndRecoversAfterAStop) {
    const auto write = [](ContactsDocument& d, int n, Field f, const QString& value) {
        ContactRecord record = d.file().read(n);
        record.setField(f, value);
        d.writeContact(n, record);
    };
    const QList<KeepCase> cases = {
        {"an appended record has no link",
         [](ContactsDocument& d, const QString&) { d.appendContact(person("Di", "Lane", "", "")); },
         false, {"a@1", "b@2", "c@3"}},
        {"a record written keeps its link",
         [&](ContactsDocument& d, const QString&) { write(d, 2, Field::Email, "bob@new.example"); },
         false, {"a@1", "b@2", "c@3"}},
        {"reminders switched off change no link",
         [](ContactsDocument& d, const QString&) { d.switchReminders(false); },
         false, {"a@1", "b@2", "c@3"}},
        {"a deletion shifts the links after it",
         [](ContactsDocument& d, const QString&) { d.deleteContact(1); }, false,
         {"b@1", "c@2", "-a"}},
        {"a deletion whose state write was lost",
         [](ContactsDocument& d, const QString&) { d.deleteContact(1); }, true,
         {"b@1", "c@2", "-a"}},
        {"an edit then a deletion before it, state write lost",
         [&](ContactsDocument& d, const QString&) {
             write(d, 2, Field::Email, "bob@new.example");
             d.deleteContact(1);
         },
         true, {"b@1", "c@2", "-a"}},
        {"the last record deleted, state write lost",
         [](ContactsDocument& d, const QString&) { d.deleteContact(3); }, true,
         {"a@1", "b@2", "-c"}},
        {"a deletion interrupted after the mark, finished when the file opens",
         [](ContactsDocument& d, const QString& path) {
             d.fileClose();
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             file.seek(kRecordSize);
             file.write(kDeletedMark);
         },
         true, {"a@1", "c@2", "-b"}},
        {"a deletion with a record appended after it, state write lost",
         [](ContactsDocument& d, const QString&) {
             d.appendContact(person("Di", "Lane", "Hull", "di@example.com"));
             d.deleteContact(2);
         },
         true, {"a@1", "c@2", "-b"}},
        {"a sync stopped: a save journaled, the next torn before its newline, left over at open",
         [](ContactsDocument& d, const QString& path) {
             d.deleteContact(1);
             SyncState state = SyncState::load(path);
             state.setJournaled(true);
             state.dropDeletion("a");
             state.save();
             QFile journal(SyncState::folderOf(path) + "/state.journal");
             ASSERT_TRUE(journal.open(QIODevice::Append));
             journal.write(R"({"unlink":"c","end":true})");
         },
         false, {"b@1", "c@2"}},
    };
    for (const KeepCase& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(data.path()).removeRecursively();
        QDir().mkpath(data.path());
        const QString path = linkedFile();
        {
            ContactsDocument document(program.path());
            document.openPath(path);
            SyncStateKeeper keeper(document);
            if (c.stateWriteFails) {
                fault::arm(QStringLiteral("sync.state.write"));
            }
            c.change(document, path);
            fault::disarmAll();
            if (!c.stateWriteFails) {
                // Saved as it went, without a realignment.
                EXPECT_EQ(linksOf(SyncState::load(path)), c.links);
            }
        }
        ContactsDocument document(program.path());
        document.openPath(path);
        SyncStateKeeper keeper(document);
        ASSERT_NE(keeper.state(), nullptr);
        EXPECT_EQ(linksOf(*keeper.state()), c.links);
        // A journal left over is folded into the state when the file opens.
        EXPECT_FALSE(QFile::exists(SyncState::folderOf(path) + "/state.journal"));
        EXPECT_EQ(linksOf(SyncState::load(path)), c.links);
        // Every link that found its record unchanged agrees with it.
        for (const SyncLink& link : keeper.state()->links()) {
            const bool edited = document.file().read(link.record).field(Field::Email) == "bob@new.example";
            EXPECT_EQ(recordFingerprint(document.file().read(link.record)) == link.fingerprint, !edited)
                << link.uid.toStdString();
        }
    }
}

// Links to cards outside the linked book, in the journal a killed sync left
// or saved whole, are forgotten when the state is read: their cards are never
// written or deleted.
TEST_F(SyncStateTest, LinksOutsideTheBookAreForgottenWhenRead) {
    const QString path = linkedFile();
    for (const bool journaled : {true, false}) {
        SCOPED_TRACE(journaled);
        SyncState state = SyncState::load(path);
        state.setJournaled(journaled);
        state.setLink({2, QStringLiteral("/other/collection/b.vcf"), "\"2\"", QStringLiteral("b"), {}});
        state.setLink({3, QStringLiteral("/ann/contacts/../../../etc/passwd"), "\"2\"", QStringLiteral("c"), {}});
        state.save();
        const SyncState loaded = SyncState::load(path);
        EXPECT_EQ(linksOf(loaded), QStringList{QStringLiteral("a@1")});
    }
}

TEST_F(SyncStateTest, AFileNotLinkedGetsNothingBesideIt) {
    const QString path = data.file(QStringLiteral("Plain.DAT"));
    ContactsDocument document(program.path());
    document.openPath(path);
    SyncStateKeeper keeper(document);
    document.appendContact(person("Ann", "Smith", "Leeds", ""));
    document.appendContact(person("Bob", "Jones", "York", ""));
    document.deleteContact(1);
    EXPECT_EQ(keeper.state(), nullptr);
    EXPECT_FALSE(QFile::exists(SyncState::folderOf(path)));
    EXPECT_EQ(QDir(data.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("Plain.DAT")});
}

// A state that cannot be read, or a change of it that cannot be saved, is
// told with its reason wherever the user meets the file's sync: the main
// window's line, Sync Now, the account window's question and the batch tool.
TEST_F(SyncStateTest, AStateThatCannotBeReadOrSavedSaysWhyWhereTheUserLooks) {
    const QString path = linkedFile();
    const QString unreadable = QStringLiteral("The sync state of Family.DAT cannot be read: the file state is damaged.");
    const QString unsaved = QStringLiteral("The sync state of Family.DAT cannot be saved: Device I/O error.");
    const QByteArray state = test::readAll(SyncState::folderOf(path) + "/state");
    {
        ContactsDocument document(program.path());
        ScriptedPlatform platform;
        SyncSession session(document, platform);
        document.openPath(path);
        ASSERT_TRUE(session.linked());
        EXPECT_EQ(session.lastSyncText(), "Not synced yet");
        fault::arm(QStringLiteral("sync.state.write"));
        document.deleteContact(1);
        fault::disarmAll();
        EXPECT_TRUE(session.keeper().saveFailed());
        EXPECT_EQ(session.lastSyncText(), unsaved);
        document.deleteContact(1);  // saved: the state is whole again
        EXPECT_FALSE(session.keeper().saveFailed());
        EXPECT_EQ(session.lastSyncText(), "Not synced yet");
    }
    test::TempFolder other;
    const QString damaged = other.write(QStringLiteral("Family.DAT"), test::readAll(path));
    QDir().mkpath(SyncState::folderOf(damaged));
    other.write(QStringLiteral("Family.DAT.sync/state"), state.left(state.size() / 2));
    ContactsDocument document(program.path());
    ScriptedPlatform platform;
    SyncSession session(document, platform);
    document.openPath(damaged);
    EXPECT_FALSE(session.linked());
    EXPECT_EQ(session.keeper().loadError(), unreadable);
    EXPECT_EQ(session.lastSyncText(), unreadable);
    const SyncSession::Outcome outcome = session.sync(QStringLiteral("secret"));
    EXPECT_FALSE(outcome.done);
    EXPECT_EQ(outcome.message, unreadable);
    // Linking it again asks first, with the reason; "No" keeps the state.
    platform.answerMessage(MessageAnswer::No);
    EXPECT_FALSE(session.link(session.account("https://dav.example/", "ann", "pw"),
                              "https://dav.example/ann/contacts/"));
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_TRUE(platform.messages()[0].text.startsWith(unreadable)) << platform.messages()[0].text.toStdString();
    EXPECT_EQ(test::readAll(SyncState::folderOf(damaged) + "/state"), state.left(state.size() / 2));
    const test::BatchRun run = test::runBatch(
        {"sync", damaged, "--url", "https://dav.example/ann/contacts/", "--user", "ann"}, {"TANDOR_PASSWORD=pw"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.trimmed(), unreadable);
}

}  // namespace
}  // namespace tandor::sync
