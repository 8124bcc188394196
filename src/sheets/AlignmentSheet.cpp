#include "sheets/AlignmentSheet.h"

#include <QRectF>

#include "platform/Platform.h"
#include "print/PrintGrid.h"
#include "print/PrinterProblem.h"
#include "sheets/PrinterModels.h"

namespace tandor {
namespace {

using printgrid::kPointsPerInch;

const QString kCourierNew = QStringLiteral("Courier New");
constexpr double kScaleFontSize = 6.0;
constexpr double kCaptionFontSize = 7.0;
constexpr double kLongTickIn = 0.06;
constexpr double kTickIn = 0.035;
// Where the scales cross the label's edges: the column scale this far below
// the top edge, the line scale this far right of the left edge.
constexpr double kColumnScaleDownIn = 0.22;
constexpr double kLineScaleRightIn = 0.5;

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

void drawRect(PrintSurface& surface, const QRectF& r) {
    surface.drawRule(r.topLeft(), r.topRight());
    surface.drawRule(r.topRight(), r.bottomRight());
    surface.drawRule(r.bottomRight(), r.bottomLeft());
    surface.drawRule(r.bottomLeft(), r.topLeft());
}

QString scaleNumber(int k) {
    return k > 0 ? QStringLiteral("+%1").arg(k) : QString::number(k);
}

// Two scales around the corner point `zero`: one of print columns along a
// horizontal rule that crosses the label's left edge, one of print lines along
// a vertical rule that crosses its top edge. Ticks off the printable area are
// left out.
void drawScales(PrintSurface& surface, const QPointF& zero, double cell, double line,
                const QSizeF& printable) {
    FontSpec numbers;
    numbers.size = kScaleFontSize;
    const double digit = columnWidth(numbers);
    const double longTick = kLongTickIn * kPointsPerInch;
    const double tick = kTickIn * kPointsPerInch;
    auto onPage = [&](const QPointF& p) {
        return p.x() >= 0.0 && p.y() >= 0.0 && p.x() <= printable.width() &&
               p.y() <= printable.height();
    };

    const double y = zero.y() + kColumnScaleDownIn * kPointsPerInch;
    const double x = zero.x() + kLineScaleRightIn * kPointsPerInch;
    double firstX = x;
    double lastX = zero.x();
    double firstY = y;
    double lastY = zero.y();
    for (int k = -5; k <= 5; ++k) {
        const double h = k == 0 ? longTick : tick;
        const QString number = scaleNumber(k);
        const QPointF column(zero.x() + k * cell, y);
        if (onPage(column)) {
            firstX = std::min(firstX, column.x());
            lastX = std::max(lastX, column.x());
            surface.drawRule(column - QPointF(0, h), column + QPointF(0, h));
            // Even numbers above the rule, odd ones below, so that neighbours never touch.
            const double numberY = k % 2 == 0 ? y - h - kScaleFontSize : y + h + 0.5;
            surface.placeText(QPointF(column.x() - number.size() * digit / 2.0, numberY), number);
        }
        const QPointF row(x, zero.y() + k * line);
        if (onPage(row)) {
            firstY = std::min(firstY, row.y());
            lastY = std::max(lastY, row.y());
            surface.drawRule(row - QPointF(h, 0), row + QPointF(h, 0));
            surface.placeText(QPointF(x + h + 1.0, row.y() - kScaleFontSize / 2.0), number);
        }
    }
    surface.drawRule(QPointF(firstX, y), QPointF(lastX, y));
    surface.drawRule(QPointF(x, firstY), QPointF(x, lastY));
}

}  // namespace

QPointF alignmentZeroPt(const LabelSheet& sheet, int position, const Adjustment& adjustment,
                        int columnShift) {
    const FontSpec font = sheetFont(sheet);
    const QRectF label = onPrintableArea(sheet.outlineIn(position));
    return {label.left() + (columnShift + adjustment.left) * columnWidth(font),
            label.top() + adjustment.top * sheet.linePitchPt()};
}

void composeAlignmentSheet(PrintSurface& surface, const LabelSheet& sheet,
                         const Adjustment& adjustment) {
    surface.setOrientation(PageOrientation::Portrait);
    surface.setPaperSize(sheet.paper);
    surface.setFontName(kCourierNew);
    surface.setBold(false);
    surface.setItalic(false);
    const FontSpec font = sheetFont(sheet);
    const double cell = columnWidth(font);
    const double line = sheet.linePitchPt();
    const int shift = labelColumnShift(surface.deviceName());
    const QSizeF printable = printgrid::pdfPrintableSize(sheet.paper, PageOrientation::Portrait);

    // Three lines of explanation above the first row, right of the first label's scale.
    surface.setFontSize(kCaptionFontSize);
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
        surface.placeText(QPointF(1.3 * kPointsPerInch, 0.5 + i * kCaptionFontSize * 1.1),
                          caption[i]);
    }

    for (int position = 1; position <= sheet.count(); ++position) {
        drawRect(surface, onPrintableArea(sheet.outlineIn(position)));
    }
    for (int position : {1, sheet.count()}) {
        const QPointF zero = alignmentZeroPt(sheet, position, adjustment, shift);
        drawScales(surface, zero, cell, line, printable);
        // A small cross where Line 1 of the label starts.
        const LabelSheet& s = sheet;
        const QPointF text((s.leftPad(s.columnOf(position)) + shift + adjustment.left - 1) * cell,
                           (s.topPad(s.rowOf(position)) + adjustment.top + 1) * line);
        const double arm = 0.03 * kPointsPerInch;
        surface.drawRule(text - QPointF(arm, 0), text + QPointF(arm, 0));
        surface.drawRule(text - QPointF(0, arm), text + QPointF(0, arm));
    }
    surface.setFontSize(sheet.fontSize);
    surface.endDocument();
}

PrintJob alignmentSheetJob(const LabelSheet& sheet, const Adjustment& adjustment) {
    PrintJob job;
    job.dialog.disablePrintToFile = true;
    job.dialog.page = {sheet.paper, PageOrientation::Portrait};
    job.compose = [&sheet, adjustment](PrintSurface& s, const JobRun&) {
        composeAlignmentSheet(s, sheet, adjustment);
    };
    return job;
}

std::optional<PrintJob> preparedAlignmentSheet(Platform& platform, const QString& programFolder,
                                               const LabelSheet& sheet) {
    try {
        return alignmentSheetJob(sheet, readAdjustment(programFolder, kOnTheFly));
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
