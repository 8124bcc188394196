#include "sheets/SheetDesign.h"

#include <QRegularExpression>
#include <cmath>
#include <optional>
#include <tuple>

namespace tandor {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr int kMostLabels = 100;  // columns or rows
constexpr int kLongestName = 60;

double perInch(LengthUnit unit) { return unit == LengthUnit::Inches ? 1.0 : kMmPerInch; }

// Differences smaller than the last digit a message shows count as none.
double tolerance(LengthUnit unit) { return unit == LengthUnit::Inches ? 0.005 : 0.05; }

// A length in a message: "2.63 in", "3.2 mm".
QString shownLength(double value, LengthUnit unit) {
    return QString::number(value, 'f', unit == LengthUnit::Inches ? 2 : 1) + QLatin1Char(' ') + unitSymbol(unit);
}

// Characters a file name may not hold on the desktops people keep their files on.
const QString kUnsafe = QStringLiteral("/\\:*?\"<>|");

QString nameProblem(const QString& name) {
    if (name.trimmed().isEmpty()) {
        return QStringLiteral("Give the sheet a name.");
    }
    for (const QChar c : name) {
        if (kUnsafe.contains(c)) {
            return QStringLiteral("The name may not contain \"%1\": it is the name of the sheet's file.").arg(c);
        }
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) {
            return QStringLiteral("The name may not contain control characters.");
        }
    }
    if (name != name.trimmed()) {
        return QStringLiteral("The name may not begin or end with a space.");
    }
    if (name.startsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char('.'))) {
        return QStringLiteral("The name may not begin or end with a full stop.");
    }
    if (name.size() > kLongestName) {
        return QStringLiteral("The name may be at most %1 characters long.").arg(kLongestName);
    }
    return {};
}

// "column 3" or "columns 3 to 4".
QString span(const QString& what, int first, int last) {
    return first == last ? QStringLiteral("%1 %2").arg(what).arg(first)
                         : QStringLiteral("%1s %2 to %3").arg(what).arg(first).arg(last);
}

// The labels of a line of columns (or rows) that run past the far edge, by how much.
QString pastFarEdge(double first, double size, double pitch, int count, double paper, LengthUnit unit,
                    const QString& what, const QString& edge) {
    const double tol = tolerance(unit);
    for (int i = 0; i < count; ++i) {
        if (first + i * pitch + size > paper + tol) {
            const double past = first + (count - 1) * pitch + size - paper;
            return QStringLiteral("The labels of %1 run %2%3 off the %4 edge of the paper.")
                .arg(span(what, i + 1, count), i + 1 == count ? QString() : QStringLiteral("up to "),
                     shownLength(past, unit), edge);
        }
    }
    return {};
}

std::optional<double> readNumber(const QString& text) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    static const QRegularExpression re(QStringLiteral("^[-+]?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    if (!re.match(t).hasMatch()) {
        return std::nullopt;
    }
    return t.toDouble();
}

}  // namespace

double designPaperWidth(const SheetDesign& design) {
    switch (design.paper) {
        case DesignPaper::Letter:
            return roundedLength(8.5 * perInch(design.unit), design.unit);
        case DesignPaper::A4:
            return roundedLength(210.0 / kMmPerInch * perInch(design.unit), design.unit);
        case DesignPaper::Custom:
            break;
    }
    return design.paperWidth;
}

double designPaperHeight(const SheetDesign& design) {
    switch (design.paper) {
        case DesignPaper::Letter:
            return roundedLength(11.0 * perInch(design.unit), design.unit);
        case DesignPaper::A4:
            return roundedLength(297.0 / kMmPerInch * perInch(design.unit), design.unit);
        case DesignPaper::Custom:
            break;
    }
    return design.paperHeight;
}

double roundedLength(double value, LengthUnit unit) {
    const double scale = unit == LengthUnit::Inches ? 10000.0 : 1000.0;
    return std::round(value * scale) / scale;
}

QString unitSymbol(LengthUnit unit) { return unit == LengthUnit::Inches ? QStringLiteral("in") : QStringLiteral("mm"); }

QString lengthText(double value, LengthUnit unit) {
    QString text = QString::number(roundedLength(value, unit), 'f', unit == LengthUnit::Inches ? 4 : 3);
    while (text.endsWith(QLatin1Char('0'))) {
        text.chop(1);
    }
    if (text.endsWith(QLatin1Char('.'))) {
        text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

SheetDesign convertedDesign(const SheetDesign& design, LengthUnit unit) {
    if (design.unit == unit) {
        return design;
    }
    const double factor = perInch(unit) / perInch(design.unit);
    SheetDesign d = design;
    d.unit = unit;
    for (double SheetDesign::*length : {&SheetDesign::paperWidth, &SheetDesign::paperHeight, &SheetDesign::labelWidth,
                                        &SheetDesign::labelHeight, &SheetDesign::left, &SheetDesign::top,
                                        &SheetDesign::pitchX, &SheetDesign::pitchY}) {
        d.*length = roundedLength(design.*length * factor, unit);
    }
    return d;
}

QString designProblem(const SheetDesign& d) {
    if (QString problem = nameProblem(d.name); !problem.isEmpty()) {
        return problem;
    }
    const LengthUnit u = d.unit;
    const double paperWidth = designPaperWidth(d);
    const double paperHeight = designPaperHeight(d);
    const struct {
        double value;
        const char* what;
    } sizes[] = {{paperWidth, "paper width"},          {paperHeight, "paper height"}, {d.labelWidth, "label width"},
                 {d.labelHeight, "label height"},      {d.pitchX, "horizontal pitch"}, {d.pitchY, "vertical pitch"}};
    for (const auto& size : sizes) {
        if (!(size.value > 0.0)) {
            return QStringLiteral("The %1 must be more than 0.").arg(QLatin1String(size.what));
        }
    }
    for (const auto& [count, what] : {std::pair{d.columns, "columns"}, std::pair{d.rows, "rows"}}) {
        if (count < 1 || count > kMostLabels) {
            return QStringLiteral("The number of %1 must be from 1 to %2.").arg(QLatin1String(what)).arg(kMostLabels);
        }
    }
    const double tol = tolerance(u);
    if (d.columns > 1 && d.pitchX < d.labelWidth - tol) {
        return QStringLiteral("Labels overlap: the horizontal pitch %1 is less than the label width %2.")
            .arg(shownLength(d.pitchX, u), shownLength(d.labelWidth, u));
    }
    if (d.rows > 1 && d.pitchY < d.labelHeight - tol) {
        return QStringLiteral("Labels overlap: the vertical pitch %1 is less than the label height %2.")
            .arg(shownLength(d.pitchY, u), shownLength(d.labelHeight, u));
    }
    if (d.left < -tol) {
        return QStringLiteral("The labels of column 1 run %1 off the left edge of the paper.").arg(shownLength(-d.left, u));
    }
    if (d.top < -tol) {
        return QStringLiteral("The labels of row 1 run %1 off the top edge of the paper.").arg(shownLength(-d.top, u));
    }
    if (QString p = pastFarEdge(d.left, d.labelWidth, d.pitchX, d.columns, paperWidth, u, QStringLiteral("column"),
                                QStringLiteral("right"));
        !p.isEmpty()) {
        return p;
    }
    return pastFarEdge(d.top, d.labelHeight, d.pitchY, d.rows, paperHeight, u, QStringLiteral("row"),
                       QStringLiteral("bottom"));
}

ReadDesign readDesign(const SheetDesignText& text) {
    ReadDesign result;
    SheetDesign& d = result.design;
    d.name = text.name;
    d.unit = text.unit;
    d.paper = text.paper;
    const struct {
        const QString* text;
        double SheetDesign::*length;
        const char* what;
        bool used;
    } lengths[] = {{&text.paperWidth, &SheetDesign::paperWidth, "paper width", text.paper == DesignPaper::Custom},
                   {&text.paperHeight, &SheetDesign::paperHeight, "paper height", text.paper == DesignPaper::Custom},
                   {&text.labelWidth, &SheetDesign::labelWidth, "label width", true},
                   {&text.labelHeight, &SheetDesign::labelHeight, "label height", true},
                   {&text.left, &SheetDesign::left, "left offset", true},
                   {&text.top, &SheetDesign::top, "top offset", true},
                   {&text.pitchX, &SheetDesign::pitchX, "horizontal pitch", true},
                   {&text.pitchY, &SheetDesign::pitchY, "vertical pitch", true}};
    QString problem;
    for (const auto& l : lengths) {
        if (!l.used) {
            continue;
        }
        const std::optional<double> value = readNumber(*l.text);
        if (value) {
            d.*l.length = *value;
        } else if (problem.isEmpty()) {
            problem = l.text->trimmed().isEmpty()
                          ? QStringLiteral("Type the %1.").arg(QLatin1String(l.what))
                          : QStringLiteral("The %1 \"%2\" is not a number.").arg(QLatin1String(l.what), l.text->trimmed());
        }
    }
    for (const auto& [t, count, what] : {std::tuple{&text.columns, &d.columns, "columns"}, std::tuple{&text.rows, &d.rows, "rows"}}) {
        bool ok = false;
        *count = t->trimmed().toInt(&ok);
        if (!ok && problem.isEmpty()) {
            problem = QStringLiteral("The number of %1 must be a whole number.").arg(QLatin1String(what));
        }
    }
    // A bad name is told first, then a field that is not a number.
    const QString name = nameProblem(d.name);
    result.problem = !name.isEmpty() ? name : !problem.isEmpty() ? problem : designProblem(d);
    return result;
}

SheetDesignText designText(const SheetDesign& d) {
    SheetDesignText t;
    t.name = d.name;
    t.unit = d.unit;
    t.paper = d.paper;
    t.paperWidth = lengthText(designPaperWidth(d), d.unit);
    t.paperHeight = lengthText(designPaperHeight(d), d.unit);
    t.labelWidth = lengthText(d.labelWidth, d.unit);
    t.labelHeight = lengthText(d.labelHeight, d.unit);
    t.columns = QString::number(d.columns);
    t.rows = QString::number(d.rows);
    t.left = lengthText(d.left, d.unit);
    t.top = lengthText(d.top, d.unit);
    t.pitchX = lengthText(d.pitchX, d.unit);
    t.pitchY = lengthText(d.pitchY, d.unit);
    return t;
}

SheetDesignText convertedText(const SheetDesignText& text, LengthUnit unit) {
    SheetDesignText t = text;
    t.unit = unit;
    const double factor = perInch(unit) / perInch(text.unit);
    for (QString SheetDesignText::*field : {&SheetDesignText::paperWidth, &SheetDesignText::paperHeight,
                                            &SheetDesignText::labelWidth, &SheetDesignText::labelHeight,
                                            &SheetDesignText::left, &SheetDesignText::top, &SheetDesignText::pitchX,
                                            &SheetDesignText::pitchY}) {
        const std::optional<double> value = readNumber(text.*field);
        if (value && text.unit != unit) {
            t.*field = lengthText(*value * factor, unit);
        }
    }
    if (text.paper != DesignPaper::Custom) {
        SheetDesign paper;
        paper.unit = unit;
        paper.paper = text.paper;
        t.paperWidth = lengthText(designPaperWidth(paper), unit);
        t.paperHeight = lengthText(designPaperHeight(paper), unit);
    }
    return t;
}

SheetDesignText newDesignText(LengthUnit unit) {
    SheetDesign d;
    d.labelWidth = 2.625;
    d.labelHeight = 1.0;
    d.columns = 3;
    d.rows = 10;
    d.left = 0.1875;
    d.top = 0.5;
    d.pitchX = 2.75;
    d.pitchY = 1.0;
    return convertedText(designText(d), unit);
}

}  // namespace tandor
