#include "store/FieldRules.h"

#include <QDate>

#include "platform/Ansi.h"
#include "platform/Numbers.h"
#include "platform/Platform.h"

namespace tandor {
namespace {

FieldRefusal incorrect(const char* text, EntryBox box) {
    return {QString::fromLatin1(text), kIncorrectEntryTitle, box};
}

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

}  // namespace

QString& ContactEntry::text(EntryBox box) {
    return const_cast<QString&>(std::as_const(*this).text(box));
}

const QString& ContactEntry::text(EntryBox box) const {
    switch (box) {
        case EntryBox::FName:
            return fName;
        case EntryBox::MiddleInit:
            return middleInit;
        case EntryBox::LName:
            return lName;
        case EntryBox::FStreet:
            return fStreet;
        case EntryBox::SStreet:
            return sStreet;
        case EntryBox::City:
            return city;
        case EntryBox::State:
            return state;
        case EntryBox::Zip:
            return zip;
        case EntryBox::Country:
            return country;
        case EntryBox::Company:
            return company;
        case EntryBox::Birthdate:
            return birthdate;
        case EntryBox::HPhone:
            return hPhone;
        case EntryBox::CPhone:
            return cPhone;
        case EntryBox::WPhone:
            return wPhone;
        case EntryBox::Email:
            return email;
        case EntryBox::Category:
            return category;
        case EntryBox::Notes:
            return notes;
        case EntryBox::None:
            break;
    }
    Q_ASSERT_X(false, "ContactEntry::text", "no box");
    return fName;
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

    if (length(e.fName) > 11) {
        return incorrect("First name must be 11 characters or less.", EntryBox::FName);
    }
    removeCommas(e.fName);

    removeCommas(e.middleInit);
    e.middleInit.remove(QLatin1Char('.'));
    if (length(e.middleInit) > 1) {
        return incorrect("Enter only 1 character for middle initial.", EntryBox::MiddleInit);
    }

    const char* lastNameText = "Enter last name, 16 characters or less.";
    if (length(e.lName) > 16) {
        return incorrect(lastNameText, EntryBox::LName);
    }
    if (form) {
        removeCommas(e.lName);
        if (e.lName.isEmpty()) {
            return incorrect(lastNameText, EntryBox::LName);
        }
    } else {
        if (e.lName.isEmpty()) {
            return incorrect(lastNameText, EntryBox::LName);
        }
        removeCommas(e.lName);
    }

    if (length(e.fStreet) > 30) {
        return incorrect("Street address must be 30 characters or less.", EntryBox::FStreet);
    }
    removeCommas(e.fStreet);

    if (length(e.sStreet) > 15) {
        return incorrect("Street address2 must be 15 characters or less.", EntryBox::SStreet);
    }
    removeCommas(e.sStreet);

    // The city's commas are removed at the end of the pass.
    if (length(e.city) > 16) {
        return incorrect("City must be 16 characters or less.", EntryBox::City);
    }

    // The new-contact form wants a full abbreviation; the browser lets one letter pass.
    const bool badState = form ? (!e.state.isEmpty() && length(e.state) != 2) : length(e.state) > 2;
    if (badState) {
        return incorrect("State must be 2 character abbreviation.", EntryBox::State);
    }
    removeCommas(e.state);

    if (length(e.zip) > 10) {
        return incorrect("Zip Code must be 10 characters or less.", EntryBox::Zip);
    }
    removeCommas(e.zip);

    if (length(e.country) > 19) {
        return incorrect(form ? "Country must be 19 characters or less.  For example, USA."
                              : "Country must be 19 characters or less. For example, USA.",
                         EntryBox::Country);
    }
    if (form) {
        commasToSpaces(e.country);
    } else {
        removeCommas(e.country);
    }

    if (length(e.company) > 30) {
        return incorrect("Company Name must be 30 characters or less.", EntryBox::Company);
    }
    removeCommas(e.company);

    e.hPhone = cleanPhone(e.hPhone);
    if (length(e.hPhone) > 15) {
        return incorrect("Home Phone must be 15 characters or less.", EntryBox::HPhone);
    }
    removeCommas(e.hPhone);

    e.cPhone = cleanPhone(e.cPhone);
    if (length(e.cPhone) > 15) {
        return incorrect("Cell Phone must be 15 characters or less.", EntryBox::CPhone);
    }
    removeCommas(e.cPhone);

    e.wPhone = cleanPhone(e.wPhone);
    if (length(e.wPhone) > 13) {
        return incorrect("Work Phone must be 13 characters or less.", EntryBox::WPhone);
    }
    removeCommas(e.wPhone);

    if (length(e.email) > 50) {
        return incorrect("Email address must be 50 characters or less.", EntryBox::Email);
    }
    if (e.email.contains(QLatin1Char(','))) {
        return incorrect("Email address cannot contain a comma.", EntryBox::Email);
    }
    if (e.email.contains(QLatin1Char(' '))) {
        return incorrect("Email address cannot contain a space.", EntryBox::Email);
    }
    if (!e.email.isEmpty() && !e.email.contains(QLatin1Char('@'))) {
        return incorrect("Email address must contain the '@' character.", EntryBox::Email);
    }
    if (!e.email.isEmpty() && !e.email.contains(QLatin1Char('.'))) {
        return incorrect("Email address must contain the '.' character.", EntryBox::Email);
    }

    if (length(e.category) > 80) {
        return incorrect("Category must be 80 characters or less.", EntryBox::Category);
    }
    commasToSpaces(e.category);

    if (length(e.notes) > 160) {
        return incorrect("Notes must be 160 characters or less.", EntryBox::Notes);
    }
    commasToSpaces(e.notes);

    removeCommas(e.city);
    return std::nullopt;
}

bool isCalendarBirthdate(const QString& stored) {
    const QString date = trimSpaces(stored);
    if (date.size() != 8) {
        return false;
    }
    for (const QChar c : date) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return QDate::isValid(date.left(4).toInt(), date.mid(4, 2).toInt(), date.right(2).toInt());
}

bool isYearlessBirthdate(const QString& stored) {
    const QString date = trimSpaces(stored);
    return date.size() == 8 && date.startsWith(QLatin1String(kNoBirthYear)) &&
           isCalendarBirthdate(QStringLiteral("2000") + date.right(4));
}

bool isKeptBirthdate(const QString& stored) {
    return isCalendarBirthdate(stored) || isYearlessBirthdate(stored);
}

QString birthdateForRecord(const QString& boxText) {
    if (boxText.isEmpty()) {
        return {};
    }
    // "MM/DD/YYYY": the year (last four), the month (first two), the day (4th and 5th).
    return boxText.right(4) + boxText.left(2) + boxText.mid(3, 2);
}

ContactRecord buildContactRecord(ContactEntry& e, bool remindersOn) {
    if (e.company.isEmpty()) {
        e.includeCompany = false;
    }
    ContactFields f;
    f[Field::FName] = trimSpaces(e.fName);
    f[Field::MiddleInit] = upperCaseKept(e.middleInit);
    f[Field::LName] = e.lName;
    f[Field::FStreet] = e.fStreet;
    f[Field::SStreet] = e.sStreet;
    f[Field::City] = e.city;
    f[Field::State] = upperCaseKept(e.state);
    f[Field::Zip] = e.zip;
    f[Field::Country] = upperCaseKept(e.country);
    f[Field::HPhone] = e.hPhone;
    f[Field::CPhone] = e.cPhone;
    f[Field::WPhone] = e.wPhone;
    f[Field::Email] = e.email;
    f[Field::Birthdate] = birthdateForRecord(e.birthdate);
    f[Field::Category] = e.category;
    f[Field::Notes] = e.notes;
    f[Field::Company] = e.company;
    f[Field::IncludeCompany] = e.includeCompany ? QStringLiteral("1") : QStringLiteral("0");
    f[Field::BirthdayReminder] = remindersOn ? QStringLiteral("1") : QStringLiteral("0");
    return ContactRecord::build(f);
}

SaveResult saveContactEntry(ContactEntry& entry, EntryWindow window, bool remindersOn,
                            Platform& platform) {
    SaveResult result;
    if (const std::optional<FieldRefusal> refusal = runSavePass(entry, window)) {
        platform.message(refusal->text, refusal->title, MessageIcon::None, MessageButtons::Ok);
        result.focus = refusal->focus;
        return result;
    }
    result.record = buildContactRecord(entry, remindersOn);
    return result;
}

ContactEntry entryFromRecord(const ContactRecord& record) {
    ContactEntry e;
    e.fName = record.field(Field::FName);
    e.middleInit = record.field(Field::MiddleInit);
    e.lName = record.field(Field::LName);
    e.fStreet = record.field(Field::FStreet);
    e.sStreet = record.field(Field::SStreet);
    e.city = record.field(Field::City);
    e.state = record.field(Field::State);
    e.zip = record.field(Field::Zip);
    e.country = record.field(Field::Country);
    e.hPhone = record.field(Field::HPhone);
    e.cPhone = record.field(Field::CPhone);
    e.wPhone = record.field(Field::WPhone);
    e.email = record.field(Field::Email);
    e.birthdate = birthdateForDisplay(record.rawField(Field::Birthdate));
    e.category = record.field(Field::Category);
    e.notes = record.field(Field::Notes);
    e.company = record.field(Field::Company);
    e.includeCompany = leadingNumber(record.rawField(Field::IncludeCompany)) != 0.0;
    return e;
}

}  // namespace tandor
