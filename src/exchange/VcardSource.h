#pragma once

#include <QIODevice>
#include <QString>
#include <memory>
#include <vector>

#include "exchange/ContactSource.h"
#include "exchange/VcardReader.h"
#include "store/ContactRecord.h"

namespace tandor {

// The name the import gives the format ("Layout: vCard").
inline const QString kVcardFormat = QStringLiteral("vCard");
// The property that carries IncludeCompany, which vCard has no place for.
inline constexpr char kIncludeCompanyProperty[] = "X-TANDOR-INCLUDE-COMPANY";

// The cards of a vCard file as a contact source. Its values are cleaned as
// the layouts of today's CSV exports clean theirs, and a card that gives no
// first name, last name or company is left out, as their lines are.
std::unique_ptr<ContactSource> vcardSource(QIODevice& device);

// The values of one card, as the import takes them:
//   N       LName, FName, and MiddleInit (the first letter of the additional
//           names); when N is missing or empty, FN split at its last space
//           (unless FN is the company's name)
//   ORG     Company (its first component)
//   ADR     the home address, else the preferred one, else the first: the
//           street's first line to FStreet, its second line (else the
//           extended address, else the PO box, else in 3.0 and 4.0 the
//           second and further values of a street written as a comma list)
//           to SStreet, City, State, Zip, Country; an extended address of
//           several lines with no street stands for the street
//   TEL     CPhone (cell or mobile), HPhone (home, else voice or no type),
//           WPhone (work): a number of several of these types fills the
//           first of them and each other one that no number names first;
//           fax, pager and modem numbers are not taken
//   EMAIL   Email, the preferred one first
//   BDAY    Birthdate, when it is a whole date with a year
//   NOTE    Notes; CATEGORIES Category (several joined by ";")
// Line breaks and commas inside values become spaces. IncludeCompany is "1"
// unless the card carries kIncludeCompanyProperty ("0", "1" or empty). Among properties of equal
// rank the most preferred wins (PREF=1, TYPE=PREF), then the first.
ContactFields vcardValues(const VcardCard& card);

// Which of a card's properties the import takes the address, the phones and
// the e-mail from, as vcardValues picks them (ADR, TEL and EMAIL above): each
// an index into `properties`, -1 when none gives a value. Null entries are
// passed over. The sync writes a changed field back into the property its
// value came from, so it asks here too.
struct VcardSources {
    int address = -1;
    int homePhone = -1;
    int cellPhone = -1;
    int workPhone = -1;
    int email = -1;
};
VcardSources vcardSources(const std::vector<const VcardProperty*>& properties);

// A BDAY value as stored (YYYYMMDD), empty when it is no whole date with a
// year: 19800410, 1980-04-10, either with a time after a "T".
QString vcardBirthdate(const QString& text);

}  // namespace tandor
