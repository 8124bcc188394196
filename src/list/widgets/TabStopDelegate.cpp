#include "list/widgets/TabStopDelegate.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>

#include "list/TabStops.h"

namespace tandor {

TabStopDelegate::TabStopDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter,
                       widget);  // background, selection, focus

    const QFontMetricsF metrics(opt.font);
    const QStringList pieces = text.split(QLatin1Char('\t'));
    // Blanks at the end of a piece (a field at its full width, an empty phone
    // column) draw nothing and do not push the next column on.
    const std::vector<double> offsets = tabPieceOffsets(pieces, measured(opt.font), [&metrics](const QString& piece) {
        qsizetype end = piece.size();
        while (end > 0 && piece[end - 1] == QLatin1Char(' ')) {
            --end;
        }
        return metrics.horizontalAdvance(piece.left(end));
    });
    painter->save();
    painter->setFont(opt.font);
    const bool selected = opt.state & QStyle::State_Selected;
    painter->setPen(
        opt.palette.color(opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
                          selected ? QPalette::HighlightedText : QPalette::Text));
    const QRectF area = QRectF(opt.rect).adjusted(kTextMargin, 0, 0, 0);
    painter->setClipRect(opt.rect);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const double x = area.left() + offsets[static_cast<std::size_t>(i)];
        if (x > area.right()) {
            break;
        }
        painter->drawText(QRectF(x, area.top(), area.right() - x, area.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, pieces[i]);
    }
    painter->restore();
}

const TabRuler& TabStopDelegate::measured(const QFont& font) const {
    // Measured once for each font, not for every line drawn.
    if (!measuredIn_ || *measuredIn_ != font) {
        const QFontMetricsF metrics(font);
        measured_ = measureTabStops(stops_, ruler_,
                                    [&metrics](const QString& text) { return metrics.horizontalAdvance(text); });
        measuredIn_ = font;
    }
    return measured_;
}

QSize TabStopDelegate::sizeHint(const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    // Every line has the same height; the width reaches past the last column.
    Q_UNUSED(index);
    const QFontMetricsF metrics(option.font);
    const TabRuler& ruler = measured(option.font);
    const double lastStop = ruler.stops.empty() ? 0.0 : ruler.stops.back();
    const double width = lastStop + 52.0 * ruler.character + 2 * kTextMargin;
    return {static_cast<int>(width), static_cast<int>(metrics.height()) + 2};
}

}  // namespace tandor
