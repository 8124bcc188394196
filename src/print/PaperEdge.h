#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>
#include <vector>

#include "platform/GridSurface.h"

namespace tandor {

class Platform;

// Placing by the paper's edge: a job on a printer puts every character where
// the PDF puts it, measured from the paper's edge, whatever printable area the
// printer keeps. Without it the grid starts at the corner of the printer's own
// printable area, as it always did.
//
// The choice is remembered in the settings (section "Settings"); until the user
// makes one, the program's default holds: on for a program folder whose
// TDRPARAM.TXT adjustments are all 0 (or that has none), off otherwise.
inline const QString kPlaceByPaperEdgeKey = QStringLiteral("PlaceByPaperEdge");

// The placement print jobs use: the remembered choice, else the default.
bool placesByPaperEdge(Platform& platform);
// Remembers the user's choice.
void choosePlaceByPaperEdge(Platform& platform, bool on);
// Remembers the placement in use now, unless a choice is remembered already
// (before the adjustments change, so that calibrating them keeps it).
void keepPlaceByPaperEdge(Platform& platform);
// The default for this run of the program, set from its program folder at start.
void setDefaultPlaceByPaperEdge(bool on);

// What a page's grid is drawn with: the grid's own printable area on the paper
// (the PDF's) and the printer's, both in points from the paper's top-left corner.
struct EdgePlacement {
    QRectF gridArea;
    QRectF deviceArea;
    // Added to the points of the grid (from the corner of the PDF's printable
    // area) to draw from the corner of the printer's.
    QPointF offset() const { return gridArea.topLeft() - deviceArea.topLeft(); }
};

enum class CutSide { Left, Top, Right, Bottom };

// A text that reaches outside the printer's printable area: which page (from
// 0) and text of the page, the side and how far (points), and where it lies on
// the paper.
struct CutText {
    std::size_t page = 0;
    std::size_t text = 0;
    CutSide side = CutSide::Left;
    double lossPt = 0.0;
    QRectF onPaper;
};

// The width of a text in points, in its font.
using TextWidth = std::function<double(const FontSpec&, const QString&)>;

// The texts of a document's pages that reach outside the printer's printable
// area when placed by the paper's edge. A text's box runs from its first to its
// last printed character (blanks at either end print nothing), one print line
// high; only its part inside the grid's own printable area counts (what lies
// beyond it does so in the PDF too). A text cut on two sides counts on each.
std::vector<CutText> cutTexts(const PrintedDocument& document,
                              const std::function<EdgePlacement(const PrintedPage&)>& placement,
                              const TextWidth& width);

// What the user is told before anything prints: for each side, the labels (by
// position on the sheet, when the document carries the sheet's labels) or the
// lines of a page that would be cut, and by how much. Empty when nothing is cut.
QString cutWarning(const PrintedDocument& document, const std::vector<CutText>& cuts);

inline const QString kCutWarningTitle = QStringLiteral("Outside the printable area");

}  // namespace tandor
