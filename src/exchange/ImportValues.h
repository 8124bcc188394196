#pragma once

#include <QString>
#include <QStringList>

#include "exchange/ImportLayouts.h"
#include "store/ContactRecord.h"

namespace tandor {

// The values of one prepared line: the layout's fixed values, then each row
// of its column table in order. MiddleInit keeps only its first character;
// a comma or line break inside a value becomes a space (records hold no
// commas). BirthdayReminder is left empty: it is decided when writing.
ContactFields takeValues(const ImportLayout& layout, const QStringList& header,
                         const QStringList& line);

// A value's text as a record may hold it: each line break (CR LF, CR or LF),
// each other control character and each comma becomes one space.
QString flattenedValue(QString value);

// The cleaning of the taken values, in this order: birth date, state in upper
// case, phones, short street, city/state/ZIP/country tests, then (every
// layout) a birth date that does not begin with "19" or "20" is emptied.
void cleanValues(ContactFields& values, const CleaningRules& rules);

// A birth date read as month, day, year with the separator (one-digit month
// and day padded), stored as YYYYMMDD; with rangeCheck a month above 12 or a
// day above 31 gives an empty date. The century test is not part of this.
QString birthdateAsStored(const QString& value, QChar separator, bool rangeCheck);

// True when a line gave nothing to keep: every value but IncludeCompany and
// BirthdayReminder is empty (or only spaces).
bool holdsNoContact(const ContactFields& values);

}  // namespace tandor
