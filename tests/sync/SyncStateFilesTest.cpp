// The links of a synced file (LinkIndex) and what is kept of them on the
// disk: `state` as older versions wrote it, and a journal cut at every byte.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>

#include "platform/AppError.h"
#include "support/TestFiles.h"
#include "sync/SyncState.h"

namespace tandor::sync {
namespace {

SyncLink link(int record, const QString& uid, const QString& etag = QStringLiteral("\"1\"")) {
    return {record, QStringLiteral("/ann/contacts/%1.vcf").arg(uid), etag, uid, uid.toLatin1() + "-print"};
}

// "uid@record" in record order, then "-uid" for the deletions.
QStringList linksOf(const LinkIndex& index) {
    QStringList out;
    for (const SyncLink& l : index.links()) {
        out.append(l.uid + u'@' + QString::number(l.record));
    }
    for (const SyncLink& l : index.deletions()) {
        out.append(u'-' + l.uid + (l.record == 0 ? QString() : QStringLiteral("!record")));
    }
    return out;
}

TEST(LinkIndexTest, EachChangeKeepsTheLinksInOrderAndFoundByRecordUidAndHref) {
    struct Case {
        const char* name;
        std::function<void(LinkIndex&)> change;
        QStringList links;
        QStringList gone;  // UIDs no longer found by UID or href
    };
    const QList<Case> cases = {
        {"links set out of order are kept in record order",
         [](LinkIndex& x) { x.set(link(3, "c")), x.set(link(1, "a")), x.set(link(2, "b")); },
         {"a@1", "b@2", "c@3"}, {}},
        {"a link of the same UID moves to its new record",
         [](LinkIndex& x) { x.set(link(1, "a")), x.set(link(2, "b")), x.set(link(5, "a")); },
         {"b@2", "a@5"}, {}},
        {"a link of the same record replaces the one there",
         [](LinkIndex& x) { x.set(link(1, "a")), x.set(link(1, "z")); }, {"z@1"}, {"a"}},
        {"a dropped link is found no more",
         [](LinkIndex& x) {
             x.set(link(1, "a")), x.set(link(2, "b"));
             EXPECT_TRUE(x.drop("a"));
             EXPECT_FALSE(x.drop("a"));
         },
         {"b@2"}, {"a"}},
        {"a record removed becomes a deletion and the ones after it move down",
         [](LinkIndex& x) { x.set(link(1, "a")), x.set(link(2, "b")), x.set(link(4, "d")), x.recordRemoved(2); },
         {"a@1", "d@3", "-b"}, {"b"}},
        {"a record removed that had no link only moves the ones after it",
         [](LinkIndex& x) { x.set(link(1, "a")), x.set(link(3, "c")), x.recordRemoved(2); }, {"a@1", "c@2"}, {}},
        {"a new card not yet sent is a deletion too when its record goes",
         [](LinkIndex& x) { x.set(link(1, "a", QString())), x.recordRemoved(1); }, {"-a"}, {"a"}},
        {"a deletion dropped once",
         [](LinkIndex& x) {
             x.set(link(1, "a")), x.set(link(2, "b")), x.recordRemoved(1), x.recordRemoved(1);
             EXPECT_TRUE(x.dropDeletion("a"));
             EXPECT_FALSE(x.dropDeletion("a"));
         },
         {"-b"}, {"a", "b"}},
        {"reset sorts and indexes anew",
         [](LinkIndex& x) {
             x.set(link(9, "old"));
             x.reset({link(4, "d"), link(2, "b")}, {link(0, "x")});
         },
         {"b@2", "d@4", "-x"}, {"old", "x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkIndex index;
        c.change(index);
        EXPECT_EQ(linksOf(index), c.links);
        // Every link is found by each of its keys, and by nothing else.
        for (const SyncLink& l : index.links()) {
            EXPECT_EQ(index.ofRecord(l.record), &l);
            EXPECT_EQ(index.ofUid(l.uid), &l);
            EXPECT_EQ(index.ofHref(l.href), &l);
        }
        for (const QString& uid : c.gone) {
            EXPECT_EQ(index.ofUid(uid), nullptr) << uid.toStdString();
            EXPECT_EQ(index.ofHref(link(0, uid).href), nullptr) << uid.toStdString();
        }
        EXPECT_EQ(index.ofRecord(0), nullptr);
        EXPECT_EQ(index.ofRecord(99), nullptr);
    }
}

// The state as a line of text: head, links, deletions, conflicts.
QString describe(const SyncState& s) {
    QStringList out = {s.url, s.user, s.syncToken, statejson::timeText(s.lastSync)};
    for (const SyncLink& l : s.links()) {
        out.append(QStringLiteral("%1@%2 %3 %4 %5").arg(l.uid).arg(l.record).arg(l.href, l.etag,
                                                                                 QString::fromLatin1(l.fingerprint)));
    }
    for (const SyncLink& l : s.deletions()) {
        out.append(QStringLiteral("-%1 %2 %3").arg(l.uid, l.href, l.etag));
    }
    for (const SyncConflict& c : s.conflicts) {
        out.append(QStringLiteral("!%1 %2 %3 %4").arg(c.uid, QLatin1String(layoutOf(c.field).name), c.localValue,
                                                      c.serverValue));
    }
    return out.join(u'|');
}

class SyncStateFilesTest : public ::testing::Test {
protected:
    test::TempFolder data;
    QString path = data.file(QStringLiteral("Family.DAT"));
    QString folder = SyncState::folderOf(path);
};

// A state and a journal as the program has written them since the first
// version (a file linked before this one still syncs): the journal's whole
// saves are applied, its torn last save is not, and the state written whole
// afterwards has the same form.
TEST_F(SyncStateFilesTest, StateAndJournalOfEarlierVersionsLoadAndAreWrittenAlike) {
    const QString fixtures = QStringLiteral(TANDOR_SOURCE_DIR "/tests/data/sync/");
    QDir().mkpath(folder);
    ASSERT_TRUE(QFile::copy(fixtures + "state", folder + "/state"));
    ASSERT_TRUE(QFile::copy(fixtures + "state.journal", folder + "/state.journal"));
    SyncState state = SyncState::load(path);
    EXPECT_TRUE(state.journalLeftOver());
    EXPECT_EQ(describe(state),
              "https://dav.example/ann/contacts/|ann|http://radicale.org/ns/sync/5|2026-12-01T09:30:00Z"
              "|b@1 /ann/contacts/b.vcf \"7\" 2c1e"
              "|c@2 /ann/contacts/c.vcf \"3\" 9f0a"
              "|n@3 /ann/contacts/n.vcf  77aa"
              "|-a /ann/contacts/a.vcf \"2\""
              "|!c City Wells Kent");
    state.saveWhole();
    EXPECT_EQ(test::readAll(folder + "/state"), test::readAll(fixtures + "state.folded"));
    EXPECT_FALSE(QFile::exists(folder + "/state.journal"));
}

// A sync's saves journaled one after another, and the journal cut after
// every byte of it, as a stop leaves it: each cut loads as the state saved
// up to the last save that is whole in it, never fails and never invents.
TEST_F(SyncStateFilesTest, AJournalCutAtEveryByteLoadsAsItsLastWholeSave) {
    const std::vector<std::function<void(SyncState&)>> saves = {
        [](SyncState& s) { s.setLink(link(1, "a")), s.setLink(link(2, "b")), s.setLink(link(3, "c")); },
        [](SyncState& s) { s.setLink(link(4, "d", QString())); },
        [](SyncState& s) { s.recordRemoved(2); },
        [](SyncState& s) {
            s.conflicts.push_back({"c", "Cy Young", Field::City, "Wells", "Kent"});
            s.setLink(link(2, "c", "\"9\""));
        },
        [](SyncState& s) { s.dropDeletion("b"), s.dropLink("a"); },
        [](SyncState& s) { s.syncToken = "token-2", s.lastSync = QDateTime::fromSecsSinceEpoch(1800000000); },
    };
    std::vector<QString> after;  // the state after each save, the first before any
    std::vector<qint64> ends;    // the journal's length after each save
    {
        SyncState state = SyncState::create(path, "https://dav.example/ann/contacts/", "ann");
        state.saveWhole();
        state.setJournaled(true);
        after.push_back(describe(state));
        for (const auto& save : saves) {
            save(state);
            state.save();
            after.push_back(describe(state));
            ends.push_back(QFileInfo(folder + "/state.journal").size());
        }
    }
    ASSERT_EQ(describe(SyncState::load(path)), after.back());
    const QByteArray journal = test::readAll(folder + "/state.journal");
    ASSERT_EQ(journal.size(), ends.back());
    for (qsizetype cut = 0; cut <= journal.size(); ++cut) {
        QFile file(folder + "/state.journal");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(journal.left(cut));
        file.close();
        const auto whole = std::count_if(ends.begin(), ends.end(), [&](qint64 end) { return end <= cut; });
        SCOPED_TRACE(QStringLiteral("cut at %1 of %2, %3 saves whole").arg(cut).arg(journal.size()).arg(whole)
                         .toStdString());
        std::optional<SyncState> loaded;
        ASSERT_NO_THROW(loaded = SyncState::load(path));
        ASSERT_EQ(describe(*loaded), after[static_cast<std::size_t>(whole)]);
        EXPECT_TRUE(loaded->journalLeftOver());
    }
}

TEST_F(SyncStateFilesTest, AStateThatCannotBeReadSaysWhy) {
    struct Case {
        const char* name;
        QByteArray state;
        QByteArray journal;  // none when empty
        QString error;       // empty: it loads
        QString described;
    };
    const QByteArray stateOfGeneration2 =
        R"({"generation": 2, "url": "u", "user": "ann", "links": [{"record": 1, "href": "/h", "uid": "a"}]})";
    const QList<Case> cases = {
        {"damaged", "{\"url\": \"u\", \"links\": [", {},
         "The sync state of Family.DAT cannot be read: the file state is damaged", {}},
        {"not an object", "[1, 2]", {}, "The sync state of Family.DAT cannot be read: the file state is damaged", {}},
        {"a journal of the generation before is stale", stateOfGeneration2,
         "{\"journal\":1}\n{\"unlink\":\"a\",\"end\":true}\n", {}, "u|ann|||a@1 /h  "},
        {"a journal of its generation is applied", stateOfGeneration2,
         "{\"journal\":2}\n{\"unlink\":\"a\",\"end\":true}\n", {}, "u|ann||"},
        {"a journal that is not JSON is left out", stateOfGeneration2, "\x01\x02garbage\n{\"unlink\":\"a\"}\n", {},
         "u|ann|||a@1 /h  "},
        {"a save without its end is left out", stateOfGeneration2,
         "{\"journal\":2}\n{\"unlink\":\"a\"}\n{\"head\":{\"url\":\"x\"}}\n", {}, "u|ann|||a@1 /h  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        data.write(QStringLiteral("Family.DAT.sync/state"), c.state);
        if (!c.journal.isEmpty()) {
            data.write(QStringLiteral("Family.DAT.sync/state.journal"), c.journal);
        }
        EXPECT_TRUE(SyncState::isLinked(path));
        try {
            const SyncState state = SyncState::load(path);
            EXPECT_TRUE(c.error.isEmpty());
            EXPECT_EQ(describe(state), c.described);
        } catch (const AppError& error) {
            EXPECT_EQ(error.description(), c.error);
        }
    }
}

}  // namespace
}  // namespace tandor::sync
