#include "support/DrawnColumns.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <cstdlib>
#include <limits>

namespace tandor::test {

QList<int> inkStarts(const QImage& image, double gap) {
    const double ratio = image.devicePixelRatio();
    const int background = qGray(image.pixel(image.width() - 1, image.height() / 2));
    QList<int> starts;
    int lastInk = -100000;
    for (int x = 0; x < image.width(); ++x) {
        bool ink = false;
        for (int y = 0; y < image.height() && !ink; ++y) {
            ink = std::abs(qGray(image.pixel(x, y)) - background) > 80;
        }
        if (ink) {
            if (x - lastInk > gap * ratio) {
                starts.append(qRound(x / ratio));
            }
            lastInk = x;
        }
    }
    return starts;
}

DrawnColumns drawnColumns(QListView* list, QLineEdit* header, int row) {
    DrawnColumns drawn;
    drawn.character = QFontMetricsF(list->font()).horizontalAdvance(QLatin1Char('0'));
    QWidget* window = list->window();
    const QRect rowRect = list->visualRect(list->model()->index(row, 0));
    const QImage rowImage = list->viewport()->grab(rowRect.adjusted(0, 2, 0, -2)).toImage();
    const QImage headerImage = header->grab(header->rect().adjusted(2, 3, -2, -3)).toImage();
    const int rowLeft = list->viewport()->mapTo(window, rowRect.topLeft()).x();
    const int headerLeft = header->mapTo(window, QPoint(2, 0)).x();
    for (const int x : inkStarts(rowImage, 1.75 * drawn.character)) {
        drawn.columns.append(x + rowLeft);
    }
    for (const int x : inkStarts(headerImage, 1.75 * drawn.character)) {
        drawn.headings.append(x + headerLeft);
    }
    return drawn;
}

QList<int> columnDrift(const DrawnColumns& drawn) {
    QList<int> drift;
    for (qsizetype i = 0; i < drawn.headings.size(); ++i) {
        drift.append(i < drawn.columns.size() ? std::abs(drawn.columns[i] - drawn.headings[i])
                                              : std::numeric_limits<int>::max());
    }
    return drift;
}

}  // namespace tandor::test
