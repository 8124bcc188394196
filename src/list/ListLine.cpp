#include "list/ListLine.h"

#include "platform/Numbers.h"

namespace tandor {
namespace {

constexpr QChar kTab(u'\t');

// "Q. " for a capital initial, nothing for a blank, a digit or a small letter.
QString initialPart(const ContactRecord& record) {
    const QString initial = record.rawField(Field::MiddleInit);
    if (!initial.isEmpty() && initial[0] >= u'A' && initial[0] <= u'Z') {
        return initial.left(1) + QStringLiteral(". ");
    }
    return {};
}

}  // namespace

QString phoneColumn(const QString& storedPhone) {
    if (leadingNumber(storedPhone) >= 1.0) {
        return storedPhone;
    }
    return QString(22, QLatin1Char(' '));
}

QString listLine(const ContactRecord& record, SortOrder order) {
    QString line;
    line.reserve(160);
    if (order == SortOrder::FirstName) {
        line += record.field(Field::FName);
        line += QLatin1Char(' ');
        line += initialPart(record);
        line += record.field(Field::LName);
    } else {
        line += record.field(Field::LName);
        line += QStringLiteral(", ");
        line += record.field(Field::FName);
        line += QLatin1Char(' ');
        line += initialPart(record);
    }
    line += kTab;
    line += record.rawField(Field::City);
    line += kTab;
    line += record.rawField(Field::State);
    line += kTab;
    line += record.rawField(Field::Zip);
    line += kTab;
    line += phoneColumn(record.rawField(Field::HPhone));
    line += kTab;
    line += phoneColumn(record.rawField(Field::CPhone));
    line += kTab;
    line += record.rawField(Field::Email);
    return line;
}

}  // namespace tandor
