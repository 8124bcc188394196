#include "list/widgets/ContactListModel.h"

#include <algorithm>

namespace tandor {

ContactListModel::ContactListModel(QObject* parent) : QAbstractListModel(parent) {}

int ContactListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant ContactListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 ||
        static_cast<std::size_t>(index.row()) >= entries_.size()) {
        return {};
    }
    const ListEntry& entry = entries_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return entry.text;
        case kRecordNumberRole:
            return entry.recordNumber;
        default:
            return {};
    }
}

void ContactListModel::addEntries(std::vector<ListEntry> entries) {
    if (entries.empty()) {
        return;
    }
    beginResetModel();
    mergeEntries(entries_, std::move(entries));
    endResetModel();
}

int ContactListModel::addLine(const QString& text, int recordNumber) {
    const int row = static_cast<int>(sortedPosition(entries_, text));
    beginInsertRows({}, row, row);
    entries_.insert(entries_.begin() + row, ListEntry{text, recordNumber});
    endInsertRows();
    return row;
}

void ContactListModel::removeRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // From the last line to the first, a run of neighbouring rows at a time.
    auto end = rows.end();
    while (end != rows.begin()) {
        auto start = end - 1;
        while (start != rows.begin() && *(start - 1) == *start - 1) {
            --start;
        }
        const int first = *start;
        const int last = *(end - 1);
        if (first >= 0 && static_cast<std::size_t>(last) < entries_.size()) {
            beginRemoveRows({}, first, last);
            entries_.erase(entries_.begin() + first, entries_.begin() + last + 1);
            endRemoveRows();
        }
        end = start;
    }
}

void ContactListModel::clear() {
    beginResetModel();
    entries_.clear();
    endResetModel();
}

}  // namespace tandor
