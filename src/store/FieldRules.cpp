#include "store/FieldRules.h"

#include <QDate>

#include "store/ContactRecord.h"

namespace tandor {

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

}  // namespace tandor
