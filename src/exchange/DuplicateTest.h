#pragma once

#include <QSet>
#include <QString>
#include <QStringView>
#include <vector>

#include "store/ContactRecord.h"

namespace tandor {

class ContactsFile;

// The duplicate test of an import run, over the contacts that were on file
// when the run started (contacts written by the run are not compared). An
// imported contact is a duplicate of a record on file when
//   - its e-mail address, trimmed and not empty, equals the record's; or
//   - its first name is contained in the record's first name and its last
//     name in the record's last name (case-sensitive, trimmed), where an
//     empty imported name matches only an empty name on file.
// The records are read once, when the test is made; each contact is then
// tested without reading the file again.
class DuplicateTest {
public:
    DuplicateTest() = default;
    // Reads records 1..count of the file.
    DuplicateTest(const ContactsFile& file, int count);
    void add(const ContactRecord& record);
    // Call once after the last add(), before the first isDuplicate().
    void finish();

    bool isDuplicate(const ContactFields& values) const;
    int size() const { return static_cast<int>(firstNames_.size()); }

    // The text a value is compared as: trimmed, in the characters the record
    // can hold (a character outside the code page reads back as "?").
    static QString asOnFile(const QString& value);

private:
    bool firstNameMatches(int record, const QString& first) const;

    QSet<QString> emails_;
    std::vector<QString> firstNames_;
    std::vector<QString> lastNames_;
    // Every suffix of every non-empty last name with its record, sorted: the
    // records whose last name contains a text are the suffixes beginning with it.
    std::vector<std::pair<QStringView, int>> lastNameSuffixes_;
    std::vector<int> emptyLastNames_;
};

}  // namespace tandor
