#include "platform/PrintSurface.h"

namespace tandor {

void PrintSurface::printEmptyLines(int count) {
    for (int i = 0; i < count; ++i) {
        printEmptyLine();
    }
}

void PrintSurface::printAt(int column, const QString& text, LineEnd end) {
    printLine({PrintItem::column(column), PrintItem::textItem(text)}, end);
}

void PrintSurface::printText(const QString& text, LineEnd end) {
    printLine({PrintItem::textItem(text)}, end);
}

}  // namespace tandor
