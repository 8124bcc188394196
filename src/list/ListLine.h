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

// The text of the header box above the list (122 characters).
inline const QString kListHeaderText = QStringLiteral(
    "Name                               City               ST     Zip         Home         Cell"
    "                   Email Address");

// The list's seven tab stops, in quarters of the average character width.
inline constexpr std::array<int, 7> kListTabStops{100, 110, 120, 154, 176, 212, 242};

}  // namespace tandor
