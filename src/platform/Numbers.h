#pragma once

#include <QString>
#include <QStringView>

namespace tandor {

// The number a text spells with its leading characters, after leading blanks:
// an optional sign, digits and at most one decimal point. "12abc" reads 12,
// "abc" reads 0, "5-" reads 5, "-5" reads -5, "1.5" reads 1.5.
double leadingNumber(QStringView text);

// A whole number rounded to the nearest integer, an exact half going to the
// even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
long long roundHalfEven(double value);

// A 16-bit integer: the value rounded half to even. Values outside
// -32768..32767 overflow and throw AppError 6 ("Overflow").
int toInt16(double value);

// True when the text, after optional leading and trailing blanks, is an
// optional sign followed by one or more digits with at most one decimal point.
// An empty text is not a number.
bool readsAsNumber(QStringView text);

// The number at the start of a text, as a 16-bit integer (leadingNumber, then
// toInt16).
int leadingInt16(QStringView text);

// The shortest decimal text of a number: 3 -> "3", -1.5 -> "-1.5", 0.25 -> ".25"
// is written as "0.25".
QString shortestDecimal(double value);

}  // namespace tandor
