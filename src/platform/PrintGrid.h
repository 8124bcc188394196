#pragma once

#include <QFont>
#include <QSizeF>
#include <QString>

#include "platform/PrintSurface.h"

namespace tandor {

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
// Measured against real label sheets, the label tables land on Avery stock when
// a print line is 1.08 times the font size (10.8 pt at 10 pt, 8.64 pt at 8 pt);
// the font's own line spacing (about 1.13 times for the stand-in of "Courier
// New") would drift about 0.4 in by the tenth row. A print column is the
// average character width of the font (0.6 em for the fixed-pitch font: 12
// characters per inch at 10 pt).
//
// The printable area of a PDF page starts 0.25 in from the left edge and at the
// top edge of the paper. With that, every address of up to five lines of the
// 30-up sheet lies inside its label (rows start 0.05 to 0.15 in below the label's
// top edge). Real printers keep their own printable area; the margin
// adjustments shift the grid for them.
namespace printgrid {
inline constexpr double kLinePitchPerPoint = 1.08;
inline constexpr double kPdfLeftMarginInches = 0.25;
inline constexpr double kPdfTopMarginInches = 0.0;
inline constexpr double kPdfRightMarginInches = 0.25;
inline constexpr double kPdfBottomMarginInches = 0.1;
inline constexpr double kPointsPerInch = 72.0;
inline constexpr double kTwipsPerPoint = 20.0;

double lineHeight(double fontSize);
// The paper in points, in the given orientation.
QSizeF paperSize(PaperSize paper, PageOrientation orientation);
// The printable area of a PDF page in points.
QSizeF pdfPrintableSize(PaperSize paper, PageOrientation orientation);
}  // namespace printgrid

// The font that draws a FontSpec on this machine. "Courier New" resolves to its
// metric-compatible stand-in through fontconfig; "Trebuchet MS" and "MS Sans
// Serif" are given sans-serif stand-ins.
QFont resolveFont(const FontSpec& spec);
// The family a program font name is drawn with on this machine.
QString resolvedFamily(const QString& programFontName);

// Widths in points, from the font's design metrics (no hinting).
double columnWidth(const FontSpec& spec);
double textWidth(const FontSpec& spec, const QString& text);

}  // namespace tandor
