#include "sheets/LabelTemplates.h"

#include <QXmlStreamReader>
#include <utility>
#include <vector>

namespace tandor {
namespace {

constexpr double kSlackIn = 0.01;  // how far a label may stand past the paper's edge or its neighbour

struct Unit {
    const char* name;
    double inches;
};
constexpr Unit kUnits[] = {{"pt", 1.0 / 72.0}, {"in", 1.0}, {"mm", kMm}, {"cm", 10.0 * kMm},
                           {"pc", 12.0 / 72.0}};

std::optional<PaperSize> paperOf(QStringView size) {
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

// The labels lie on the paper and clear of each other.
bool plausible(const LabelSheet& s) {
    if (s.labelWidthIn <= 0.0 || s.labelHeightIn <= 0.0 || s.layouts.empty()) {
        return false;
    }
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
    // The labels of different layouts do not overlap (some templates repeat a
    // layout for the back of a folded card).
    std::vector<std::pair<std::size_t, QRectF>> labels;
    for (std::size_t i = 0; s.layouts.size() > 1 && i < s.layouts.size(); ++i) {
        const SheetLayout& l = s.layouts[i];
        for (int row = 0; row < l.rows; ++row) {
            for (int column = 0; column < l.columns; ++column) {
                labels.emplace_back(i, QRectF(l.firstLeftIn + column * l.pitchXIn + kSlackIn,
                                              l.firstTopIn + row * l.pitchYIn + kSlackIn,
                                              s.labelWidthIn - 2 * kSlackIn,
                                              s.labelHeightIn - 2 * kSlackIn));
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

}  // namespace

std::optional<double> templateLengthIn(QStringView text) {
    text = text.trimmed();
    double scale = 1.0 / 72.0;
    for (const Unit& unit : kUnits) {
        if (text.endsWith(QLatin1String(unit.name))) {
            scale = unit.inches;
            text.chop(2);
            break;
        }
    }
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok) {
        return std::nullopt;
    }
    // Millimetres as the built-in sheets were always worked out: value times 1/25.4.
    return value * scale;
}

namespace {

// A <Template> element's own attributes into `sheet`. Whether the template
// is one to read further: an equivalent ("equiv") is only noted in `into`.
bool startTemplate(const QXmlStreamAttributes& attributes, LabelSheet& sheet, LabelTemplates& into) {
    sheet.maker = attributes.value(QLatin1String("brand")).toString().trimmed();
    sheet.part = attributes.value(QLatin1String("part")).toString().trimmed();
    const QString equivalentOf = attributes.value(QLatin1String("equiv")).toString().trimmed();
    const bool named = !sheet.maker.isEmpty() && !sheet.part.isEmpty();
    if (!equivalentOf.isEmpty()) {
        if (named) {
            into.equivalents.append({sheet.maker, sheet.part, equivalentOf});
        }
        return false;
    }
    sheet.detail = attributes.value(QLatin1String("description")).toString();
    if (sheet.detail.isEmpty()) {
        sheet.detail = attributes.value(QLatin1String("_description")).toString();
    }
    const std::optional<PaperSize> paper = paperOf(attributes.value(QLatin1String("size")));
    sheet.paper = paper.value_or(PaperSize::Letter);
    sheet.metric = sheet.paper == PaperSize::A4;
    return named && paper.has_value();
}

}  // namespace

bool readLabelTemplates(const QByteArray& data, LabelTemplates& into) {
    QXmlStreamReader xml(data);
    LabelSheet current;
    bool inTemplate = false;
    bool good = false;        // the template so far is one to keep
    bool labelSeen = false;   // its (first) label shape was read
    bool inRectangle = false;
    const auto length = [&xml, &good](QLatin1String attribute, bool required = true) {
        const QStringView text = xml.attributes().value(attribute);
        if (text.isEmpty() && !required) {
            return 0.0;
        }
        const std::optional<double> in = templateLengthIn(text);
        good = good && in.has_value();
        return in.value_or(0.0);
    };
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = xml.name();
            const QXmlStreamAttributes attributes = xml.attributes();
            if (name == u"Template") {
                inTemplate = true;
                labelSeen = false;
                inRectangle = false;
                current = LabelSheet{};
                good = startTemplate(attributes, current, into);
            } else if (inTemplate && good && name.startsWith(u"Label-")) {
                if (labelSeen) {
                    continue;  // a second label shape: only the first is read
                }
                labelSeen = true;
                inRectangle = name == u"Label-rectangle";
                good = inRectangle;
                if (good) {
                    current.labelWidthIn = length(QLatin1String("width"));
                    current.labelHeightIn = length(QLatin1String("height"));
                }
            } else if (inRectangle && good && name == u"Layout") {
                SheetLayout layout;
                layout.columns = attributes.value(QLatin1String("nx")).toInt();
                layout.rows = attributes.value(QLatin1String("ny")).toInt();
                layout.firstLeftIn = length(QLatin1String("x0"), false);
                layout.firstTopIn = length(QLatin1String("y0"), false);
                layout.pitchXIn = length(QLatin1String("dx"), false);
                layout.pitchYIn = length(QLatin1String("dy"), false);
                current.layouts.push_back(layout);
            }
        } else if (token == QXmlStreamReader::EndElement) {
            const QStringView name = xml.name();
            if (name == u"Template") {
                if (good && inTemplate && plausible(current)) {
                    into.sheets.append(current);
                }
                inTemplate = false;
                good = false;
            } else if (name == u"Label-rectangle") {
                inRectangle = false;
            }
        }
    }
    return !xml.hasError();
}

}  // namespace tandor
