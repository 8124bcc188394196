#include "sheets/CharacterGrid.h"

#include "platform/PrintGrid.h"

namespace tandor {
namespace {

// The ink of a label keeps this much of the label clear on every side; the
// fit keeps 0.01 in more for the dots of a printed page.
constexpr double kInkMarginIn = 0.05;
constexpr double kFitMarginIn = kInkMarginIn + 0.01;
// The sizes labels are printed in: 12 points (landscape), 10 (address labels)
// and 8 (return-address labels), largest first.
constexpr double kLabelFontSizes[] = {12.0, 10.0, 8.0};
constexpr int kMostLines = 5;
constexpr int kFewestLines = 3;
constexpr int kFewestCharacters = 10;
// The ink of a print line of the fixed-pitch font, in ems: accents (É) reach
// 0.02 above the line's top (0.84 over the baseline, drawn 0.8325 below the
// top), descenders (Ç, the broken bar) 1.07 below it, and a glyph up to 0.03
// past its cell.
constexpr double kInkAboveEm = 0.02;
constexpr double kInkBelowEm = 1.07;
constexpr double kInkSideEm = 0.03;

double paperWidthIn(const LabelSheet& s) {
    return printgrid::paperSize(s.paper, PageOrientation::Portrait).width() / printgrid::kPointsPerInch;
}

double paperHeightIn(const LabelSheet& s) {
    return printgrid::paperSize(s.paper, PageOrientation::Portrait).height() / printgrid::kPointsPerInch;
}

// The text lines of every row stand on the page and inside their labels.
bool linesFit(const LabelSheet& s) {
    const double lineIn = s.linePitchPt() / printgrid::kPointsPerInch;
    const double em = s.fontSize / printgrid::kPointsPerInch;
    const double pageBottom = paperHeightIn(s) - printgrid::kPdfBottomMarginInches;
    for (int row = 0; row < s.rowCount(); ++row) {
        const int pad = s.topPad(row);
        // The label run prints one empty line before the TopPad empty lines.
        const double top = printgrid::kPdfTopMarginInches + (pad + 1) * lineIn;
        const double inkTop = top - kInkAboveEm * em;
        const double inkBottom = top + (s.textLines - 1) * lineIn + kInkBelowEm * em;
        const QRectF label = s.labelRectIn(s.firstPositionOfRow(row));
        if (pad < 0 || inkTop < label.top() + kFitMarginIn ||
            inkBottom > label.bottom() - kFitMarginIn || inkBottom > pageBottom) {
            return false;
        }
    }
    return true;
}

// The characters of every column stand on the page and inside their labels.
bool charactersFit(const LabelSheet& s) {
    FontSpec font;
    font.size = s.fontSize;
    const double cellIn = columnWidth(font) / printgrid::kPointsPerInch;
    const double em = s.fontSize / printgrid::kPointsPerInch;
    const double pageRight = paperWidthIn(s) - printgrid::kPdfRightMarginInches;
    int row = 0;
    for (const SheetLayout& layout : s.layouts) {
        for (int column = 0; column < layout.columns; ++column) {
            const int pad = s.leftPad(column, row);
            const double left = printgrid::kPdfLeftMarginInches + (pad - 1) * cellIn;
            const double right = left + s.characters * cellIn;
            const QRectF label = s.labelRectIn(s.firstPositionOfRow(row) + column);
            if (pad < 1 || left - kInkSideEm * em < label.left() + kFitMarginIn ||
                right + kInkSideEm * em > label.right() - kFitMarginIn || right > pageRight) {
                return false;
            }
        }
        row += layout.rows;
    }
    return true;
}

}  // namespace

bool fitCharacterGrid(LabelSheet& s) {
    FontSpec font;
    for (int lines = kMostLines; lines >= kFewestLines; --lines) {
        for (const double size : kLabelFontSizes) {
            s.fontSize = size;
            s.textLines = lines;
            if (!linesFit(s)) {
                continue;
            }
            font.size = size;
            const double cellIn = columnWidth(font) / printgrid::kPointsPerInch;
            s.characters = static_cast<int>((s.labelWidthIn - 2 * kFitMarginIn) / cellIn);
            while (s.characters >= kFewestCharacters && !charactersFit(s)) {
                --s.characters;
            }
            if (s.characters >= kFewestCharacters) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace tandor
