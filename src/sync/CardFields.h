#pragma once

#include <QString>
#include <array>
#include <vector>

#include "store/ContactRecord.h"
#include "sync/CardLines.h"

namespace tandor::sync {

// The writing of a record's fields into the lines of a card: each field goes
// into the property the import reads it from, and only that line changes.

// The lines the record's fields come from, picked as vcardValues picks them
// (the address, the phones and the e-mail by vcardSources); -1 where the card
// has none.
struct CardSources {
    int n = -1;
    int fn = -1;
    int org = -1;
    int adr = -1;
    std::array<int, 3> phones{-1, -1, -1};  // home, cell, work
    int email = -1;
    int bday = -1;
    int include = -1;
    int uid = -1;
    std::vector<int> notes;
    std::vector<int> categories;
};
CardSources cardSources(const CardLines& card);

// Writes one field's value into the card: into the line it comes from, or a
// new property, or (an empty value) no property. An address left with no
// component goes.
void writeField(CardLines& card, CardSources& sources, Field field, const QString& text);

// Gives the card the formatted name of its N (given, additional, family),
// else of its company.
void renewFormattedName(CardLines& card, CardSources& sources);

}  // namespace tandor::sync
