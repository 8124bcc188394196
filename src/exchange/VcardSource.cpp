#include "exchange/VcardSource.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "exchange/BirthDates.h"
#include "exchange/ImportValues.h"
#include "store/FieldRules.h"

namespace tandor {
namespace {

// The index of the property of the best rank offered: a lower rank, then a
// lower preference, then the first; a property of empty value never.
class Pick {
public:
    void offer(int index, int rank, int preference, bool empty) {
        const std::pair<int, int> key{rank, preference};
        if (empty || (index_ >= 0 && !(key < key_))) {
            return;
        }
        index_ = index;
        key_ = key;
    }
    int index() const { return index_; }

private:
    int index_ = -1;
    std::pair<int, int> key_;
};

// Whether the property has that name (in upper case).
bool named(const VcardProperty& p, QByteArrayView name) {
    return QByteArrayView(p.name) == name;
}

bool allEmpty(const QStringList& parts) {
    for (const QString& part : parts) {
        if (!part.trimmed().isEmpty()) {
            return false;
        }
    }
    return true;
}

QString firstLetter(const QString& text) {
    for (const QChar c : text) {
        if (c.isLetterOrNumber()) {
            return QString(c);
        }
    }
    return {};
}

// A phone number as written, without the "tel:" of a URI and its parameters
// (";ext=102").
QString phoneText(const QString& value) {
    QString phone = vcardText(value).trimmed();
    if (phone.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) {
        phone = phone.mid(4);
        const qsizetype semicolon = phone.indexOf(u';');
        if (semicolon >= 0) {
            phone.truncate(semicolon);
        }
    }
    return phone;
}

QString emailText(const QString& value) {
    return vcardText(value).trimmed();
}

// The lines of a text (split at CR LF, CR or LF) that hold more than white
// space.
QStringList nonEmptyLines(const QString& text) {
    QStringList lines;
    const auto take = [&](qsizetype begin, qsizetype end) {
        const QStringView line = QStringView(text).sliced(begin, end - begin);
        if (!line.trimmed().isEmpty()) {
            lines.append(end - begin == text.size() ? text : line.toString());
        }
    };
    qsizetype begin = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            take(begin, i);
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            begin = i + 1;
        }
    }
    take(begin, text.size());
    return lines;
}

void takeName(const VcardCard& card, ContactFields& values) {
    const VcardProperty* n = nullptr;
    const VcardProperty* fn = nullptr;
    for (const VcardProperty& p : card.properties) {
        if (named(p, "N") && !n) {
            n = &p;
        } else if (named(p, "FN") && !fn) {
            fn = &p;
        }
    }
    const QStringList name = n ? vcardComponents(n->value) : QStringList();
    if (!allEmpty(name)) {
        values[Field::LName] = name.value(0);
        values[Field::FName] = name.value(1);
        values[Field::MiddleInit] = firstLetter(name.value(2));
        return;
    }
    if (!fn) {
        return;
    }
    const QString full = vcardText(fn->value).trimmed();
    if (full.isEmpty() || full == values[Field::Company].trimmed()) {
        return;
    }
    const qsizetype space = full.lastIndexOf(u' ');
    values[Field::FName] = space < 0 ? full : full.left(space).trimmed();
    values[Field::LName] = space < 0 ? QString() : full.mid(space + 1);
}

// The values of a street written as a comma list, trimmed, empty ones left
// out.
QStringList streetValues(const QString& value) {
    QStringList lines;
    for (const QString& line : vcardComponentLists(value).value(2)) {
        if (!line.trimmed().isEmpty()) {
            lines.append(line.trimmed());
        }
    }
    return lines;
}

// `streetLists`: the card's version makes a comma in the street a separator
// of its lines (3.0, 4.0), not a character of it (2.1).
void takeAddress(const VcardProperty* best, bool streetLists, ContactFields& values) {
    if (!best) {
        return;
    }
    const QStringList parts = vcardComponents(best->value);
    QStringList street = nonEmptyLines(parts.value(2));
    QString extended = parts.value(1);
    // Some exports put the whole address, line by line, into the extended
    // address and leave the street empty.
    if (street.isEmpty() && nonEmptyLines(extended).size() > 1) {
        street = nonEmptyLines(extended);
        extended.clear();
    }
    values[Field::FStreet] = street.value(0);
    if (street.size() > 1) {
        values[Field::SStreet] = street[1];
    } else if (!extended.trimmed().isEmpty()) {
        values[Field::SStreet] = extended;
    } else if (!parts.value(0).trimmed().isEmpty() || !streetLists) {
        values[Field::SStreet] = parts.value(0);
    } else if (const QStringList lines = streetValues(best->value); lines.size() > 1) {
        // The street's lines as a comma list, and nothing else for SStreet.
        values[Field::FStreet] = lines[0];
        values[Field::SStreet] = lines.mid(1).join(QLatin1Char(' '));
    }
    values[Field::City] = parts.value(3);
    values[Field::State] = parts.value(4);
    values[Field::Zip] = parts.value(5);
    values[Field::Country] = parts.value(6);
}

class VcardSource final : public ContactSource {
public:
    explicit VcardSource(QIODevice& device)
        : reader_(device, {"N", "FN", "ORG", "ADR", "TEL", "EMAIL", "BDAY", "NOTE", "CATEGORIES",
                           kIncludeCompanyProperty}) {
        rules_.stateUpperCase = true;
        rules_.phonesEndingInNumber = {Field::HPhone, Field::CPhone, Field::WPhone};
        rules_.phoneGroupingIgnored = true;
        rules_.addressChecks = true;
        rules_.yearlessBirthdays = true;
    }

    std::optional<QString> recognise() override { return kVcardFormat; }
    bool prepare() override { return true; }

    std::optional<SourceItem> next() override {
        const std::optional<VcardCard> card = reader_.next();
        if (!card) {
            return std::nullopt;
        }
        SourceItem item;
        if (!card->readable()) {
            item.kind = SourceItem::Kind::Unreadable;
        } else {
            item.values = vcardValues(*card);
        }
        return item;
    }

    const CleaningRules& cleaning() const override { return rules_; }
    bool needsName() const override { return true; }

private:
    VcardReader reader_;
    CleaningRules rules_;
};

}  // namespace

std::unique_ptr<ContactSource> vcardSource(QIODevice& device) {
    return std::make_unique<VcardSource>(device);
}

QString vcardBirthdate(const QString& text) {
    QString date = text.trimmed();
    const qsizetype time = date.indexOf(u'T', 0, Qt::CaseInsensitive);
    if (time >= 0) {
        date.truncate(time);
    }
    if (date.startsWith(QLatin1String("--"))) {
        // No year: --MMDD or --MM-DD.
        QString monthDay = date.mid(2);
        if (monthDay.size() == 5 && monthDay[2] == u'-') {
            monthDay.remove(2, 1);
        }
        const QString stored = QLatin1String(kNoBirthYear) + monthDay;
        return monthDay.size() == 4 && isYearlessBirthdate(stored) ? stored : QString();
    }
    const bool digitsOnly = date.size() == 8 && !date.contains(u'-');
    const bool isoDate = date.size() == 10 && date[4] == u'-' && date[7] == u'-';
    if (!digitsOnly && !isoDate) {
        return {};
    }
    return birthdateFromText(date, DateOrder::MonthFirst);
}

QString vcardBirthdate(const VcardProperty& bday) {
    const QString stored = vcardBirthdate(vcardText(bday.value));
    const QByteArray omitted = bday.param(kOmitYearParameter);
    if (!omitted.isEmpty() && stored.startsWith(QLatin1String(omitted))) {
        return QLatin1String(kNoBirthYear) + stored.right(4);
    }
    return stored;
}

QString vcardBirthdayValue(const QString& stored, BirthdayForm form, const QString& omittedYear) {
    const QString date = stored.trimmed();
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (date.size() != 8 || !std::all_of(date.begin(), date.end(), digit)) {
        return {};
    }
    const QString month = date.mid(4, 2);
    const QString day = date.right(2);
    if (isYearlessBirthdate(date)) {
        switch (form) {
            case BirthdayForm::Basic:
                return QStringLiteral("--") + month + day;
            case BirthdayForm::Extended:
                return QStringLiteral("--") + month + u'-' + day;
            case BirthdayForm::OmitYear:
                return omittedYear + u'-' + month + u'-' + day;
        }
    }
    return form == BirthdayForm::Basic ? date : date.left(4) + u'-' + month + u'-' + day;
}

VcardSources vcardSources(const std::vector<const VcardProperty*>& properties) {
    Pick address;
    Pick home;
    Pick cell;
    Pick work;
    Pick email;
    for (std::size_t i = 0; i < properties.size(); ++i) {
        const VcardProperty* const p = properties[i];
        const int index = static_cast<int>(i);
        if (!p) {
            continue;
        }
        if (named(*p, "ADR")) {
            address.offer(index, p->hasType("HOME") ? 0 : 1, p->preference(),
                          allEmpty(vcardComponents(p->value)));
        } else if (named(*p, "TEL")) {
            if (p->hasType("FAX") || p->hasType("PAGER") || p->hasType("MODEM")) {
                continue;
            }
            const bool empty = phoneText(p->value).isEmpty();
            // The first of cell, home and work that the types name takes the
            // number at rank 0; the others named take it at rank 1, when no
            // number names them first. A voice number, or one of no type, is
            // a home number of the lowest rank.
            const bool types[] = {p->hasType("CELL") || p->hasType("MOBILE"), p->hasType("HOME"),
                                  p->hasType("WORK")};
            Pick* const picks[] = {&cell, &home, &work};
            int rank = 0;
            for (int t = 0; t < 3; ++t) {
                if (types[t]) {
                    picks[t]->offer(index, rank, p->preference(), empty);
                    rank = 1;
                }
            }
            if (rank == 0) {
                home.offer(index, 2, p->preference(), empty);
            }
        } else if (named(*p, "EMAIL")) {
            email.offer(index, 0, p->preference(), emailText(p->value).isEmpty());
        }
    }
    return {address.index(), home.index(), cell.index(), work.index(), email.index()};
}

ContactFields vcardValues(const VcardCard& card) {
    ContactFields values;
    values[Field::IncludeCompany] = QStringLiteral("1");
    QStringList notes;
    QStringList categories;
    bool companyTaken = false;
    bool birthdayTaken = false;
    for (const VcardProperty& p : card.properties) {
        if (named(p, "ORG") && !companyTaken) {
            values[Field::Company] = vcardComponents(p.value).value(0);
            companyTaken = true;
        } else if (named(p, "BDAY") && !birthdayTaken) {
            values[Field::Birthdate] = vcardBirthdate(p);
            birthdayTaken = !values[Field::Birthdate].isEmpty();
        } else if (named(p, "NOTE")) {
            const QString note = vcardText(p.value);
            if (!note.trimmed().isEmpty()) {
                notes.append(note);
            }
        } else if (named(p, "CATEGORIES")) {
            categories += vcardListItems(p.value);
        } else if (named(p, kIncludeCompanyProperty)) {
            const QString include = p.value.trimmed();
            if (include.isEmpty() || include == QLatin1String("0") ||
                include == QLatin1String("1")) {
                values[Field::IncludeCompany] = include;
            }
        }
    }
    takeName(card, values);
    std::vector<const VcardProperty*> properties;
    for (const VcardProperty& p : card.properties) {
        properties.push_back(&p);
    }
    const VcardSources sources = vcardSources(properties);
    const auto valueOf = [&](int index, QString (*text)(const QString&)) {
        return index < 0 ? QString() : text(properties[std::size_t(index)]->value);
    };
    takeAddress(sources.address < 0 ? nullptr : properties[std::size_t(sources.address)],
                card.version == "3.0" || card.version == "4.0", values);
    values[Field::HPhone] = valueOf(sources.homePhone, phoneText);
    values[Field::CPhone] = valueOf(sources.cellPhone, phoneText);
    values[Field::WPhone] = valueOf(sources.workPhone, phoneText);
    values[Field::Email] = valueOf(sources.email, emailText);
    values[Field::Notes] = notes.join(QLatin1Char(' '));
    if (!allEmpty(categories)) {
        values[Field::Category] = categories.join(QLatin1Char(';'));
    }
    for (const FieldLayout& f : recordLayout()) {
        if (f.field != Field::IncludeCompany) {
            values[f.field] = flattenedValue(values[f.field]);
        }
    }
    return values;
}

}  // namespace tandor
