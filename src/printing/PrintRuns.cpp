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
// left, left-justified or centred on a label's characters (30 on the 30-up
// sheet and on envelopes).
void printFiveLines(PrintSurface& surface, const CompositionState& state, int left,
                    int characters = 30) {
    for (const QString& line : state.lines) {
        QList<PrintItem> items{PrintItem::column(left)};
        if (state.centered) {
            const int spaces = centringSpaces(line, characters);
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
    const LabelSheet& sheet = sheetOf(state);
    setOrientationAndSize(surface, state);
    // Letter sheets set their paper on the shifted models only; any other
    // paper is always set, as no printer is taken to hold it by default.
    if (sheet.paper != PaperSize::Letter || isShiftedPrinter(surface.deviceName())) {
        surface.setPaperSize(sheet.paper);
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
        printFiveLines(surface, state, left, sheet.characters);

        // The next position and its pads (past the last position the boxes keep its pads).
        state.startPosition = QString::number(position + 1);
        writeLabelPads(state, position + 1, labelColumnShift(surface.deviceName()));
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
    const LabelSheet& sheet = returnAddressLabelSheet();
    surface.printEmptyLines(sheet.topPad(0));
    surface.setFontName(kCourierNew);
    surface.setFontSize(sheet.fontSize);
    surface.setBold(false);
    clearBoldBox(state);

    for (int row = 0; row < sheet.rows; ++row) {
        for (int line = 0; line < sheet.textLines; ++line) {
            QList<PrintItem> items;
            for (int column = 0; column < sheet.columns; ++column) {
                items.append(PrintItem::column(sheet.leftPad(column)));
                items.append(PrintItem::textItem(state.lines[line]));
            }
            surface.printLine(items);
        }
        // Empty lines down to the next row's first line; two below the last row.
        const int below = row + 1 < sheet.rows
                              ? sheet.topPad(row + 1) - sheet.topPad(row) - sheet.textLines
                              : 2;
        surface.printEmptyLines(below);
    }
}

}  // namespace tandor
