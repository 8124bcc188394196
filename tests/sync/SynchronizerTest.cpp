// The order of a sync's steps against an address book in memory, for what
// the real servers cannot show (SyncScenarioTest and SyncKillTest run the
// sync against them): a sync stopped at every single request, Cancel check,
// state write and card write, a dry run, and a conflict applied.
#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <functional>
#include <utility>

#include "MemoryAddressBook.h"
#include "ServerFailure.h"
#include "platform/AppError.h"
#include "platform/FaultPoint.h"
#include "store/ContactsDocument.h"
#include "store/ForceToDisk.h"
#include "support/SyncContacts.h"
#include "support/TestFiles.h"
#include "sync/CardMerge.h"
#include "sync/ConflictChoice.h"
#include "sync/SyncState.h"
#include "sync/SyncSession.h"
#include "sync/Synchronizer.h"

namespace tandor::sync {
namespace {

const QString kBook = QStringLiteral("https://dav.example/ann/contacts/");
const QByteArray kPhoto = "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD/2w==\r\n";
const QByteArray kCarl =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Stone;Carl;;;\r\nFN:Carl Stone\r\n"
    "ADR;TYPE=HOME:;;1 Main St;Derby;;;\r\nTEL;TYPE=HOME:1\r\nTEL;TYPE=CELL:2\r\nTEL;TYPE=WORK:3\r\n"
    "EMAIL:carl@example.com\r\n" + kPhoto + "UID:carl\r\nEND:VCARD\r\n";

// Ann, Bob, ...: contacts of the family Doe.
ContactRecord person(const QString& first, const QString& city, const QString& email = {}) {
    return test::person(first, QStringLiteral("Doe"), city, email);
}

// The fields the lines of a file and of the server show.
const std::vector<Field> kShown{Field::FName, Field::City, Field::Email};

// The address book in memory, with a phone's change landing as a card is
// deleted, and refusing (403, as a read-only book) to write or delete the
// cards of some first names.
struct MeddlingServer : MemoryAddressBook {
    std::function<void(const QString&)> beforeRemove;
    std::function<void()> afterPut;
    QStringList refused;

    void refuse(const QByteArray& vcard) const {
        if (refused.contains(cardRecordValues(vcard)[Field::FName])) {
            throw ServerError(ServerError::Kind::Protocol,
                              QStringLiteral("The server refused the request: 403 Forbidden"), 403);
        }
    }
    QString put(const QString& href, const QByteArray& vcard, const QString& ifMatch) override {
        refuse(vcard);
        const QString etag = MemoryAddressBook::put(href, vcard, ifMatch);
        if (afterPut) {
            std::exchange(afterPut, {})();
        }
        return etag;
    }
    void remove(const QString& href, const QString& ifMatch) override {
        if (beforeRemove) {
            std::exchange(beforeRemove, {})(href);
        }
        refuse(cards.value(href).vcard);
        MemoryAddressBook::remove(href, ifMatch);
    }
};

class SynchronizerTest : public ::testing::Test {
protected:
    test::TempFolder program;

    // `cancelAt`: Cancel is pressed at that step of the progress.
    SyncSummary sync(const QString& path, MemoryAddressBook& server, bool dryRun = false,
                     int cancelAt = 0) {
        ContactsDocument document(program.path());
        document.openPath(path, true);
        SyncStateKeeper keeper(document);
        if (!keeper.state() && !dryRun) {
            keeper.link(kBook, QStringLiteral("ann"));
        }
        Synchronizer synchronizer(document, keeper, server);
        synchronizer.setBatchSize(2);
        int steps = 0;
        synchronizer.setProgress([&](int, int, const QString&) { ++steps; });
        synchronizer.setCancelCheck([&] { return cancelAt > 0 && steps == cancelAt; });
        return synchronizer.run(dryRun);
    }
    // A file of these contacts, synced once.
    QString synced(const test::TempFolder& folder, MemoryAddressBook& server, const QStringList& firstNames) {
        const QString path = folder.write(QStringLiteral("Family.DAT"), {});
        change(path, [&](ContactsDocument& d) {
            for (const QString& first : firstNames) {
                d.appendContact(person(first, "Leeds"));
            }
        });
        sync(path, server);
        return path;
    }
    template <typename Change>
    void change(const QString& path, Change change) {
        ContactsDocument document(program.path());
        document.openPath(path, true);
        SyncStateKeeper keeper(document);
        change(document);
    }
    static QStringList fileLines(const QString& path) { return test::fileLines(path, kShown); }
    static QStringList serverLines(const MemoryAddressBook& server) {
        std::vector<QByteArray> cards;
        for (const auto& card : server.cards) {
            cards.push_back(card.vcard);
        }
        return test::cardLines(cards, kShown);
    }
    // The state's conflicts, sorted: "Cy Doe, City: here / server" or
    // "Ann Doe: deleted on the server, kept with this computer's edit".
    static QStringList conflictLines(const SyncState& state) {
        QStringList lines;
        for (const SyncConflict& c : state.conflicts) {
            lines << (c.kind == SyncConflict::Kind::Field
                          ? QStringLiteral("%1, %2: %3 / %4")
                                .arg(c.contact, fieldCaption(c.field), c.localValue, c.serverValue)
                          : c.contact + QStringLiteral(": ") + keptText(c.kind));
        }
        lines.sort();
        return lines;
    }
    static QString hrefOf(const MemoryAddressBook& server, const QString& first) {
        for (auto it = server.cards.begin(); it != server.cards.end(); ++it) {
            if (cardRecordValues(it->vcard)[Field::FName] == first) {
                return it.key();
            }
        }
        return {};
    }

    // Ann, Bob and Cy here, Carl there, synced once; then changed on both
    // sides: Ann deleted here and changed there, Bob deleted there and
    // changed here, Cy's city changed on both sides, Carl's e-mail changed
    // there, Dora added here and Eve there.
    QString scenario(const test::TempFolder& folder, MemoryAddressBook& server) {
        const QString path = folder.file(QStringLiteral("Family.DAT"));
        {
            ContactsDocument document(program.path());
            document.openPath(path);
            for (const ContactRecord& r : {person("Ann", "Leeds"), person("Bob", "York"),
                                           person("Cy", "Bath")}) {
                document.appendContact(r);
            }
        }
        server.store(QStringLiteral("/ann/contacts/carl.vcf"), kCarl);
        sync(path, server);
        change(path, [](ContactsDocument& d) {
            ContactRecord bob = d.file().read(2);
            bob.setField(Field::Email, QStringLiteral("bob@new.example"));
            d.writeContact(2, bob);
            ContactRecord cy = d.file().read(3);
            cy.setField(Field::City, QStringLiteral("Wells"));
            d.writeContact(3, cy);
            d.deleteContact(1);
            d.appendContact(person("Dora", "Ely"));
        });
        const QString ann = hrefOf(server, "Ann");
        server.store(ann, QByteArray(server.cards[ann].vcard).replace("Leeds", "Hull"));
        server.erase(hrefOf(server, "Bob"));
        const QString cy = hrefOf(server, "Cy");
        server.store(cy, QByteArray(server.cards[cy].vcard).replace("Bath", "Kent"));
        const QString carl = hrefOf(server, "Carl");
        server.store(carl, QByteArray(server.cards[carl].vcard).replace("carl@", "stone@"));
        server.store(QStringLiteral("/ann/contacts/eve.vcf"),
                     "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;Eve;;;\r\nFN:Eve Doe\r\nUID:eve\r\nEND:VCARD\r\n");
        return path;
    }
};

// The conflicts the scenario leaves.
const QStringList kConflicts = {"Ann Doe: deleted on this computer, kept with the server's edit",
                                "Bob Doe: deleted on the server, kept with this computer's edit",
                                "Cy Doe, City: Wells / Kent"};

TEST_F(SynchronizerTest, ChangesOnBothSidesMeetAndASyncStoppedAnywhereFinishesNextTime) {
    const QStringList expected = {"Ann|Hull|", "Bob|York|bob@new.example", "Carl|Derby|stone@example.com",
                                  "Cy|Kent|", "Dora|Ely|", "Eve||"};
    // A dry run changes nothing on either side.
    {
        test::TempFolder folder;
        MemoryAddressBook server;
        const QString path = scenario(folder, server);
        const QByteArray fileBefore = test::readAll(path);
        const QByteArray stateBefore = test::readAll(SyncState::folderOf(path) + "/state");
        const auto cardsBefore = server.changes;
        const SyncSummary dry = sync(path, server, true);
        EXPECT_EQ(test::readAll(path), fileBefore);
        EXPECT_EQ(test::readAll(SyncState::folderOf(path) + "/state"), stateBefore);
        EXPECT_EQ(server.changes, cardsBefore);
        EXPECT_EQ(dry.addedHere, 2);      // Ann back with the change, Eve
        EXPECT_EQ(dry.changedHere, 2);    // Cy (the server's city), Carl
        EXPECT_EQ(dry.addedOnServer, 2);  // Bob back with the change, Dora
        EXPECT_EQ(dry.changedOnServer + dry.deletedHere + dry.deletedOnServer, 0)
            << dry.lines.join(u'\n').toStdString();
        // Cy's city; Ann and Bob kept with an edit.
        EXPECT_EQ(dry.conflicts, 3) << dry.lines.join(u'\n').toStdString();
    }
    // Stopped at every request (its answer lost, or lost after the server
    // did it), at every Cancel check, at every write of the state and of a
    // card: the next sync ends where an unstopped one does.
    enum class Stop { Request, RequestDone, Cancel, StateWrite, CardWrite };
    for (int stopAt = 0;; ++stopAt) {
        bool anyStopped = false;
        for (const Stop stop : {Stop::Request, Stop::RequestDone, Stop::Cancel, Stop::StateWrite,
                                Stop::CardWrite}) {
            SCOPED_TRACE(QStringLiteral("stop %1 at %2").arg(int(stop)).arg(stopAt).toStdString());
            test::TempFolder folder;
            MemoryAddressBook server;
            const QString path = scenario(folder, server);
            const QString token = SyncState::load(path).syncToken;
            server.requests = 0;
            server.failAt = stop == Stop::Request || stop == Stop::RequestDone ? stopAt : 0;
            server.afterWrite = stop == Stop::RequestDone;
            if (stopAt > 0 && (stop == Stop::StateWrite || stop == Stop::CardWrite)) {
                fault::arm(stop == Stop::StateWrite ? "sync.state.write" : "sync.card.write",
                           stopAt - 1);
            }
            bool stopped = false;
            try {
                sync(path, server, false, stop == Stop::Cancel ? stopAt : 0);
            } catch (const ServerError&) {
                stopped = true;
            } catch (const AppError&) {
                stopped = true;
            }
            fault::disarmAll();
            server.failAt = 0;
            if (stopped) {
                anyStopped = true;
                EXPECT_EQ(SyncState::load(path).syncToken, token);
                sync(path, server);
            }
            EXPECT_EQ(fileLines(path), expected);
            EXPECT_EQ(serverLines(server), expected);
            EXPECT_TRUE(server.cards[hrefOf(server, "Carl")].vcard.contains(kPhoto));
            // Each conflict is kept once, however often the sync ran.
            EXPECT_EQ(conflictLines(SyncState::load(path)), kConflicts);
            // Nothing is left to do.
            EXPECT_EQ(sync(path, server).lines, QStringList());
        }
        if (stopAt > 0 && !anyStopped) {
            break;
        }
    }
}

TEST_F(SynchronizerTest, AConflictAppliedGoesToTheServer) {
    test::TempFolder folder;
    MemoryAddressBook server;
    const QString path = scenario(folder, server);
    sync(path, server);
    {
        ContactsDocument document(program.path());
        document.openPath(path, true);
        SyncStateKeeper keeper(document);
        ASSERT_EQ(conflictLines(*keeper.state()), kConflicts);
        const auto& conflicts = listConflicts(*keeper.state());
        const auto cy = std::find_if(conflicts.begin(), conflicts.end(),
                                     [](const SyncConflict& c) { return c.kind == SyncConflict::Kind::Field; });
        applyConflict(document, keeper, static_cast<std::size_t>(cy - conflicts.begin()));
        EXPECT_EQ(conflictLines(*keeper.state()), kConflicts.mid(0, 2));
    }
    const SyncSummary summary = sync(path, server);
    EXPECT_EQ(summary.lines, QStringList{"Server: change Cy Doe"});
    EXPECT_TRUE(fileLines(path).contains("Cy|Wells|"));
    EXPECT_TRUE(serverLines(server).contains("Cy|Wells|"));
}

// Each save forces the disk; a sync of many contacts saves its state once per
// batch (the fixture's batch is 2), not once or twice per contact, and forces
// the cards folder only before a save, not after every card.
TEST_F(SynchronizerTest, SavesItsStateOncePerBatchOfContacts) {
    test::TempFolder folder;
    MemoryAddressBook server;
    const QString path = folder.file(QStringLiteral("Many.DAT"));
    {
        ContactsDocument document(program.path());
        document.openPath(path);
        for (int i = 0; i < 10; ++i) {
            document.appendContact(person(QStringLiteral("Here%1").arg(i), QStringLiteral("Leeds")));
        }
    }
    for (int i = 0; i < 20; ++i) {
        const ContactRecord there = person(QStringLiteral("There%1").arg(i), QStringLiteral("York"));
        server.store(QStringLiteral("/ann/contacts/there%1.vcf").arg(i),
                     cardForNewContact(there, QStringLiteral("there%1").arg(i)));
    }
    int cardFolderSyncs = 0;
    disk::setFolderForceObserver([&](const QString& f) { cardFolderSyncs += f.endsWith(QLatin1String("/cards")); });
    fault::startRecording();
    const SyncSummary summary = sync(path, server);
    const QStringList hits = fault::recordedHits();
    disk::setFolderForceObserver({});
    EXPECT_EQ(summary.addedHere, 20);
    EXPECT_EQ(summary.addedOnServer, 10);
    EXPECT_EQ(fileLines(path), serverLines(server));
    // 10 batches taken in, the 10 new links, 5 batches sent, the end.
    const auto stateWrites = hits.count(QStringLiteral("sync.state.write"));
    EXPECT_LE(stateWrites, 10 + 1 + 5 + 2);
    EXPECT_GE(stateWrites, 2);
    EXPECT_LE(cardFolderSyncs, stateWrites);
    EXPECT_EQ(hits.count(QStringLiteral("sync.card.write")), 40);  // 20 taken in, 10 new, 10 as sent
}

// A contact deleted here whose card the phone changes while the sync runs:
// the DELETE is refused (412), the contact comes back with the change, and
// its card stays the base of later merges (a later edit here keeps the
// photo and the phone's city).
TEST_F(SynchronizerTest, AContactBroughtBackByARefusedDeleteKeepsItsCard) {
    test::TempFolder folder;
    MeddlingServer server;
    const QString path = folder.write(QStringLiteral("Family.DAT"), {});
    server.store(QStringLiteral("/ann/contacts/carl.vcf"), kCarl);
    sync(path, server);
    change(path, [](ContactsDocument& d) { d.deleteContact(1); });
    server.beforeRemove = [&server](const QString& href) {
        server.store(href, QByteArray(server.cards[href].vcard).replace("Derby", "Hull"));
    };
    sync(path, server);
    ASSERT_EQ(fileLines(path), QStringList{"Carl|Hull|carl@example.com"});
    change(path, [](ContactsDocument& d) {
        ContactRecord carl = d.file().read(1);
        carl.setField(Field::Email, QStringLiteral("carl@new.example"));
        d.writeContact(1, carl);
    });
    sync(path, server);
    EXPECT_EQ(serverLines(server), QStringList{"Carl|Hull|carl@new.example"});
    EXPECT_TRUE(server.cards[hrefOf(server, "Carl")].vcard.contains(kPhoto));
}

// A card the server refuses to write or delete is left for the next sync
// and named in the summary; the others go on and the token is stored.
TEST_F(SynchronizerTest, ACardTheServerRefusesIsLeftAndTheRestGoOn) {
    const std::vector<std::pair<const char*, std::function<void(ContactsDocument&)>>> cases = {
        {"changed", [](ContactsDocument& d) {
             ContactRecord ann = d.file().read(1);
             ann.setField(Field::City, QStringLiteral("Hull"));
             d.writeContact(1, ann);
         }},
        {"added", [](ContactsDocument& d) { d.appendContact(person("Ann", "Hull")); }},
        {"deleted", [](ContactsDocument& d) { d.deleteContact(1); }},
    };
    for (const auto& [what, changeAnn] : cases) {
        SCOPED_TRACE(what);
        test::TempFolder folder;
        MeddlingServer server;
        const QString path = folder.write(QStringLiteral("Family.DAT"), {});
        change(path, [&](ContactsDocument& d) {
            if (QByteArray(what) != "added") {
                d.appendContact(person("Ann", "Leeds"));
            }
            d.appendContact(person("Bob", "York"));
        });
        sync(path, server);
        change(path, [&](ContactsDocument& d) {
            changeAnn(d);
            int bob = 1;
            while (d.file().read(bob).field(Field::FName) != QStringLiteral("Bob")) {
                ++bob;
            }
            ContactRecord record = d.file().read(bob);
            record.setField(Field::City, QStringLiteral("Ely"));
            d.writeContact(bob, record);
        });
        server.refused = {QStringLiteral("Ann")};
        const QString token = SyncState::load(path).syncToken;
        const SyncSummary refused = sync(path, server);
        ASSERT_EQ(refused.refused.size(), 1) << refused.lines.join(u'\n').toStdString();
        EXPECT_TRUE(refused.refused[0].startsWith(QStringLiteral("Ann Doe: "))) << refused.refused[0].toStdString();
        EXPECT_TRUE(refused.refused[0].contains(QStringLiteral("403 Forbidden")));
        EXPECT_EQ(refused.lines.count(QStringLiteral("Left for the next sync: Ann Doe")), 1)
            << refused.lines.join(u'\n').toStdString();
        EXPECT_TRUE(serverLines(server).contains("Bob|Ely|"));
        EXPECT_NE(SyncState::load(path).syncToken, token);
        // Once the server takes it, the next sync sends it.
        server.refused.clear();
        sync(path, server);
        EXPECT_EQ(serverLines(server), fileLines(path));
        EXPECT_EQ(sync(path, server).lines, QStringList());
    }
}

// Each change is one line of the summary, in a sync and in a dry run alike,
// and the lines agree with the counts.
TEST_F(SynchronizerTest, EachChangeIsSaidOnce) {
    for (const bool dryRun : {true, false}) {
        SCOPED_TRACE(dryRun ? "dry run" : "sync");
        test::TempFolder folder;
        MemoryAddressBook server;
        const QString path = synced(folder, server, {"Ann", "Bob"});
        change(path, [](ContactsDocument& d) {
            for (const char* first : {"Cy", "Dora", "Eve"}) {
                d.appendContact(person(first, "York"));
            }
            ContactRecord ann = d.file().read(1);
            ann.setField(Field::City, QStringLiteral("Hull"));
            d.writeContact(1, ann);
            d.deleteContact(2);
        });
        const SyncSummary summary = sync(path, server, dryRun);
        QStringList expected = {"Server: add Cy Doe", "Server: add Dora Doe", "Server: add Eve Doe",
                                "Server: change Ann Doe", "Server: delete Bob Doe"};
        QStringList lines = summary.lines;
        lines.sort();
        expected.sort();
        EXPECT_EQ(lines, expected);
        EXPECT_EQ(summary.addedOnServer, 3);
        EXPECT_EQ(summary.changedOnServer, 1);
        EXPECT_EQ(summary.deletedOnServer, 1);
    }
}

// After a sync whose DELETE the server took, the saved state holds no
// pending deletion, with a server that gives a sync token and one that
// does not (no listing after the writes then finds the card gone).
TEST_F(SynchronizerTest, ADeletionTheServerTookIsNoLongerPending) {
    struct NoTokenServer : MemoryAddressBook {
        ServerChanges changesSince(const QString&) override {
            ServerChanges all = MemoryAddressBook::changesSince(QString());
            all.newSyncToken.clear();
            return all;
        }
    };
    MemoryAddressBook withToken;
    NoTokenServer withoutToken;
    for (MemoryAddressBook* server : {&withToken, static_cast<MemoryAddressBook*>(&withoutToken)}) {
        SCOPED_TRACE(server == &withToken ? "with a token" : "without");
        test::TempFolder folder;
        const QString path = synced(folder, *server, {"Ann", "Bob"});
        change(path, [](ContactsDocument& d) { d.deleteContact(1); });
        ASSERT_EQ(SyncState::load(path).deletions().size(), 1u);
        EXPECT_EQ(sync(path, *server).deletedOnServer, 1);
        EXPECT_TRUE(SyncState::load(path).deletions().empty());
        EXPECT_EQ(serverLines(*server), fileLines(path));
    }
}

// The token stored covers the sync's own writes: a card added here and
// deleted on the server before the next sync is deleted here, also with a
// server that lists no removal of a card made after the token. A change
// someone makes while the sync writes is taken in; a last listing that
// fails leaves the next sync to compare the full listing.
TEST_F(SynchronizerTest, TheTokenStoredCoversTheSyncsOwnWrites) {
    enum class Meanwhile { Nothing, PhoneEdits, LastListingFails, CancelledAfterTheWrites };
    for (const Meanwhile meanwhile : {Meanwhile::Nothing, Meanwhile::PhoneEdits, Meanwhile::LastListingFails,
                                      Meanwhile::CancelledAfterTheWrites}) {
        SCOPED_TRACE(int(meanwhile));
        test::TempFolder folder;
        MeddlingServer server;
        server.forgetsNewRemovals = true;
        server.store(QStringLiteral("/ann/contacts/carl.vcf"), kCarl);
        const QString path = folder.write(QStringLiteral("Family.DAT"), {});
        change(path, [&](ContactsDocument& d) {
            for (const char* first : {"Ann", "Bob", "Cy"}) {
                d.appendContact(person(first, "Leeds"));
            }
        });
        sync(path, server);  // links the file; Carl taken in
        change(path, [](ContactsDocument& d) { d.appendContact(person("Dora", "Ely")); });
        if (meanwhile == Meanwhile::PhoneEdits) {
            server.afterPut = [&server] {
                const QString carl = QStringLiteral("/ann/contacts/carl.vcf");
                server.store(carl, QByteArray(server.cards[carl].vcard).replace("Derby", "Hull"));
            };
        } else if (meanwhile == Meanwhile::CancelledAfterTheWrites) {
            server.afterPut = [&server] { server.cancel(); };
        }
        server.requests = 0;
        // (A listing, Dora's PUT, then the listing after the writes.)
        server.failAt = meanwhile == Meanwhile::LastListingFails ? 3 : 0;
        if (meanwhile == Meanwhile::CancelledAfterTheWrites) {
            // Cancel is told as Cancel, not as a sync done.
            EXPECT_EQ(failureOf([&] { sync(path, server); }), ServerError::Kind::Cancelled);
            server.cancelled = false;
            server.afterPut = {};
        } else {
            const SyncSummary added = sync(path, server);
            QStringList expected{"Server: add Dora Doe"};
            if (meanwhile == Meanwhile::PhoneEdits) {
                expected << "Here: change Carl Stone (City)";
            } else if (meanwhile == Meanwhile::LastListingFails) {
                expected << "The last listing failed (connection lost): the next sync compares the whole "
                            "address book.";
            }
            EXPECT_EQ(added.lines, expected);
        }
        server.failAt = 0;
        EXPECT_EQ(SyncState::load(path).syncToken.isEmpty(), meanwhile == Meanwhile::LastListingFails ||
                                                                 meanwhile == Meanwhile::CancelledAfterTheWrites);
        server.erase(hrefOf(server, "Dora"));
        server.erase(hrefOf(server, "Bob"));
        const SyncSummary next = sync(path, server);
        EXPECT_EQ(next.deletedHere, 2) << next.lines.join(u'\n').toStdString();
        EXPECT_EQ(fileLines(path), serverLines(server));
        EXPECT_EQ(fileLines(path).contains("Carl|Hull|carl@example.com"), meanwhile == Meanwhile::PhoneEdits);
        EXPECT_EQ(sync(path, server).lines, QStringList());
    }
}

// Hrefs the server lists outside the linked address book are named in the
// summary with the server, in a dry run too, and never fetched, stored,
// written or deleted.
TEST_F(SynchronizerTest, HrefsOutsideTheBookAreNamedAndLeftAlone) {
    const QStringList outside = {"/other/collection/x.vcf", "/etc/passwd"};
    for (const bool dryRun : {true, false}) {
        SCOPED_TRACE(dryRun ? "dry run" : "sync");
        test::TempFolder folder;
        MemoryAddressBook server;
        const QString path = synced(folder, server, {"Ann"});
        server.outside = outside;
        server.touched.clear();
        change(path, [](ContactsDocument& d) { d.deleteContact(1); });
        const SyncSummary summary = sync(path, server, dryRun);
        EXPECT_EQ(summary.outsideBook, outside);
        EXPECT_EQ(summary.server, QStringLiteral("https://dav.example"));
        for (const QString& href : outside) {
            EXPECT_EQ(summary.lines.count(
                          QStringLiteral("Refused: %1, listed by https://dav.example outside the address book").arg(href)),
                      1)
                << summary.lines.join(u'\n').toStdString();
            EXPECT_FALSE(server.touched.contains(href));
            EXPECT_EQ(SyncState::load(path).linkOfHref(href), nullptr);
        }
        EXPECT_EQ(summary.deletedOnServer, 1);
        EXPECT_EQ(SyncSession::refusedText(summary).toStdString(),
                  "\nListed by https://dav.example outside the address book, refused:\n"
                  "/other/collection/x.vcf\n/etc/passwd");
    }
}

// A file that is not linked is the file's matter, not the server's.
TEST_F(SynchronizerTest, AFileNotLinkedIsALocalError) {
    test::TempFolder folder;
    MemoryAddressBook server;
    const QString path = folder.write(QStringLiteral("Family.DAT"), {});
    ContactsDocument document(program.path());
    document.openPath(path, true);
    SyncStateKeeper keeper(document);
    Synchronizer synchronizer(document, keeper, server);
    EXPECT_THROW(synchronizer.run(), AppError);
    EXPECT_EQ(server.requests, 0);
}

}  // namespace
}  // namespace tandor::sync
