#pragma once

#include <QFont>
#include <QStyledItemDelegate>
#include <optional>
#include <vector>

#include "list/TabStops.h"

namespace tandor {

// Draws a list line with its TAB-separated pieces at the list's tab stops
// (quarters of a character, measured on the header text in the list's font:
// see measureTabStops).
class TabStopDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit TabStopDelegate(QObject* parent = nullptr);

    // The room left of a line's text.
    static constexpr int kTextMargin = 3;

    void setTabStops(std::vector<int> stops, QString ruler = {}) {
        stops_ = std::move(stops);
        ruler_ = std::move(ruler);
        measuredIn_.reset();
    }
    const std::vector<int>& tabStops() const { return stops_; }
    const QString& ruler() const { return ruler_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const TabRuler& measured(const QFont& font) const;

    std::vector<int> stops_;
    QString ruler_;
    mutable std::optional<QFont> measuredIn_;
    mutable TabRuler measured_;
};

}  // namespace tandor
