#include "sync/CardFields.h"

#include <QRegularExpression>

#include "exchange/VcardExport.h"
#include "exchange/VcardSource.h"
#include "store/FieldRules.h"

namespace tandor::sync {
namespace {

// Sets a line's value, or adds the property, or (empty text) removes the line.
void setSimple(CardLines& card, int line, const QByteArray& newPrefix, const QString& escaped) {
    if (escaped.isEmpty()) {
        if (line >= 0) {
            card.remove(line);
        }
    } else if (line >= 0) {
        card.set(line, escaped);
    } else {
        card.add(newPrefix, escaped);
    }
}

// Sets one component of a structured value (N, ORG, ADR), adding the
// property when the card has none.
void setComponent(CardLines& card, int& line, const QByteArray& newPrefix, int count, int index,
                  const QString& escaped) {
    if (line < 0) {
        if (escaped.isEmpty()) {
            return;
        }
        QStringList parts;
        for (int i = 0; i < count; ++i) {
            parts.append(QString());
        }
        line = card.add(newPrefix, parts.join(u';'));
    }
    QStringList parts = rawComponents(card.value(line));
    while (parts.size() <= index) {
        parts.append(QString());
    }
    parts[index] = escaped;
    card.set(line, parts.join(u';'));
}

// The lines of a street, split at its line breaks.
QStringList streetLines(const QString& rawStreet) {
    return vcardText(rawStreet).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
}

void setStreetLine(CardLines& card, int& adr, int which, const QString& text) {
    QStringList parts = adr >= 0 ? rawComponents(card.value(adr)) : QStringList();
    const QString street = parts.value(2);
    QStringList lines = streetLines(street);
    QList<int> filled;
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].trimmed().isEmpty()) {
            filled.append(i);
        }
    }
    if (which == 0) {
        if (filled.size() > 1) {
            lines[filled[0]] = text;
            setComponent(card, adr, "ADR;TYPE=HOME", 7, 2, vcardEscaped(lines.join(u'\n')));
        } else {
            // A street written as a comma list keeps its further values.
            const qsizetype comma = [&] {
                for (qsizetype i = 0; i < street.size(); ++i) {
                    if (street[i] == u'\\') {
                        ++i;
                    } else if (street[i] == u',') {
                        return i;
                    }
                }
                return qsizetype(-1);
            }();
            setComponent(card, adr, "ADR;TYPE=HOME", 7, 2,
                         vcardEscaped(text) + (comma >= 0 ? street.mid(comma) : QString()));
        }
        return;
    }
    if (filled.size() > 1) {
        lines[filled[1]] = text;
        setComponent(card, adr, "ADR;TYPE=HOME", 7, 2, vcardEscaped(lines.join(u'\n')));
    } else if (!vcardText(parts.value(1)).trimmed().isEmpty() ||
               vcardText(parts.value(0)).trimmed().isEmpty()) {
        setComponent(card, adr, "ADR;TYPE=HOME", 7, 1, vcardEscaped(text));
    } else {
        setComponent(card, adr, "ADR;TYPE=HOME", 7, 0, vcardEscaped(text));
    }
}

// The form the card's BDAY line writes its date in: Apple's form where the
// line has its parameter, else the basic or extended form the line's date
// has, else the form of the card's version.
BirthdayForm birthdayFormOf(const CardLines& card, int line, QByteArray& omittedYear) {
    if (line < 0) {
        return card.version() == "4.0" ? BirthdayForm::Basic : BirthdayForm::Extended;
    }
    const VcardProperty& bday = *card.lines()[line].property;
    omittedYear = bday.param(kOmitYearParameter);
    // The date alone: no "--" of a missing year, no time after it.
    QString date = vcardText(bday.value).trimmed();
    date = date.left(date.indexOf(u'T', 0, Qt::CaseInsensitive));
    if (date.startsWith(QLatin1String("--"))) {
        date.remove(0, 2);
    }
    return date.contains(u'-') ? BirthdayForm::Extended : BirthdayForm::Basic;
}

// A birth date goes into the card in the form its line came in: a date
// without a year keeps Apple's form, a date with a year drops its parameter.
void writeBirthdate(CardLines& card, const CardSources& s, const QString& stored) {
    QByteArray omittedYear;
    const BirthdayForm form = birthdayFormOf(card, s.bday, omittedYear);
    if (omittedYear.isEmpty() || !isStoredBirthdate(stored)) {
        setSimple(card, s.bday, "BDAY", vcardBirthdayValue(stored, form));
    } else if (isYearlessBirthdate(stored)) {
        card.set(s.bday, vcardBirthdayValue(stored, BirthdayForm::OmitYear,
                                            QString::fromLatin1(omittedYear)));
    } else {
        card.rewrite(s.bday, card.prefixWithout(s.bday, {kOmitYearParameter}),
                     vcardBirthdayValue(stored, form));
    }
}

void writeName(CardLines& card, CardSources& s, Field field, const QString& text) {
    if (field == Field::Company) {
        if (text.isEmpty() && s.org >= 0 && rawComponents(card.value(s.org)).size() <= 1) {
            card.remove(s.org);
            s.org = -1;
        } else {
            setComponent(card, s.org, "ORG", 1, 0, vcardEscaped(text));
        }
        return;
    }
    const int component = field == Field::LName ? 0 : field == Field::FName ? 1 : 2;
    setComponent(card, s.n, "N", 5, component, vcardEscaped(text));
}

void writeAddress(CardLines& card, CardSources& s, Field field, const QString& text) {
    if (field == Field::FStreet || field == Field::SStreet) {
        setStreetLine(card, s.adr, field == Field::FStreet ? 0 : 1, text);
    } else {
        const int component = field == Field::City    ? 3
                              : field == Field::State ? 4
                              : field == Field::Zip   ? 5
                                                      : 6;
        setComponent(card, s.adr, "ADR;TYPE=HOME", 7, component, vcardEscaped(text));
    }
    // An address left with no component is no address.
    if (s.adr >= 0 && !card.lines()[s.adr].removed) {
        bool empty = true;
        for (const QString& part : vcardComponents(card.value(s.adr))) {
            empty = empty && part.trimmed().isEmpty();
        }
        if (empty) {
            card.remove(s.adr);
            s.adr = -1;
        }
    }
}

void writePhone(CardLines& card, const CardSources& s, Field field, const QString& text) {
    static const QByteArray phonePrefixes[] = {"TEL;TYPE=HOME", "TEL;TYPE=CELL", "TEL;TYPE=WORK"};
    const int which = field == Field::HPhone ? 0 : field == Field::CPhone ? 1 : 2;
    const int line = s.phones[which];
    QString value = vcardEscaped(text);
    if (line >= 0 && !text.isEmpty() &&
        card.value(line).trimmed().startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) {
        value = QStringLiteral("tel:") + text;
    }
    setSimple(card, line, phonePrefixes[which], value);
}

// Notes and categories: the first line takes the value, the further ones go.
void writeList(CardLines& card, const CardSources& s, Field field, const QString& text) {
    const std::vector<int>& lines = field == Field::Notes ? s.notes : s.categories;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        card.remove(lines[i]);
    }
    const int first = lines.empty() ? -1 : lines.front();
    if (field == Field::Notes) {
        setSimple(card, first, "NOTE", vcardEscaped(text));
        return;
    }
    QStringList items;
    for (const QString& item : text.split(u';', Qt::SkipEmptyParts)) {
        items.append(vcardEscaped(item.trimmed()));
    }
    setSimple(card, first, "CATEGORIES", items.join(u','));
}

}  // namespace

CardSources cardSources(const CardLines& card) {
    CardSources s;
    s.n = card.first("N");
    s.fn = card.first("FN");
    s.org = card.first("ORG");
    s.uid = card.first("UID");
    s.include = card.first(kIncludeCompanyProperty);
    std::vector<const VcardProperty*> properties;
    for (const CardLine& line : card.lines()) {
        properties.push_back(!line.removed && line.property ? &*line.property : nullptr);
    }
    const VcardSources picked = vcardSources(properties);
    s.adr = picked.address;
    s.phones = {picked.homePhone, picked.cellPhone, picked.workPhone};
    s.email = picked.email;
    for (int i : card.named("BDAY")) {
        if (!vcardBirthdate(*card.lines()[i].property).isEmpty()) {
            s.bday = i;
            break;
        }
    }
    for (int i : card.named("NOTE")) {
        if (!vcardText(card.lines()[i].property->value).trimmed().isEmpty()) {
            s.notes.push_back(i);
        }
    }
    s.categories = card.named("CATEGORIES");
    return s;
}

void writeField(CardLines& card, CardSources& s, Field field, const QString& text) {
    switch (field) {
        case Field::LName:
        case Field::FName:
        case Field::MiddleInit:
        case Field::Company:
            writeName(card, s, field, text);
            break;
        case Field::FStreet:
        case Field::SStreet:
        case Field::City:
        case Field::State:
        case Field::Zip:
        case Field::Country:
            writeAddress(card, s, field, text);
            break;
        case Field::HPhone:
        case Field::CPhone:
        case Field::WPhone:
            writePhone(card, s, field, text);
            break;
        case Field::Email:
            setSimple(card, s.email, "EMAIL;TYPE=INTERNET", vcardEscaped(text));
            break;
        case Field::Birthdate:
            writeBirthdate(card, s, text);
            break;
        case Field::Notes:
        case Field::Category:
            writeList(card, s, field, text);
            break;
        case Field::IncludeCompany:
            if (s.include >= 0) {
                card.set(s.include, text);
            } else {
                s.include = card.add(kIncludeCompanyProperty, text);
            }
            break;
        case Field::BirthdayReminder:
            break;
    }
}

void renewFormattedName(CardLines& card, CardSources& s) {
    QStringList names;
    if (s.n >= 0) {
        const QStringList parts = vcardComponents(card.value(s.n));
        for (int index : {1, 2, 0}) {
            if (!parts.value(index).trimmed().isEmpty()) {
                names.append(parts.value(index).trimmed());
            }
        }
    }
    QString name = names.join(u' ');
    if (name.isEmpty() && s.org >= 0) {
        name = vcardComponents(card.value(s.org)).value(0);
    }
    if (s.fn >= 0) {
        card.set(s.fn, vcardEscaped(name));
    } else {
        s.fn = card.add("FN", vcardEscaped(name));
    }
}

}  // namespace tandor::sync
