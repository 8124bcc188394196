#pragma once

#include <QStyledItemDelegate>
#include <vector>

namespace tandor {

// Draws a list line with its TAB-separated pieces at the list's tab stops
// (quarters of the average character width of the list's font).
class TabStopDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit TabStopDelegate(QObject* parent = nullptr);

    // The room left of a line's text.
    static constexpr int kTextMargin = 3;

    void setTabStops(std::vector<int> stops) { stops_ = std::move(stops); }
    const std::vector<int>& tabStops() const { return stops_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    std::vector<int> stops_;
};

}  // namespace tandor
