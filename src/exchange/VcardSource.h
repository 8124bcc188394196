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
//   BDAY    Birthdate, when it is a whole date with a year or a date
//           without one (vcardBirthdate below)
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

// A BDAY value as stored, empty when it is neither of these:
// - a whole date with a year, as YYYYMMDD: 19800410, 1980-04-10, either with
//   a time after a "T";
// - a date without a year, as 0000MMDD (kNoBirthYear, FieldRules.h): --0412
//   and --04-12 (a time after them too).
QString vcardBirthdate(const QString& text);
// The same for a BDAY property, its value's escapes taken out. A date whose
// X-APPLE-OMIT-YEAR parameter names its year (BDAY;X-APPLE-OMIT-YEAR=1604:
// 1604-04-12) is a date without a year too.
QString vcardBirthdate(const VcardProperty& bday);

// The forms a card writes a birth date in.
enum class BirthdayForm {
    Basic,     // 19800410, --0412 (as vCard 4.0 writes them)
    Extended,  // 1980-04-10, --04-12
    OmitYear,  // a date without a year as a date in the year the
               // X-APPLE-OMIT-YEAR parameter names: 1604-04-12
};
inline constexpr char kOmitYearParameter[] = "X-APPLE-OMIT-YEAR";
// The BDAY value of a stored birth date of eight digits (YYYYMMDD, or
// 0000MMDD for one without a year) in that form; empty for other text.
// `omittedYear` is the year OmitYear writes a date without a year in; a
// date with a year is written in the Extended form then.
QString vcardBirthdayValue(const QString& stored, BirthdayForm form,
                           const QString& omittedYear = QStringLiteral("1604"));

}  // namespace tandor
