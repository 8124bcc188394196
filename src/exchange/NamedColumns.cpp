#include "exchange/NamedColumns.h"

#include <QRegularExpression>
#include <map>

#include "exchange/ImportLayouts.h"
#include "exchange/ImportValues.h"

namespace tandor {
namespace {

const QLatin1String kMultiValue(" ::: ");

// What a header can make a line cost: no value is looked for in more than
// this many columns, and no more than this many numbered Google columns of a
// kind are read (real exports have a handful), so that each line is read in
// a time that does not grow with the header.
constexpr std::size_t kMaxColumnsPerValue = 16;
constexpr int kMaxNumberedGroups = 32;

// A cell's first value, without the spaces around it.
QString firstValue(const QString& cell) {
    const qsizetype at = cell.indexOf(kMultiValue);
    return (at < 0 ? cell : cell.left(at)).trimmed();
}

enum class LabelKind { Home, Mobile, Work, Other, None };

// What a Google label names ("* Mobile": the asterisk marks the main one).
LabelKind labelKind(const QString& labelCell) {
    QString label = firstValue(labelCell);
    while (label.startsWith(u'*')) {
        label = label.mid(1).trimmed();
    }
    label = label.toLower();
    if (label == QLatin1String("home")) {
        return LabelKind::Home;
    }
    if (label == QLatin1String("mobile") || label == QLatin1String("cell")) {
        return LabelKind::Mobile;
    }
    if (label == QLatin1String("work")) {
        return LabelKind::Work;
    }
    if (label.contains(QLatin1String("fax")) || label.contains(QLatin1String("pager"))) {
        return LabelKind::None;
    }
    return LabelKind::Other;
}

// A Google label list as categories: the labels joined by ";", without the
// ones Google gives every contact ("* myContacts", "* starred").
QString categoriesOfLabels(const QString& cell) {
    QStringList kept;
    for (const QString& part : cell.split(kMultiValue)) {
        const QString label = part.trimmed();
        if (!label.isEmpty() && !label.startsWith(u'*')) {
            kept.append(label);
        }
    }
    return kept.join(u';');
}

// A street's lines: the first is the street, the others its second line.
std::pair<QString, QString> streetLines(const QString& street) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines;
    for (const QString& line : street.split(lineBreak)) {
        if (!line.trimmed().isEmpty()) {
            lines.append(line.trimmed());
        }
    }
    if (lines.isEmpty()) {
        return {};
    }
    return {lines.takeFirst(), lines.join(u' ')};
}

void set(ContactFields& values, Field field, const QString& value) {
    if (!value.isEmpty()) {
        values[field] = flattenedValue(value);
    }
}

}  // namespace

NamedColumns::NamedColumns(const NamedColumnTable& table, const QStringList& header)
    : header_(header),
      googleLabels_(table.googleColumns),
      streetLinesSplit_(table.streetLinesSplit) {
    for (QString& name : header_) {
        name = name.trimmed();
    }
    first_ = find(table.firstName);
    middle_ = find(table.middleName);
    last_ = find(table.lastName);
    full_ = find(table.fullName);
    email_ = find(table.email);
    home_ = find(table.homePhone);
    mobile_ = find(table.mobilePhone);
    work_ = find(table.workPhone);
    for (const AddressColumnNames& names : table.addresses) {
        Address a{find(names.street), find(names.street2), find(names.city),
                  find(names.state),  find(names.zip),     find(names.country)};
        addresses_.push_back(a);
    }
    birthday_ = find(table.birthday);
    otherDates_ = find(table.otherDates);
    year_ = find({table.birthYear});
    month_ = find({table.birthMonth});
    day_ = find({table.birthDay});
    company_ = find(table.company);
    notes_ = find(table.notes);
    categories_ = find(table.categories);
    if (table.googleColumns) {
        findGoogleColumns();
    }
}

NamedColumns::Positions NamedColumns::find(const QStringList& names) const {
    Positions found;
    for (const QString& name : names) {
        for (qsizetype i = 0; i < header_.size() && found.size() < kMaxColumnsPerValue; ++i) {
            if (!name.isEmpty() && header_[i] == name) {
                found.push_back(i);
            }
        }
    }
    return found;
}

void NamedColumns::findGoogleColumns() {
    static const QRegularExpression numbered(
        QStringLiteral("^(E-mail|Phone|Address|Organization) (\\d{1,6}) - (.+)$"));
    struct Group {
        std::map<QString, qsizetype> parts;
    };
    std::map<int, Group> emails, phones, addresses, organizations;
    for (qsizetype i = 0; i < header_.size(); ++i) {
        const QRegularExpressionMatch m = numbered.match(header_[i]);
        if (!m.hasMatch()) {
            continue;
        }
        const QString kind = m.captured(1);
        const int n = m.captured(2).toInt();
        if (n < 1 || n > kMaxNumberedGroups) {
            continue;
        }
        auto& groups = kind == QLatin1String("E-mail")    ? emails
                       : kind == QLatin1String("Phone")   ? phones
                       : kind == QLatin1String("Address") ? addresses
                                                          : organizations;
        groups[n].parts.emplace(m.captured(3), i);  // a column named twice: the first
    }
    const auto part = [](const Group& g, std::initializer_list<const char*> names) {
        Positions p;
        for (const char* name : names) {
            const auto it = g.parts.find(QLatin1String(name));
            if (it != g.parts.end()) {
                p.push_back(it->second);
            }
        }
        return p;
    };
    for (const auto& [n, g] : emails) {
        for (const qsizetype at : part(g, {"Value"})) {
            email_.push_back(at);
        }
    }
    for (const auto& [n, g] : organizations) {
        for (const qsizetype at : part(g, {"Name"})) {
            company_.push_back(at);
        }
    }
    for (const auto& [n, g] : phones) {
        const Positions label = part(g, {"Label", "Type"});
        const Positions value = part(g, {"Value"});
        if (!value.empty()) {
            phones_.push_back({label.empty() ? -1 : label.front(), value.front()});
        }
    }
    // A home address first, then the others in their order.
    for (const bool home : {true, false}) {
        for (const auto& [n, g] : addresses) {
            Address a{part(g, {"Street"}),      part(g, {"Extended Address", "PO Box"}),
                      part(g, {"City"}),        part(g, {"Region"}),
                      part(g, {"Postal Code"}), part(g, {"Country"})};
            const Positions label = part(g, {"Label", "Type"});
            googleAddresses_.push_back({a, label.empty() ? -1 : label.front(), home});
        }
    }
}

QString NamedColumns::first(const QStringList& line, const Positions& positions) const {
    for (const qsizetype at : positions) {
        const QString value = firstValue(columnOrEmpty(line, at));
        if (!value.isEmpty()) {
            return value;
        }
    }
    return {};
}

bool NamedColumns::holdsAddress(const QStringList& line, const Address& a) const {
    for (const Positions* p : {&a.street, &a.street2, &a.city, &a.state, &a.zip, &a.country}) {
        if (!first(line, *p).isEmpty()) {
            return true;
        }
    }
    return false;
}

void NamedColumns::takeAddress(const QStringList& line, ContactFields& values) const {
    const Address* chosen = nullptr;
    for (const Address& a : addresses_) {
        if (holdsAddress(line, a)) {
            chosen = &a;
            break;
        }
    }
    for (const GoogleAddress& g : googleAddresses_) {
        if (chosen) {
            break;
        }
        const bool labelledHome = labelKind(columnOrEmpty(line, g.label)) == LabelKind::Home;
        if ((!g.homeOnly || labelledHome) && holdsAddress(line, g.address)) {
            chosen = &g.address;
        }
    }
    if (!chosen) {
        return;
    }
    // The street keeps its first line; its other lines are the second street
    // line, before the file's own second line when it has one, so that no
    // text is lost.
    QString street = first(line, chosen->street);
    QString street2 = first(line, chosen->street2);
    if (streetLinesSplit_) {
        const auto [firstLine, more] = streetLines(street);
        street = firstLine;
        if (!more.isEmpty()) {
            street2 = street2.isEmpty() ? more : more + u' ' + street2;
        }
    }
    set(values, Field::FStreet, street);
    set(values, Field::SStreet, street2);
    set(values, Field::City, first(line, chosen->city));
    set(values, Field::State, first(line, chosen->state));
    set(values, Field::Zip, first(line, chosen->zip));
    set(values, Field::Country, first(line, chosen->country));
}

void NamedColumns::takePhones(const QStringList& line, ContactFields& values) const {
    set(values, Field::HPhone, first(line, home_));
    set(values, Field::CPhone, first(line, mobile_));
    set(values, Field::WPhone, first(line, work_));
    // Google's phones go where their labels say, then the others fill the
    // phone fields still empty.
    QStringList others;
    for (const LabelledPhone& phone : phones_) {
        const QString value = firstValue(columnOrEmpty(line, phone.value));
        if (value.isEmpty()) {
            continue;
        }
        const LabelKind kind = labelKind(columnOrEmpty(line, phone.label));
        const Field field = kind == LabelKind::Home     ? Field::HPhone
                            : kind == LabelKind::Mobile ? Field::CPhone
                                                        : Field::WPhone;
        if (kind == LabelKind::None) {
            continue;
        }
        if (kind != LabelKind::Other && values[field].isEmpty()) {
            set(values, field, value);
        } else {
            others.append(value);
        }
    }
    for (const QString& value : others) {
        for (const Field field : {Field::HPhone, Field::CPhone, Field::WPhone}) {
            if (values[field].isEmpty()) {
                set(values, field, value);
                break;
            }
        }
    }
}

QStringList NamedColumns::dates(const QStringList& line) const {
    QStringList found;
    for (const Positions* p : {&birthday_, &otherDates_}) {
        for (const qsizetype at : *p) {
            const QString value = firstValue(columnOrEmpty(line, at));
            if (!value.isEmpty()) {
                found.append(value);
            }
        }
    }
    return found;
}

void NamedColumns::take(const QStringList& line, DateOrder order, ContactFields& values) const {
    QString firstName = first(line, first_);
    QString lastName = first(line, last_);
    if (firstName.isEmpty() && lastName.isEmpty()) {
        const QString full = first(line, full_);
        const qsizetype space = full.lastIndexOf(u' ');
        firstName = space < 0 ? full : full.left(space).trimmed();
        lastName = space < 0 ? QString() : full.mid(space + 1);
    }
    set(values, Field::FName, firstName);
    set(values, Field::MiddleInit, first(line, middle_).left(1));
    set(values, Field::LName, lastName);
    set(values, Field::Email, first(line, email_));
    takePhones(line, values);
    takeAddress(line, values);
    if (!birthday_.empty()) {
        set(values, Field::Birthdate, birthdateFromText(first(line, birthday_), order));
    } else if (!year_.empty() && !month_.empty() && !day_.empty()) {
        set(values, Field::Birthdate,
            birthdateFromParts(first(line, year_), first(line, month_), first(line, day_)));
    }
    set(values, Field::Company, first(line, company_));
    set(values, Field::Notes, first(line, notes_));
    if (googleLabels_) {
        for (const qsizetype at : categories_) {
            set(values, Field::Category, categoriesOfLabels(columnOrEmpty(line, at)));
            if (!values[Field::Category].isEmpty()) {
                break;
            }
        }
    } else {
        set(values, Field::Category, first(line, categories_));
    }
}

qsizetype NamedColumns::columnsRead() const {
    qsizetype n = 0;
    for (const Positions* p : {&first_, &middle_, &last_, &full_, &email_, &home_, &mobile_, &work_,
                               &birthday_, &otherDates_, &year_, &month_, &day_, &company_,
                               &notes_, &categories_}) {
        n += static_cast<qsizetype>(p->size());
    }
    const auto addressColumns = [](const Address& a) {
        return static_cast<qsizetype>(a.street.size() + a.street2.size() + a.city.size() +
                                      a.state.size() + a.zip.size() + a.country.size());
    };
    for (const Address& a : addresses_) {
        n += addressColumns(a);
    }
    for (const GoogleAddress& g : googleAddresses_) {
        n += addressColumns(g.address) + 1;
    }
    return n + 2 * static_cast<qsizetype>(phones_.size());
}

}  // namespace tandor
