#pragma once

#include <QFont>
#include <QSizeF>
#include <QString>

#include "platform/PrintSurface.h"

namespace tandor {

// The fixed-pitch font every label, envelope and sheet is laid out in.
inline const QString kCourierNew = QStringLiteral("Courier New");

// The font of a print line: name as the program asks for it ("Courier New",
// "Trebuchet MS"), size in points, bold and italic.
struct FontSpec {
    QString name = QStringLiteral("Courier New");
    double size = 10.0;
    bool bold = false;
    bool italic = false;

    bool operator==(const FontSpec&) const = default;
};

// The character grid, chosen in this one place.
//
// A print line is 1.0714 (about 15/14) times the font size: 10.71 pt at 10 pt,
// 8.57 pt at 8 pt. The font's own line spacing (about 1.13 times for the
// stand-in of "Courier New") would drift about 0.4 in by the tenth row of a
// label sheet. A print column is the average character width of the font
// (0.6 em for the fixed-pitch font: 12 characters per inch at 10 pt).
//
// The printable area of a PDF page starts 0.25 in from the left edge and
// 0.056 in below the top edge. Measured on the PDF (word boxes, font ascent to
// descent):
// - 30-up sheet (Avery 5160, rows 1 in apart, 7 and 6 lines alternately):
//   every address of up to five lines lies inside its label, with at least
//   0.038 in to spare.
// - 80-up return-address sheet (Avery 5167, rows 0.5 in apart, 4 lines a row
//   and one extra line after rows 8, 13 and 15): no uniform line pitch holds
//   all 20 rows; this pitch and top margin are the best fit. The three lines
//   of rows 1 and 16 reach about 0.016 in below their label, those of rows 8
//   and 13 start about 0.016 in above it; all other rows lie inside.
// Real printers keep their own printable area; the margin adjustments shift
// the grid for them.
namespace printgrid {
inline constexpr double kLinePitchPerPoint = 1.0714;
inline constexpr double kPdfLeftMarginInches = 0.25;
inline constexpr double kPdfTopMarginInches = 0.056;
inline constexpr double kPdfRightMarginInches = 0.25;
inline constexpr double kPdfBottomMarginInches = 0.1;
inline constexpr double kPointsPerInch = 72.0;
inline constexpr double kTwipsPerPoint = 20.0;

double lineHeight(double fontSize);
// The paper in points, in the given orientation.
QSizeF paperSize(PaperSize paper, PageOrientation orientation);
// The printable area of a PDF page in points.
QSizeF pdfPrintableSize(PaperSize paper, PageOrientation orientation);
// The printable area of a PDF page of the given size in points, as oriented.
QSizeF pdfPrintableSize(const QSizeF& page);
}  // namespace printgrid

// The font that draws a FontSpec on this machine. "Courier New" resolves to its
// metric-compatible stand-in through fontconfig; "Trebuchet MS" and "MS Sans
// Serif" are given sans-serif stand-ins.
QFont resolveFont(const FontSpec& fontSpec);
// The family a program font name is drawn with on this machine.
QString resolvedFamily(const QString& programFontName);

// Widths in points, from the font's design metrics (no hinting).
double columnWidth(const FontSpec& fontSpec);
double textWidth(const FontSpec& fontSpec, const QString& text);

}  // namespace tandor
