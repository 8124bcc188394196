#pragma once

#include <QString>
#include <array>
#include <optional>

#include "store/ContactRecord.h"

namespace tandor {

class Platform;

// The two windows that enter a whole contact field by field. They run the
// same save pass, except where a rule names one of them.
enum class EntryWindow {
    NewContactForm,  // frmNewContact
    Browser,         // frmEdDelViewContact
};

// The 17 text boxes of a contact entry window (txtACFName ... txtACNotes).
// None: the focus stays where it is.
enum class EntryBox {
    None,
    FName,
    MiddleInit,
    LName,
    FStreet,
    SStreet,
    City,
    State,
    Zip,
    Country,
    Company,
    Birthdate,
    HPhone,
    CPhone,
    WPhone,
    Email,
    Category,
    Notes,
};

// The 17 boxes in the order of the record fields they fill.
inline constexpr std::array<EntryBox, 17> kEntryBoxes = {
    EntryBox::FName,   EntryBox::MiddleInit, EntryBox::LName,    EntryBox::FStreet,
    EntryBox::SStreet, EntryBox::City,       EntryBox::State,    EntryBox::Zip,
    EntryBox::Country, EntryBox::HPhone,     EntryBox::CPhone,   EntryBox::WPhone,
    EntryBox::Email,   EntryBox::Birthdate,  EntryBox::Category, EntryBox::Notes,
    EntryBox::Company,
};

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

// Whether a stored birth date "YYYYMMDD" (leading and trailing spaces aside)
// is a day of the calendar: eight digits, month 01-12, a day the month has
// (29 February only in a leap year), year 0001 or later.
bool isCalendarBirthdate(const QString& stored);

// A birthday whose year is not known is stored with the year 0000: "00000412"
// is 12 April. Its month and day are a day of a leap year (00000229 is one).
// An older copy of the program shows it as 04/12/0000 and announces it as it
// announces any birthday, from the month and day alone.
inline constexpr char kNoBirthYear[] = "0000";
// Whether a stored birth date (leading and trailing spaces aside) is such a
// birthday without a year.
bool isYearlessBirthdate(const QString& stored);
// Whether a stored birth date is a birthday the program keeps: a day of the
// calendar or a birthday without a year.
bool isKeptBirthdate(const QString& stored);

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

// The stored birth date "YYYYMMDD" from the box text "MM/DD/YYYY"; empty from empty.
QString birthdateForRecord(const QString& boxText);

// Save, as both windows run it: the save pass, then the record. On a refusal
// the message is shown through the platform and no record is returned; the
// window then moves the focus to `focus`.
struct SaveResult {
    std::optional<ContactRecord> record;
    EntryBox focus = EntryBox::None;
};
SaveResult saveContactEntry(ContactEntry& entry, EntryWindow window, bool remindersOn,
                            Platform& platform);

// The boxes filled from a stored record for display: each field trimmed, the
// birth date as MM/DD/YYYY (empty when unknown), the check box from the
// numeric value of IncludeCompany (a space reads as unchecked).
ContactEntry entryFromRecord(const ContactRecord& record);

}  // namespace tandor
