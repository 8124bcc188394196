#include "contacts/BirthdayCheck.h"

namespace tandor {
namespace {

constexpr int kAnnounceDays = 15;

bool allDigits(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    for (QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

// The birthday's date in `year`; 29 February becomes 28 February in a year without it.
QDate birthdayIn(int year, int month, int day) {
    if (month == 2 && day == 29 && !QDate::isLeapYear(year)) {
        day = 28;
    }
    return QDate(year, month, day);
}

}  // namespace

std::optional<QString> birthdayAnnouncement(const ContactRecord& record, const QDate& today) {
    QString stored = trimSpaces(record.field(Field::Birthdate));
    stored.remove(QLatin1Char(' '));
    stored = trimSpaces(stored);
    if (stored.isEmpty() || record.field(Field::BirthdayReminder) != QLatin1String("1")) {
        return std::nullopt;
    }
    // YYYYMMDD: the month is characters 5-6, the day characters 7-8 (the last
    // two). A value of another length has no month and day.
    const QString monthText = stored.mid(4, 2);
    const QString dayText = stored.right(2);
    if (stored.size() != 8 || !allDigits(monthText) || !allDigits(dayText)) {
        return std::nullopt;
    }
    const int month = monthText.toInt();
    const int day = dayText.toInt();
    // Any month and day of a leap year is a birthday (2000 is one).
    if (!QDate::isValid(2000, month, day)) {
        return std::nullopt;
    }
    QDate next = birthdayIn(today.year(), month, day);
    if (next < today) {
        next = birthdayIn(today.year() + 1, month, day);
    }
    const qint64 days = today.daysTo(next);
    if (days < 1 || days > kAnnounceDays) {
        return std::nullopt;
    }
    return record.field(Field::FName) + QLatin1Char(' ') + record.field(Field::LName) +
           QStringLiteral(" has a birthday coming up on ") + monthText + QLatin1Char('/') + dayText;
}

void forEachBirthdayAnnouncement(int count, const RecordReader& readRecord, const QDate& today,
                                 const std::function<void(const QString&)>& announce) {
    for (int n = 1; n <= count; ++n) {
        if (std::optional<QString> text = birthdayAnnouncement(readRecord(n), today)) {
            announce(*text);
        }
    }
}

QStringList birthdayAnnouncements(int count, const RecordReader& readRecord, const QDate& today) {
    QStringList out;
    forEachBirthdayAnnouncement(count, readRecord, today,
                                [&out](const QString& text) { out.append(text); });
    return out;
}

}  // namespace tandor
