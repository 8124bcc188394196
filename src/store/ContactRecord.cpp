#include "store/ContactRecord.h"

#include <algorithm>

#include "platform/Ansi.h"
#include "platform/Numbers.h"

namespace tandor {
namespace {

constexpr std::array<FieldLayout, kFieldCount> kLayout = {{
    {Field::FName, "FName", 0, 11},
    {Field::MiddleInit, "MiddleInit", 12, 1},
    {Field::LName, "LName", 14, 16},
    {Field::FStreet, "FStreet", 31, 30},
    {Field::SStreet, "SStreet", 62, 15},
    {Field::City, "City", 78, 16},
    {Field::State, "State", 95, 2},
    {Field::Zip, "Zip", 98, 10},
    {Field::Country, "Country", 109, 19},
    {Field::HPhone, "HPhone", 129, 15},
    {Field::CPhone, "CPhone", 145, 15},
    {Field::WPhone, "WPhone", 161, 13},
    {Field::Email, "Email", 175, 50},
    {Field::Birthdate, "Birthdate", 226, 8},
    {Field::Category, "Category", 235, 80},
    {Field::Notes, "Notes", 316, 160},
    {Field::Company, "Company", 477, 30},
    {Field::IncludeCompany, "IncludeCompany", 508, 1},
    {Field::BirthdayReminder, "BirthdayReminder", 510, 1},
}};

// A blank record: spaces, the 18 separators and the terminator.
QByteArray blankRecord() {
    QByteArray bytes(kRecordSize, ' ');
    for (int i = 0; i + 1 < kFieldCount; ++i) {
        bytes[kLayout[i].offset + kLayout[i].width] = '|';
    }
    bytes[kRecordSize - 2] = '\r';
    bytes[kRecordSize - 1] = '\n';
    return bytes;
}

}  // namespace

const std::array<FieldLayout, kFieldCount>& recordLayout() {
    return kLayout;
}

const FieldLayout& layoutOf(Field field) {
    return kLayout[static_cast<int>(field)];
}

QString trimSpaces(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ') {
        ++start;
    }
    while (end > start && text[end - 1] == u' ') {
        --end;
    }
    return text.mid(start, end - start);
}

ContactRecord::ContactRecord() {
    static const QByteArray blank = blankRecord();
    bytes_ = blank;  // shared until a field is set
}

ContactRecord ContactRecord::build(const ContactFields& fields) {
    ContactRecord record;
    for (const FieldLayout& f : kLayout) {
        record.setField(f.field, fields[f.field]);
    }
    // A first name that begins with the deletion mark would make the contact
    // disappear at the next deletion or opening of the file: it is stored
    // without its first "*".
    if (record.isMarkedDeleted()) {
        record.setField(Field::FName, record.rawField(Field::FName).mid(1));
    }
    return record;
}

ContactRecord ContactRecord::fromBytes(QByteArrayView bytes) {
    ContactRecord record;
    record.bytes_ = QByteArray(bytes.data(), std::min<qsizetype>(bytes.size(), kRecordSize));
    if (record.bytes_.size() < kRecordSize) {
        record.bytes_.append(QByteArray(kRecordSize - record.bytes_.size(), ' '));
    }
    return record;
}

QString ContactRecord::rawField(Field f) const {
    const FieldLayout& l = layoutOf(f);
    // A control character written by another program reads as a space, so
    // that one contact stays one line wherever it is shown.
    return controlsAsSpaces(fromAnsi(QByteArrayView(bytes_).sliced(l.offset, l.width)));
}

QString ContactRecord::field(Field f) const {
    return trimSpaces(rawField(f));
}

void ContactRecord::setField(Field f, const QString& value) {
    const FieldLayout& l = layoutOf(f);
    qsizetype start = 0;
    while (start < value.size() && value[start] == u' ') {
        ++start;
    }
    // Written in place, cut to the field's width and padded with spaces.
    char* field = bytes_.data() + l.offset;
    const qsizetype stored = toAnsiInto(QStringView(value).mid(start), field, l.width);
    std::fill(field + stored, field + l.width, ' ');
}

ContactFields ContactRecord::fields() const {
    ContactFields out;
    for (const FieldLayout& f : kLayout) {
        out[f.field] = field(f.field);
    }
    return out;
}

bool ContactRecord::isMarkedDeleted() const {
    return bytes_.startsWith(kDeletedMark);
}

QString birthdateForDisplay(const QString& stored) {
    if (leadingNumber(stored) <= 1.0) {
        return {};
    }
    const QString value = trimSpaces(stored);
    return value.mid(4, 2) + QLatin1Char('/') + value.mid(6, 2) + QLatin1Char('/') + value.left(4);
}

}  // namespace tandor
