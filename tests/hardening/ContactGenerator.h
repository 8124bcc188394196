#pragma once

#include <QString>
#include <QStringList>
#include <random>

#include "contacts/ContactEntry.h"
#include "store/ContactRecord.h"

namespace tandor::test {

// A contact as a user types it into the entry windows, and the values its
// record must then hold (BirthdayReminder left empty: the file decides it).
// The texts are clean: they fit their boxes, hold no comma, double quote or
// leading or trailing space, and read the same through the save pass, the
// export and the import (so a model can hold them as they are).
struct GeneratedContact {
    ContactEntry entry;
    ContactFields stored;
};

// Contacts from a seeded generator: names and words of Latin letters
// (accented ones included), streets, ZIP codes, phones, e-mail addresses,
// birth dates from 1900 to 2099, categories and notes.
class ContactGenerator {
public:
    explicit ContactGenerator(std::uint64_t seed) : rng_(seed) {}

    GeneratedContact contact();
    // A contact no other can be a duplicate of: its last name and e-mail
    // address carry a serial number that no generated word contains.
    GeneratedContact uniqueContact();

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    std::mt19937_64& engine() { return rng_; }

private:
    QString word(int minLength, int maxLength);
    QString words(int maxLength, int maxWords);
    QString digits(int count);
    QString upper(int count);

    std::mt19937_64 rng_;
    int serial_ = 0;
};

// One line of a CSV file in the program's own export layout, for the contact.
QString exportLayoutLine(const ContactFields& stored);

}  // namespace tandor::test
