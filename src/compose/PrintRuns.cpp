#include "compose/PrintRuns.h"

#include <algorithm>
#include <cmath>

#include "platform/Numbers.h"
#include "platform/PrintGrid.h"
#include "compose/Composition.h"
#include "compose/LabelPositions.h"
#include "sheets/PrinterModels.h"

namespace tandor {
namespace {

const QString kTrebuchet = QStringLiteral("Trebuchet MS");

// A margin box holds any text; it counts by its leading number.
int boxNumber(const QString& text) {
    return leadingInt16(text);
}

// The font size the orientation option gives (0 when neither is selected).
double setOrientationAndSize(PrintSurface& surface, const CompositionState& state) {
    if (state.portrait) {
        surface.setOrientation(PageOrientation::Portrait);
        surface.setFontSize(10);
        return 10;
    }
    if (state.landscape) {
        surface.setOrientation(PageOrientation::Landscape);
        surface.setFontSize(12);
        return 12;
    }
    return 0;
}

// The five lines, one print line each (empty ones too), starting at column
// left, left-justified or centred on a label's characters (30 on the 30-up
// sheet and on envelopes). A label of fewer lines takes the first of them.
void printFiveLines(PrintSurface& surface, const CompositionState& state, int left,
                    int characters = 30, int lines = 5) {
    for (int k = 0; k < lines && k < static_cast<int>(state.lines.size()); ++k) {
        const QString& line = state.lines[static_cast<std::size_t>(k)];
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

// The envelope block on an envelope page. The margin boxes place it on a
// Letter page that holds the envelope against its bottom-left corner; on the
// envelope's own page the block keeps that place on the envelope, held within
// the address area and wholly on the page. `above` is the height the written
// layout prints above the block (its first empty line and Top lines).
void placeOnEnvelope(PrintSurface& surface, const CompositionState& state, double above, int left,
                     double fontSize) {
    const PageGeometry page = surface.pageGeometry();
    const QRectF& area = page.printable;
    const double width = page.paper.width();
    const double height = page.paper.height();
    const PageOrientation turned =
        width > height ? PageOrientation::Landscape : PageOrientation::Portrait;
    const QSizeF letter = printgrid::paperSize(PaperSize::Letter, turned);
    const double cell = surface.currentColumnWidth();

    // The block: the lines' texts, each after its centring spaces (in columns from the block's column).
    int leftmost = -1;
    int rightmost = 0;
    for (const QString& line : state.lines) {
        if (line.isEmpty()) {
            continue;
        }
        const int spaces = state.centered ? std::max(0, centringSpaces(line)) : 0;
        leftmost = leftmost < 0 ? spaces : std::min(leftmost, spaces);
        rightmost = std::max(rightmost, spaces + static_cast<int>(line.size()));
    }
    leftmost = std::max(leftmost, 0);
    const double blockWidth = (rightmost - leftmost) * cell;
    const double blockHeight = 5 * printgrid::lineHeight(fontSize);
    // The block's left edge when the lines start at column c.
    const auto blockLeft = [&](int c) { return area.left() + (c - 1 + leftmost) * cell; };

    // Where the written layout puts it on the envelope.
    double x = blockLeft(std::max(left, 1));
    double y = area.top() + above - (letter.height() - height);
    x = std::clamp(x, kAddressAreaLeft[0] * width, kAddressAreaLeft[1] * width);
    y = std::clamp(y, kAddressAreaTop[0] * height, kAddressAreaTop[1] * height);
    if (x + blockWidth > area.right()) {
        x = std::max(area.left(), area.right() - blockWidth);
    }
    if (y + blockHeight > area.bottom()) {
        y = std::max(area.top(), area.bottom() - blockHeight);
    }

    // On the grid: the column whose block edge lies nearest, kept inside the
    // area, and the height in whole twips, rounded into the area.
    int column = std::max(1, static_cast<int>(std::lround((x - area.left()) / cell)) + 1 - leftmost);
    while (column > 1 && blockLeft(column) > kAddressAreaLeft[1] * width) {
        --column;
    }
    while (blockLeft(column) < kAddressAreaLeft[0] * width && blockLeft(column + 1) + blockWidth <= area.right()) {
        ++column;
    }
    const double twip = 1.0 / printgrid::kTwipsPerPoint;
    double twips = std::clamp(std::round((y - area.top()) / twip),
                              std::ceil((kAddressAreaTop[0] * height - area.top()) / twip),
                              std::floor((kAddressAreaTop[1] * height - area.top()) / twip));
    twips = std::min(twips, std::floor((area.height() - blockHeight) / twip));
    surface.moveToLeftEdgeAt(static_cast<int>(std::max(0.0, twips)));
    printFiveLines(surface, state, column);
}

}  // namespace

void clearBoldBox(CompositionState& state) {
    composition::setBold(state, false);
    state.boldVisible = false;
}

void composeLabelRun(PrintSurface& surface, const CompositionState& state, const Adjustment& adjustment) {
    const LabelSheet& sheet = sheetOf(state);
    setOrientationAndSize(surface, state);
    // A sheet's labels take its own font size (10 points on the written address
    // sheets); landscape keeps its 12 points.
    if (!state.landscape && sheet.fontSize != 10.0) {
        surface.setFontSize(sheet.fontSize);
    }
    const int columnShift = labelColumnShift(surface.deviceName());
    // Letter sheets set their paper on the shifted models only; any other
    // paper is always set, as no printer is taken to hold it by default.
    if (sheet.paper != PaperSize::Letter || isShiftedPrinter(surface.deviceName())) {
        surface.setPaperSize(sheet.paper);
    }
    surface.printEmptyLine();
    surface.setFontName(kCourierNew);
    surface.setItalic(false);
    surface.setBold(false);

    // The first label goes where the boxes say; each further one at its position's pads.
    CompositionState pads = state;
    int position = positionNumber(state.startPosition);
    for (int label = 0; label < state.labelCount; ++label, ++position) {
        if (label > 0) {
            surface.moveToTopLeft();
            surface.printEmptyLine();
        }
        const int left = boxNumber(pads.leftPad) + adjustment.left;
        const int top = boxNumber(pads.topPad) + adjustment.top;
        surface.printEmptyLines(top);
        printFiveLines(surface, state, left, sheet.characters, sheet.textLines);
        writeLabelPads(pads, position + 1, columnShift);
    }
    surface.endDocument();
}

void afterLabelRun(CompositionState& state, int columnShift) {
    clearBoldBox(state);
    int position = positionNumber(state.startPosition);
    for (int label = 0; label < state.labelCount; ++label, ++position) {
        // The next position and its pads (past the last position the boxes keep its pads).
        state.startPosition = QString::number(position + 1);
        writeLabelPads(state, position + 1, columnShift);
    }
}

void composeEnvelopeRun(PrintSurface& surface, const CompositionState& state, const Adjustment& adjustment) {
    double size = setOrientationAndSize(surface, state);
    const bool shifted = isShiftedPrinter(surface.deviceName());
    if (shifted) {
        surface.setPaperSize(PaperSize::Envelope10);
    }
    const bool envelopePage = surface.pageGeometry().envelope;
    // The first line of the written layout, in the orientation's font size.
    const double firstLine = printgrid::lineHeight(size > 0 ? size : 10);
    if (!envelopePage) {
        surface.printEmptyLine();
    }
    surface.setFontName(kCourierNew);
    if (state.bold) {
        surface.setBold(true);
    }
    if (state.largeFont) {
        surface.setFontName(kTrebuchet);
        surface.setFontSize(14);
        surface.setItalic(true);
        size = 14;
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
    if (shifted) {
        top -= 2;
    }
    if (envelopePage) {
        placeOnEnvelope(surface, state, firstLine + std::max(top, 0) * printgrid::lineHeight(size > 0 ? size : 10),
                        left, size > 0 ? size : 10);
    } else {
        surface.printEmptyLines(top);
        printFiveLines(surface, state, left);
    }
    surface.endDocument();
}

void composeReturnAddressSheet(PrintSurface& surface, const std::array<QString, 5>& lines) {
    const LabelSheet& sheet = returnAddressLabelSheet();
    surface.printEmptyLines(sheet.topPad(0));
    surface.setFontName(kCourierNew);
    surface.setFontSize(sheet.fontSize);
    surface.setBold(false);

    for (int row = 0; row < sheet.rowCount(); ++row) {
        for (int line = 0; line < sheet.textLines; ++line) {
            QList<PrintItem> items;
            for (int column = 0; column < sheet.columnsInRow(row); ++column) {
                items.append(PrintItem::column(sheet.leftPad(column, row)));
                items.append(PrintItem::textItem(lines[line]));
            }
            surface.printLine(items);
        }
        // Empty lines down to the next row's first line; two below the last row.
        const int below = row + 1 < sheet.rowCount()
                              ? sheet.topPad(row + 1) - sheet.topPad(row) - sheet.textLines
                              : 2;
        surface.printEmptyLines(below);
    }
}

}  // namespace tandor
