#pragma once

#include <QFile>
#include <QList>
#include <QString>
#include <ostream>
#include <vector>

#include "list/ContactLines.h"
#include "store/ContactRecord.h"

namespace tandor::test {

// A contact from (field, value) pairs.
inline ContactRecord contact(std::initializer_list<std::pair<Field, QString>> values) {
    ContactFields fields;
    for (const auto& [field, value] : values) {
        fields[field] = value;
    }
    return ContactRecord::build(fields);
}

// A contact with a name and an address.
inline ContactRecord person(const QString& first, const QString& last, const QString& city = {},
                            const QString& zip = {}) {
    return contact({{Field::FName, first},
                    {Field::LName, last},
                    {Field::FStreet, QStringLiteral("1 Elm St")},
                    {Field::City, city},
                    {Field::State, QStringLiteral("CA")},
                    {Field::Zip, zip}});
}

// Writes the records, one after another, as a contacts file.
inline void writeContacts(const QString& path, const std::vector<ContactRecord>& records) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        for (const ContactRecord& r : records) {
            file.write(r.bytes());
        }
    }
}

// The list lines of the records, record numbers from 1, in the given order.
inline std::vector<ListEntry> entriesFor(const std::vector<ContactRecord>& records,
                                         SortOrder order = SortOrder::FirstName) {
    std::vector<ListEntry> entries;
    for (std::size_t i = 0; i < records.size(); ++i) {
        entries.push_back({listLine(records[i], order), static_cast<int>(i) + 1});
    }
    return entries;
}

inline QStringList textsOf(const std::vector<ListEntry>& entries) {
    QStringList texts;
    for (const ListEntry& e : entries) {
        texts.append(e.text);
    }
    return texts;
}

}  // namespace tandor::test

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
