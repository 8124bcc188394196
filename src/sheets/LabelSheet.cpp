#include "sheets/LabelSheet.h"

#include <algorithm>
#include <cmath>

#include "platform/PrintGrid.h"

namespace tandor {
namespace {

// Where a position lies: its layout, its column and row there, and its sheet row.
struct Place {
    const SheetLayout* layout = nullptr;
    int column = 0;
    int rowInLayout = 0;
    int row = 0;
};

Place placeOf(const LabelSheet& s, int position) {
    Place place;
    int index = position - 1;
    for (const SheetLayout& layout : s.layouts) {
        place.layout = &layout;
        if (index < layout.count() || &layout == &s.layouts.back()) {
            place.column = index % layout.columns;
            place.rowInLayout = index / layout.columns;
            place.row += place.rowInLayout;
            return place;
        }
        index -= layout.count();
        place.row += layout.rows;
    }
    return place;
}

}  // namespace

int LabelSheet::count() const {
    int n = 0;
    for (const SheetLayout& layout : layouts) {
        n += layout.count();
    }
    return n;
}

int LabelSheet::rowCount() const {
    int n = 0;
    for (const SheetLayout& layout : layouts) {
        n += layout.rows;
    }
    return n;
}

const SheetLayout& LabelSheet::layoutOfRow(int row, int* rowInLayout) const {
    for (const SheetLayout& layout : layouts) {
        if (row < layout.rows || &layout == &layouts.back()) {
            if (rowInLayout) {
                *rowInLayout = row;
            }
            return layout;
        }
        row -= layout.rows;
    }
    static const SheetLayout none;
    return none;
}

int LabelSheet::firstPositionOfRow(int row) const {
    int position = 1;
    for (const SheetLayout& layout : layouts) {
        if (row < layout.rows || &layout == &layouts.back()) {
            return position + row * layout.columns;
        }
        position += layout.count();
        row -= layout.rows;
    }
    return position;
}

int LabelSheet::columnOf(int position) const {
    return placeOf(*this, position).column;
}

int LabelSheet::rowOf(int position) const {
    return placeOf(*this, position).row;
}

double LabelSheet::linePitchPt() const {
    return printgrid::lineHeight(fontSize);
}

QRectF LabelSheet::labelRectIn(int position) const {
    const Place place = placeOf(*this, position);
    QRectF rect = outlineIn(position);
    if (otherReading && place.layout == &layouts.front()) {
        const double otherLeft = otherReading->firstLeftIn + place.column * otherReading->pitchXIn;
        const double left = std::max(rect.left(), otherLeft);
        const double right = std::min(rect.right(), otherLeft + labelWidthIn);
        rect.setLeft(left);
        rect.setRight(right);
    }
    return rect;
}

QRectF LabelSheet::outlineIn(int position) const {
    const Place place = placeOf(*this, position);
    if (!place.layout) {
        return {};
    }
    return {place.layout->firstLeftIn + place.column * place.layout->pitchXIn,
            place.layout->firstTopIn + place.rowInLayout * place.layout->pitchYIn, labelWidthIn,
            labelHeightIn};
}

std::vector<QRectF> sheetOutlines(const LabelSheet& sheet, PageOrientation orientation) {
    constexpr double pt = printgrid::kPointsPerInch;
    const double paperWidth = printgrid::paperSize(sheet.paper, PageOrientation::Portrait).width();
    std::vector<QRectF> rects;
    rects.reserve(static_cast<std::size_t>(sheet.count()));
    for (int position = 1; position <= sheet.count(); ++position) {
        const QRectF in = sheet.outlineIn(position);
        const QRectF upright(in.left() * pt, in.top() * pt, in.width() * pt, in.height() * pt);
        if (orientation == PageOrientation::Portrait) {
            rects.push_back(upright);
        } else {
            // The sheet turned a quarter: its left edge becomes the page's bottom edge.
            rects.emplace_back(upright.top(), paperWidth - upright.right(), upright.height(), upright.width());
        }
    }
    return rects;
}

int LabelSheet::leftPad(int column, int row) const {
    if (!leftPads.empty()) {
        return leftPads[static_cast<std::size_t>(column)];
    }
    FontSpec font;
    font.size = fontSize;
    const double cellIn = columnWidth(font) / printgrid::kPointsPerInch;
    const QRectF label = labelRectIn(firstPositionOfRow(row) + column);
    const double textLeft = label.center().x() - characters * cellIn / 2.0;
    return static_cast<int>(std::lround((textLeft - printgrid::kPdfLeftMarginInches) / cellIn)) + 1;
}

int LabelSheet::topPad(int row) const {
    if (!topPads.empty()) {
        return topPads[static_cast<std::size_t>(row)];
    }
    const double lineIn = linePitchPt() / printgrid::kPointsPerInch;
    const QRectF label = labelRectIn(firstPositionOfRow(row));
    const double textTop = label.center().y() - textLines * lineIn / 2.0;
    // The label run prints one empty line before the TopPad empty lines.
    return static_cast<int>(std::lround((textTop - printgrid::kPdfTopMarginInches) / lineIn)) - 1;
}

QString LabelSheet::paperName() const {
    return paper == PaperSize::A4 ? QStringLiteral("A4") : QStringLiteral("Letter");
}

QString millimetreText(double millimetres) {
    QString text = QString::number(std::round(millimetres * 10.0) / 10.0, 'f', 1);
    if (text.endsWith(QStringLiteral(".0"))) {
        text.chop(2);
    }
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

QString inchText(double inches) {
    const long sixteenths = std::lround(inches * 16.0);
    if (std::abs(sixteenths / 16.0 - inches) > 0.001) {
        return QString::number(inches, 'f', 2);
    }
    const long whole = sixteenths / 16;
    long part = sixteenths % 16;
    long denominator = 16;
    while (part != 0 && part % 2 == 0) {
        part /= 2;
        denominator /= 2;
    }
    QString text = whole > 0 ? QString::number(whole) : QString();
    if (part != 0) {
        text += (text.isEmpty() ? QString() : QStringLiteral(" ")) +
                QStringLiteral("%1/%2").arg(part).arg(denominator);
    }
    return text.isEmpty() ? QStringLiteral("0") : text;
}

QString labelSizeText(const LabelSheet& sheet) {
    if (sheet.metric) {
        return QStringLiteral("%1 x %2 mm").arg(millimetreText(sheet.labelWidthIn * 25.4),
                                                millimetreText(sheet.labelHeightIn * 25.4));
    }
    return QStringLiteral("%1 x %2 in").arg(inchText(sheet.labelHeightIn), inchText(sheet.labelWidthIn));
}

QString labelCountText(int count) {
    return count == 1 ? QStringLiteral("1 label") : QStringLiteral("%1 labels").arg(count);
}

QString LabelSheet::description() const {
    const QString size = labelSizeText(*this);
    QStringList grids;
    for (const SheetLayout& layout : layouts) {
        grids.append(QStringLiteral("%1 x %2").arg(layout.columns).arg(layout.rows));
    }
    // A long family of equivalents is cut after three part numbers.
    QStringList named = parts.split(QStringLiteral(" / "));
    if (named.size() > 4) {
        named = named.mid(0, 3) << QStringLiteral("...");
    }
    return QStringLiteral("%1: %2, %3 (%4) of %5")
        .arg(named.join(QStringLiteral(" / ")), paperName())
        .arg(labelCountText(count()))
        .arg(grids.join(QStringLiteral(" + ")), size);
}

}  // namespace tandor
