// Syncs against the real test servers (Radicale and Xandikos), each scenario a
// test of its own run against both: a list of steps on two contacts files
// linked to one new address book and on "the phone" beside them, ending with
// both files and the server holding the same contacts, none lost and none
// twice.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <functional>
#include <memory>

#include "platform/AppError.h"
#include "store/ContactsDocument.h"
#include "support/DavTestServer.h"
#include "support/FaultProxy.h"
#include "support/PdfWords.h"
#include "support/PlainDavClient.h"
#include "support/SyncContacts.h"
#include "support/TestFiles.h"
#include "sync/CardDavClient.h"
#include "sync/CardMerge.h"
#include "sync/ConflictChoice.h"
#include "sync/SyncState.h"
#include "sync/Synchronizer.h"

namespace tandor::sync {
namespace {

using test::FaultProxy;

// Ann, Bob, ...: contacts of the family Doe.
ContactRecord person(const QString& first, const QString& city, const QString& email = {}) {
    return test::person(first, QStringLiteral("Doe"), city, email);
}

const QByteArray kPhotoData =
    "/9j/4AAQSkZJRgABAQEASABIAAD/"
    "2wBDAAMCAgICAgMCAgIDAwMDBAYEBAQEBAgGBgUGCQgKCgkICQkKDA8MCgsOCwkJDRENDg8QEBEQCgwSExIQEw8QEBD/";
const QString kLongNote =
    QStringLiteral("A note longer than the record holds. ").repeated(6).trimmed();

QByteArray card(const QString& uid, const QString& body) {
    return (QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:") + uid + QStringLiteral("\r\n") +
            body + QStringLiteral("END:VCARD\r\n"))
        .toUtf8();
}
// Carl as a phone writes him: a photo and four numbers (the record holds three).
QByteArray carlCard() {
    return card(QStringLiteral("carl-phone"),
                QStringLiteral(
                    "N:Stone;Carl;;;\r\nFN:Carl Stone\r\nADR;TYPE=HOME:;;1 Main St;Derby;;;\r\n"
                    "TEL;TYPE=HOME:111\r\nTEL;TYPE=CELL:222\r\nTEL;TYPE=WORK:333\r\n"
                    "TEL;TYPE=FAX:444\r\nEMAIL:carl@example.com\r\nPHOTO;ENCODING=b;TYPE=JPEG:") +
                    QString::fromLatin1(kPhotoData) + QStringLiteral("\r\n"));
}
QByteArray yamadaCard() {
    return card(
        QStringLiteral("yamada-phone"),
        QStringLiteral(
            "N:山田;Taro;;;\r\nFN:Taro 山田\r\nADR;TYPE=HOME:;;2 Hill Rd;Kyoto;;;\r\nNOTE:") +
            kLongNote + QStringLiteral("\r\n"));
}

// A card's text with its folded lines joined.
QByteArray unfolded(QByteArray text) {
    return text.replace("\r\n ", "").replace("\n ", "");
}

class SyncScenarioTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        server = test::davTestServer(GetParam());
        TANDOR_REQUIRE_DAV_SERVER(server);
        phone = std::make_unique<test::PlainDavClient>(server.user, server.password);
    }

public:
    // A new address book and two new, empty files.
    void begin() {
        book = test::freshAddressBook(server, QStringLiteral("scenario"));
        ASSERT_FALSE(book.isEmpty());
        proxy = std::make_unique<FaultProxy>(book);
        folder = std::make_unique<test::TempFolder>();
        fileA = folder->file(QStringLiteral("Home.DAT"));
        fileB = folder->file(QStringLiteral("Office.DAT"));
        for (const QString& path : {fileA, fileB}) {
            ContactsDocument document(program.path());
            document.openPath(path);
        }
    }

    // One sync of a file, through the proxy with a fault when one is given.
    // With `after`, the fault comes after that many requests went through.
    SyncSummary sync(const QString& path, FaultProxy::Fault fault = FaultProxy::Fault::None,
                     int after = 0) {
        proxy->setFault(fault, after);
        const QString url = fault == FaultProxy::Fault::None ? book : proxy->url(book);
        CardDavClient client(Account{url, server.user, server.password, {}}, url);
        client.setTimeoutSeconds(fault == FaultProxy::Fault::Stall ? 1 : 30);
        ContactsDocument document(program.path());
        document.openPath(path, true);
        SyncStateKeeper keeper(document);
        if (!keeper.state()) {
            keeper.link(book, server.user);
        }
        Synchronizer synchronizer(document, keeper, client);
        return synchronizer.run();
    }
    void change(const QString& path, const std::function<void(ContactsDocument&)>& edit) {
        ContactsDocument document(program.path());
        document.openPath(path, true);
        SyncStateKeeper keeper(document);
        edit(document);
    }
    void add(const QString& path, const ContactRecord& record) {
        change(path, [&](ContactsDocument& d) { d.appendContact(record); });
    }
    void edit(const QString& path, const QString& first, Field field, const QString& value) {
        change(path, [&](ContactsDocument& d) {
            const int n = recordOf(d.file(), first);
            ASSERT_GT(n, 0) << first.toStdString();
            ContactRecord record = d.file().read(n);
            record.setField(field, value);
            d.writeContact(n, record);
        });
    }
    void remove(const QString& path, const QString& first) {
        change(path, [&](ContactsDocument& d) {
            const int n = recordOf(d.file(), first);
            ASSERT_GT(n, 0) << first.toStdString();
            d.deleteContact(n);
        });
    }
    static int recordOf(const ContactsFile& file, const QString& first) {
        for (int n = 1; n <= file.recordCount(); ++n) {
            if (file.read(n).field(Field::FName).trimmed() == first) {
                return n;
            }
        }
        return 0;
    }
    int recordNumber(const QString& path, const QString& first) {
        ContactsFile file;
        file.openForReading(path);
        return recordOf(file, first);
    }
    ContactRecord record(const QString& path, const QString& first) {
        ContactsFile file;
        file.openForReading(path);
        const int n = recordOf(file, first);
        return n > 0 ? file.read(n) : ContactRecord();
    }
    // The phone's side.
    QUrl cardUrl(const QString& href) const { return QUrl(book).resolved(QUrl(href)); }
    void phonePut(const QString& uid, const QByteArray& vcard) {
        ASSERT_EQ(phone->put(cardUrl(uid + QStringLiteral(".vcf")), vcard).status / 100, 2);
    }
    // The server's card of the contact of this first name (its href).
    QString hrefOf(const QString& first) {
        for (const QString& href : phone->list(QUrl(book))) {
            if (cardRecordValues(phone->get(cardUrl(href)).body)[Field::FName] == first) {
                return href;
            }
        }
        ADD_FAILURE() << "no card for " << first.toStdString();
        return {};
    }
    QByteArray cardOf(const QString& first) {
        return unfolded(phone->get(cardUrl(hrefOf(first))).body);
    }
    void phoneEdit(const QString& first, const QByteArray& from, const QByteArray& to) {
        const QString href = hrefOf(first);
        QByteArray text = phone->get(cardUrl(href)).body;
        ASSERT_TRUE(text.contains(from)) << text.toStdString();
        ASSERT_EQ(phone->put(cardUrl(href), text.replace(from, to)).status / 100, 2);
    }
    void phoneDelete(const QString& first) {
        ASSERT_EQ(phone->remove(cardUrl(hrefOf(first))).status / 100, 2);
    }
    // Every card on the server as a record would hold it; each must carry a
    // UID of its own.
    QStringList serverLines() {
        std::vector<QByteArray> cards;
        for (const QString& href : phone->list(QUrl(book))) {
            cards.push_back(phone->get(cardUrl(href)).body);
        }
        return test::cardLines(cards);
    }
    // Both files synced (the first again after the second) hold what the
    // server holds: `expected` contacts by first name, each once; and
    // neither has anything left to do.
    void expectConverged(const QStringList& expectedFirstNames) {
        sync(fileA);
        sync(fileB);
        sync(fileA);
        const QStringList server = serverLines();
        EXPECT_EQ(text(test::fileLines(fileA)), text(server));
        EXPECT_EQ(text(test::fileLines(fileB)), text(server));
        QStringList firsts;
        for (const QString& l : server) {
            firsts << l.section(u'|', 0, 0);
        }
        QStringList expected = expectedFirstNames;
        expected.sort();
        EXPECT_EQ(text(firsts), text(expected));
        EXPECT_EQ(text(sync(fileB).lines), "");
        EXPECT_EQ(text(sync(fileA).lines), "");
    }
    static std::string text(const QStringList& lines) { return lines.join(u'\n').toStdString(); }
    // A scenario: its steps in a new address book with new files.
    struct Step {
        const char* what;
        std::function<void(SyncScenarioTest&)> run;
    };
    void play(const std::vector<Step>& steps) {
        begin();
        if (HasFatalFailure()) {
            return;
        }
        for (const Step& step : steps) {
            SCOPED_TRACE(step.what);
            step.run(*this);
            if (HasFatalFailure()) {
                return;
            }
        }
    }
    QByteArray localBytes(const QString& path) {
        return test::readAll(path) +
               test::readAll(SyncState::folderOf(path) + QStringLiteral("/state")) +
               test::readAll(SyncState::folderOf(path) + QStringLiteral("/state.journal"));
    }

    test::DavTestServer server;
    QString book;
    test::TempFolder program;
    std::unique_ptr<test::TempFolder> folder;
    QString fileA;
    QString fileB;
    std::unique_ptr<test::PlainDavClient> phone;
    std::unique_ptr<FaultProxy> proxy;
};

// Ann and Bob in the first file and Carl (a photo, four numbers) on the
// phone, synced into both files.
void start(SyncScenarioTest& t) {
    t.add(t.fileA, person(QStringLiteral("Ann"), QStringLiteral("Leeds")));
    t.add(t.fileA,
          person(QStringLiteral("Bob"), QStringLiteral("York"), QStringLiteral("bob@example.com")));
    t.phonePut(QStringLiteral("carl-phone"), carlCard());
    t.sync(t.fileA);
    t.sync(t.fileB);
    t.expectConverged({"Ann", "Bob", "Carl"});
}

using T = SyncScenarioTest;

// The phone adds, edits and deletes; both files follow.
TEST_P(SyncScenarioTest, ThePhoneAddsEditsAndDeletesAndBothFilesFollow) {
    play({{"start", start},
          {"phone: add Dora, change Ann's city, delete Bob",
           [](T& t) {
               t.phonePut(QStringLiteral("dora-phone"),
                          card(QStringLiteral("dora-phone"),
                               QStringLiteral("N:Doe;Dora;;;\r\nFN:Dora Doe\r\n")));
               t.phoneEdit(QStringLiteral("Ann"), "Leeds", "Hull");
               t.phoneDelete(QStringLiteral("Bob"));
           }},
          {"both files follow",
           [](T& t) {
               t.expectConverged({"Ann", "Carl", "Dora"});
               EXPECT_EQ(t.record(t.fileB, QStringLiteral("Ann")).field(Field::City).trimmed(),
                         "Hull");
           }},
          {"the second file adds Eve and deletes Dora", [](T& t) {
               t.add(t.fileB, person(QStringLiteral("Eve"), QStringLiteral("Ely")));
               t.remove(t.fileB, QStringLiteral("Dora"));
               t.sync(t.fileB);
               t.expectConverged({"Ann", "Carl", "Eve"});
           }}});
}

// A field changed on one side takes that side's value; on both, the server's.
TEST_P(SyncScenarioTest, AFieldChangedOnOneSideTakesThatSidesValueAndOnBothTheServers) {
    play({{"start", start},
          {"here: Ann's city; phone: Ann's e-mail",
           [](T& t) {
               t.edit(t.fileA, QStringLiteral("Ann"), Field::City, QStringLiteral("Wells"));
               t.phoneEdit(QStringLiteral("Ann"), "END:VCARD",
                           "EMAIL:ann@phone.example\r\nEND:VCARD");
               t.expectConverged({"Ann", "Bob", "Carl"});
               const ContactRecord ann = t.record(t.fileB, QStringLiteral("Ann"));
               EXPECT_EQ(ann.field(Field::City).trimmed(), "Wells");
               EXPECT_EQ(ann.field(Field::Email).trimmed(), "ann@phone.example");
               EXPECT_TRUE(SyncState::load(t.fileA).conflicts.empty());
           }},
          {"here: Ann's city York; phone: Hull", [](T& t) {
               t.edit(t.fileA, QStringLiteral("Ann"), Field::City, QStringLiteral("York"));
               t.phoneEdit(QStringLiteral("Ann"), "Wells", "Hull");
               const SyncSummary summary = t.sync(t.fileA);
               EXPECT_EQ(summary.conflicts, 1);
               t.expectConverged({"Ann", "Bob", "Carl"});
               EXPECT_EQ(t.record(t.fileA, QStringLiteral("Ann")).field(Field::City).trimmed(),
                         "Hull");
               const std::vector<SyncConflict> conflicts = SyncState::load(t.fileA).conflicts;
               ASSERT_EQ(conflicts.size(), 1u);
               EXPECT_EQ(conflicts[0].field, Field::City);
               EXPECT_EQ(conflicts[0].localValue, "York");
               EXPECT_EQ(conflicts[0].serverValue, "Hull");
           }}});
}

// A contact deleted on one side and edited on the other is kept with the
// edit, and the user is told: in the summary and in Sync Conflicts.
TEST_P(SyncScenarioTest, AContactDeletedOnOneSideAndEditedOnTheOtherIsKeptWithTheEdit) {
    play({{"start", start},
          {"here: delete Ann, edit Bob; phone: edit Ann, delete Bob", [](T& t) {
               t.remove(t.fileA, QStringLiteral("Ann"));
               t.edit(t.fileA, QStringLiteral("Bob"), Field::City, QStringLiteral("Selby"));
               t.phoneEdit(QStringLiteral("Ann"), "Leeds", "Hull");
               t.phoneDelete(QStringLiteral("Bob"));
               const SyncSummary summary = t.sync(t.fileA);
               EXPECT_EQ(summary.conflicts, 2);
               for (const char* told :
                    {"Conflict: Ann Doe, deleted on this computer, kept with the server's edit",
                     "Conflict: Bob Doe, deleted on the server, kept with this computer's edit"}) {
                   EXPECT_EQ(summary.lines.count(QString::fromUtf8(told)), 1)
                       << text(summary.lines);
               }
               QStringList listed;
               for (const SyncConflict& c : SyncState::load(t.fileA).conflicts) {
                   listed << c.contact + QStringLiteral(": ") + keptText(c.kind);
               }
               listed.sort();
               EXPECT_EQ(text(listed),
                         "Ann Doe: deleted on this computer, kept with the server's edit\n"
                         "Bob Doe: deleted on the server, kept with this computer's edit");
               t.expectConverged({"Ann", "Bob", "Carl"});
               EXPECT_EQ(t.record(t.fileA, QStringLiteral("Ann")).field(Field::City).trimmed(),
                         "Hull");
               EXPECT_EQ(t.record(t.fileB, QStringLiteral("Bob")).field(Field::City).trimmed(),
                         "Selby");
           }}});
}

// A card this program added and the phone deleted before the next sync is
// deleted here too (a server need not list a card made and deleted after
// the token kept before the program's own writes).
TEST_P(SyncScenarioTest, ACardAddedHereAndDeletedOnTheServerIsDeletedHere) {
    play({{"add Ann, Bob and Cy here; sync",
           [](T& t) {
               for (const char* first : {"Ann", "Bob", "Cy"}) {
                   t.add(t.fileA, person(QString::fromLatin1(first), QStringLiteral("Leeds")));
               }
               EXPECT_EQ(t.sync(t.fileA).addedOnServer, 3);
           }},
          {"phone: delete Bob; sync twice", [](T& t) {
               t.phoneDelete(QStringLiteral("Bob"));
               const SyncSummary summary = t.sync(t.fileA);
               EXPECT_EQ(summary.deletedHere, 1) << text(summary.lines);
               EXPECT_EQ(text(summary.lines), "Here: delete Bob Doe");
               EXPECT_EQ(text(t.sync(t.fileA).lines), "");
               EXPECT_EQ(text(test::fileLines(t.fileA)), text(t.serverLines()));
               t.expectConverged({"Ann", "Cy"});
           }}});
}

// The phone's photo, fourth number, whole names and long values stay.
TEST_P(SyncScenarioTest, ThePhonesPhotoFourthNumberWholeNamesAndLongValuesStay) {
    play({{"start", start},
          {"phone: add Taro 山田 with a long note",
           [](T& t) {
               t.phonePut(QStringLiteral("yamada-phone"), yamadaCard());
               t.sync(t.fileA);
               EXPECT_EQ(t.record(t.fileA, QStringLiteral("Taro")).field(Field::LName).trimmed(),
                         "??");
           }},
          {"here: Carl's and Taro's city",
           [](T& t) {
               t.edit(t.fileA, QStringLiteral("Carl"), Field::City, QStringLiteral("Buxton"));
               t.edit(t.fileA, QStringLiteral("Taro"), Field::City, QStringLiteral("Osaka"));
               t.expectConverged({"Ann", "Bob", "Carl", "Taro"});
               const QByteArray carl = t.cardOf(QStringLiteral("Carl"));
               EXPECT_TRUE(carl.contains(kPhotoData)) << carl.toStdString();
               EXPECT_TRUE(carl.contains("444")) << carl.toStdString();
               EXPECT_TRUE(carl.contains("Buxton")) << carl.toStdString();
               EXPECT_EQ(carl.count("TEL"), 4) << carl.toStdString();
               const QByteArray taro = t.cardOf(QStringLiteral("Taro"));
               EXPECT_TRUE(taro.contains("山田")) << taro.toStdString();
               EXPECT_TRUE(taro.contains("Osaka")) << taro.toStdString();
               EXPECT_TRUE(QString::fromUtf8(taro).remove(u'\\').contains(kLongNote))
                   << taro.toStdString();
           }},
          {"here: Taro's notes; the note is what the file holds now", [](T& t) {
               t.edit(t.fileB, QStringLiteral("Taro"), Field::Notes, QStringLiteral("Short now"));
               t.expectConverged({"Ann", "Bob", "Carl", "Taro"});
               const QByteArray taro = t.cardOf(QStringLiteral("Taro"));
               EXPECT_TRUE(taro.contains("NOTE:Short now\r\n")) << taro.toStdString();
               EXPECT_TRUE(taro.contains("山田")) << taro.toStdString();
           }}});
}

// A server that fails leaves both sides as they were; the next sync converges.
TEST_P(SyncScenarioTest, AServerThatFailsLeavesBothSidesAsTheyWere) {
    play({{"start", start},
          {"here: Ann's city, Dora added; phone: Bob's city, Carl deleted",
           [](T& t) {
               t.edit(t.fileA, QStringLiteral("Ann"), Field::City, QStringLiteral("Wells"));
               t.add(t.fileA, person(QStringLiteral("Dora"), QStringLiteral("Ely")));
               t.phoneEdit(QStringLiteral("Bob"), "York", "Ripon");
               t.phoneDelete(QStringLiteral("Carl"));
           }},
          {"500 and a server that never answers: nothing changes",
           [](T& t) {
               const QStringList server = t.serverLines();
               for (const FaultProxy::Fault fault :
                    {FaultProxy::Fault::Error500, FaultProxy::Fault::Stall}) {
                   SCOPED_TRACE(int(fault));
                   const QByteArray before = t.localBytes(t.fileA);
                   EXPECT_THROW(t.sync(t.fileA, fault), ServerError);
                   EXPECT_EQ(t.localBytes(t.fileA), before);
                   EXPECT_EQ(t.serverLines(), server);
               }
               EXPECT_GE(t.proxy->faultsInjected(), 2);
           }},
          {"a sync answer cut with 507 gives a full listing and the sync goes through",
           [](T& t) {
               const int faults = t.proxy->faultsInjected();
               t.sync(t.fileA, FaultProxy::Fault::Truncate507);
               t.sync(t.fileB, FaultProxy::Fault::Truncate507);
               // The first file writes, and lists once more after its writes.
               EXPECT_EQ(t.proxy->faultsInjected(), faults + 3);
               // The full listing tells both files that Carl is gone.
               EXPECT_EQ(t.recordNumber(t.fileB, QStringLiteral("Carl")), 0);
               t.expectConverged({"Ann", "Bob", "Dora"});
               EXPECT_EQ(t.record(t.fileB, QStringLiteral("Ann")).field(Field::City).trimmed(),
                         "Wells");
               EXPECT_EQ(t.record(t.fileA, QStringLiteral("Bob")).field(Field::City).trimmed(),
                         "Ripon");
           }},
          {"a token the server does not know (its storage was reset) gives one full reconciliation",
           [](T& t) {
               t.edit(t.fileB, QStringLiteral("Ann"), Field::Email,
                      QStringLiteral("ann@office.example"));
               t.phoneEdit(QStringLiteral("Bob"), "Ripon", "Thirsk");
               SyncState state = SyncState::load(t.fileB);
               ASSERT_FALSE(state.syncToken.isEmpty());
               state.syncToken =
                   state.syncToken.left(state.syncToken.size() - 8) + QStringLiteral("00000000");
               state.saveWhole();
               const SyncSummary summary = t.sync(t.fileB);
               EXPECT_EQ(summary.changedHere, 1);
               EXPECT_EQ(summary.changedOnServer, 1);
               EXPECT_EQ(summary.addedHere + summary.addedOnServer, 0);
               t.expectConverged({"Ann", "Bob", "Dora"});
               EXPECT_EQ(t.record(t.fileA, QStringLiteral("Ann")).field(Field::Email).trimmed(),
                         "ann@office.example");
               EXPECT_EQ(t.record(t.fileA, QStringLiteral("Bob")).field(Field::City).trimmed(),
                         "Thirsk");
           }}});
}

// A server that fails part-way leaves both sides consistent; the next sync finishes.
TEST_P(SyncScenarioTest, AServerThatFailsPartWayLeavesBothSidesConsistent) {
    play(
        {{"start", start},
         {"here: Ann's city, Dora, Eve and Fay added; phone: Bob's city, Gus added",
          [](T& t) {
              t.edit(t.fileA, QStringLiteral("Ann"), Field::City, QStringLiteral("Wells"));
              for (const char* first : {"Dora", "Eve", "Fay"}) {
                  t.add(t.fileA, person(QString::fromLatin1(first), QStringLiteral("Ely")));
              }
              t.phoneEdit(QStringLiteral("Bob"), "York", "Ripon");
              t.phonePut(QStringLiteral("gus-phone"),
                         card(QStringLiteral("gus-phone"),
                              QStringLiteral("N:Doe;Gus;;;\r\nFN:Gus Doe\r\n")));
          }},
         {"500 on the multiget, then on a PUT after one went through; then a whole sync", [](T& t) {
              // (A sync with a token asks REPORT, multiget, then writes; its
              // first REPORT goes again with the password once the server asked.)
              for (const int after : {2, 4}) {
                  SCOPED_TRACE(after);
                  EXPECT_THROW(t.sync(t.fileA, FaultProxy::Fault::Error500, after), ServerError);
                  EXPECT_NO_THROW(SyncState::load(t.fileA));
              }
              t.expectConverged({"Ann", "Bob", "Carl", "Dora", "Eve", "Fay", "Gus"});
              EXPECT_EQ(t.record(t.fileB, QStringLiteral("Ann")).field(Field::City).trimmed(),
                        "Wells");
              EXPECT_EQ(t.record(t.fileA, QStringLiteral("Bob")).field(Field::City).trimmed(),
                        "Ripon");
          }}});
}

// A dry run writes nothing beside the file, though its state must be realigned.
TEST_P(SyncScenarioTest, ADryRunWritesNothingBesideTheFile) {
    play({{"start", start},
          {"a copy of the program that knows no sync deletes Ann; tandor-batch sync --dry-run",
           [](T& t) {
               {
                   ContactsDocument unaware(t.program.path());
                   unaware.openPath(t.fileA, true);
                   unaware.deleteContact(t.recordNumber(t.fileA, QStringLiteral("Ann")));
               }
               const QByteArray before = t.localBytes(t.fileA);
               const test::BatchRun run = test::runBatch(
                   {"sync", t.fileA, "--url", t.book, "--user", t.server.user, "--dry-run"},
                   {QStringLiteral("TANDOR_PASSWORD=") + t.server.password});
               EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
               EXPECT_TRUE(run.out.contains(QStringLiteral("Server: delete Ann Doe")))
                   << run.out.toStdString();
               EXPECT_EQ(t.localBytes(t.fileA), before);
               t.expectConverged({"Bob", "Carl"});
           }}});
}

// tandor-batch sync pulls the book into a file that does not exist yet.
TEST_P(SyncScenarioTest, TheBatchToolPullsTheBookIntoANewFile) {
    play({{"start", start},
          {"a dry run into a missing file is refused; then tandor-batch sync New.DAT",
           [](T& t) {
               const QString fresh = t.folder->file(QStringLiteral("New.DAT"));
               const QStringList sync{"sync", fresh, "--url", t.book, "--user", t.server.user};
               const QStringList environment{QStringLiteral("TANDOR_PASSWORD=") + t.server.password};
               const test::BatchRun dryRun = test::runBatch(sync + QStringList{"--dry-run"}, environment);
               EXPECT_EQ(dryRun.exitCode, 2);
               EXPECT_TRUE(dryRun.err.contains(QStringLiteral("No contacts file"))) << dryRun.err.toStdString();
               EXPECT_FALSE(QFileInfo::exists(fresh));
               const test::BatchRun run = test::runBatch(sync, environment);
               EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
               EXPECT_TRUE(run.out.contains(QStringLiteral("Changed here: 3 added"))) << run.out.toStdString();
               EXPECT_EQ(t.text(test::fileLines(fresh)), t.text(t.serverLines()));
               t.expectConverged({"Ann", "Bob", "Carl"});
           }}});
}

INSTANTIATE_TEST_SUITE_P(Servers, SyncScenarioTest, ::testing::Values("Radicale", "Xandikos"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace tandor::sync
