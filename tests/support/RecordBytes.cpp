#include "support/RecordBytes.h"

#include <utility>

namespace tandor::test {
namespace {

// Field name and width, in record order.
const std::pair<const char*, int> kTable[] = {
    {"FName", 11},
    {"MiddleInit", 1},
    {"LName", 16},
    {"FStreet", 30},
    {"SStreet", 15},
    {"City", 16},
    {"State", 2},
    {"Zip", 10},
    {"Country", 19},
    {"HPhone", 15},
    {"CPhone", 15},
    {"WPhone", 13},
    {"Email", 50},
    {"Birthdate", 8},
    {"Category", 80},
    {"Notes", 160},
    {"Company", 30},
    {"IncludeCompany", 1},
    {"BirthdayReminder", 1},
};

}  // namespace

QByteArray recordBytes(const QMap<QString, QByteArray>& values) {
    QByteArray out;
    bool first = true;
    for (const auto& [name, width] : kTable) {
        if (!first) {
            out.append('|');
        }
        first = false;
        const QByteArray value = values.value(QString::fromLatin1(name)).left(width);
        out.append(value);
        out.append(QByteArray(width - value.size(), ' '));
    }
    out.append("\r\n");
    return out;
}

QByteArray personBytes(const QByteArray& first, const QByteArray& last, char reminder) {
    return recordBytes({{QStringLiteral("FName"), first},
                        {QStringLiteral("LName"), last},
                        {QStringLiteral("BirthdayReminder"), QByteArray(1, reminder)}});
}

QByteArray fileBytes(const QList<QByteArray>& records) {
    QByteArray out;
    for (const QByteArray& r : records) {
        out.append(r);
    }
    return out;
}

int fieldOffset(const QString& name) {
    int offset = 0;
    for (const auto& [field, width] : kTable) {
        if (name == QLatin1String(field)) {
            return offset;
        }
        offset += width + 1;
    }
    return -1;
}

int fieldWidth(const QString& name) {
    for (const auto& [field, width] : kTable) {
        if (name == QLatin1String(field)) {
            return width;
        }
    }
    return -1;
}

}  // namespace tandor::test
