#pragma once

#include <QByteArray>

#include "exchange/ContactExport.h"
#include "store/ContactRecord.h"

namespace tandor {

// The vCard export: version 3.0, one card per contact, UTF-8, every line ended
// by CR LF and folded at 75 octets (the continuation lines begin with a
// space, and a character's bytes are never parted), values escaped. A card
// holds N, FN, ORG, ADR;TYPE=HOME, TEL;TYPE=HOME, TEL;TYPE=CELL,
// TEL;TYPE=WORK, EMAIL;TYPE=INTERNET, BDAY, NOTE and CATEGORIES where the
// contact has a value for them (a birthday without a year as BDAY:--04-12), always IncludeCompany as
// X-TANDOR-INCLUDE-COMPANY, so that importing the file gives the records
// back, and last a UID that an unchanged contact keeps from one export of
// the file to the next (CardDAV servers want one on every card).
const ExportFormat& vcardExportFormat();

// One contact's card, the next of `run`.
QByteArray vcardCard(const ContactRecord& record, ExportRun& run);

// Whether a Birthdate field holds a whole stored date (eight digits,
// YYYYMMDD), which a card carries as its BDAY.
bool isStoredBirthdate(const QString& date);

// A content line (UTF-8, without its line end) folded, with its CR LF.
QByteArray foldedLine(const QByteArray& line);

}  // namespace tandor
