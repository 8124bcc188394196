#include "exchange/ImportValues.h"

#include <algorithm>

#include "platform/Ansi.h"
#include "platform/Numbers.h"
#include "store/FieldRules.h"

namespace tandor {
namespace {

// Whether a value matches a pattern whole: '#' is one digit 0-9, 's' the
// separator, and the value has the pattern's length.
bool matches(const QString& value, QLatin1String pattern, QChar separator) {
    if (value.size() != pattern.size()) {
        return false;
    }
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        const bool ok = pattern[i] == '#' ? (c >= u'0' && c <= u'9') : c == separator;
        if (!ok) {
            return false;
        }
    }
    return true;
}

// The value of a text's leading digits after leading spaces, 0 when none.
long long leadingDigits(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ') {
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = std::min<long long>(value * 10 + (text[i].unicode() - u'0'), 1'000'000'000);
    }
    return value;
}

bool hasDigit(const QString& text) {
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            return true;
        }
    }
    return false;
}

// A phone number without the characters that group its digits.
QString withoutGrouping(QString phone) {
    phone.removeIf([](QChar c) {
        return c == u' ' || c == u'.' || c == u'-' || c == u'/' || c == u'(' || c == u')';
    });
    return phone;
}

}  // namespace

QString flattenedValue(QString value) {
    const bool plain = std::none_of(value.cbegin(), value.cend(),
                                    [](QChar c) { return c == u',' || isControl(c); });
    if (plain) {
        return value;  // the common case: nothing to replace, nothing copied
    }
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value = controlsAsSpaces(std::move(value));
    value.replace(QLatin1Char(','), QLatin1Char(' '));
    return value;
}

ContactFields takeValues(const ImportLayout& layout, const QStringList& header,
                         const QStringList& line) {
    ContactFields values;
    for (const auto& [field, value] : layout.fixedValues) {
        values[field] = value;
    }
    for (const ColumnRule& rule : layout.columns) {
        for (const int rulePosition : rule.positions) {
            const qsizetype position =
                rulePosition == kLastHeaderColumn ? header.size() - 1 : rulePosition;
            if (position < 0 || position >= header.size() || header[position] != rule.headerText) {
                continue;
            }
            QString value = flattenedValue(columnOrEmpty(line, position));
            if (rule.field == Field::MiddleInit) {
                value = value.left(1);
            }
            values[rule.field] = value;
        }
    }
    return values;
}

QString birthdateAsStored(const QString& value, QChar separator, bool rangeCheck) {
    QString date = value;
    if (matches(date, QLatin1String("#s#s####"), separator)) {
        date = QLatin1Char('0') + date.left(2) + QLatin1Char('0') + date.mid(2, 2) + date.right(4);
    }
    if (matches(date, QLatin1String("#s##s####"), separator)) {
        date.prepend(QLatin1Char('0'));
    }
    if (matches(date, QLatin1String("##s#s####"), separator)) {
        date = date.left(3) + QLatin1Char('0') + date.right(6);
    }
    if (rangeCheck && (leadingDigits(QStringView(date).left(2)) > 12 ||
                       leadingDigits(QStringView(date).mid(3, 2)) > 31)) {
        date.clear();
    }
    return date.right(4) + date.left(2) + date.mid(3, 2);
}

void cleanValues(ContactFields& values, const CleaningRules& rules) {
    QString& birthdate = values[Field::Birthdate];
    if (!rules.birthdateSeparator.isNull()) {
        birthdate =
            birthdateAsStored(birthdate, rules.birthdateSeparator, rules.birthdateRangeCheck);
    }
    if (rules.stateUpperCase) {
        values[Field::State] = upperCaseKept(values[Field::State]);
    }
    if (rules.stripPhoneMarks) {
        for (const Field phone : {Field::HPhone, Field::CPhone}) {
            values[phone]
                .remove(QLatin1Char('+'))
                .remove(QLatin1Char('('))
                .remove(QLatin1Char(')'));
        }
    }
    for (const Field phone : rules.phonesEndingInNumber) {
        const QString tested =
            rules.phoneGroupingIgnored ? withoutGrouping(values[phone]) : values[phone];
        if (!readsAsNumber(QStringView(tested).right(4))) {
            values[phone].clear();
        }
    }
    for (const Field phone : rules.phonesWithDash) {
        if (!values[phone].contains(QLatin1Char('-'))) {
            values[phone].clear();
        }
    }
    if (rules.homePhoneFromWork && values[Field::HPhone].isEmpty() &&
        !values[Field::WPhone].isEmpty()) {
        values[Field::HPhone] = values[Field::WPhone];
    }
    if (rules.shortStreetEmpty && characterCount(values[Field::FStreet]) < 6) {
        values[Field::FStreet].clear();
    }
    if (rules.addressChecks) {
        if (hasDigit(values[Field::City])) {
            values[Field::City].clear();
        }
        QString& state = values[Field::State];
        if (state.contains(QLatin1Char('#')) || hasDigit(state) || characterCount(state) > 2) {
            state.clear();
        }
        if (!readsAsNumber(QStringView(values[Field::Zip]).left(5))) {
            values[Field::Zip].clear();
        }
        QString& country = values[Field::Country];
        if (country.contains(QLatin1Char('#')) || hasDigit(country)) {
            country.clear();
        }
    }
    if (!birthdate.startsWith(QLatin1String("19")) && !birthdate.startsWith(QLatin1String("20")) &&
        !(rules.yearlessBirthdays && isYearlessBirthdate(birthdate))) {
        birthdate.clear();
    }
}

bool holdsNoContact(const ContactFields& values) {
    for (const FieldLayout& f : recordLayout()) {
        if (f.field == Field::IncludeCompany || f.field == Field::BirthdayReminder) {
            continue;
        }
        if (!trimSpaces(values[f.field]).isEmpty()) {
            return false;
        }
    }
    return true;
}

}  // namespace tandor
