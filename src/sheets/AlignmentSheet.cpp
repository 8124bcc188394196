#include "sheets/AlignmentSheet.h"

#include <QLineF>
#include <QRectF>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "platform/Platform.h"
#include "print/PaperEdge.h"
#include "platform/PrintGrid.h"
#include "print/PrinterProblem.h"
#include "sheets/PrinterModels.h"

namespace tandor {
namespace {

using printgrid::kPointsPerInch;

constexpr double kScaleFontSize = 6.0;
constexpr double kCaptionFontSize = 7.0;
constexpr double kLongTickIn = 0.06;
constexpr double kTickIn = 0.035;
// Where the scales cross the label's edges: the column scale this far below
// the top edge, the line scale this far right of the left edge.
constexpr double kColumnScaleDownIn = 0.22;
constexpr double kLineScaleRightIn = 0.5;
// The least room between a number and a rule or another text (a rule is 0.5 pt wide).
constexpr double kAlignmentClearancePt = 0.6;

FontSpec sheetFont(const LabelSheet& sheet) {
    FontSpec font;
    font.name = kCourierNew;
    font.size = sheet.fontSize;
    return font;
}

// A rectangle on the paper (inches) in points of the printable area.
QRectF onPrintableArea(const QRectF& paperIn) {
    return {(paperIn.left() - printgrid::kPdfLeftMarginInches) * kPointsPerInch,
            (paperIn.top() - printgrid::kPdfTopMarginInches) * kPointsPerInch,
            paperIn.width() * kPointsPerInch, paperIn.height() * kPointsPerInch};
}

QString scaleNumber(int k) {
    return k > 0 ? QStringLiteral("+%1").arg(k) : QString::number(k);
}

// Whether an upright rectangle and a rule (every rule of the sheet runs across
// or down the page) share a point.
bool crosses(const QRectF& box, const QLineF& rule) {
    return std::min(rule.x1(), rule.x2()) <= box.right() &&
           std::max(rule.x1(), rule.x2()) >= box.left() &&
           std::min(rule.y1(), rule.y2()) <= box.bottom() &&
           std::max(rule.y1(), rule.y2()) >= box.top();
}

// Where the numbers of the scales may stand: on the printable area, clear of
// every rule of the page (label borders, scales, ticks, crosses) and of the
// texts already placed.
struct NumberLayout {
    QRectF area;
    std::vector<QLineF> rules;
    std::vector<QRectF> boxes;

    bool fits(const QRectF& box) const {
        if (!area.contains(box)) {
            return false;
        }
        const QRectF clear = box.adjusted(-kAlignmentClearancePt, -kAlignmentClearancePt,
                                          kAlignmentClearancePt, kAlignmentClearancePt);
        const auto hits = [&](const QLineF& rule) { return crosses(clear, rule); };
        const auto overlaps = [&](const QRectF& b) { return clear.intersects(b); };
        return std::none_of(rules.begin(), rules.end(), hits) &&
               std::none_of(boxes.begin(), boxes.end(), overlaps);
    }
    void rule(PrintSurface& surface, const QPointF& from, const QPointF& to) {
        surface.drawRule(from, to);
        rules.emplace_back(from, to);
    }
};

// One tick of a scale on the printable area: its number and where it crosses the rule.
struct Tick {
    int k = 0;
    QPointF at;
};
struct Scales {
    std::vector<Tick> columns;  // down-ticks along the column scale's rule
    std::vector<Tick> lines;    // across-ticks along the line scale's rule
};

// The rules of two scales around the corner point `zero`: one of print
// columns along a horizontal rule that crosses the label's left edge, one of
// print lines along a vertical rule that crosses its top edge. Ticks off the
// printable area are left out.
Scales drawScaleRules(PrintSurface& surface, NumberLayout& layout, const QPointF& zero,
                      double cell, double line) {
    const double longTick = kLongTickIn * kPointsPerInch;
    const double tick = kTickIn * kPointsPerInch;
    const double y = zero.y() + kColumnScaleDownIn * kPointsPerInch;
    const double x = zero.x() + kLineScaleRightIn * kPointsPerInch;
    Scales scales;
    for (int k = -5; k <= 5; ++k) {
        const double h = k == 0 ? longTick : tick;
        const QPointF column(zero.x() + k * cell, y);
        if (layout.area.contains(column)) {
            layout.rule(surface, column - QPointF(0, h), column + QPointF(0, h));
            scales.columns.push_back({k, column});
        }
        const QPointF row(x, zero.y() + k * line);
        if (layout.area.contains(row)) {
            layout.rule(surface, row - QPointF(h, 0), row + QPointF(h, 0));
            scales.lines.push_back({k, row});
        }
    }
    if (!scales.columns.empty()) {
        layout.rule(surface, QPointF(scales.columns.front().at.x(), y),
                    QPointF(scales.columns.back().at.x(), y));
    }
    if (!scales.lines.empty()) {
        layout.rule(surface, QPointF(x, scales.lines.front().at.y()),
                    QPointF(x, scales.lines.back().at.y()));
    }
    return scales;
}

// The number of a tick at the free place nearest its tick. A column number
// stands above or below the rule (even ones above first, odd ones below, so
// that neighbours do not touch), a line number right or left of it (right
// first), each centred on its tick or moved along the rule by up to a step
// (a column or a line) where a border or another number is in the way. A
// number with no free place is left out; its tick stays.
void placeNumber(PrintSurface& surface, NumberLayout& layout, const Tick& t, bool column,
                 double digit, double step) {
    const QString number = scaleNumber(t.k);
    const QSizeF size(number.size() * digit, kScaleFontSize);
    const double gap = kAlignmentClearancePt + 0.25;
    // Clear of the longest tick (the 0's), so that a number moved along may pass the 0.
    const double off = kLongTickIn * kPointsPerInch + gap;
    std::array<QPointF, 2> sides;  // the box's top-left corner centred on the tick
    if (column) {
        const QPointF above(t.at.x() - size.width() / 2.0, t.at.y() - off - size.height());
        const QPointF below(t.at.x() - size.width() / 2.0, t.at.y() + off);
        sides = t.k % 2 == 0 ? std::array{above, below} : std::array{below, above};
    } else {
        sides = {QPointF(t.at.x() + off, t.at.y() - size.height() / 2.0),
                 QPointF(t.at.x() - off - size.width(), t.at.y() - size.height() / 2.0)};
    }
    constexpr double kNudge = 0.25;
    for (int i = 0; i * kNudge <= step; ++i) {
        for (double move : {i * kNudge, -i * kNudge}) {
            for (const QPointF& side : sides) {
                const QRectF box(side + (column ? QPointF(move, 0) : QPointF(0, move)), size);
                if (layout.fits(box)) {
                    surface.placeText(box.topLeft(), number);
                    layout.boxes.push_back(box);
                    return;
                }
            }
        }
    }
}

// The numbers of a label's scales, nearest the 0 first so that they take the best places.
void placeNumbers(PrintSurface& surface, NumberLayout& layout, const Scales& scales, double cell,
                  double line) {
    FontSpec numbers;
    numbers.size = kScaleFontSize;
    const double digit = columnWidth(numbers);
    for (int distance = 0; distance <= 5; ++distance) {
        for (const auto* ticks : {&scales.columns, &scales.lines}) {
            for (const Tick& t : *ticks) {
                if (std::abs(t.k) == distance) {
                    const bool column = ticks == &scales.columns;
                    placeNumber(surface, layout, t, column, digit, column ? cell : line);
                }
            }
        }
    }
}

}  // namespace

QPointF alignmentZeroPt(const LabelSheet& sheet, int position, const Adjustment& adjustment,
                        int columnShift) {
    const FontSpec font = sheetFont(sheet);
    const QRectF label = onPrintableArea(sheet.outlineIn(position));
    return {label.left() + (columnShift + adjustment.left) * columnWidth(font),
            label.top() + adjustment.top * sheet.linePitchPt()};
}

QString placementLine(bool byPaperEdge) {
    return byPaperEdge ? QStringLiteral("Placed by the paper's edge.")
                       : QStringLiteral("Placed by the printer's printable area.");
}

void composeAlignmentSheet(PrintSurface& surface, const LabelSheet& sheet,
                         const Adjustment& adjustment, bool byPaperEdge) {
    surface.setOrientation(PageOrientation::Portrait);
    surface.setPaperSize(sheet.paper);
    surface.setFontName(kCourierNew);
    surface.setBold(false);
    surface.setItalic(false);
    const FontSpec font = sheetFont(sheet);
    const double cell = columnWidth(font);
    const double line = sheet.linePitchPt();
    const int shift = labelColumnShift(surface.deviceName());
    NumberLayout layout;
    layout.area = QRectF(QPointF(0, 0),
                         printgrid::pdfPrintableSize(sheet.paper, PageOrientation::Portrait));

    // Three lines of explanation above the first row, right of the first label's scale.
    surface.setFontSize(kCaptionFontSize);
    FontSpec captionFont;
    captionFont.size = kCaptionFontSize;
    const QStringList caption = {
        QStringLiteral("Alignment sheet: %1, %2.  On-The-Fly label adjustment now: %3 columns, "
                       "%4 lines.")
            .arg(sheet.parts, sheet.paperName())
            .arg(adjustment.left)
            .arg(adjustment.top),
        QStringLiteral("Hold this page over a blank label sheet against the light.  Where the "
                       "label's left edge"),
        QStringLiteral("crosses the column scale and its top edge the line scale, read the numbers "
                       "to enter"),
        QStringLiteral(
            "in Margins > On-The-Fly label.  The small cross marks where Line 1 starts.")};
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QPointF at(1.3 * kPointsPerInch, 0.5 + i * kCaptionFontSize * 1.1);
        surface.placeText(at, caption[i]);
        layout.boxes.emplace_back(at, QSizeF(caption[i].size() * columnWidth(captionFont),
                                             kCaptionFontSize));
    }

    // The placement, at the left below the last row.
    {
        const QString placed = placementLine(byPaperEdge);
        const double below = onPrintableArea(sheet.outlineIn(sheet.count())).bottom() + 0.05 * kPointsPerInch;
        const QPointF at(0.0, std::min(below, layout.area.height() - kCaptionFontSize));
        surface.placeText(at, placed);
        layout.boxes.emplace_back(at, QSizeF(placed.size() * columnWidth(captionFont), kCaptionFontSize));
    }

    for (int position = 1; position <= sheet.count(); ++position) {
        const QRectF r = onPrintableArea(sheet.outlineIn(position));
        layout.rule(surface, r.topLeft(), r.topRight());
        layout.rule(surface, r.topRight(), r.bottomRight());
        layout.rule(surface, r.bottomRight(), r.bottomLeft());
        layout.rule(surface, r.bottomLeft(), r.topLeft());
    }
    // Every rule first, then the numbers where no rule or other number touches them.
    std::vector<Scales> scales;
    for (int position : {1, sheet.count()}) {
        const QPointF zero = alignmentZeroPt(sheet, position, adjustment, shift);
        scales.push_back(drawScaleRules(surface, layout, zero, cell, line));
        // A small cross where Line 1 of the label starts.
        const LabelSheet& s = sheet;
        const QPointF text((s.leftPadAt(position) + shift + adjustment.left - 1) * cell,
                           (s.topPadAt(position) + adjustment.top + 1) * line);
        const double arm = 0.03 * kPointsPerInch;
        layout.rule(surface, text - QPointF(arm, 0), text + QPointF(arm, 0));
        layout.rule(surface, text - QPointF(0, arm), text + QPointF(0, arm));
    }
    surface.setFontSize(kScaleFontSize);
    for (const Scales& s : scales) {
        placeNumbers(surface, layout, s, cell, line);
    }
    surface.setFontSize(sheet.fontSize);
    surface.endDocument();
}

PrintJob alignmentSheetJob(const LabelSheet& sheet, const Adjustment& adjustment,
                           bool byPaperEdge) {
    PrintJob job;
    job.dialog.disablePrintToFile = true;
    job.dialog.page = {sheet.paper, PageOrientation::Portrait};
    job.compose = [&sheet, adjustment, byPaperEdge](PrintSurface& s, const JobRun&) {
        composeAlignmentSheet(s, sheet, adjustment, byPaperEdge);
    };
    return job;
}

std::optional<PrintJob> preparedAlignmentSheet(Platform& platform, const QString& programFolder,
                                               const LabelSheet& sheet) {
    try {
        return alignmentSheetJob(sheet, readAdjustment(programFolder, kOnTheFly),
                                 placesByPaperEdge(platform));
    } catch (const AppError&) {
        reportPrinterProblem(platform, nullptr);
        return std::nullopt;
    }
}

void runAlignmentSheetCommand(Platform& platform, const QString& programFolder,
                              const LabelSheet& sheet) {
    if (const std::optional<PrintJob> job = preparedAlignmentSheet(platform, programFolder, sheet)) {
        runPrintJob(platform, *job);
    }
}

}  // namespace tandor
