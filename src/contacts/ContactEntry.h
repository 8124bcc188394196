#pragma once

#include <QString>
#include <array>
#include <optional>

#include "store/ContactRecord.h"
#include "store/FieldRules.h"

namespace tandor {

// The two windows that enter a whole contact field by field. They run the
// same save pass, except where a rule names one of them.
enum class EntryWindow {
    NewContactForm,  // frmNewContact
    Browser,         // frmEdDelViewContact
};

// The 17 text boxes of a contact entry window (txtACFName ... txtACNotes),
// one for each text field of the record and named after it; its value is the
// field's index plus one. None: the focus stays where it is.
constexpr int entryBoxValue(Field field) {
    return static_cast<int>(field) + 1;
}
enum class EntryBox {
    None = 0,
    FName = entryBoxValue(Field::FName),
    MiddleInit = entryBoxValue(Field::MiddleInit),
    LName = entryBoxValue(Field::LName),
    FStreet = entryBoxValue(Field::FStreet),
    SStreet = entryBoxValue(Field::SStreet),
    City = entryBoxValue(Field::City),
    State = entryBoxValue(Field::State),
    Zip = entryBoxValue(Field::Zip),
    Country = entryBoxValue(Field::Country),
    HPhone = entryBoxValue(Field::HPhone),
    CPhone = entryBoxValue(Field::CPhone),
    WPhone = entryBoxValue(Field::WPhone),
    Email = entryBoxValue(Field::Email),
    Birthdate = entryBoxValue(Field::Birthdate),
    Category = entryBoxValue(Field::Category),
    Notes = entryBoxValue(Field::Notes),
    Company = entryBoxValue(Field::Company),
};
inline constexpr int kEntryBoxCount = 17;  // every field but the two flags after Company

// The field a box fills (box must not be None).
constexpr Field fieldOf(EntryBox box) {
    return static_cast<Field>(static_cast<int>(box) - 1);
}

// The 17 boxes in the order of the record fields they fill.
inline constexpr std::array<EntryBox, kEntryBoxCount> kEntryBoxes = [] {
    std::array<EntryBox, kEntryBoxCount> boxes{};
    for (int i = 0; i < kEntryBoxCount; ++i) {
        boxes[i] = static_cast<EntryBox>(entryBoxValue(static_cast<Field>(i)));
    }
    return boxes;
}();
static_assert(fieldOf(kEntryBoxes.back()) == Field::Company);

// What an entry window holds: the texts of its 17 boxes and its
// include-company check box (chkIncComp / chkCompanyInclude). A window copies
// its controls into this, calls the save pass, then copies the texts back
// (they are cleaned in place) and moves the focus to the box named.
struct ContactEntry {
    QString fName;       // txtACFName
    QString middleInit;  // txtACMiddleInit
    QString lName;       // txtACLName
    QString fStreet;     // txtACFStreet
    QString sStreet;     // txtACSStreet
    QString city;        // txtACCity
    QString state;       // txtACState
    QString zip;         // txtACZip
    QString country;     // txtACCountry
    QString company;     // txtACCompany
    QString birthdate;   // txtACBirthdate, "MM/DD/YYYY" or empty
    QString hPhone;      // txtACHPhone
    QString cPhone;      // txtACCPhone
    QString wPhone;      // txtACWPhone
    QString email;       // txtACEmail
    QString category;    // txtACCategory
    QString notes;       // txtACNotes
    bool includeCompany = false;

    QString& text(EntryBox box);  // box must not be None
    const QString& text(EntryBox box) const;

    bool operator==(const ContactEntry&) const = default;
};

// The entry with every text trimmed of leading and trailing spaces, control
// characters made spaces (how the printing commands read the browser's boxes).
ContactEntry trimmedEntry(const ContactEntry& entry);

inline const QString kIncorrectEntryTitle = QStringLiteral("Incorrect entry");
inline const QString kDateErrorTitle = QStringLiteral("Date error");
inline const QString kBirthdateFormatText =
    QStringLiteral("Date must be in format MM/DD/YYYY   Example: April 10, 1980 is 04/10/1980");
inline const QString kBirthdateCalendarText = QStringLiteral(
    "Date must be a real calendar date   Example: 02/29/1980 is one, 02/29/1981 and 13/45/1990 "
    "are not");

// A save refused by the field rules: the message box (OK, no icon) and the
// box that receives the focus afterwards (None for the birth date).
struct FieldRefusal {
    QString text;
    QString title;
    EntryBox focus = EntryBox::None;

    bool operator==(const FieldRefusal&) const = default;
};

// A phone box as saved: every "(" removed, every ")" made "-", every space and
// every "+" removed. "(212) 555-1234" -> "212-555-1234".
QString cleanPhone(const QString& text);

// The save pass: checks the boxes in a fixed order and cleans them in place as
// it goes. Returns the first refusal, or nothing when every box passes. After
// a refusal the boxes before the refused one keep their cleaning.
std::optional<FieldRefusal> runSavePass(ContactEntry& entry, EntryWindow window);

// The record built from boxes the save pass has accepted. The initial, state
// and country are stored in upper case, the birth date MM/DD/YYYY as YYYYMMDD
// (empty: blank), the first name trimmed. With an empty company the check box
// is cleared first (in the entry too). BirthdayReminder is "1" when reminders
// are on for the file.
ContactRecord buildContactRecord(ContactEntry& entry, bool remindersOn);

// Save, as both windows run it: the save pass, then the record. On a refusal
// no record is made; the window shows the refusal (OK, no icon) and then moves
// the focus to its box.
struct SaveResult {
    std::optional<ContactRecord> record;
    std::optional<FieldRefusal> refusal;
};
SaveResult saveContactEntry(ContactEntry& entry, EntryWindow window, bool remindersOn);

// The boxes filled from a stored record for display: each field trimmed, the
// birth date as MM/DD/YYYY (empty when unknown), the check box from the
// numeric value of IncludeCompany (a space reads as unchecked).
ContactEntry entryFromRecord(const ContactRecord& record);

}  // namespace tandor
