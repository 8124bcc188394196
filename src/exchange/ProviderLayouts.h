#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "exchange/ImportLayouts.h"
#include "exchange/NamedColumns.h"

namespace tandor {

// The layouts of the contact exports that providers write today, each
// recognised by the column names of its header and read by name:
//   "Google CSV"            First Name, ..., E-mail 1 - Value, Phone 1 - Label, ..., Labels
//   "Google CSV (older)"    Name, Given Name, Additional Name, Family Name, ...
//   "Gmail CSV (oldest)"    Name, E-mail, Notes, Section 1 - Description, ...
//   "Thunderbird"           First Name, Last Name, Display Name, ..., Primary Email, ...
//   "Windows Address Book"  First Name, Last Name, ..., Name, ..., E-mail Address, Home Street, ...
//                           (also Outlook Express and Windows Live Mail)
//   "Outlook"               Outlook's own and the "Outlook CSV" of other services, where
//                           the columns are not where the Primary-Phone layout looks
// in the order they are tried. Their values are cleaned as the own-export
// layout cleans them (the work phone too must end in a number, and the test
// is made on the phone's digits without the characters grouping them); birth dates
// come in the forms of birthdateFromText; a line without a first name, last
// name and company is skipped.
std::vector<ImportLayout> providerLayouts();

// Whether one of those layouts recognises a header (its text).
bool providerRecognises(const QString& headerText);

// What the Primary-Phone layout reads by name besides its table: the home
// address (the business one when the home address is empty), the business
// phone, the company, the notes and the categories.
std::shared_ptr<const NamedColumnTable> outlookAddedColumns();

// What the Yahoo layout reads by name besides its table: the home address
// under the names the UK export gives it ("Home Town", "Home County", "Home
// Post Code") and the "Comments", which its table has no place for.
std::shared_ptr<const NamedColumnTable> yahooAddedColumns();

}  // namespace tandor
