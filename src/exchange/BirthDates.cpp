#include "exchange/BirthDates.h"

#include <QDate>
#include <QRegularExpression>
#include <optional>

namespace tandor {
namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

struct DateParts {
    QString first;
    QChar separator;
    QString second;
    QString third;
};

bool isDateSeparator(QChar c) {
    return c == u'-' || c == u'/' || c == u'.';
}

// splitDate() for a text of nothing but the digits 0-9 and separators, read
// without the regular expression (which also takes other digits and a final
// line break); nothing when the text holds anything else.
std::optional<DateParts> splitPlainDate(QStringView date) {
    for (const QChar c : date) {
        if (!isDigit(c) && !isDateSeparator(c)) {
            return std::nullopt;
        }
    }
    qsizetype at = 0;
    const auto digits = [&](qsizetype most) -> std::optional<QString> {
        const qsizetype begin = at;
        while (at < date.size() && isDigit(date[at])) {
            ++at;
        }
        if (at == begin || at - begin > most) {
            return std::nullopt;
        }
        return date.sliced(begin, at - begin).toString();
    };
    DateParts parts;
    std::optional<QString> first = digits(4);
    if (!first || at == date.size()) {
        return std::nullopt;
    }
    parts.separator = date[at++];
    std::optional<QString> second = digits(2);
    if (!second || at == date.size() || date[at++] != parts.separator) {
        return std::nullopt;
    }
    std::optional<QString> third = digits(4);
    if (!third || at != date.size()) {
        return std::nullopt;
    }
    parts.first = std::move(*first);
    parts.second = std::move(*second);
    parts.third = std::move(*third);
    return parts;
}

// The three numbers of a date and the character between them.
std::optional<DateParts> splitDate(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral("^(\\d{1,4})([-/.])(\\d{1,2})\\2(\\d{1,4})$"));
    QString date = text.trimmed();
    // A time after the date: "1980-03-07 00:00:00", "1980-03-07T00:00:00Z".
    const qsizetype space = date.indexOf(u' ');
    if (space > 0) {
        date.truncate(space);
    }
    if (date.size() > 10 && date[10] == u'T') {
        date.truncate(10);
    }
    if (const std::optional<DateParts> parts = splitPlainDate(date)) {
        return parts;
    }
    const QRegularExpressionMatch m = form.match(date);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    return DateParts{m.captured(1), m.captured(2).at(0), m.captured(3), m.captured(4)};
}

QString stored(int year, int month, int day) {
    if (year < 1000 || !QDate(year, month, day).isValid()) {
        return {};
    }
    // YYYYMMDD: the year has four digits (it is below 10000), month and day
    // two.
    QString out(8, Qt::Uninitialized);
    QChar* d = out.data();
    const int digits[8] = {year / 1000 % 10, year / 100 % 10, year / 10 % 10, year % 10,
                           month / 10,       month % 10,      day / 10,       day % 10};
    for (int i = 0; i < 8; ++i) {
        d[i] = QChar(u'0' + digits[i]);
    }
    return out;
}

bool allDigits(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

}  // namespace

void DateOrderEvidence::see(const QString& date) {
    const std::optional<DateParts> parts = splitDate(date);
    if (!parts || parts->separator == u'.' || parts->first.size() > 2) {
        return;
    }
    const int a = parts->first.toInt();
    const int b = parts->second.toInt();
    if (a > 12 && b <= 12) {
        dayFirst_ = true;
    } else if (b > 12 && a <= 12) {
        monthFirst_ = true;
    }
}

DateOrder DateOrderEvidence::order() const {
    return dayFirst_ && !monthFirst_ ? DateOrder::DayFirst : DateOrder::MonthFirst;
}

QString birthdateFromText(const QString& text, DateOrder order) {
    const QString trimmed = text.trimmed();
    if (trimmed.size() == 8 && allDigits(trimmed)) {
        return stored(trimmed.left(4).toInt(), trimmed.mid(4, 2).toInt(), trimmed.right(2).toInt());
    }
    const std::optional<DateParts> parts = splitDate(trimmed);
    if (!parts) {
        return {};
    }
    if (parts->first.size() == 4) {
        return stored(parts->first.toInt(), parts->second.toInt(), parts->third.toInt());
    }
    if (parts->first.size() > 2 || parts->third.size() != 4) {
        return {};
    }
    const int a = parts->first.toInt();
    const int b = parts->second.toInt();
    const bool dayFirst = parts->separator == u'.' || order == DateOrder::DayFirst;
    return dayFirst ? stored(parts->third.toInt(), b, a) : stored(parts->third.toInt(), a, b);
}

QString birthdateFromParts(const QString& year, const QString& month, const QString& day) {
    const QString y = year.trimmed();
    const QString m = month.trimmed();
    const QString d = day.trimmed();
    if (y.size() != 4 || !allDigits(y) || m.size() > 2 || !allDigits(m) || d.size() > 2 ||
        !allDigits(d)) {
        return {};
    }
    return stored(y.toInt(), m.toInt(), d.toInt());
}

}  // namespace tandor
