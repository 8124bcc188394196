// A contact deleted on one side and edited on the other: kept with the edit,
// told in the summary and in the state's conflicts (saved in a form older
// programs pass over), and settled by the side the user chooses.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "MemoryAddressBook.h"
#include "store/ContactsDocument.h"
#include "support/SyncContacts.h"
#include "support/TestFiles.h"
#include "sync/CardMerge.h"
#include "sync/ConflictChoice.h"
#include "sync/SyncState.h"
#include "sync/Synchronizer.h"

namespace tandor::sync {
namespace {

const QString kBook = QStringLiteral("https://dav.example/ann/contacts/");
const std::vector<Field> kShown{Field::FName, Field::City};

class ConflictChoiceTest : public ::testing::Test {
protected:
    test::TempFolder program;

    template <typename Work>
    auto withKeeper(const QString& path, Work work) {
        ContactsDocument document(program.path());
        document.openPath(path, true);
        SyncStateKeeper keeper(document);
        if (!keeper.state()) {
            keeper.link(kBook, QStringLiteral("ann"));
        }
        return work(document, keeper);
    }
    SyncSummary sync(const QString& path, MemoryAddressBook& server) {
        return withKeeper(path, [&](ContactsDocument& document, SyncStateKeeper& keeper) {
            return Synchronizer(document, keeper, server).run();
        });
    }
    static QStringList serverLines(const MemoryAddressBook& server) {
        std::vector<QByteArray> cards;
        for (const auto& card : server.cards) {
            cards.push_back(card.vcard);
        }
        return test::cardLines(cards, kShown);
    }
};

TEST_F(ConflictChoiceTest, AContactKeptWithAnEditIsToldAndSettledByTheSideChosen) {
    struct Case {
        SyncConflict::Kind kind;
        ConflictSide side;
        QStringList after;  // both sides, once the next sync ran
    };
    const QStringList kept = {"Ann|Hull", "Bob|York"};
    const QStringList deleted = {"Bob|York"};
    const Case cases[] = {
        {SyncConflict::Kind::KeptLocalEdit, ConflictSide::ThisComputer, kept},
        {SyncConflict::Kind::KeptLocalEdit, ConflictSide::Server, deleted},
        {SyncConflict::Kind::KeptServerEdit, ConflictSide::ThisComputer, deleted},
        {SyncConflict::Kind::KeptServerEdit, ConflictSide::Server, kept},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            QStringLiteral("%1, side %2").arg(keptText(c.kind)).arg(int(c.side)).toStdString());
        test::TempFolder folder;
        MemoryAddressBook server;
        const QString path = folder.write(QStringLiteral("Family.DAT"), {});
        withKeeper(path, [](ContactsDocument& d, SyncStateKeeper&) {
            d.appendContact(test::person("Ann", "Doe", "Leeds"));
            d.appendContact(test::person("Bob", "Doe", "York"));
        });
        sync(path, server);
        QString ann;
        for (auto it = server.cards.begin(); it != server.cards.end(); ++it) {
            ann = it->vcard.contains("Ann") ? it.key() : ann;
        }
        ASSERT_FALSE(ann.isEmpty());
        if (c.kind == SyncConflict::Kind::KeptLocalEdit) {
            server.erase(ann);
            withKeeper(path, [](ContactsDocument& d, SyncStateKeeper&) {
                ContactRecord record = d.file().read(1);
                record.setField(Field::City, QStringLiteral("Hull"));
                d.writeContact(1, record);
            });
        } else {
            server.store(ann, QByteArray(server.cards[ann].vcard).replace("Leeds", "Hull"));
            withKeeper(path, [](ContactsDocument& d, SyncStateKeeper&) { d.deleteContact(1); });
        }
        const SyncSummary summary = sync(path, server);
        EXPECT_EQ(summary.conflicts, 1);
        EXPECT_TRUE(
            summary.lines.contains(QStringLiteral("Conflict: Ann Doe, ") + keptText(c.kind)))
            << summary.lines.join(u'\n').toStdString();
        EXPECT_EQ(test::fileLines(path, kShown), kept);
        EXPECT_EQ(serverLines(server), kept);
        const std::vector<SyncConflict> conflicts = SyncState::load(path).conflicts;
        ASSERT_EQ(conflicts.size(), 1u);
        EXPECT_EQ(conflicts[0].kind, c.kind);
        EXPECT_EQ(conflicts[0].contact, QStringLiteral("Ann Doe"));

        withKeeper(path, [&](ContactsDocument& d, SyncStateKeeper& keeper) {
            chooseConflict(d, keeper, 0, c.side);
            return 0;
        });
        EXPECT_TRUE(SyncState::load(path).conflicts.empty());
        sync(path, server);
        EXPECT_EQ(test::fileLines(path, kShown), c.after);
        EXPECT_EQ(serverLines(server), c.after);
        EXPECT_EQ(sync(path, server).lines, QStringList());
    }
}

// A field conflict is saved as before; a kept contact names no field (an
// older program passes it over) and says which side's edit kept it. Both
// load back as they were.
TEST_F(ConflictChoiceTest, KeptContactsAreSavedBesideFieldConflicts) {
    test::TempFolder folder;
    const QString path = folder.write(QStringLiteral("Family.DAT"), {});
    SyncState state = SyncState::create(path, kBook, QStringLiteral("ann"));
    state.conflicts = {
        {"u1", "Ann Doe", Field::City, "Leeds", "York", SyncConflict::Kind::Field},
        {"u2", "Bob Doe", Field::FName, "", "", SyncConflict::Kind::KeptLocalEdit},
        {"u3", "Cy Doe", Field::FName, "", "", SyncConflict::Kind::KeptServerEdit},
    };
    state.saveWhole();
    const QJsonArray saved =
        QJsonDocument::fromJson(test::readAll(SyncState::folderOf(path) + "/state"))
            .object()
            .value(QStringLiteral("conflicts"))
            .toArray();
    ASSERT_EQ(saved.size(), 3);
    const QStringList expected = {
        R"({"contact":"Ann Doe","field":"City","local":"Leeds","server":"York","uid":"u1"})",
        R"({"contact":"Bob Doe","field":"","kept":"here","local":"","server":"","uid":"u2"})",
        R"({"contact":"Cy Doe","field":"","kept":"server","local":"","server":"","uid":"u3"})",
    };
    for (int i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(
            QString::fromUtf8(QJsonDocument(saved[i].toObject()).toJson(QJsonDocument::Compact)),
            expected[i]);
    }
    EXPECT_EQ(SyncState::load(path).conflicts, state.conflicts);
}

}  // namespace
}  // namespace tandor::sync
