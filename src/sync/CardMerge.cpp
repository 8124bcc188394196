#include "sync/CardMerge.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QUuid>
#include <algorithm>
#include <array>

#include "exchange/ContactExport.h"
#include "exchange/VcardExport.h"
#include "exchange/VcardReader.h"
#include "exchange/VcardSource.h"
#include "platform/AppError.h"

namespace tandor::sync {
namespace {

// One logical line of a card: its bytes as they came (folded, with the line
// end) and the property read from it. A line changed by the merge is written
// anew from `prefix` and `value`.
struct CardLine {
    QByteArray raw;
    std::optional<VcardProperty> property;
    QByteArray prefix;  // "item1.TEL;TYPE=HOME", what stands before the value's ":"
    bool changed = false;
    bool removed = false;
    QString value;  // the new value, escaped, when changed
};

bool startsWithAnyCase(QByteArrayView text, QByteArrayView start) {
    return text.size() >= start.size() &&
           QByteArrayView(text.first(start.size())).compare(start, Qt::CaseInsensitive) == 0;
}

qsizetype valueColon(QByteArrayView line) {
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == ':' && !quoted) {
            return i;
        }
    }
    return -1;
}

std::optional<VcardCard> readCard(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    VcardReader reader(buffer);
    try {
        return reader.next();
    } catch (const AppError&) {
        return std::nullopt;
    }
}

// The card's lines, each read as the import reads it.
class CardLines {
public:
    explicit CardLines(const QByteArray& card) {
        QByteArray version = "3.0";
        if (const std::optional<VcardCard> whole = readCard(card); whole && !whole->version.isEmpty()) {
            version = whole->version;
        }
        version_ = version;
        // Physical lines with their ends; a line beginning with a space or a
        // tab continues the one before, as does the line after a
        // quoted-printable value ending in "=".
        qsizetype at = 0;
        while (at < card.size()) {
            qsizetype end = at;
            while (end < card.size() && card[end] != '\r' && card[end] != '\n') {
                ++end;
            }
            qsizetype next = end;
            if (next < card.size() && card[next] == '\r') {
                ++next;
            }
            if (next < card.size() && card[next] == '\n') {
                ++next;
            }
            const QByteArray physical = card.mid(at, next - at);
            const QByteArray text = card.mid(at, end - at);
            const bool folded = !text.isEmpty() && (text[0] == ' ' || text[0] == '\t');
            if (!lines_.empty() && (folded || softBreak_)) {
                lines_.back().raw += physical;
                // A quoted-printable value goes on over a line break of its own.
                unfolded_.back() += softBreak_ ? "\r\n" + text : text.mid(1);
            } else {
                lines_.push_back(CardLine{physical, std::nullopt, {}, false, false, {}});
                unfolded_.push_back(text);
            }
            const QByteArray& logical = unfolded_.back();
            const qsizetype colon = valueColon(logical);
            softBreak_ = logical.endsWith('=') && colon > 0 &&
                         logical.left(colon).toUpper().contains("QUOTED-PRINTABLE");
            at = next;
        }
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const QByteArray& text = unfolded_[i];
            const qsizetype colon = valueColon(text);
            if (colon <= 0 || startsWithAnyCase(text, "BEGIN:") || startsWithAnyCase(text, "END:")) {
                continue;
            }
            lines_[i].prefix = text.left(colon);
            const QByteArray single = "BEGIN:VCARD\r\nVERSION:" + version + "\r\n" + text + "\r\nEND:VCARD\r\n";
            if (const std::optional<VcardCard> one = readCard(single)) {
                for (const VcardProperty& p : one->properties) {
                    if (p.name != "VERSION") {
                        lines_[i].property = p;
                    }
                }
            }
        }
    }

    std::vector<CardLine>& lines() { return lines_; }
    const QByteArray& version() const { return version_; }

    // The lines that hold the property, in order.
    std::vector<int> named(QByteArrayView name) const {
        std::vector<int> found;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (!lines_[i].removed && lines_[i].property && lines_[i].property->name == name) {
                found.push_back(static_cast<int>(i));
            }
        }
        return found;
    }
    int first(QByteArrayView name) const {
        const std::vector<int> found = named(name);
        return found.empty() ? -1 : found.front();
    }

    // A property's current value (escaped): the new one once changed.
    QString value(int i) const {
        return lines_[i].changed ? lines_[i].value : lines_[i].property->value;
    }
    void set(int i, const QString& escapedValue) {
        CardLine& line = lines_[i];
        line.changed = true;
        line.value = escapedValue;
        // A value written anew is plain UTF-8 text: the encoding and the
        // character set it was read in go.
        const QByteArray upper = line.prefix.toUpper();
        if (upper.contains("ENCODING") || upper.contains("CHARSET") ||
            upper.contains("QUOTED-PRINTABLE")) {
            QByteArray prefix = line.property->group.isEmpty() ? QByteArray()
                                                               : line.property->group + '.';
            prefix += line.property->name;
            for (const auto& [name, paramValue] : line.property->params) {
                if (name == "ENCODING" || name == "CHARSET") {
                    continue;
                }
                const bool quote = paramValue.contains(':') || paramValue.contains(';') ||
                                   paramValue.contains(',');
                prefix += ';' + name + '=' + (quote ? '"' + paramValue + '"' : paramValue);
            }
            line.prefix = prefix;
        }
    }
    void remove(int i) { lines_[i].removed = true; }
    // Adds a property before END:VCARD.
    int add(const QByteArray& prefix, const QString& escapedValue) {
        std::size_t at = lines_.size();
        for (std::size_t i = lines_.size(); i-- > 0;) {
            if (startsWithAnyCase(unfolded_[i], "END:VCARD")) {
                at = i;
                break;
            }
        }
        VcardProperty property;
        const qsizetype semicolon = prefix.indexOf(';');
        property.name = (semicolon < 0 ? prefix : prefix.left(semicolon)).toUpper();
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                      CardLine{{}, property, prefix, true, false, escapedValue});
        unfolded_.insert(unfolded_.begin() + static_cast<std::ptrdiff_t>(at), prefix);
        return static_cast<int>(at);
    }

    QByteArray bytes() const {
        QByteArray out;
        for (const CardLine& line : lines_) {
            if (line.removed) {
                continue;
            }
            if (line.changed) {
                out += foldedLine(line.prefix + ':' + line.value.toUtf8());
            } else {
                out += line.raw;
                if (!line.raw.endsWith('\n') && !line.raw.endsWith('\r')) {
                    out += "\r\n";
                }
            }
        }
        return out;
    }

private:
    std::vector<CardLine> lines_;
    std::vector<QByteArray> unfolded_;
    QByteArray version_;
    bool softBreak_ = false;
};

// A structured value split at its unescaped semicolons, escapes kept.
QStringList rawComponents(const QString& value) {
    QStringList parts(1);
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            parts.back() += value[i];
            parts.back() += value[++i];
        } else if (value[i] == u';') {
            parts.append(QString());
        } else {
            parts.back() += value[i];
        }
    }
    return parts;
}

// The lines the record's fields come from, picked as vcardValues picks them
// (the address, the phones and the e-mail by vcardSources).
struct Sources {
    int n = -1;
    int fn = -1;
    int org = -1;
    int adr = -1;
    std::array<int, 3> phones{-1, -1, -1};  // home, cell, work
    int email = -1;
    int bday = -1;
    int include = -1;
    int uid = -1;
    std::vector<int> notes;
    std::vector<int> categories;
};

Sources sourcesOf(CardLines& card) {
    Sources s;
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
        if (!vcardBirthdate(vcardText(card.lines()[i].property->value)).isEmpty()) {
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

// The formatted name of the card's N (given, additional, family), else its
// company.
void renewFormattedName(CardLines& card, Sources& s) {
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

void writeField(CardLines& card, Sources& s, Field field, const QString& text) {
    static const QByteArray phonePrefixes[] = {"TEL;TYPE=HOME", "TEL;TYPE=CELL", "TEL;TYPE=WORK"};
    switch (field) {
        case Field::LName:
            setComponent(card, s.n, "N", 5, 0, vcardEscaped(text));
            break;
        case Field::FName:
            setComponent(card, s.n, "N", 5, 1, vcardEscaped(text));
            break;
        case Field::MiddleInit:
            setComponent(card, s.n, "N", 5, 2, vcardEscaped(text));
            break;
        case Field::Company:
            if (text.isEmpty() && s.org >= 0 && rawComponents(card.value(s.org)).size() <= 1) {
                card.remove(s.org);
                s.org = -1;
            } else {
                setComponent(card, s.org, "ORG", 1, 0, vcardEscaped(text));
            }
            break;
        case Field::FStreet:
            setStreetLine(card, s.adr, 0, text);
            break;
        case Field::SStreet:
            setStreetLine(card, s.adr, 1, text);
            break;
        case Field::City:
            setComponent(card, s.adr, "ADR;TYPE=HOME", 7, 3, vcardEscaped(text));
            break;
        case Field::State:
            setComponent(card, s.adr, "ADR;TYPE=HOME", 7, 4, vcardEscaped(text));
            break;
        case Field::Zip:
            setComponent(card, s.adr, "ADR;TYPE=HOME", 7, 5, vcardEscaped(text));
            break;
        case Field::Country:
            setComponent(card, s.adr, "ADR;TYPE=HOME", 7, 6, vcardEscaped(text));
            break;
        case Field::HPhone:
        case Field::CPhone:
        case Field::WPhone: {
            const int which = field == Field::HPhone ? 0 : field == Field::CPhone ? 1 : 2;
            const int line = s.phones[which];
            QString value = vcardEscaped(text);
            if (line >= 0 && !text.isEmpty() &&
                card.value(line).trimmed().startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) {
                value = QStringLiteral("tel:") + text;
            }
            setSimple(card, line, phonePrefixes[which], value);
            break;
        }
        case Field::Email:
            setSimple(card, s.email, "EMAIL;TYPE=INTERNET", vcardEscaped(text));
            break;
        case Field::Birthdate: {
            QString value;
            if (isStoredBirthdate(text)) {
                value = card.version() == "4.0" ? text
                                               : text.left(4) + u'-' + text.mid(4, 2) + u'-' + text.right(2);
            }
            setSimple(card, s.bday, "BDAY", value);
            break;
        }
        case Field::Notes:
            for (std::size_t i = 1; i < s.notes.size(); ++i) {
                card.remove(s.notes[i]);
            }
            setSimple(card, s.notes.empty() ? -1 : s.notes.front(), "NOTE", vcardEscaped(text));
            break;
        case Field::Category: {
            QStringList items;
            for (const QString& item : text.split(u';', Qt::SkipEmptyParts)) {
                items.append(vcardEscaped(item.trimmed()));
            }
            for (std::size_t i = 1; i < s.categories.size(); ++i) {
                card.remove(s.categories[i]);
            }
            setSimple(card, s.categories.empty() ? -1 : s.categories.front(), "CATEGORIES",
                      items.join(u','));
            break;
        }
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

ContactFields builtFields(ContactFields values) {
    values[Field::BirthdayReminder].clear();
    return ContactRecord::build(values).fields();
}

}  // namespace

bool isSyncedField(Field field) {
    return field != Field::BirthdayReminder;
}

ContactFields cardRecordValues(const QByteArray& vcard) {
    const std::optional<VcardCard> card = readCard(vcard);
    return builtFields(card ? vcardValues(*card) : ContactFields{});
}

ContactRecord recordForCard(const QByteArray& vcard, bool remindersOn) {
    ContactFields values = cardRecordValues(vcard);
    values[Field::BirthdayReminder] = remindersOn ? QStringLiteral("1") : QStringLiteral("0");
    return ContactRecord::build(values);
}

bool cardHoldsNoContact(const QByteArray& vcard) {
    const ContactFields values = cardRecordValues(vcard);
    for (const FieldLayout& f : recordLayout()) {
        if (f.field != Field::IncludeCompany && f.field != Field::BirthdayReminder &&
            !values[f.field].isEmpty()) {
            return false;
        }
    }
    return true;
}

QString cardUid(const QByteArray& vcard) {
    CardLines card(vcard);
    const int line = card.first("UID");
    return line < 0 ? QString() : vcardText(card.value(line)).trimmed();
}

QByteArray cardForNewContact(const ContactRecord& record, const QString& uid) {
    ExportRun run;
    CardLines card(vcardCard(record, run));
    const int line = card.first("UID");
    card.set(line, vcardEscaped(uid));
    return card.bytes();
}

QByteArray withRecordValues(const QByteArray& cardBytes, const ContactRecord& record,
                            const std::vector<Field>& fields, const QString& uid) {
    CardLines card(cardBytes);
    Sources sources = sourcesOf(card);
    const auto edits = [&](std::initializer_list<Field> these) {
        for (const Field f : these) {
            if (std::find(fields.begin(), fields.end(), f) != fields.end()) {
                return true;
            }
        }
        return false;
    };
    // A card named only by its FN (the import split it) gets an N holding
    // the names as read, before the edited ones go into it.
    if (sources.n < 0 && edits({Field::FName, Field::LName, Field::MiddleInit})) {
        const std::optional<VcardCard> whole = readCard(cardBytes);
        const ContactFields values = whole ? vcardValues(*whole) : ContactFields{};
        sources.n = card.add("N", QStringList{vcardEscaped(values[Field::LName]),
                                              vcardEscaped(values[Field::FName]),
                                              vcardEscaped(values[Field::MiddleInit]), QString(),
                                              QString()}
                                      .join(u';'));
    }
    bool names = false;
    bool company = false;
    for (const Field field : fields) {
        writeField(card, sources, field, record.field(field));
        names = names || field == Field::FName || field == Field::LName ||
                field == Field::MiddleInit;
        company = company || field == Field::Company;
    }
    if (names || (company && record.field(Field::FName).isEmpty() &&
                  record.field(Field::LName).isEmpty())) {
        renewFormattedName(card, sources);
    }
    if (sources.uid < 0 && !uid.isEmpty()) {
        card.add("UID", vcardEscaped(uid));
    }
    return card.bytes();
}

MergeResult mergeCard(const MergeInput& input) {
    const QByteArray server = input.server ? *input.server : input.base.value_or(QByteArray());
    const QByteArray base = input.base ? *input.base : server;
    const ContactFields baseValues = cardRecordValues(base);
    const ContactFields serverValues = cardRecordValues(server);
    // The record as its card reads back: what the record holds in the terms
    // the cards are compared in.
    const ContactFields localValues =
        input.localEdited ? cardRecordValues(cardForNewContact(input.local, input.uid)) : baseValues;
    std::optional<ContactFields> serverWhole;

    MergeResult result;
    ContactFields record = input.local.fields();
    std::vector<Field> localFields;
    for (const FieldLayout& layout : recordLayout()) {
        const Field f = layout.field;
        if (!isSyncedField(f)) {
            continue;
        }
        const bool localChanged = localValues[f] != baseValues[f];
        const bool serverChanged = serverValues[f] != baseValues[f];
        if (localChanged && !serverChanged) {
            localFields.push_back(f);
        } else if (localChanged && serverChanged && localValues[f] != serverValues[f]) {
            if (!serverWhole) {
                const std::optional<VcardCard> card = readCard(server);
                serverWhole = card ? vcardValues(*card) : ContactFields{};
            }
            result.conflicts.push_back({f, input.local.field(f), (*serverWhole)[f]});
            record[f] = serverValues[f];
        } else if (serverChanged && !localChanged) {
            record[f] = serverValues[f];
        }
    }
    result.record = ContactRecord::build(record);
    result.card = withRecordValues(server, input.local, localFields, input.uid);
    result.cardChanged = result.card != server;
    result.recordChanged = !(result.record == input.local);
    return result;
}

DeletionOutcome resolveDeletion(bool editedOnOtherSide) {
    return editedOnOtherSide ? DeletionOutcome::KeepEdited : DeletionOutcome::DeleteOther;
}

}  // namespace tandor::sync
