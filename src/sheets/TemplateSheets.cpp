#include "sheets/TemplateSheets.h"

#include <QHash>
#include <QRectF>
#include <QSizeF>
#include <optional>
#include <utility>
#include <vector>

namespace tandor {
namespace {

constexpr double kSlackIn = 0.01;  // how far a label may stand past the paper's edge or its neighbour

std::optional<PaperSize> paperOf(const QString& size) {
    if (size == u"A4") {
        return PaperSize::A4;
    }
    if (size == u"US-Letter") {
        return PaperSize::Letter;
    }
    return std::nullopt;
}

QSizeF paperIn(PaperSize paper) {
    return paper == PaperSize::A4 ? QSizeF(210.0 * kMm, 297.0 * kMm) : QSizeF(8.5, 11.0);
}

// Every layout's labels lie on the paper and clear of each other.
bool layoutsOnPaper(const LabelSheet& s) {
    const QSizeF paper = paperIn(s.paper);
    for (const SheetLayout& l : s.layouts) {
        if (l.columns < 1 || l.rows < 1 || l.firstLeftIn < -kSlackIn || l.firstTopIn < -kSlackIn ||
            (l.columns > 1 && l.pitchXIn < s.labelWidthIn - kSlackIn) ||
            (l.rows > 1 && l.pitchYIn < s.labelHeightIn - kSlackIn) ||
            l.firstLeftIn + (l.columns - 1) * l.pitchXIn + s.labelWidthIn > paper.width() + kSlackIn ||
            l.firstTopIn + (l.rows - 1) * l.pitchYIn + s.labelHeightIn > paper.height() + kSlackIn) {
            return false;
        }
    }
    return true;
}

// The labels of different layouts do not overlap (some templates repeat a
// layout for the back of a folded card).
bool layoutsApart(const LabelSheet& s) {
    std::vector<std::pair<std::size_t, QRectF>> labels;
    for (std::size_t i = 0; s.layouts.size() > 1 && i < s.layouts.size(); ++i) {
        const SheetLayout& l = s.layouts[i];
        for (int row = 0; row < l.rows; ++row) {
            for (int column = 0; column < l.columns; ++column) {
                labels.emplace_back(i, QRectF(l.firstLeftIn + column * l.pitchXIn + kSlackIn,
                                              l.firstTopIn + row * l.pitchYIn + kSlackIn,
                                              s.labelWidthIn - 2 * kSlackIn, s.labelHeightIn - 2 * kSlackIn));
            }
        }
    }
    for (std::size_t a = 0; a < labels.size(); ++a) {
        for (std::size_t b = a + 1; b < labels.size(); ++b) {
            if (labels[a].first != labels[b].first && labels[a].second.intersects(labels[b].second)) {
                return false;
            }
        }
    }
    return true;
}

bool plausible(const LabelSheet& s) {
    return s.labelWidthIn > 0.0 && s.labelHeightIn > 0.0 && !s.layouts.empty() && layoutsOnPaper(s) &&
           layoutsApart(s);
}

double inchesOr0(const std::optional<TemplateLength>& length) {
    return length ? length->inches() : 0.0;
}

// The sheet of a template whose first label shape is a rectangle with its
// size, on a paper the program prints on.
std::optional<LabelSheet> sheetOf(const SheetTemplate& t) {
    const std::optional<PaperSize> paper = paperOf(t.size);
    if (t.brand.isEmpty() || t.part.isEmpty() || !paper || t.labels.isEmpty()) {
        return std::nullopt;
    }
    const TemplateLabel& label = t.labels.front();
    if (label.shape != u"rectangle" || !label.problem.isEmpty() || !label.width || !label.height) {
        return std::nullopt;
    }
    LabelSheet sheet;
    sheet.maker = t.brand;
    sheet.part = t.part;
    sheet.detail = t.description;
    sheet.paper = *paper;
    sheet.metric = sheet.paper == PaperSize::A4;
    sheet.labelWidthIn = label.width->inches();
    sheet.labelHeightIn = label.height->inches();
    for (const TemplateLayout& l : label.layouts) {
        sheet.layouts.push_back(SheetLayout{l.nx, l.ny, inchesOr0(l.x0), inchesOr0(l.y0), inchesOr0(l.dx),
                                            inchesOr0(l.dy)});
    }
    if (!plausible(sheet)) {
        return std::nullopt;
    }
    return sheet;
}

}  // namespace

QString sheetKey(const QString& maker, const QString& part) {
    return (maker + QLatin1Char('\n') + part).toCaseFolded();
}

QList<LabelSheet> sheetsOfTemplates(const QList<SheetTemplate>& templates) {
    QList<LabelSheet> sheets;
    for (const SheetTemplate& t : templates) {
        if (t.equivalentOf.isEmpty()) {
            if (std::optional<LabelSheet> sheet = sheetOf(t)) {
                sheets.append(*sheet);
            }
        }
    }
    QHash<QString, qsizetype> byKey;
    for (qsizetype i = sheets.size() - 1; i >= 0; --i) {
        byKey.insert(sheetKey(sheets[i].maker, sheets[i].part), i);
    }
    for (const SheetTemplate& t : templates) {
        const auto it = byKey.constFind(sheetKey(t.brand, t.equivalentOf));
        if (t.equivalentOf.isEmpty() || t.brand.isEmpty() || t.part.isEmpty() || it == byKey.cend()) {
            continue;
        }
        QStringList& equivalents = sheets[*it].equivalents;
        if (!equivalents.contains(t.part, Qt::CaseInsensitive)) {
            equivalents.append(t.part);
        }
    }
    return sheets;
}

}  // namespace tandor
