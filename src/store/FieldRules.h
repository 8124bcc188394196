#pragma once

#include <QString>

namespace tandor {

// The rules for a stored birth date "YYYYMMDD", shared by the entry windows,
// the import and export and the sync.

// Whether a stored birth date (leading and trailing spaces aside) is a day of
// the calendar: eight digits, month 01-12, a day the month has (29 February
// only in a leap year), year 0001 or later.
bool isCalendarBirthdate(const QString& stored);

// A birthday whose year is not known is stored with the year 0000: "00000412"
// is 12 April. Its month and day are a day of a leap year (00000229 is one).
// An older copy of the program shows it as 04/12/0000 and announces it as it
// announces any birthday, from the month and day alone.
inline constexpr char kNoBirthYear[] = "0000";
// Whether a stored birth date (leading and trailing spaces aside) is such a
// birthday without a year.
bool isYearlessBirthdate(const QString& stored);
// Whether a stored birth date is a birthday the program keeps: a day of the
// calendar or a birthday without a year.
bool isKeptBirthdate(const QString& stored);

// The stored birth date "YYYYMMDD" from the box text "MM/DD/YYYY"; empty from empty.
QString birthdateForRecord(const QString& boxText);

}  // namespace tandor
