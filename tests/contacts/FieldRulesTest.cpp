#include <gtest/gtest.h>

#include <functional>

#include "contacts/ContactEntry.h"

using namespace tandor;

namespace {

// A contact that passes every rule in both windows.
ContactEntry validEntry() {
    ContactEntry e;
    e.fName = "Ann";
    e.middleInit = "q";
    e.lName = "Lee";
    e.fStreet = "12 Oak Lane";
    e.sStreet = "Apt 5";
    e.city = "Boston";
    e.state = "ma";
    e.zip = "02101";
    e.country = "usa";
    e.company = "Acme";
    e.birthdate = "04/10/1980";
    e.hPhone = "(212) 555-1234";
    e.cPhone = "212 555 9876";
    e.wPhone = "+1 212 5550000";
    e.email = "ann@example.com";
    e.category = "Golf;Christmas";
    e.notes = "Met at the club";
    e.includeCompany = true;
    return e;
}

// The record as laid out by hand: offsets of the field table, "|" after each
// field, CR LF at the end.
QByteArray handRecord(const std::vector<std::pair<int, QByteArray>>& values) {
    QByteArray bytes(513, ' ');
    for (int at :
         {11, 13, 30, 61, 77, 94, 97, 108, 128, 144, 160, 174, 225, 234, 315, 476, 507, 509}) {
        bytes[at] = '|';
    }
    bytes[511] = '\r';
    bytes[512] = '\n';
    for (const auto& [offset, value] : values) {
        bytes.replace(offset, value.size(), value);
    }
    return bytes;
}

struct RefusalCase {
    const char* name;
    std::function<void(ContactEntry&)> change;
    const char* text;
    EntryBox focus;
};

void expectRefusal(const RefusalCase& c, EntryWindow window, const QString& text) {
    ContactEntry e = validEntry();
    c.change(e);
    const std::optional<FieldRefusal> r = runSavePass(e, window);
    ASSERT_TRUE(r.has_value()) << c.name;
    EXPECT_EQ(r->text, text) << c.name;
    EXPECT_EQ(r->title, QStringLiteral("Incorrect entry")) << c.name;
    EXPECT_EQ(r->focus, c.focus) << c.name;
}

}  // namespace

TEST(FieldRules, EveryLimitRefusesWithItsMessageAndFocusInBothWindows) {
    const std::vector<RefusalCase> cases = {
        {"first name", [](ContactEntry& e) { e.fName = QString(12, 'a'); },
         "First name must be 11 characters or less.", EntryBox::FName},
        {"initial", [](ContactEntry& e) { e.middleInit = "QR"; },
         "Enter only 1 character for middle initial.", EntryBox::MiddleInit},
        {"last name long", [](ContactEntry& e) { e.lName = QString(17, 'a'); },
         "Enter last name, 16 characters or less.", EntryBox::LName},
        {"last name empty", [](ContactEntry& e) { e.lName.clear(); },
         "Enter last name, 16 characters or less.", EntryBox::LName},
        {"street", [](ContactEntry& e) { e.fStreet = QString(31, 'a'); },
         "Street address must be 30 characters or less.", EntryBox::FStreet},
        {"street 2", [](ContactEntry& e) { e.sStreet = QString(16, 'a'); },
         "Street address2 must be 15 characters or less.", EntryBox::SStreet},
        {"city", [](ContactEntry& e) { e.city = QString(17, 'a'); },
         "City must be 16 characters or less.", EntryBox::City},
        {"state", [](ContactEntry& e) { e.state = "abc"; },
         "State must be 2 character abbreviation.", EntryBox::State},
        {"zip", [](ContactEntry& e) { e.zip = QString(11, '1'); },
         "Zip Code must be 10 characters or less.", EntryBox::Zip},
        {"company", [](ContactEntry& e) { e.company = QString(31, 'a'); },
         "Company Name must be 30 characters or less.", EntryBox::Company},
        {"home phone", [](ContactEntry& e) { e.hPhone = QString(16, '1'); },
         "Home Phone must be 15 characters or less.", EntryBox::HPhone},
        {"cell phone", [](ContactEntry& e) { e.cPhone = QString(16, '1'); },
         "Cell Phone must be 15 characters or less.", EntryBox::CPhone},
        {"work phone", [](ContactEntry& e) { e.wPhone = QString(14, '1'); },
         "Work Phone must be 13 characters or less.", EntryBox::WPhone},
        {"email long", [](ContactEntry& e) { e.email = QString(47, 'a') + "@b.c"; },
         "Email address must be 50 characters or less.", EntryBox::Email},
        {"email comma", [](ContactEntry& e) { e.email = "a,b@c.d"; },
         "Email address cannot contain a comma.", EntryBox::Email},
        {"email space", [](ContactEntry& e) { e.email = "a b@c.d"; },
         "Email address cannot contain a space.", EntryBox::Email},
        {"email at", [](ContactEntry& e) { e.email = "ab.c"; },
         "Email address must contain the '@' character.", EntryBox::Email},
        {"email dot", [](ContactEntry& e) { e.email = "a@b"; },
         "Email address must contain the '.' character.", EntryBox::Email},
        {"category", [](ContactEntry& e) { e.category = QString(81, 'a'); },
         "Category must be 80 characters or less.", EntryBox::Category},
        {"notes", [](ContactEntry& e) { e.notes = QString(161, 'a'); },
         "Notes must be 160 characters or less.", EntryBox::Notes},
    };
    for (const RefusalCase& c : cases) {
        expectRefusal(c, EntryWindow::NewContactForm, QString::fromLatin1(c.text));
        expectRefusal(c, EntryWindow::Browser, QString::fromLatin1(c.text));
    }

    // The country's message differs by one space between the windows.
    const RefusalCase country{"country", [](ContactEntry& e) { e.country = QString(20, 'a'); }, "",
                              EntryBox::Country};
    expectRefusal(country, EntryWindow::NewContactForm,
                  "Country must be 19 characters or less.  For example, USA.");
    expectRefusal(country, EntryWindow::Browser,
                  "Country must be 19 characters or less. For example, USA.");
}

// Every box one character over its record field, refused in the order of the
// pass; each box made as long as its field in turn passes and lets the next
// refusal speak.
TEST(FieldRules, EveryTooLongBoxIsRefusedInTheOrderOfThePass) {
    struct Limit {
        EntryBox box;
        int width;
        const char* text;
    };
    const Limit order[] = {
        {EntryBox::FName, 11, "First name must be 11 characters or less."},
        {EntryBox::MiddleInit, 1, "Enter only 1 character for middle initial."},
        {EntryBox::LName, 16, "Enter last name, 16 characters or less."},
        {EntryBox::FStreet, 30, "Street address must be 30 characters or less."},
        {EntryBox::SStreet, 15, "Street address2 must be 15 characters or less."},
        {EntryBox::City, 16, "City must be 16 characters or less."},
        {EntryBox::State, 2, "State must be 2 character abbreviation."},
        {EntryBox::Zip, 10, "Zip Code must be 10 characters or less."},
        {EntryBox::Country, 19, "Country must be 19 characters or less.%1For example, USA."},
        {EntryBox::Company, 30, "Company Name must be 30 characters or less."},
        {EntryBox::HPhone, 15, "Home Phone must be 15 characters or less."},
        {EntryBox::CPhone, 15, "Cell Phone must be 15 characters or less."},
        {EntryBox::WPhone, 13, "Work Phone must be 13 characters or less."},
        {EntryBox::Email, 50, "Email address must be 50 characters or less."},
        {EntryBox::Category, 80, "Category must be 80 characters or less."},
        {EntryBox::Notes, 160, "Notes must be 160 characters or less."},
    };
    const auto filled = [](EntryBox box, int length) {
        return box == EntryBox::Email ? QString(length - 4, 'e') + "@x.y" : QString(length, '7');
    };
    for (const EntryWindow window : {EntryWindow::NewContactForm, EntryWindow::Browser}) {
        ContactEntry e = validEntry();
        for (const Limit& l : order) {
            e.text(l.box) = filled(l.box, l.width + 1);
        }
        for (const Limit& l : order) {
            QString text = QString::fromLatin1(l.text);
            if (l.box == EntryBox::Country) {
                text = text.arg(window == EntryWindow::NewContactForm ? "  " : " ");
            }
            const std::optional<FieldRefusal> r = runSavePass(e, window);
            ASSERT_TRUE(r) << l.text;
            EXPECT_EQ(*r, (FieldRefusal{text, "Incorrect entry", l.box}));
            e.text(l.box) = filled(l.box, l.width);
        }
        EXPECT_EQ(runSavePass(e, window), std::nullopt);
    }
}

TEST(FieldRules, LimitsAreInclusiveAndTheValidContactPasses) {
    ContactEntry e = validEntry();
    e.fName = QString(11, 'a');
    e.lName = QString(16, 'b');
    e.fStreet = QString(30, 'c');
    e.sStreet = QString(15, 'd');
    e.city = QString(16, 'e');
    e.zip = QString(10, '1');
    e.country = QString(19, 'f');
    e.company = QString(30, 'g');
    e.hPhone = QString(15, '2');
    e.cPhone = QString(15, '3');
    e.wPhone = QString(13, '4');
    e.email = QString(46, 'h') + "@i.j";
    e.category = QString(80, 'k');
    e.notes = QString(160, 'l');
    EXPECT_EQ(runSavePass(e, EntryWindow::NewContactForm), std::nullopt);
    ContactEntry b = validEntry();
    EXPECT_EQ(runSavePass(b, EntryWindow::Browser), std::nullopt);
}

TEST(FieldRules, BirthDateShapeIsCheckedFirstWithItsOwnTitleAndNoFocus) {
    for (const char* bad : {"4/10/1980", "04-10-1980", "04/10/19800", " 04/10/198"}) {
        ContactEntry e = validEntry();
        e.birthdate = bad;
        e.fName = QString(20, 'x');  // also wrong, but later in the pass
        const auto r = runSavePass(e, EntryWindow::Browser);
        ASSERT_TRUE(r) << bad;
        EXPECT_EQ(*r,
                  (FieldRefusal{
                      "Date must be in format MM/DD/YYYY   Example: April 10, 1980 is 04/10/1980",
                      "Date error", EntryBox::None}));
    }
}

TEST(FieldRules, BirthDateMustBeADayOfTheCalendar) {
    const FieldRefusal notOnTheCalendar{
        "Date must be a real calendar date   Example: 02/29/1980 is one, 02/29/1981 and "
        "13/45/1990 are not",
        "Date error", EntryBox::None};
    struct Case {
        const char* box;
        bool saved;
    };
    const Case cases[] = {
        {"", true},           {"04/10/1980", true},  {"02/29/1980", true},  {"02/29/2000", true},
        {"12/31/2001", true}, {"01/01/0001", true},  {"13/45/1990", false}, {"02/30/1999", false},
        {"02/29/1981", false}, {"02/29/1900", false}, {"04/31/1980", false}, {"00/10/1980", false},
        {"04/00/1980", false}, {"99/99/9999", false}, {"ab/cd/efgh", false}, {"04/1 /1980", false},
        // The year 0000: a birthday whose year is not known, on a day of a leap year.
        {"04/10/0000", true}, {"02/29/0000", true}, {"02/30/0000", false}, {"13/10/0000", false},
    };
    for (const Case& c : cases) {
        for (EntryWindow window : {EntryWindow::NewContactForm, EntryWindow::Browser}) {
            ContactEntry e = validEntry();
            e.birthdate = c.box;
            e.fName = QString(20, 'x');  // refused later in the pass
            const auto r = runSavePass(e, window);
            ASSERT_TRUE(r) << c.box;
            EXPECT_EQ(*r == notOnTheCalendar, !c.saved) << c.box;
        }
    }
    EXPECT_TRUE(isCalendarBirthdate(" 19800229"));
    EXPECT_FALSE(isCalendarBirthdate("19901345"));
    EXPECT_FALSE(isCalendarBirthdate("        "));
    EXPECT_FALSE(isCalendarBirthdate("00000410"));
    EXPECT_TRUE(isYearlessBirthdate(" 00000229"));
    EXPECT_FALSE(isYearlessBirthdate("00001310"));
    EXPECT_FALSE(isYearlessBirthdate("19800410"));
}

TEST(FieldRules, LimitsCountTheTextAsLeftByEarlierCleaning) {
    // Initial: commas and periods go before its length is checked.
    ContactEntry e = validEntry();
    e.middleInit = "Q.,";
    EXPECT_EQ(runSavePass(e, EntryWindow::NewContactForm), std::nullopt);
    EXPECT_EQ(e.middleInit, "Q");

    // Phones: cleaned before the length test. 17 typed characters, 13 kept.
    e = validEntry();
    e.hPhone = "+1 (212) 555-1234";
    EXPECT_EQ(runSavePass(e, EntryWindow::NewContactForm), std::nullopt);
    EXPECT_EQ(e.hPhone, "1212-555-1234");

    // Other boxes: commas go after the length test.
    e = validEntry();
    e.fName = "Annabel,,,,,";  // 12 characters, 7 without commas
    EXPECT_TRUE(runSavePass(e, EntryWindow::NewContactForm));
    // The city is checked with its commas and cleaned only at the end.
    e = validEntry();
    e.city = "Boston,,,,,,,,,,,";
    ASSERT_TRUE(runSavePass(e, EntryWindow::NewContactForm));
    EXPECT_EQ(e.city, "Boston,,,,,,,,,,,");
    e.city = "Bos,ton";
    EXPECT_EQ(runSavePass(e, EntryWindow::NewContactForm), std::nullopt);
    EXPECT_EQ(e.city, "Boston");
}

TEST(FieldRules, TheWindowsDifferInLastNameStateAndCountry) {
    // An empty last name is refused in both windows; a last name of only commas
    // is refused by the form (commas go first) but passes in the browser.
    for (EntryWindow w : {EntryWindow::NewContactForm, EntryWindow::Browser}) {
        ContactEntry e = validEntry();
        e.lName.clear();
        EXPECT_TRUE(runSavePass(e, w));
    }
    ContactEntry e = validEntry();
    e.lName = ",,";
    EXPECT_TRUE(runSavePass(e, EntryWindow::NewContactForm));
    e.lName = ",,";
    EXPECT_EQ(runSavePass(e, EntryWindow::Browser), std::nullopt);
    EXPECT_EQ(e.lName, "");

    // One letter of state: refused by the form, stored in upper case by the browser.
    e = validEntry();
    e.state = "c";
    const auto r = runSavePass(e, EntryWindow::NewContactForm);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->focus, EntryBox::State);
    e.state = "c";
    ASSERT_EQ(runSavePass(e, EntryWindow::Browser), std::nullopt);
    EXPECT_EQ(buildContactRecord(e, true).field(Field::State), "C");
    e = validEntry();
    e.state = "";
    EXPECT_EQ(runSavePass(e, EntryWindow::NewContactForm), std::nullopt);

    // Country commas: replaced by spaces in the form, removed in the browser.
    e = validEntry();
    e.country = "u,s,a";
    ASSERT_EQ(runSavePass(e, EntryWindow::NewContactForm), std::nullopt);
    EXPECT_EQ(e.country, "u s a");
    e.country = "u,s,a";
    ASSERT_EQ(runSavePass(e, EntryWindow::Browser), std::nullopt);
    EXPECT_EQ(e.country, "usa");
}

TEST(FieldRules, EmailTestsRunInOrder) {
    ContactEntry e = validEntry();
    e.email = QString(51, ',');  // too long and full of commas: the length speaks first
    EXPECT_EQ(runSavePass(e, EntryWindow::Browser)->text,
              "Email address must be 50 characters or less.");
    e.email = "a, b";  // comma before space
    EXPECT_EQ(runSavePass(e, EntryWindow::Browser)->text, "Email address cannot contain a comma.");
    e.email = "a b";  // space before "@"
    EXPECT_EQ(runSavePass(e, EntryWindow::Browser)->text, "Email address cannot contain a space.");
    e.email = "ab";  // "@" before "."
    EXPECT_EQ(runSavePass(e, EntryWindow::Browser)->text,
              "Email address must contain the '@' character.");
    e.email = "";
    EXPECT_EQ(runSavePass(e, EntryWindow::Browser), std::nullopt);
}

TEST(FieldRules, CleaningDoneBeforeARefusalStaysInTheBoxes) {
    ContactEntry e = validEntry();
    e.fName = "Ann,";
    e.lName = "Lee,";
    e.fStreet = "12, Oak Lane";
    e.sStreet = "Apt, 5";
    e.city = "Bos,ton";
    e.state = "m,";
    e.zip = "021,01";
    e.company = "Acme, Inc";
    e.hPhone = "(212) 555,1234";
    e.email = "bad";  // refused here
    e.category = "a,b";
    e.notes = "c,d";
    const auto r = runSavePass(e, EntryWindow::Browser);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->focus, EntryBox::Email);
    EXPECT_EQ(e.fName, "Ann");
    EXPECT_EQ(e.lName, "Lee");
    EXPECT_EQ(e.fStreet, "12 Oak Lane");
    EXPECT_EQ(e.sStreet, "Apt 5");
    EXPECT_EQ(e.state, "m");
    EXPECT_EQ(e.zip, "02101");
    EXPECT_EQ(e.company, "Acme Inc");
    EXPECT_EQ(e.hPhone, "212-5551234");
    // Boxes after the refused one, and the city, are untouched.
    EXPECT_EQ(e.city, "Bos,ton");
    EXPECT_EQ(e.category, "a,b");
    EXPECT_EQ(e.notes, "c,d");
}

TEST(FieldRules, PhoneCleaning) {
    EXPECT_EQ(cleanPhone("(212) 555-1234"), "212-555-1234");
    EXPECT_EQ(cleanPhone("+1 (212) 555-1234"), "1212-555-1234");
    EXPECT_EQ(cleanPhone("((1)) 2"), "1--2");
    EXPECT_EQ(cleanPhone(""), "");
}

TEST(FieldRules, CommasAreRemovedFromEveryPhone) {
    for (const EntryWindow window : {EntryWindow::NewContactForm, EntryWindow::Browser}) {
        ContactEntry e = validEntry();
        e.hPhone = "212,555";
        e.cPhone = "(212) 555,1234";
        e.wPhone = "555,12,34";
        ASSERT_FALSE(runSavePass(e, window));
        EXPECT_EQ(e.hPhone, "212555");
        EXPECT_EQ(e.cPhone, "212-5551234");
        EXPECT_EQ(e.wPhone, "5551234");
    }
}

TEST(FieldRules, ASavedRecordIsByteForByteTheFieldTable) {
    ContactEntry e = validEntry();
    e.fName = "  Ann,";
    e.notes = "a,b";
    ASSERT_EQ(runSavePass(e, EntryWindow::NewContactForm), std::nullopt);
    const ContactRecord rec = buildContactRecord(e, true);
    const QByteArray expected = handRecord({
        {0, "Ann"},
        {12, "Q"},
        {14, "Lee"},
        {31, "12 Oak Lane"},
        {62, "Apt 5"},
        {78, "Boston"},
        {95, "MA"},
        {98, "02101"},
        {109, "USA"},
        {129, "212-555-1234"},
        {145, "2125559876"},
        {161, "12125550000"},
        {175, "ann@example.com"},
        {226, "19800410"},
        {235, "Golf;Christmas"},
        {316, "a b"},
        {477, "Acme"},
        {508, "1"},
        {510, "1"},
    });
    EXPECT_EQ(rec.bytes(), expected);
}

TEST(FieldRules, RecordConversions) {
    // An empty birth date and empty company: blank date, include-company cleared,
    // reminders off for the file.
    ContactEntry e;
    e.lName = "Lee";
    e.includeCompany = true;
    ASSERT_EQ(runSavePass(e, EntryWindow::NewContactForm), std::nullopt);
    const ContactRecord rec = buildContactRecord(e, false);
    EXPECT_FALSE(e.includeCompany);
    EXPECT_EQ(rec.bytes(), handRecord({{14, "Lee"}, {508, "0"}, {510, "0"}}));

    // A company made empty by its cleaning clears the box too.
    e.company = ",";
    e.includeCompany = true;
    ASSERT_EQ(runSavePass(e, EntryWindow::Browser), std::nullopt);
    EXPECT_EQ(buildContactRecord(e, true).field(Field::IncludeCompany), "0");

    EXPECT_EQ(birthdateForRecord("04/10/1980"), "19800410");
    EXPECT_EQ(birthdateForRecord("99/99/9999"), "99999999");
    EXPECT_EQ(birthdateForRecord(""), "");
}

TEST(FieldRules, SaveReturnsTheRefusalOrTheRecord) {
    ContactEntry e;  // every box empty: the last name is required
    const SaveResult r = saveContactEntry(e, EntryWindow::NewContactForm, true);
    EXPECT_FALSE(r.record);
    EXPECT_EQ(r.refusal, (FieldRefusal{"Enter last name, 16 characters or less.", "Incorrect entry",
                                       EntryBox::LName}));

    ContactEntry ok = validEntry();
    const SaveResult saved = saveContactEntry(ok, EntryWindow::Browser, true);
    ASSERT_TRUE(saved.record);
    EXPECT_FALSE(saved.refusal);
    EXPECT_EQ(saved.record->field(Field::HPhone), "212-555-1234");
}

TEST(FieldRules, ARecordShownAndSavedAgainIsUnchanged) {
    ContactEntry e = validEntry();
    ASSERT_EQ(runSavePass(e, EntryWindow::Browser), std::nullopt);
    const ContactRecord rec = buildContactRecord(e, true);
    ContactEntry shown = entryFromRecord(rec);
    EXPECT_EQ(shown.birthdate, "04/10/1980");
    EXPECT_TRUE(shown.includeCompany);
    ASSERT_EQ(runSavePass(shown, EntryWindow::Browser), std::nullopt);
    EXPECT_EQ(buildContactRecord(shown, true), rec);

    // A blank include-company byte reads as unchecked.
    ContactRecord blank = rec;
    blank.setField(Field::IncludeCompany, " ");
    EXPECT_FALSE(entryFromRecord(blank).includeCompany);
}
