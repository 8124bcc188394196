#pragma once

#include <QList>
#include <QString>

class QImage;
class QLineEdit;
class QListView;

namespace tandor::test {

// Where ink starts in a picture of one line of text: each run of ink
// separated from the next by a gap wider than `gap`, in logical pixels.
QList<int> inkStarts(const QImage& image, double gap);

// The contact list as drawn: where each heading of the header box and each
// column of one line of the list start, read from their pixels and given in
// the pixels of the window that holds both.
struct DrawnColumns {
    QList<int> headings;
    QList<int> columns;
    double character = 0;  // the width of "0" in the list's font
};
DrawnColumns drawnColumns(QListView* list, QLineEdit* header, int row);

// How far each column of the line stands from its heading, in pixels (as many
// as there are headings; a column that is missing counts as far off).
QList<int> columnDrift(const DrawnColumns& drawn);

}  // namespace tandor::test
