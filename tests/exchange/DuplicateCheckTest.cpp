// The duplicate test of an import: its cases, the mended empty values, and
// the indexed test against the plain comparison with every record.
#include <gtest/gtest.h>

#include <random>

#include "ExchangeTestSupport.h"
#include "exchange/DuplicateCheck.h"

namespace tandor {
namespace {

using test::contact;

DuplicateCheck onFile(const QList<ContactFields>& contacts) {
    DuplicateCheck test;
    for (const ContactFields& c : contacts) {
        test.add(ContactRecord::build(c));
    }
    test.finish();
    return test;
}

// The rule compared with every record in turn.
bool plainDuplicate(const QList<ContactFields>& contacts, const ContactFields& v) {
    const QString email = DuplicateCheck::asOnFile(v[Field::Email]);
    const QString first = DuplicateCheck::asOnFile(v[Field::FName]);
    const QString last = DuplicateCheck::asOnFile(v[Field::LName]);
    for (const ContactFields& c : contacts) {
        const ContactRecord r = ContactRecord::build(c);
        if (!email.isEmpty() && r.field(Field::Email) == email) {
            return true;
        }
        const auto contained = [](const QString& onFile, const QString& value) {
            return value.isEmpty() ? onFile.isEmpty() : onFile.contains(value);
        };
        if (contained(r.field(Field::FName), first) && contained(r.field(Field::LName), last)) {
            return true;
        }
    }
    return false;
}

TEST(DuplicateCheck, NamesMatchByContainmentAndEmailsExactly) {
    const DuplicateCheck test = onFile({contact({{"FName", "Annabel"}, {"LName", "Smithers"}}),
                                       contact({{"FName", "Bob"}, {"Email", "bob@x.com"}})});
    EXPECT_TRUE(test.isDuplicate(contact({{"FName", "Ann"}, {"LName", "Smith"}})));
    EXPECT_TRUE(test.isDuplicate(contact({{"FName", " Ann "}, {"LName", "mith"}})));
    EXPECT_FALSE(test.isDuplicate(contact({{"FName", "ann"}, {"LName", "Smith"}})));
    EXPECT_FALSE(test.isDuplicate(contact({{"FName", "Annabelle"}, {"LName", "Smith"}})));
    EXPECT_TRUE(
        test.isDuplicate(contact({{"FName", "Zed"}, {"LName", "Q"}, {"Email", " bob@x.com"}})));
    EXPECT_FALSE(
        test.isDuplicate(contact({{"FName", "Zed"}, {"LName", "Q"}, {"Email", "Bob@x.com"}})));
}

TEST(DuplicateCheck, NothingOnFileMeansNoDuplicate) {
    const DuplicateCheck none = onFile({});
    EXPECT_FALSE(none.isDuplicate(ContactFields{}));
    EXPECT_FALSE(none.isDuplicate(contact({{"FName", "Ann"}, {"Email", "a@x.com"}})));
    // One record of no name: a contact of no name matches it.
    const DuplicateCheck blank = onFile({contact({{"City", "Salem"}})});
    EXPECT_TRUE(blank.isDuplicate(ContactFields{}));
}

TEST(DuplicateCheck, EmptyValuesMatchOnlyEmptyFields) {
    const DuplicateCheck test = onFile({contact({{"FName", "Ann"}, {"LName", "Smithers"}}),
                                       contact({{"FName", "Bob"}, {"LName", "Ray"}})});
    // No e-mail on file or imported: an empty address matches nothing.
    EXPECT_FALSE(test.isDuplicate(contact({{"FName", "Cy"}, {"LName", "Day"}})));
    // "Smith" with no first name is not a duplicate of Ann Smithers...
    EXPECT_FALSE(test.isDuplicate(contact({{"LName", "Smith"}})));
    // ...but of a contact on file with no first name.
    const DuplicateCheck withEmptyFirst = onFile({contact({{"LName", "Smithers"}})});
    EXPECT_TRUE(withEmptyFirst.isDuplicate(contact({{"LName", "Smith"}})));
    EXPECT_FALSE(withEmptyFirst.isDuplicate(contact({{"FName", "Ann"}, {"LName", "Smith"}})));
    // Nothing is contained in an empty field.
    const DuplicateCheck withEmptyLast = onFile({contact({{"FName", "Ann"}})});
    EXPECT_TRUE(withEmptyLast.isDuplicate(contact({{"FName", "Ann"}})));
    EXPECT_FALSE(withEmptyLast.isDuplicate(contact({{"FName", "Ann"}, {"LName", "Lee"}})));
}

TEST(DuplicateCheck, ComparesValuesAsTheRecordHoldsThem) {
    // A character the record cannot hold is stored as "?"; the same name
    // imported again still matches.
    const DuplicateCheck test = onFile({contact({{"FName", "\xC5\x81ukasz"}, {"LName", "Nowak"}})});
    EXPECT_TRUE(test.isDuplicate(contact({{"FName", "\xC5\x81ukasz"}, {"LName", "Nowak"}})));
}

TEST(DuplicateCheck, TheIndexGivesTheSameAnswersAsComparingEveryRecord) {
    std::mt19937 random(7);
    const QStringList names = {"",      "Ann",   "Annabel",  "An",   "Lee",
                               "Leeds", "Smith", "Smithers", "mith", "Bob",
                               "Ray",   "O'Ray", "Jo",       "José", "e"};
    const QStringList mails = {"", "a@x.com", "b@x.com", "c@x.com"};
    auto pick = [&](const QStringList& from) { return from[random() % from.size()]; };
    for (int round = 0; round < 20; ++round) {
        QList<ContactFields> contacts;
        const int count = static_cast<int>(random() % 30);
        for (int i = 0; i < count; ++i) {
            ContactFields c;
            c[Field::FName] = pick(names);
            c[Field::LName] = pick(names);
            c[Field::Email] = pick(mails);
            contacts.append(c);
        }
        const DuplicateCheck test = onFile(contacts);
        for (int q = 0; q < 200; ++q) {
            ContactFields v;
            v[Field::FName] = pick(names);
            v[Field::LName] = pick(names);
            v[Field::Email] = pick(mails);
            ASSERT_EQ(test.isDuplicate(v), plainDuplicate(contacts, v))
                << v[Field::FName].toStdString() << " " << v[Field::LName].toStdString() << " "
                << v[Field::Email].toStdString();
        }
    }
}

TEST(DuplicateCheck, InARunOnlyContactsOnFileAtTheStartAreCompared) {
    test::ImportTarget target(test::contactBytes({{"FName", "Annabel"}, {"LName", "Smithers"}}));
    const QByteArray csv = test::csvLines({"First Name,Last Name,Email,Phone",
                                           "Ann,Smith,ann@x.com,",  // Annabel Smithers
                                           "Cy,Day,same@x.com,",
                                           "Di,Eve,same@x.com,",  // same address in the file
                                           "Ed,Fay,ed@x.com,"});
    const ImportOutcome first = target.import(csv);
    EXPECT_EQ(first.written, 3);
    EXPECT_EQ(target.contacts().size(), 4);

    // The same file again writes nothing.
    const ImportOutcome second = target.import(csv);
    EXPECT_EQ(second.result, ImportResult::Done);
    EXPECT_EQ(second.written, 0);
    EXPECT_EQ(target.contacts().size(), 4);
}

TEST(DuplicateCheck, ContactsWithoutAnAddressAreImportedBesideOthersWithout) {
    test::ImportTarget target(test::contactBytes({{"FName", "Bob"}, {"LName", "Ray"}}));
    const ImportOutcome outcome =
        target.import(test::csvLines({test::yahooHeader(), "Ann,,Lee", "Cy,,Day", ",,Smith"}));
    EXPECT_EQ(outcome.written, 3);
    // And a second run finds each of them by name.
    EXPECT_EQ(target.import(test::csvLines({test::yahooHeader(), "Ann,,Lee", ",,Smith"})).written,
              0);
}

}  // namespace
}  // namespace tandor
