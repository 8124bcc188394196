// The merge of a record with its card: one table of base card, local record
// and server card against the card written, the record kept and the conflicts.
#include <gtest/gtest.h>

#include <QList>
#include <functional>

#include "sync/CardMerge.h"

namespace tandor::sync {
namespace {

const QByteArray kPhoto =
    "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD/2wBDAAMCAgMCAgMDAwMEAwMDBAU\r\n"
    " EBAQEBAQFBwUFBQUFBQcGBgYGBgYHCAgICAgICAkJCQkJCQsLCwsLCwsLCwsLCwv/2w==\r\n";
const QByteArray kLongNote =
    "NOTE:Met at the trade fair in Osaka\\, 2019. Prefers letters to e-mail. Ask\r\n"
    "  about the garden\\, the new grandchild and the restoration of the old house\r\n"
    "  by the river before anything else. Keep the Christmas card list current.\r\n";

// A card with a photo, a fourth (fax) number, a long note, a name Windows-1252
// cannot hold, a company longer than its field and a property of its own.
QByteArray baseCard(const QByteArray& city = "Springfield", const QByteArray& note = kLongNote) {
    return "BEGIN:VCARD\r\n"
           "VERSION:3.0\r\n"
           "N:\xE5\xB1\xB1\xE7\x94\xB0;\xE5\xA4\xAA\xE9\x83\x8E;;;\r\n"
           "FN:\xE5\xA4\xAA\xE9\x83\x8E \xE5\xB1\xB1\xE7\x94\xB0\r\n"
           "ORG:Acme Trading Company International Holdings;Sales\r\n"
           "ADR;TYPE=HOME:;;12 Oak Lane;" + city + ";IL;62704;USA\r\n"
           "TEL;TYPE=HOME:555-0101\r\n"
           "TEL;TYPE=CELL:555-0102\r\n"
           "TEL;TYPE=WORK:555-0103\r\n"
           "TEL;TYPE=FAX:555-0199\r\n"
           "EMAIL;TYPE=INTERNET:taro@example.com\r\n" +
           note + kPhoto +
           "X-GARDEN-SIZE:large\r\n"
           "UID:card-1\r\n"
           "END:VCARD\r\n";
}

QByteArray replaced(QByteArray card, const QByteArray& from, const QByteArray& to) {
    return card.replace(from, to);
}

// The record a card gives, changed by `edit`.
ContactRecord recordOf(const QByteArray& card,
                       const std::function<void(ContactRecord&)>& edit = {}) {
    ContactRecord record = recordForCard(card, true);
    if (edit) {
        edit(record);
    }
    return record;
}

struct MergeCase {
    const char* name;
    QByteArray base;
    ContactRecord local;
    bool localEdited;
    std::optional<QByteArray> server;
    // The card written: these lines in it, those not, or exactly the server's.
    QList<QByteArray> cardHas;
    QList<QByteArray> cardLacks;
    bool cardChanged;
    // Fields of the record kept.
    QList<std::pair<Field, QString>> record;
    std::vector<FieldConflict> conflicts;
    // Fields whose value the record keeps though no card carries it.
    QList<Field> notCarried = {};
};

TEST(CardMergeTest, MergesPerFieldAndKeepsWhatTheRecordCannotHold) {
    const QByteArray base = baseCard();
    const auto edit = [&](Field f, const QString& value) {
        return recordOf(base, [=](ContactRecord& r) { r.setField(f, value); });
    };
    const QByteArray serverYork = baseCard("York");
    const QByteArray threeNotes = baseCard("Springfield", "NOTE:one\r\nNOTE:two\r\nNOTE:three\r\n");
    const QByteArray appleBirthday =
        replaced(base, "UID:", "BDAY;X-APPLE-OMIT-YEAR=1604:1604-04-12\r\nUID:");
    const QByteArray yearless4 =
        "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Doe;Ann;;;\r\nFN:Ann Doe\r\nBDAY:--0412\r\n"
        "ADR;TYPE=home:;;1 Elm St;York;;;\r\nUID:u\r\nEND:VCARD\r\n";
    const QByteArray serverLongerNote =
        replaced(base, "current.\r\n", "current and the birthday list too.\r\n");
    const QList<MergeCase> cases = {
        {"a local e-mail edit changes only EMAIL", base, edit(Field::Email, "t@new.example"), true,
         std::nullopt,
         {"EMAIL;TYPE=INTERNET:t@new.example\r\n", kPhoto, kLongNote,
          "N:\xE5\xB1\xB1\xE7\x94\xB0;\xE5\xA4\xAA\xE9\x83\x8E;;;\r\n",
          "ORG:Acme Trading Company International Holdings;Sales\r\n", "TEL;TYPE=FAX:555-0199\r\n",
          "X-GARDEN-SIZE:large\r\n", "UID:card-1\r\n"},
         {"taro@example.com"},
         true,
         {{Field::Email, "t@new.example"}, {Field::FName, "??"}},
         {}},
        {"a company cut to its field, edited, keeps the department", base,
         edit(Field::Company, "Acme Ltd"), true, std::nullopt,
         {"ORG:Acme Ltd;Sales\r\n", kLongNote},
         {"Holdings"},
         true,
         {{Field::Company, "Acme Ltd"}},
         {}},
        {"a first name edited on a card of kanji keeps the family name", base,
         edit(Field::FName, "Hanako"), true, std::nullopt,
         {"N:\xE5\xB1\xB1\xE7\x94\xB0;Hanako;;;\r\n", "FN:Hanako \xE5\xB1\xB1\xE7\x94\xB0\r\n"},
         {"\xE5\xA4\xAA\xE9\x83\x8E"},
         true,
         {{Field::FName, "Hanako"}, {Field::LName, "??"}},
         {}},
        {"a home number cleared goes, the other numbers stay", base, edit(Field::HPhone, ""), true,
         std::nullopt,
         {"TEL;TYPE=CELL:555-0102\r\n", "TEL;TYPE=WORK:555-0103\r\n", "TEL;TYPE=FAX:555-0199\r\n"},
         {"555-0101"},
         true,
         {{Field::HPhone, ""}},
         {}},
        {"a record saved unchanged (not edited) writes nothing", base, recordOf(base), true,
         std::nullopt, {}, {}, false, {{Field::Notes, recordOf(base).field(Field::Notes)}}, {}},
        {"a note changed past the field's end on the server changes no record", base,
         recordOf(base), false, serverLongerNote,
         {"current and the birthday list too.\r\n"}, {}, false,
         {{Field::Notes, recordOf(base).field(Field::Notes)}},
         {}},
        {"the server's city and the local e-mail both go into the card", base,
         edit(Field::Email, "t@new.example"), true, serverYork,
         {"ADR;TYPE=HOME:;;12 Oak Lane;York;IL;62704;USA\r\n", "EMAIL;TYPE=INTERNET:t@new.example\r\n",
          kPhoto},
         {},
         true,
         {{Field::City, "York"}, {Field::Email, "t@new.example"}},
         {}},
        {"both sides changed the city: the server wins, the local value is a conflict", base,
         edit(Field::City, "Leeds"), true, serverYork,
         {"ADR;TYPE=HOME:;;12 Oak Lane;York;IL;62704;USA\r\n"},
         {"Leeds"},
         false,
         {{Field::City, "York"}},
         {{Field::City, "Leeds", "York"}}},
        {"both sides changed the city alike: no conflict", base, edit(Field::City, "York"), true,
         serverYork,
         {"York"},
         {},
         false,
         {{Field::City, "York"}},
         {}},
        {"a card without UID gets the link's when written",
         replaced(base, "UID:card-1\r\n", ""),
         recordOf(base, [](ContactRecord& r) { r.setField(Field::Zip, "62705"); }), true,
         std::nullopt,
         {"ADR;TYPE=HOME:;;12 Oak Lane;Springfield;IL;62705;USA\r\n", "UID:link-uid\r\n"},
         {},
         true,
         {{Field::Zip, "62705"}},
         {}},
        {"a vCard 4.0 number written as a tel: URI stays one",
         "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Doe;Ann;;;\r\nFN:Ann Doe\r\n"
         "TEL;VALUE=uri;TYPE=cell:tel:+1-555-0102\r\nUID:u\r\nEND:VCARD\r\n",
         recordOf("BEGIN:VCARD\r\nVERSION:4.0\r\nN:Doe;Ann;;;\r\nFN:Ann Doe\r\n"
                  "TEL;VALUE=uri;TYPE=cell:tel:+1-555-0102\r\nUID:u\r\nEND:VCARD\r\n",
                  [](ContactRecord& r) {
                      r.setField(Field::CPhone, "+1-555-0199");
                      r.setField(Field::Birthdate, "19800410");
                  }),
         true, std::nullopt,
         {"TEL;VALUE=uri;TYPE=cell:tel:+1-555-0199\r\n", "BDAY:19800410\r\n"},
         {"0102"},
         true,
         {{Field::CPhone, "+1-555-0199"}, {Field::Birthdate, "19800410"}},
         {}},
        {"a Birthdate no card carries stays when the server changes only the city", base,
         edit(Field::Birthdate, "19800230"), true, serverYork,
         {"York"},
         {"1980-02-30"},
         false,
         {{Field::City, "York"}, {Field::Birthdate, "19800230"}},
         {},
         {Field::Birthdate}},
        {"notes edited into one: the further notes go, the last one too", threeNotes,
         recordOf(threeNotes, [](ContactRecord& r) { r.setField(Field::Notes, "just one"); }), true,
         std::nullopt,
         {"NOTE:just one\r\n", kPhoto},
         {"NOTE:one", "NOTE:two", "NOTE:three"},
         true,
         {{Field::Notes, "just one"}},
         {}},
        {"a birthday without a year in Apple's form stays in it when another field changes",
         appleBirthday,
         recordOf(appleBirthday, [](ContactRecord& r) { r.setField(Field::Email, "t@new.example"); }),
         true, std::nullopt,
         {"BDAY;X-APPLE-OMIT-YEAR=1604:1604-04-12\r\n", "EMAIL;TYPE=INTERNET:t@new.example\r\n"},
         {},
         true,
         {{Field::Birthdate, "00000412"}},
         {}},
        {"a vCard 4.0 birthday without a year stays as it came under a server change", yearless4,
         recordOf(yearless4), false, replaced(yearless4, "York", "Hull"),
         {"BDAY:--0412\r\n", "Hull"},
         {},
         false,
         {{Field::Birthdate, "00000412"}, {Field::City, "Hull"}},
         {}},
        {"a name given only by FN, edited, gets an N with the other names",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Marie Smith\r\nUID:u\r\nEND:VCARD\r\n",
         recordOf("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Marie Smith\r\nUID:u\r\nEND:VCARD\r\n",
                  [](ContactRecord& r) { r.setField(Field::LName, "Jones"); }),
         true, std::nullopt,
         {"N:Jones;Ann Marie;;;\r\n", "FN:Ann Marie Jones\r\n"},
         {},
         true,
         {{Field::FName, "Ann Marie"}, {Field::LName, "Jones"}},
         {}},
    };
    for (const MergeCase& c : cases) {
        SCOPED_TRACE(c.name);
        MergeInput input;
        input.base = c.base;
        input.server = c.server;
        input.local = c.local;
        input.localEdited = c.localEdited;
        input.uid = QStringLiteral("link-uid");
        const MergeResult result = mergeCard(input);
        for (const QByteArray& line : c.cardHas) {
            EXPECT_TRUE(result.card.contains(line)) << line.toStdString() << "\nin\n"
                                                    << result.card.toStdString();
        }
        for (const QByteArray& text : c.cardLacks) {
            EXPECT_FALSE(result.card.contains(text)) << text.toStdString();
        }
        EXPECT_EQ(result.cardChanged, c.cardChanged);
        if (!c.cardChanged) {
            EXPECT_EQ(result.card, c.server.value_or(c.base));
        }
        for (const auto& [field, value] : c.record) {
            EXPECT_EQ(result.record.field(field), value) << layoutOf(field).name;
        }
        EXPECT_EQ(result.conflicts, c.conflicts);
        // The card written reads back as the record kept.
        const ContactFields back = cardRecordValues(result.card);
        for (const FieldLayout& f : recordLayout()) {
            if (isSyncedField(f.field) && !c.notCarried.contains(f.field)) {
                EXPECT_EQ(back[f.field], result.record.field(f.field)) << f.name;
            }
        }
    }
}

// A field edited here is written into the very property the import reads it
// from, on cards where that is not the first property of its name; only that
// line of the card changes.
TEST(CardMergeTest, AnEditGoesIntoThePropertyTheImportReads) {
    struct Case {
        const char* what;
        QByteArray properties;  // between FN and UID
        Field field;
        QString value;
        QByteArray changedLine;  // the line as the edit leaves it
    };
    const std::vector<Case> cases{
        {"the home address after a work address",
         "ADR;TYPE=WORK:;;1 Dock Rd;Hull;;;\r\nADR;TYPE=HOME:;;2 Elm St;York;;;\r\n", Field::City, "Ripon",
         "ADR;TYPE=HOME:;;2 Elm St;Ripon;;;\r\n"},
        {"the preferred of two addresses of no type, after an empty one",
         "ADR:;;;;;;\r\nADR:;;1 Dock Rd;Hull;;;\r\nADR;TYPE=PREF:;;2 Elm St;York;;;\r\n", Field::City, "Ripon",
         "ADR;TYPE=PREF:;;2 Elm St;Ripon;;;\r\n"},
        {"a home number after one of no type and a home fax",
         "TEL:111\r\nTEL;TYPE=HOME,FAX:222\r\nTEL;TYPE=HOME:333\r\n", Field::HPhone, "999",
         "TEL;TYPE=HOME:999\r\n"},
        {"a voice number when the home number is empty",
         "TEL;TYPE=HOME:\r\nTEL;TYPE=VOICE:111\r\n", Field::HPhone, "999", "TEL;TYPE=VOICE:999\r\n"},
        {"the work number named first, not the home one it also is",
         "TEL;TYPE=HOME,WORK:111\r\nTEL;TYPE=WORK:222\r\n", Field::WPhone, "999", "TEL;TYPE=WORK:999\r\n"},
        {"the preferred cell number",
         "TEL;TYPE=CELL:111\r\nTEL;TYPE=CELL;PREF=1:222\r\n", Field::CPhone, "999",
         "TEL;TYPE=CELL;PREF=1:999\r\n"},
        {"the note after an empty one", "NOTE:\r\nNOTE:old\r\n", Field::Notes, "new",
         "NOTE:new\r\n"},
        {"a birthday without a year in Apple's form", "BDAY;X-APPLE-OMIT-YEAR=1604:1604-04-12\r\n",
         Field::Birthdate, "00000513", "BDAY;X-APPLE-OMIT-YEAR=1604:1604-05-13\r\n"},
        {"a year given to a birthday in Apple's form", "BDAY;X-APPLE-OMIT-YEAR=1604:1604-04-12\r\n",
         Field::Birthdate, "19800513", "BDAY:1980-05-13\r\n"},
        {"a birthday without a year written as its line wrote it", "BDAY:--0412\r\n",
         Field::Birthdate, "00000513", "BDAY:--0513\r\n"},
        {"a birthday given no year in a line that wrote one", "BDAY;VALUE=date:1980-04-12\r\n",
         Field::Birthdate, "00000513", "BDAY;VALUE=date:--05-13\r\n"},
        {"the preferred e-mail",
         "EMAIL:a@example.com\r\nEMAIL;TYPE=INTERNET,PREF:b@example.com\r\n", Field::Email, "c@example.com",
         "EMAIL;TYPE=INTERNET,PREF:c@example.com\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray card =
            "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;Ann;;;\r\nFN:Ann Doe\r\n" + c.properties + "UID:u\r\nEND:VCARD\r\n";
        ContactRecord record = recordForCard(card, true);
        record.setField(c.field, c.value);
        const QByteArray written = withRecordValues(card, record, {c.field}, QStringLiteral("u"));
        EXPECT_EQ(cardRecordValues(written)[c.field], c.value) << written.toStdString();
        const QList<QByteArray> before = card.split('\n');
        const QList<QByteArray> after = written.split('\n');
        ASSERT_EQ(after.size(), before.size()) << written.toStdString();
        for (qsizetype i = 0; i < before.size(); ++i) {
            if (before[i] != after[i]) {
                EXPECT_EQ(after[i] + '\n', c.changedLine) << written.toStdString();
            }
        }
        EXPECT_TRUE(written.contains(c.changedLine)) << written.toStdString();
    }
}

}  // namespace
}  // namespace tandor::sync
