#include "print/PaperEdge.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "platform/Platform.h"

namespace tandor {
namespace {

const QString kSettingsSection = QStringLiteral("Settings");
bool defaultOn = false;

// Cuts smaller than this are the rounding of the layout, not a lost character.
constexpr double kToleratedPt = 0.036;  // 0.0005 in

// A text's box on the paper, from its first to its last printed character.
std::optional<QRectF> inkBox(const PlacedText& t, const QPointF& corner, const TextWidth& width) {
    const qsizetype first = t.text.indexOf(QRegularExpression(QStringLiteral("\\S")));
    if (first < 0) {
        return std::nullopt;
    }
    qsizetype last = t.text.size() - 1;
    while (last > first && t.text.at(last).isSpace()) {
        --last;
    }
    const double left = t.xPt + width(t.font, t.text.left(first));
    const double right = t.xPt + width(t.font, t.text.left(last + 1));
    return QRectF(corner + QPointF(left, t.yPt),
                  QSizeF(right - left, printgrid::lineHeight(t.font.size)));
}

QString inches(double points) {
    // Rounded up to the hundredth: a cut is never told smaller than it is.
    const double hundredths = std::ceil(points / printgrid::kPointsPerInch * 100.0 - 1e-6);
    return QString::number(hundredths / 100.0, 'f', 2);
}

QString sideName(CutSide side) {
    switch (side) {
        case CutSide::Left:
            return QStringLiteral("at the left");
        case CutSide::Top:
            return QStringLiteral("at the top");
        case CutSide::Right:
            return QStringLiteral("at the right");
        case CutSide::Bottom:
            return QStringLiteral("at the bottom");
    }
    return {};
}

// The label (index into the outlines) whose outline holds the middle of a box.
std::optional<std::size_t> labelOf(const std::vector<QRectF>& outlines, const QRectF& box) {
    for (std::size_t i = 0; i < outlines.size(); ++i) {
        if (outlines[i].contains(box.center())) {
            return i;
        }
    }
    return std::nullopt;
}

// " in the first column" when every cut label lies in the sheet's outermost
// column or row on that side.
QString outerLine(const std::vector<QRectF>& outlines, const std::set<std::size_t>& labels,
                  CutSide side) {
    const auto edge = [side](const QRectF& r) {
        switch (side) {
            case CutSide::Left:
                return r.left();
            case CutSide::Top:
                return r.top();
            case CutSide::Right:
                return -r.right();
            case CutSide::Bottom:
                return -r.bottom();
        }
        return 0.0;
    };
    double outer = edge(outlines.front());
    for (const QRectF& r : outlines) {
        outer = std::min(outer, edge(r));
    }
    for (std::size_t i : labels) {
        if (std::abs(edge(outlines[i]) - outer) > 1.0) {
            return {};
        }
    }
    switch (side) {
        case CutSide::Left:
            return QStringLiteral(" in the first column");
        case CutSide::Top:
            return QStringLiteral(" in the first row");
        case CutSide::Right:
            return QStringLiteral(" in the last column");
        case CutSide::Bottom:
            return QStringLiteral(" in the last row");
    }
    return {};
}

QString counted(const QString& first, std::size_t count) {
    return count > 1 ? QStringLiteral("%1 and %2 more").arg(first).arg(count - 1) : first;
}

}  // namespace

bool placesByPaperEdge(Platform& platform) {
    const QString chosen = platform.readSetting(kSettingsSection, kPlaceByPaperEdgeKey);
    if (chosen == QLatin1String("1")) {
        return true;
    }
    if (chosen == QLatin1String("0")) {
        return false;
    }
    return defaultOn;
}

void choosePlaceByPaperEdge(Platform& platform, bool on) {
    platform.writeSetting(kSettingsSection, kPlaceByPaperEdgeKey,
                          on ? QStringLiteral("1") : QStringLiteral("0"));
}

void keepPlaceByPaperEdge(Platform& platform) {
    if (platform.readSetting(kSettingsSection, kPlaceByPaperEdgeKey).isEmpty()) {
        choosePlaceByPaperEdge(platform, placesByPaperEdge(platform));
    }
}

void setDefaultPlaceByPaperEdge(bool on) {
    defaultOn = on;
}

std::vector<CutText> cutTexts(const PrintedDocument& document,
                              const std::function<EdgePlacement(const PrintedPage&)>& placement,
                              const TextWidth& width) {
    std::vector<CutText> cuts;
    for (std::size_t p = 0; p < document.pages.size(); ++p) {
        const PrintedPage& page = document.pages[p];
        const EdgePlacement place = placement(page);
        const QRectF& area = place.deviceArea;
        for (std::size_t i = 0; i < page.texts.size(); ++i) {
            std::optional<QRectF> box = inkBox(page.texts[i], place.gridArea.topLeft(), width);
            // What reaches past the grid's own printable area does so on every
            // printer and in either placement: only the printer's own cut counts.
            if (box) {
                box = box->intersected(place.gridArea);
            }
            if (!box || box->isEmpty()) {
                continue;
            }
            const std::pair<CutSide, double> losses[] = {
                {CutSide::Left, area.left() - box->left()},
                {CutSide::Top, area.top() - box->top()},
                {CutSide::Right, box->right() - area.right()},
                {CutSide::Bottom, box->bottom() - area.bottom()},
            };
            for (const auto& [side, loss] : losses) {
                if (loss > kToleratedPt) {
                    cuts.push_back({p, i, side, loss, *box});
                }
            }
        }
    }
    return cuts;
}

QString cutWarning(const PrintedDocument& document, const std::vector<CutText>& cuts) {
    QStringList sentences;
    const std::vector<QRectF>& outlines = document.labelOutlines;
    for (CutSide side : {CutSide::Left, CutSide::Top, CutSide::Right, CutSide::Bottom}) {
        double loss = 0.0;
        std::set<std::size_t> labels;
        // Lines outside any label: by page, the tops of their lines.
        std::map<std::size_t, std::set<double>> lines;
        for (const CutText& c : cuts) {
            if (c.side != side) {
                continue;
            }
            loss = std::max(loss, c.lossPt);
            if (const std::optional<std::size_t> label = labelOf(outlines, c.onPaper)) {
                labels.insert(*label);
            } else {
                lines[c.page].insert(document.pages[c.page].texts[c.text].yPt);
            }
        }
        if (labels.empty() && lines.empty()) {
            continue;
        }
        QString what;
        if (!labels.empty()) {
            what = counted(QStringLiteral("Label %1").arg(*labels.begin() + 1), labels.size()) +
                   outerLine(outlines, labels, side);
        }
        if (!lines.empty()) {
            // A line is numbered by its place among the lines of its page, from the top.
            const auto& [page, tops] = *lines.begin();
            std::set<double> allTops;
            for (const PlacedText& t : document.pages[page].texts) {
                allTops.insert(t.yPt);
            }
            const auto number = std::distance(allTops.begin(), allTops.find(*tops.begin())) + 1;
            std::size_t count = 0;
            for (const auto& [p, t] : lines) {
                count += t.size();
            }
            QString first = QStringLiteral("Line %1").arg(number);
            if (document.pages.size() > 1) {
                first += QStringLiteral(" of page %1").arg(page + 1);
            }
            what += (what.isEmpty() ? QString() : QStringLiteral(" and ")) +
                    (what.isEmpty() ? counted(first, count)
                                    : counted(first.replace(0, 1, QLatin1Char('l')), count));
        }
        sentences.append(QStringLiteral("%1 would lose %2 in %3: the printer cannot print there.")
                             .arg(what, inches(loss), sideName(side)));
    }
    return sentences.join(QLatin1Char('\n'));
}

}  // namespace tandor
