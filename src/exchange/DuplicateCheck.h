#pragma once

#include <QSet>
#include <QString>
#include <QStringView>
#include <cstddef>
#include <utility>
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
class DuplicateCheck {
public:
    DuplicateCheck() = default;
    // Reads records 1..count of the file.
    DuplicateCheck(const ContactsFile& file, int count);
    void add(const ContactRecord& record);
    // Call once after the last add(), before the first isDuplicate().
    void finish();

    bool isDuplicate(const ContactFields& values) const;

    // The text a value is compared as: trimmed, in the characters the record
    // can hold (a character outside the code page reads back as "?").
    static QString asOnFile(const QString& value);

private:
    // The records whose name contains a text (an empty text: whose name is
    // empty), found through every suffix of every name, sorted: the names
    // that contain a text are those with a suffix that begins with it.
    class NameIndex {
    public:
        void build(const std::vector<QString>& names);
        // How many entries the text has (a record counts once per occurrence).
        std::size_t count(QStringView text) const;
        // Whether any record found for the text passes the test.
        template <typename Test>
        bool any(QStringView text, Test test) const;

    private:
        using Suffix = std::pair<QStringView, int>;
        std::pair<std::vector<Suffix>::const_iterator, std::vector<Suffix>::const_iterator> range(
            QStringView text) const;
        std::vector<Suffix> suffixes_;
        std::vector<int> emptyNames_;
    };

    QSet<QString> emails_;
    std::vector<QString> firstNames_;
    std::vector<QString> lastNames_;
    NameIndex byFirstName_;
    NameIndex byLastName_;
};

}  // namespace tandor
