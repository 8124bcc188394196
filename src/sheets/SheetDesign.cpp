#include "sheets/SheetDesign.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cmath>

#include "platform/AppError.h"
#include "platform/ProgramFolders.h"
#include "sheets/LabelSheet.h"
#include "store/FileError.h"

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

double rounded(double value, LengthUnit unit) {
    const double scale = unit == LengthUnit::Inches ? 10000.0 : 1000.0;
    return std::round(value * scale) / scale;
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

// A length of the file ("2.625in", "63.5mm", "207pt", "207"), in points.
std::optional<double> pointsOf(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^\\s*([-+]?[0-9]*\\.?[0-9]+(?:[eE][-+]?[0-9]+)?)\\s*([a-z]*)\\s*$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    const double value = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    if (unit.isEmpty() || unit == QLatin1String("pt")) {
        return value;
    }
    if (unit == QLatin1String("in")) {
        return value * 72.0;
    }
    if (unit == QLatin1String("mm")) {
        return value * 72.0 / kMmPerInch;
    }
    if (unit == QLatin1String("cm")) {
        return value * 720.0 / kMmPerInch;
    }
    if (unit == QLatin1String("pc")) {
        return value * 12.0;
    }
    return std::nullopt;
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

AppError fileError(int number) { return fileerror::make(number); }

}  // namespace

double designPaperWidth(const SheetDesign& design) {
    switch (design.paper) {
        case DesignPaper::Letter:
            return rounded(8.5 * perInch(design.unit), design.unit);
        case DesignPaper::A4:
            return rounded(210.0 / kMmPerInch * perInch(design.unit), design.unit);
        case DesignPaper::Custom:
            break;
    }
    return design.paperWidth;
}

double designPaperHeight(const SheetDesign& design) {
    switch (design.paper) {
        case DesignPaper::Letter:
            return rounded(11.0 * perInch(design.unit), design.unit);
        case DesignPaper::A4:
            return rounded(297.0 / kMmPerInch * perInch(design.unit), design.unit);
        case DesignPaper::Custom:
            break;
    }
    return design.paperHeight;
}

QString unitSymbol(LengthUnit unit) { return unit == LengthUnit::Inches ? QStringLiteral("in") : QStringLiteral("mm"); }

QString lengthText(double value, LengthUnit unit) {
    QString text = QString::number(rounded(value, unit), 'f', unit == LengthUnit::Inches ? 4 : 3);
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
        d.*length = rounded(design.*length * factor, unit);
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

QByteArray sheetTemplateXml(const SheetDesign& d) {
    auto len = [&d](double value) { return lengthText(value, d.unit) + unitSymbol(d.unit); };
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("Glabels-templates"));
    xml.writeStartElement(QStringLiteral("Template"));
    xml.writeAttribute(QStringLiteral("brand"), d.maker.isEmpty() ? QStringLiteral("User") : d.maker);
    xml.writeAttribute(QStringLiteral("part"), d.name);
    switch (d.paper) {
        case DesignPaper::Letter:
            xml.writeAttribute(QStringLiteral("size"), QStringLiteral("US-Letter"));
            break;
        case DesignPaper::A4:
            xml.writeAttribute(QStringLiteral("size"), QStringLiteral("A4"));
            break;
        case DesignPaper::Custom:
            xml.writeAttribute(QStringLiteral("size"), QStringLiteral("Other"));
            xml.writeAttribute(QStringLiteral("width"), len(d.paperWidth));
            xml.writeAttribute(QStringLiteral("height"), len(d.paperHeight));
            break;
    }
    const QString description =
        !d.description.isEmpty()
            ? d.description
            : QStringLiteral("%1 (%2 x %3) of %4 x %5 %6")
                  .arg(labelCountText(d.columns * d.rows))
                  .arg(d.columns)
                  .arg(d.rows)
                  .arg(lengthText(d.labelWidth, d.unit), lengthText(d.labelHeight, d.unit), unitSymbol(d.unit));
    xml.writeAttribute(QStringLiteral("description"), description);
    xml.writeEmptyElement(QStringLiteral("Meta"));
    xml.writeAttribute(QStringLiteral("category"), QStringLiteral("label"));
    xml.writeStartElement(QStringLiteral("Label-rectangle"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("width"), len(d.labelWidth));
    xml.writeAttribute(QStringLiteral("height"), len(d.labelHeight));
    xml.writeAttribute(QStringLiteral("round"), QStringLiteral("0in"));
    xml.writeEmptyElement(QStringLiteral("Markup-margin"));
    xml.writeAttribute(QStringLiteral("size"), QStringLiteral("0.05in"));
    xml.writeEmptyElement(QStringLiteral("Layout"));
    xml.writeAttribute(QStringLiteral("nx"), QString::number(d.columns));
    xml.writeAttribute(QStringLiteral("ny"), QString::number(d.rows));
    xml.writeAttribute(QStringLiteral("x0"), len(d.left));
    xml.writeAttribute(QStringLiteral("y0"), len(d.top));
    xml.writeAttribute(QStringLiteral("dx"), len(d.pitchX));
    xml.writeAttribute(QStringLiteral("dy"), len(d.pitchY));
    xml.writeEndElement();  // Label-rectangle
    xml.writeEndElement();  // Template
    xml.writeEndElement();  // Glabels-templates
    xml.writeEndDocument();
    return bytes;
}

ReadSheetFile readSheetTemplateXml(const QByteArray& bytes) {
    auto refused = [](const QString& why) { return ReadSheetFile{std::nullopt, why}; };
    QXmlStreamReader xml(bytes);
    QXmlStreamAttributes tmpl;
    QXmlStreamAttributes label;
    QXmlStreamAttributes layout;
    int templates = 0;
    int labels = 0;
    int layouts = 0;
    bool otherShape = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QStringView name = xml.name();
        if (name == QLatin1String("Template")) {
            if (++templates == 1) {
                tmpl = xml.attributes();
            }
        } else if (name == QLatin1String("Label-rectangle")) {
            if (++labels == 1) {
                label = xml.attributes();
            }
        } else if (name == QLatin1String("Layout")) {
            if (++layouts == 1) {
                layout = xml.attributes();
            }
        } else if (name.startsWith(QLatin1String("Label-"))) {
            otherShape = true;
        }
    }
    if (xml.hasError()) {
        return refused(QStringLiteral("The file is not a label-template file: %1 (line %2).")
                           .arg(xml.errorString())
                           .arg(xml.lineNumber()));
    }
    if (templates != 1) {
        return refused(QStringLiteral("The file holds %1 templates; only a file of one sheet can be edited here.").arg(templates));
    }
    if (otherShape || labels != 1 || layouts != 1) {
        return refused(QStringLiteral("The sheet is not one block of rectangular labels; it cannot be edited here."));
    }

    SheetDesign d;
    d.maker = tmpl.value(QLatin1String("brand")).toString();
    d.name = tmpl.value(QLatin1String("part")).toString();
    d.description = tmpl.hasAttribute(QLatin1String("description"))
                        ? tmpl.value(QLatin1String("description")).toString()
                        : tmpl.value(QLatin1String("_description")).toString();
    const QString widthText = label.value(QLatin1String("width")).toString().trimmed();
    d.unit = widthText.endsWith(QLatin1String("mm")) || widthText.endsWith(QLatin1String("cm")) ? LengthUnit::Millimetres
                                                                                               : LengthUnit::Inches;
    QString problem;
    auto length = [&](const QXmlStreamAttributes& attrs, const char* attribute) {
        const std::optional<double> points = pointsOf(attrs.value(QLatin1String(attribute)).toString());
        if (!points) {
            if (problem.isEmpty()) {
                problem = QStringLiteral("The length %1=\"%2\" cannot be read.")
                              .arg(QLatin1String(attribute), attrs.value(QLatin1String(attribute)).toString());
            }
            return 0.0;
        }
        return rounded(*points / 72.0 * perInch(d.unit), d.unit);
    };
    const QString size = tmpl.value(QLatin1String("size")).toString();
    if (size == QLatin1String("US-Letter")) {
        d.paper = DesignPaper::Letter;
    } else if (size == QLatin1String("A4")) {
        d.paper = DesignPaper::A4;
    } else if (size == QLatin1String("Other")) {
        d.paper = DesignPaper::Custom;
        d.paperWidth = length(tmpl, "width");
        d.paperHeight = length(tmpl, "height");
    } else {
        return refused(QStringLiteral("The paper \"%1\" is not Letter, A4 or a size of its own.").arg(size));
    }
    d.labelWidth = length(label, "width");
    d.labelHeight = length(label, "height");
    d.columns = layout.value(QLatin1String("nx")).toInt();
    d.rows = layout.value(QLatin1String("ny")).toInt();
    d.left = length(layout, "x0");
    d.top = length(layout, "y0");
    d.pitchX = length(layout, "dx");
    d.pitchY = length(layout, "dy");
    if (!problem.isEmpty()) {
        return refused(problem);
    }
    return ReadSheetFile{d, {}};
}

QString userSheetsFolder() { return perUserProgramFolder() + QStringLiteral("/sheets"); }

QString sheetFilePath(const QString& folder, const QString& name) {
    return folder + QLatin1Char('/') + name + QStringLiteral(".xml");
}

QStringList userSheetNames(const QString& folder) {
    QStringList names;
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*.xml")}, QDir::Files | QDir::Readable | QDir::CaseSensitive, QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files) {
        names.append(file.chopped(4));
    }
    return names;
}

void writeSheetFile(const QString& folder, const SheetDesign& design) {
    if (!QDir().mkpath(folder)) {
        throw fileError(errors::kPathNotFound);
    }
    const QByteArray bytes = sheetTemplateXml(design);
    QSaveFile file(sheetFilePath(folder, design.name));
    if (!file.open(QIODevice::WriteOnly)) {
        throw fileError(QFileInfo(folder).isWritable() ? errors::kPathFileAccess : errors::kPermissionDenied);
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        throw fileError(errors::kDeviceIo);
    }
    if (!file.commit()) {
        throw fileError(errors::kDeviceIo);
    }
}

ReadSheetFile readSheetFile(const QString& folder, const QString& name) {
    QFile file(sheetFilePath(folder, name));
    if (!file.open(QIODevice::ReadOnly)) {
        throw fileError(file.exists() ? errors::kPermissionDenied : errors::kFileNotFound);
    }
    ReadSheetFile read = readSheetTemplateXml(file.readAll());
    if (read.design) {
        read.design->name = name;  // the file's name is the sheet's name
    }
    return read;
}

void deleteSheetFile(const QString& folder, const QString& name) {
    QFile file(sheetFilePath(folder, name));
    if (file.exists() && !file.remove()) {
        throw fileError(errors::kPermissionDenied);
    }
}

}  // namespace tandor
