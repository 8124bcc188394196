#pragma once

#include <QString>

namespace tandor {

// The order of day and month in the dates of one file.
enum class DateOrder { MonthFirst, DayFirst };

// What a file's dates show about their order. A date such as 25/12/1980 can
// only have its day first, 12/25/1980 only its month; 5/6/1980 shows nothing.
class DateOrderEvidence {
public:
    void see(const QString& date);
    // Day first when some date shows it and none shows the month first;
    // otherwise month first, as US exports write their dates.
    DateOrder order() const;

private:
    bool dayFirst_ = false;
    bool monthFirst_ = false;
};

// A birth date in one of the forms exports write, as the record stores it
// (YYYYMMDD), or an empty text when it is no whole day of the calendar:
//   yyyy-mm-dd (also with "/" or "." between, and a time after it),
//   m/d/yyyy or d/m/yyyy as the order says (also with "-" between),
//   d.m.yyyy (dots are always day first), yyyymmdd.
// A date without a year ("--12-31", "12/31") or with a two-digit year is empty.
QString birthdateFromText(const QString& text, DateOrder order);

// A birth date from separate year, month and day values ("1970", "11", "5").
QString birthdateFromParts(const QString& year, const QString& month, const QString& day);

}  // namespace tandor
