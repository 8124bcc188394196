#include "list/ContactLines.h"

#include <algorithm>
#include <iterator>

#include "store/ContactsFile.h"

namespace tandor {

bool listOrderLess(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

std::size_t sortedPosition(const std::vector<ListEntry>& list, const QString& text) {
    const auto it = std::upper_bound(list.begin(), list.end(), text,
                                     [](const QString& value, const ListEntry& entry) {
                                         return listOrderLess(value, entry.text);
                                     });
    return static_cast<std::size_t>(it - list.begin());
}

void sortEntries(std::vector<ListEntry>& entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const ListEntry& a, const ListEntry& b) {
        return listOrderLess(a.text, b.text);
    });
}

void mergeEntries(std::vector<ListEntry>& list, std::vector<ListEntry> added) {
    sortEntries(added);
    if (list.empty()) {
        list = std::move(added);
        return;
    }
    std::vector<ListEntry> merged;
    merged.reserve(list.size() + added.size());
    // std::merge takes from the first range while the two compare equal: the
    // lines already in the list stay ahead of equal new ones.
    std::merge(std::make_move_iterator(list.begin()), std::make_move_iterator(list.end()),
               std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()),
               std::back_inserter(merged), [](const ListEntry& a, const ListEntry& b) {
                   return listOrderLess(a.text, b.text);
               });
    list = std::move(merged);
}

FoundContacts findContacts(const ContactsFile& file, SearchField field, const QString& searchText,
                           SortOrder order) {
    FoundContacts result;
    const int count = file.recordCount();
    result.entries.reserve(field == SearchField::All ? count : 0);
    for (int n = 1; n <= count; ++n) {
        const ContactRecord record = file.read(n);
        if (!contactMatches(record, field, searchText)) {
            continue;
        }
        result.entries.push_back({listLine(record, order), n});
        ++result.found;
        result.resultName = QString::fromLatin1(searchOption(field).resultName);
    }
    sortEntries(result.entries);
    return result;
}

QString resultCaption(const FoundContacts& found, const QString& searchText) {
    return found.resultName + QStringLiteral(" = ") + searchText;
}

QString countCaption(int found) {
    return QStringLiteral("Contacts Found = ") + QString::number(found);
}

QString copiedLinesText(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) {
        text += QStringLiteral("\r\n");
        text += line;
    }
    return text;
}

QStringList pastedLines(const QString& text) {
    if (text.isEmpty()) {
        return {};  // nothing on the clipboard: nothing to add
    }
    return text.split(QStringLiteral("\r\n"));
}

}  // namespace tandor
