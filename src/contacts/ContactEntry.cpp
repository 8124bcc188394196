#include "contacts/ContactEntry.h"

#include "platform/Ansi.h"
#include "platform/Numbers.h"

namespace tandor {
namespace {

void removeCommas(QString& text) {
    text.remove(QLatin1Char(','));
}

void commasToSpaces(QString& text) {
    text.replace(QLatin1Char(','), QLatin1Char(' '));
}

// Limits count the characters a user sees.
qsizetype length(const QString& text) {
    return characterCount(text);
}

bool isBirthdateShape(const QString& text) {
    return text.size() == 10 && text[2] == u'/' && text[5] == u'/';
}

// A refusal text takes the field's width where it says "%1".
FieldRefusal incorrect(const char* text, int width, EntryBox box) {
    QString shown = QString::fromLatin1(text);
    if (shown.contains(QLatin1String("%1"))) {
        shown = shown.arg(width);
    }
    return {shown, kIncorrectEntryTitle, box};
}

enum class Cleaning { None, RemoveCommas, CommasToSpaces };

void clean(QString& text, Cleaning cleaning) {
    switch (cleaning) {
        case Cleaning::None:
            break;
        case Cleaning::RemoveCommas:
            removeCommas(text);
            break;
        case Cleaning::CommasToSpaces:
            commasToSpaces(text);
            break;
    }
}

void initialMarks(QString& text) {
    removeCommas(text);
    text.remove(QLatin1Char('.'));
}

void phoneMarks(QString& text) {
    text = cleanPhone(text);
}

constexpr char kLastNameText[] = "Enter last name, %1 characters or less.";
constexpr char kStateText[] = "State must be %1 character abbreviation.";

// The form removes a last name's commas before it asks for one, the browser after.
const char* lastNameRule(QString& text, bool form) {
    if (form) {
        removeCommas(text);
    }
    if (text.isEmpty()) {
        return kLastNameText;
    }
    removeCommas(text);
    return nullptr;
}

// The new-contact form wants a full abbreviation; the browser lets one letter pass.
const char* stateRule(QString& text, bool form) {
    return form && length(text) == 1 ? kStateText : nullptr;
}

const char* countryRule(QString& text, bool form) {
    if (form) {
        commasToSpaces(text);
    } else {
        removeCommas(text);
    }
    return nullptr;
}

const char* emailRule(QString& text, bool) {
    if (text.contains(QLatin1Char(','))) {
        return "Email address cannot contain a comma.";
    }
    if (text.contains(QLatin1Char(' '))) {
        return "Email address cannot contain a space.";
    }
    if (!text.isEmpty() && !text.contains(QLatin1Char('@'))) {
        return "Email address must contain the '@' character.";
    }
    if (!text.isEmpty() && !text.contains(QLatin1Char('.'))) {
        return "Email address must contain the '.' character.";
    }
    return nullptr;
}

// One box of the save pass: `before` cleans it, a text longer than its record
// field is refused with `tooLong` ("%1": the width), `own` checks what only
// this box checks (and may clean it), then `after` cleans it.
struct BoxRule {
    EntryBox box;
    const char* tooLong;
    const char* tooLongInBrowser = nullptr;  // when the browser words it otherwise
    void (*before)(QString& text) = nullptr;
    const char* (*own)(QString& text, bool form) = nullptr;  // the refusal text, or null
    Cleaning after = Cleaning::None;
};

// The boxes in the order the save pass checks them.
const BoxRule kBoxRules[] = {
    {.box = EntryBox::FName,
     .tooLong = "First name must be %1 characters or less.",
     .after = Cleaning::RemoveCommas},
    {.box = EntryBox::MiddleInit,
     .tooLong = "Enter only %1 character for middle initial.",
     .before = initialMarks},
    {.box = EntryBox::LName, .tooLong = kLastNameText, .own = lastNameRule},
    {.box = EntryBox::FStreet,
     .tooLong = "Street address must be %1 characters or less.",
     .after = Cleaning::RemoveCommas},
    {.box = EntryBox::SStreet,
     .tooLong = "Street address2 must be %1 characters or less.",
     .after = Cleaning::RemoveCommas},
    {.box = EntryBox::City, .tooLong = "City must be %1 characters or less."},
    {.box = EntryBox::State,
     .tooLong = kStateText,
     .own = stateRule,
     .after = Cleaning::RemoveCommas},
    {.box = EntryBox::Zip,
     .tooLong = "Zip Code must be %1 characters or less.",
     .after = Cleaning::RemoveCommas},
    {.box = EntryBox::Country,
     .tooLong = "Country must be %1 characters or less.  For example, USA.",
     .tooLongInBrowser = "Country must be %1 characters or less. For example, USA.",
     .own = countryRule},
    {.box = EntryBox::Company,
     .tooLong = "Company Name must be %1 characters or less.",
     .after = Cleaning::RemoveCommas},
    {.box = EntryBox::HPhone,
     .tooLong = "Home Phone must be %1 characters or less.",
     .before = phoneMarks,
     .after = Cleaning::RemoveCommas},
    {.box = EntryBox::CPhone,
     .tooLong = "Cell Phone must be %1 characters or less.",
     .before = phoneMarks,
     .after = Cleaning::RemoveCommas},
    {.box = EntryBox::WPhone,
     .tooLong = "Work Phone must be %1 characters or less.",
     .before = phoneMarks,
     .after = Cleaning::RemoveCommas},
    {.box = EntryBox::Email,
     .tooLong = "Email address must be %1 characters or less.",
     .own = emailRule},
    {.box = EntryBox::Category,
     .tooLong = "Category must be %1 characters or less.",
     .after = Cleaning::CommasToSpaces},
    {.box = EntryBox::Notes,
     .tooLong = "Notes must be %1 characters or less.",
     .after = Cleaning::CommasToSpaces},
};

}  // namespace

// The texts of the boxes in record order.
constexpr std::array<QString ContactEntry::*, kEntryBoxCount> kEntryTexts = {
    &ContactEntry::fName,   &ContactEntry::middleInit, &ContactEntry::lName,
    &ContactEntry::fStreet, &ContactEntry::sStreet,    &ContactEntry::city,
    &ContactEntry::state,   &ContactEntry::zip,        &ContactEntry::country,
    &ContactEntry::hPhone,  &ContactEntry::cPhone,     &ContactEntry::wPhone,
    &ContactEntry::email,   &ContactEntry::birthdate,  &ContactEntry::category,
    &ContactEntry::notes,   &ContactEntry::company,
};

QString& ContactEntry::text(EntryBox box) {
    return const_cast<QString&>(std::as_const(*this).text(box));
}

const QString& ContactEntry::text(EntryBox box) const {
    if (box == EntryBox::None) {
        Q_ASSERT_X(false, "ContactEntry::text", "no box");
        return fName;
    }
    return this->*kEntryTexts[static_cast<std::size_t>(fieldOf(box))];
}

ContactEntry trimmedEntry(const ContactEntry& entry) {
    ContactEntry out = entry;
    for (EntryBox box : kEntryBoxes) {
        out.text(box) = trimSpaces(controlsAsSpaces(out.text(box)));
    }
    return out;
}

QString cleanPhone(const QString& text) {
    QString out = text;
    out.remove(QLatin1Char('('));
    out.replace(QLatin1Char(')'), QLatin1Char('-'));
    out.remove(QLatin1Char(' '));
    out.remove(QLatin1Char('+'));
    return out;
}

std::optional<FieldRefusal> runSavePass(ContactEntry& e, EntryWindow window) {
    const bool form = window == EntryWindow::NewContactForm;

    // A pasted or typed TAB, CR or LF would break the contact across lines
    // and columns in the list and the printouts: it counts as a space.
    for (EntryBox box : kEntryBoxes) {
        e.text(box) = controlsAsSpaces(e.text(box));
    }

    // The shape first, then the day: 13/45/1990 or 02/30/1999 is not saved.
    if (!e.birthdate.isEmpty() && !isBirthdateShape(e.birthdate)) {
        return FieldRefusal{kBirthdateFormatText, kDateErrorTitle, EntryBox::None};
    }
    if (!e.birthdate.isEmpty() && !isKeptBirthdate(birthdateForRecord(e.birthdate))) {
        return FieldRefusal{kBirthdateCalendarText, kDateErrorTitle, EntryBox::None};
    }

    for (const BoxRule& rule : kBoxRules) {
        QString& text = e.text(rule.box);
        if (rule.before) {
            rule.before(text);
        }
        const int width = layoutOf(fieldOf(rule.box)).width;
        const char* refusal = nullptr;
        if (length(text) > width) {
            refusal = !form && rule.tooLongInBrowser ? rule.tooLongInBrowser : rule.tooLong;
        } else if (rule.own) {
            refusal = rule.own(text, form);
        }
        if (refusal) {
            return incorrect(refusal, width, rule.box);
        }
        clean(text, rule.after);
    }
    // The city's commas are removed at the end of the pass.
    removeCommas(e.city);
    return std::nullopt;
}

ContactRecord buildContactRecord(ContactEntry& e, bool remindersOn) {
    if (e.company.isEmpty()) {
        e.includeCompany = false;
    }
    ContactFields f;
    for (EntryBox box : kEntryBoxes) {
        f[fieldOf(box)] = e.text(box);
    }
    f[Field::FName] = trimSpaces(e.fName);
    f[Field::MiddleInit] = upperCaseKept(e.middleInit);
    f[Field::State] = upperCaseKept(e.state);
    f[Field::Country] = upperCaseKept(e.country);
    f[Field::Birthdate] = birthdateForRecord(e.birthdate);
    f[Field::IncludeCompany] = e.includeCompany ? QStringLiteral("1") : QStringLiteral("0");
    f[Field::BirthdayReminder] = remindersOn ? QStringLiteral("1") : QStringLiteral("0");
    return ContactRecord::build(f);
}

SaveResult saveContactEntry(ContactEntry& entry, EntryWindow window, bool remindersOn) {
    SaveResult result;
    result.refusal = runSavePass(entry, window);
    if (!result.refusal) {
        result.record = buildContactRecord(entry, remindersOn);
    }
    return result;
}

ContactEntry entryFromRecord(const ContactRecord& record) {
    ContactEntry e;
    for (EntryBox box : kEntryBoxes) {
        e.text(box) = record.field(fieldOf(box));
    }
    e.birthdate = birthdateForDisplay(record.rawField(Field::Birthdate));
    e.includeCompany = leadingNumber(record.rawField(Field::IncludeCompany)) != 0.0;
    return e;
}

}  // namespace tandor
