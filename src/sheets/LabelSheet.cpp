#include "sheets/LabelSheet.h"

#include <algorithm>
#include <cmath>

#include "print/PrintGrid.h"

namespace tandor {
namespace {

constexpr double kMm = 1.0 / 25.4;

LabelSheet sheet30() {
    LabelSheet s;
    s.name = QStringLiteral("5160");
    s.parts = QStringLiteral("Avery 5160 / 8160");
    s.maker = QStringLiteral("Avery");
    s.part = QStringLiteral("5160");
    s.equivalents = {QStringLiteral("8160")};
    s.detail = QStringLiteral("Address Labels");
    s.columns = 3;
    s.rows = 10;
    s.labelWidthIn = 2.625;
    s.labelHeightIn = 1.0;
    s.firstLeftIn = 0.1875;
    s.firstTopIn = 0.5;
    s.pitchXIn = 2.75;
    s.pitchYIn = 1.0;
    // Columns step 33 characters (2.75 in at 12 characters per inch), rows
    // alternately 7 and 6 lines (1 in).
    s.leftPads = {2, 35, 68};
    s.topPads = {3, 10, 16, 23, 30, 36, 43, 50, 56, 63};
    s.bulkRowsBySpacing = true;
    return s;
}

LabelSheet sheet80() {
    LabelSheet s;
    s.name = QStringLiteral("5167");
    s.parts = QStringLiteral("Avery 5167 / 8167 / 18167");
    s.maker = QStringLiteral("Avery");
    s.part = QStringLiteral("5167");
    s.equivalents = {QStringLiteral("8167"), QStringLiteral("18167")};
    s.detail = QStringLiteral("Return Address Labels");
    s.use = SheetUse::ReturnAddress;
    s.columns = 4;
    s.rows = 20;
    s.labelWidthIn = 1.75;
    s.labelHeightIn = 0.5;
    s.firstLeftIn = 0.28125;
    s.firstTopIn = 0.5;
    s.pitchXIn = 2.0625;
    s.pitchYIn = 0.5;
    s.fontSize = 8.0;
    s.textLines = 3;
    s.characters = 30;
    s.leftPads = {3, 35, 66, 97};
    // Five lines above the first row, four lines a row, and one extra line
    // after rows 8, 13 and 15: the sheet's rows drift against the grid and the
    // extra lines bring them back onto their labels.
    for (int row = 1; row <= s.rows; ++row) {
        int top = 5 + (row - 1) * 4;
        for (int extra : {8, 13, 15}) {
            if (row > extra) {
                ++top;
            }
        }
        s.topPads.push_back(top);
    }
    return s;
}

LabelSheet metricSheet(const char* name, const char* parts, int columns, int rows, double widthMm,
                       double heightMm, double leftMm, double topMm, double pitchXMm,
                       double pitchYMm, int characters) {
    LabelSheet s;
    s.name = QString::fromLatin1(name);
    s.parts = QString::fromLatin1(parts);
    // "Avery L7160 / J8160": the maker, its part number and the equivalents.
    const QStringList words = s.parts.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    s.maker = words.value(0);
    s.part = words.value(1);
    for (qsizetype i = 3; i < words.size(); i += 2) {
        s.equivalents.append(words.at(i));
    }
    s.detail = QStringLiteral("Address Labels");
    s.paper = PaperSize::A4;
    s.metric = true;
    s.columns = columns;
    s.rows = rows;
    s.labelWidthIn = widthMm * kMm;
    s.labelHeightIn = heightMm * kMm;
    s.firstLeftIn = leftMm * kMm;
    s.firstTopIn = topMm * kMm;
    s.pitchXIn = pitchXMm * kMm;
    s.pitchYIn = pitchYMm * kMm;
    s.characters = characters;
    return s;
}

QList<LabelSheet> buildSheets() {
    QList<LabelSheet> sheets;
    sheets.append(sheet30());

    LabelSheet s5161;
    s5161.name = QStringLiteral("5161");
    s5161.parts = QStringLiteral("Avery 5161 / 8161");
    s5161.maker = QStringLiteral("Avery");
    s5161.part = QStringLiteral("5161");
    s5161.equivalents = {QStringLiteral("8161")};
    s5161.detail = QStringLiteral("Address Labels");
    s5161.columns = 2;
    s5161.rows = 10;
    s5161.labelWidthIn = 4.0;
    s5161.labelHeightIn = 1.0;
    s5161.firstLeftIn = 0.15625;
    s5161.firstTopIn = 0.5;
    s5161.pitchXIn = 4.1875;
    s5161.pitchYIn = 1.0;
    s5161.characters = 45;
    sheets.append(s5161);

    sheets.append(
        metricSheet("L7160", "Avery L7160 / J8160", 3, 7, 63.5, 38.1, 7.2, 15.15, 66.04, 38.1, 27));
    LabelSheet l7163 =
        metricSheet("L7163", "Avery L7163 / J8163", 2, 7, 99.1, 38.1, 4.65, 15.15, 101.6, 38.1, 43);
    // The free template library puts the first label 3.35 mm from the left
    // with a pitch of 103.0 mm.
    l7163.otherReading = SheetReading{3.35 * kMm, 103.0 * kMm};
    sheets.append(l7163);

    sheets.append(sheet80());
    return sheets;
}

QString number(double value) {
    return QString::number(value, 'g', 6);
}

// Inches as the makers write them: 2 5/8, 1 3/4, 1/2.
QString inchText(double inches) {
    const int eighths = static_cast<int>(std::lround(inches * 8.0));
    if (std::abs(eighths / 8.0 - inches) > 1e-9) {
        return number(inches);
    }
    const int whole = eighths / 8;
    int part = eighths % 8;
    int denominator = 8;
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

}  // namespace

double LabelSheet::linePitchPt() const {
    return printgrid::lineHeight(fontSize);
}

QRectF LabelSheet::labelRectIn(int position) const {
    const int column = columnOf(position);
    const int row = rowOf(position);
    double left = firstLeftIn + column * pitchXIn;
    double right = left + labelWidthIn;
    if (otherReading) {
        const double otherLeft = otherReading->firstLeftIn + column * otherReading->pitchXIn;
        left = std::max(left, otherLeft);
        right = std::min(right, otherLeft + labelWidthIn);
    }
    const double top = firstTopIn + row * pitchYIn;
    return {left, top, right - left, labelHeightIn};
}

QRectF LabelSheet::outlineIn(int position) const {
    return {firstLeftIn + columnOf(position) * pitchXIn, firstTopIn + rowOf(position) * pitchYIn,
            labelWidthIn, labelHeightIn};
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

int LabelSheet::leftPad(int column) const {
    if (!leftPads.empty()) {
        return leftPads[static_cast<std::size_t>(column)];
    }
    FontSpec font;
    font.size = fontSize;
    const double cellIn = columnWidth(font) / printgrid::kPointsPerInch;
    const QRectF label = labelRectIn(column + 1);
    const double textLeft = label.center().x() - characters * cellIn / 2.0;
    return static_cast<int>(std::lround((textLeft - printgrid::kPdfLeftMarginInches) / cellIn)) + 1;
}

int LabelSheet::topPad(int row) const {
    if (!topPads.empty()) {
        return topPads[static_cast<std::size_t>(row)];
    }
    const double lineIn = linePitchPt() / printgrid::kPointsPerInch;
    const QRectF label = labelRectIn(row * columns + 1);
    const double textTop = label.center().y() - textLines * lineIn / 2.0;
    // The label run prints one empty line before the TopPad empty lines.
    return static_cast<int>(std::lround((textTop - printgrid::kPdfTopMarginInches) / lineIn)) - 1;
}

QString LabelSheet::paperName() const {
    return paper == PaperSize::A4 ? QStringLiteral("A4") : QStringLiteral("Letter");
}

QString LabelSheet::description() const {
    const QString size =
        metric
            ? QStringLiteral("%1 x %2 mm")
                  .arg(number(labelWidthIn * 25.4))
                  .arg(number(labelHeightIn * 25.4))
            : QStringLiteral("%1 x %2 in").arg(inchText(labelHeightIn)).arg(inchText(labelWidthIn));
    return QStringLiteral("%1: %2, %3 labels (%4 x %5) of %6")
        .arg(parts, paperName())
        .arg(count())
        .arg(columns)
        .arg(rows)
        .arg(size);
}

const QList<LabelSheet>& labelSheets() {
    static const QList<LabelSheet> sheets = buildSheets();
    return sheets;
}

QList<const LabelSheet*> addressSheets() {
    QList<const LabelSheet*> out;
    for (const LabelSheet& s : labelSheets()) {
        if (s.use == SheetUse::Address) {
            out.append(&s);
        }
    }
    return out;
}

const LabelSheet& defaultLabelSheet() {
    return labelSheets().front();
}

const LabelSheet& returnAddressLabelSheet() {
    return *findLabelSheet(QStringLiteral("5167"));
}

const LabelSheet* findLabelSheet(const QString& name) {
    QString wanted = name.trimmed();
    if (wanted.startsWith(QLatin1String("Avery"), Qt::CaseInsensitive)) {
        wanted = wanted.mid(5).trimmed();
    }
    if (wanted.isEmpty()) {
        return nullptr;
    }
    for (const LabelSheet& s : labelSheets()) {
        if (s.name.compare(wanted, Qt::CaseInsensitive) == 0) {
            return &s;
        }
        QString parts = s.parts;
        parts.remove(QStringLiteral("Avery "));
        for (const QString& part : parts.split(QLatin1Char('/'))) {
            if (part.trimmed().compare(wanted, Qt::CaseInsensitive) == 0) {
                return &s;
            }
        }
    }
    return nullptr;
}

const LabelSheet& addressSheetOr(const QString& name) {
    const LabelSheet* sheet = findLabelSheet(name);
    return sheet && sheet->use == SheetUse::Address ? *sheet : defaultLabelSheet();
}

void reloadLabelSheets() {
    // The table is built in once and holds no sheet read from a file yet:
    // there is nothing to read again.
}

}  // namespace tandor
