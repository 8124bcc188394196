#pragma once

#include <QString>
#include <array>

#include "contacts/ContactEntry.h"

namespace tandor {

// The city line of a contact's address: city + ", " + state + "  " + ZIP.
QString cityLine(const QString& city, const QString& state, const QString& zip);

// The browser's "Print Label": the five main-window lines for the contact
// shown, from its boxes trimmed. Line 1 is the name with each pair of spaces
// made one (so an empty initial leaves one space); the company is on line 2
// when it is not empty and the include-company box is checked; the country is
// never used.
std::array<QString, 5> printLabelLines(const ContactEntry& shown);

}  // namespace tandor
