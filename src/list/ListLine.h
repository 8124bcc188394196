#pragma once

#include <QString>
#include <array>

#include "store/ContactRecord.h"

namespace tandor {

// The order of the contact list: lines beginning with the first name, or with
// the last name.
enum class SortOrder { FirstName = 0, LastName = 1 };

// One line of the contact list for a contact: the name, then six columns
// separated by TAB: city, state and ZIP at their full stored width, home and
// cell phone (the stored 15 characters when the number the field begins with
// is at least 1, else 22 spaces), and the e-mail address at full width.
//   first-name order: "John Q. Smith" + TAB + ...
//   last-name order:  "Smith, John Q. " + TAB + ...
// The middle initial shows, followed by ". ", only when it is a capital A-Z.
QString listLine(const ContactRecord& record, SortOrder order);

// The phone column of a list line.
QString phoneColumn(const QString& storedPhone);

// The text of the header box above the list (122 characters). The list and
// the header share one font, and the list's tab stops are measured on this
// text in it, so the column whose tab stop is 4 * p starts under the heading
// at character position p: Name 0, City 35, ST 54, Zip 61, Home 73, Cell 90,
// Email Address 109. Each column is at least two characters wider than the
// longest value its field can hold.
inline const QString kListHeaderText = QStringLiteral(
    "Name                               City               ST     Zip         Home             "
    "Cell               Email Address");

// The list's tab stops, in quarters of a character of the header text.
inline constexpr std::array<int, 6> kListTabStops{140, 216, 244, 292, 360, 436};

}  // namespace tandor
