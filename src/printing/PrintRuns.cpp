#include "printing/PrintRuns.h"

#include "platform/Numbers.h"
#include "printing/Composition.h"
#include "printing/LabelSheet.h"

namespace tandor {
namespace {

const QString kCourierNew = QStringLiteral("Courier New");
const QString kTrebuchet = QStringLiteral("Trebuchet MS");

// A margin box holds any text; it counts by its leading number.
int boxNumber(const QString& text) {
    return leadingInt16(text);
}

void setOrientationAndSize(PrintSurface& surface, const CompositionState& state) {
    if (state.portrait) {
        surface.setOrientation(PageOrientation::Portrait);
        surface.setFontSize(10);
    } else if (state.landscape) {
        surface.setOrientation(PageOrientation::Landscape);
        surface.setFontSize(12);
    }
}

// The five lines, one print line each (empty ones too), starting at column
// left, left-justified or centred on a label's 30 characters.
void printFiveLines(PrintSurface& surface, const CompositionState& state, int left) {
    for (const QString& line : state.lines) {
        QList<PrintItem> items{PrintItem::column(left)};
        if (state.centered) {
            const int spaces = centringSpaces(line);
            if (spaces > 0) {
                items.append(PrintItem::spaces(spaces));
            }
        }
        items.append(PrintItem::textItem(line));
        surface.printLine(items);
    }
}

void clearBoldBox(CompositionState& state) {
    composition::setBold(state, false);
    state.boldVisible = false;
}

}  // namespace

void printLabelRun(PrintSurface& surface, CompositionState& state, const Adjustment& adjustment) {
    setOrientationAndSize(surface, state);
    if (isShiftedPrinter(surface.deviceName())) {
        surface.setPaperSize(PaperSize::Letter);
    }
    surface.printEmptyLine();
    surface.setFontName(kCourierNew);
    surface.setItalic(false);
    surface.setBold(false);
    clearBoldBox(state);

    int position = positionNumber(state.startPosition);
    for (int label = 0; label < state.labelCount; ++label, ++position) {
        if (label > 0) {
            surface.moveToTopLeft();
            surface.printEmptyLine();
        }
        const int left = boxNumber(state.leftPad) + adjustment.left;
        const int top = boxNumber(state.topPad) + adjustment.top;
        surface.printEmptyLines(top);
        printFiveLines(surface, state, left);

        // The next position and its pads (past 30 the boxes keep those of 30).
        state.startPosition = QString::number(position + 1);
        writeLabelPads(state, position + 1, isShiftedPrinter(surface.deviceName()));
    }
    surface.endDocument();
}

void printEnvelopeRun(PrintSurface& surface, CompositionState& state,
                      const Adjustment& adjustment) {
    state.labelCount = 1;
    setOrientationAndSize(surface, state);
    if (isShiftedPrinter(surface.deviceName())) {
        surface.setPaperSize(PaperSize::Envelope10);
    }
    surface.printEmptyLine();
    surface.setFontName(kCourierNew);
    if (state.bold) {
        surface.setBold(true);
    }
    if (state.largeFont) {
        surface.setFontName(kTrebuchet);
        surface.setFontSize(14);
        surface.setItalic(true);
    } else {
        surface.setFontName(kCourierNew);
        surface.setItalic(false);
    }
    if (!state.bold) {
        surface.setBold(false);
    }

    int left = boxNumber(state.leftPad) + adjustment.left;
    int top = boxNumber(state.topPad) + adjustment.top;
    if (state.bold) {
        top -= 1;
    }
    if (state.largeFont) {
        left += 4;
        top -= 8;
    }
    if (isShiftedPrinter(surface.deviceName())) {
        top -= 2;
    }
    surface.printEmptyLines(top);
    printFiveLines(surface, state, left);
    surface.endDocument();
}

void printReturnAddressSheet(PrintSurface& surface, CompositionState& state) {
    surface.printEmptyLines(5);
    surface.setFontName(kCourierNew);
    surface.setFontSize(8);
    surface.setBold(false);
    clearBoldBox(state);

    for (int row = 1; row <= 20; ++row) {
        for (int line = 0; line < 3; ++line) {
            QList<PrintItem> items;
            for (int column : kReturnLabelColumns) {
                items.append(PrintItem::column(column));
                items.append(PrintItem::textItem(state.lines[line]));
            }
            surface.printLine(items);
        }
        // The sheet's rows drift against the grid; an extra line after these
        // rows brings them back onto their labels.
        if (row == 8 || row == 13 || row == 15 || row == 20) {
            surface.printEmptyLine();
        }
        surface.printEmptyLine();
    }
}

}  // namespace tandor
