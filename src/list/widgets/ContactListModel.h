#pragma once

#include <QAbstractListModel>
#include <vector>

#include "list/ContactLines.h"

namespace tandor {

// The lines of the contact list, kept in list order (case-insensitive by the
// whole line), each with the record number of its contact as item data
// (Qt::UserRole; 0 for a line without one).
class ContactListModel : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr int kRecordNumberRole = Qt::UserRole;

    explicit ContactListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const std::vector<ListEntry>& entries() const { return entries_; }
    // Adds lines at their sorted places (a whole report at once).
    void addEntries(std::vector<ListEntry> entries);
    // Adds one line at its sorted place and returns its row.
    int addLine(const QString& text, int recordNumber = 0);
    // Removes the given rows (any order, duplicates allowed).
    void removeRows(std::vector<int> rows);
    void clear();

private:
    std::vector<ListEntry> entries_;
};

}  // namespace tandor
