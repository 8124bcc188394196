#include "sheets/SheetDesignFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/AppError.h"
#include "platform/ProgramFolders.h"
#include "sheets/LabelSheet.h"
#include "sheets/SheetTemplateReader.h"
#include "sheets/SheetTemplateWriter.h"
#include "store/FileError.h"

namespace tandor {
namespace {

constexpr double kMillimetresPerInch = 25.4;

TemplateUnit templateUnit(LengthUnit unit) {
    return unit == LengthUnit::Inches ? TemplateUnit::Inches : TemplateUnit::Millimetres;
}

// The description a design's file gets when the user gave none:
// "30 labels (3 x 10) of 2.625 x 1 in".
QString madeDescription(const SheetDesign& d) {
    return QStringLiteral("%1 (%2 x %3) of %4 x %5 %6")
        .arg(labelCountText(d.columns * d.rows))
        .arg(d.columns)
        .arg(d.rows)
        .arg(lengthText(d.labelWidth, d.unit), lengthText(d.labelHeight, d.unit), unitSymbol(d.unit));
}

// The papers of a design by the name a template gives them.
struct PaperName {
    DesignPaper paper;
    const char* size;
};
constexpr PaperName kPaperNames[] = {
    {DesignPaper::Letter, "US-Letter"}, {DesignPaper::A4, "A4"}, {DesignPaper::Custom, "Other"}};

QString templateSize(DesignPaper paper) {
    for (const PaperName& name : kPaperNames) {
        if (name.paper == paper) {
            return QLatin1String(name.size);
        }
    }
    return {};
}

std::optional<DesignPaper> designPaperOf(const QString& size) {
    for (const PaperName& name : kPaperNames) {
        if (size == QLatin1String(name.size)) {
            return name.paper;
        }
    }
    return std::nullopt;
}

// The single block of rectangular labels of a file, or why it has none.
QString singleBlockProblem(const SheetTemplateFile& file) {
    if (!file.error.isEmpty()) {
        return QStringLiteral("The file is not a label-template file: %1 (line %2).").arg(file.error).arg(file.errorLine);
    }
    if (file.templates.size() != 1) {
        return QStringLiteral("The file holds %1 templates; only a file of one sheet can be edited here.")
            .arg(file.templates.size());
    }
    const QList<TemplateLabel>& labels = file.templates.front().labels;
    if (labels.size() != 1 || labels.front().shape != u"rectangle" || labels.front().layouts.size() != 1) {
        return QStringLiteral("The sheet is not one block of rectangular labels; it cannot be edited here.");
    }
    return {};
}

// Reads the lengths of a template into a design in one unit: the first
// length that is left out or cannot be read is told in `problem`.
class DesignLengths {
public:
    DesignLengths(LengthUnit unit, QString problem) : unit_(unit), problem_(std::move(problem)) {}

    void read(double& into, const std::optional<TemplateLength>& length, const char* attribute) {
        if (!length) {
            if (problem_.isEmpty()) {
                problem_ = QStringLiteral("The length %1=\"\" cannot be read.").arg(QLatin1String(attribute));
            }
            into = 0.0;
            return;
        }
        const bool sameUnit = length->unit == templateUnit(unit_);
        const double value = sameUnit ? length->value
                             : unit_ == LengthUnit::Inches ? length->inches()
                                                           : length->inches() * kMillimetresPerInch;
        into = roundedLength(value, unit_);
    }
    const QString& problem() const { return problem_; }

private:
    LengthUnit unit_;
    QString problem_;
};

}  // namespace

SheetTemplate designTemplate(const SheetDesign& d) {
    const auto length = [&d](double value) { return TemplateLength{roundedLength(value, d.unit), templateUnit(d.unit)}; };
    SheetTemplate t;
    t.brand = d.maker.isEmpty() ? QStringLiteral("User") : d.maker;
    t.part = d.name;
    t.size = templateSize(d.paper);
    if (d.paper == DesignPaper::Custom) {
        t.paperWidth = length(d.paperWidth);
        t.paperHeight = length(d.paperHeight);
    }
    t.description = d.description.isEmpty() ? madeDescription(d) : d.description;
    t.categories = {QStringLiteral("label")};
    TemplateLabel label;
    label.shape = QStringLiteral("rectangle");
    label.width = length(d.labelWidth);
    label.height = length(d.labelHeight);
    label.round = TemplateLength{0.0, TemplateUnit::Inches};
    label.markupMargin = TemplateLength{0.05, TemplateUnit::Inches};
    label.layouts = {TemplateLayout{d.columns, d.rows, length(d.left), length(d.top), length(d.pitchX), length(d.pitchY)}};
    t.labels = {label};
    return t;
}

QByteArray designXml(const SheetDesign& design) {
    return SheetTemplateWriter().write({designTemplate(design)});
}

ReadSheetFile designOfTemplates(const SheetTemplateFile& file) {
    if (QString problem = singleBlockProblem(file); !problem.isEmpty()) {
        return ReadSheetFile{std::nullopt, problem};
    }
    const SheetTemplate& t = file.templates.front();
    const TemplateLabel& label = t.labels.front();
    const TemplateLayout& layout = label.layouts.front();
    const std::optional<DesignPaper> paper = designPaperOf(t.size);
    if (!paper) {
        return ReadSheetFile{std::nullopt,
                             QStringLiteral("The paper \"%1\" is not Letter, A4 or a size of its own.").arg(t.size)};
    }
    SheetDesign d;
    d.maker = t.brand;
    d.name = t.part;
    d.description = t.description;
    const bool metric = label.width && (label.width->unit == TemplateUnit::Millimetres ||
                                        label.width->unit == TemplateUnit::Centimetres);
    d.unit = metric ? LengthUnit::Millimetres : LengthUnit::Inches;
    d.paper = *paper;
    DesignLengths lengths(d.unit, d.paper == DesignPaper::Custom && !t.paperProblem.isEmpty() ? t.paperProblem
                                                                                              : label.problem);
    if (d.paper == DesignPaper::Custom) {
        lengths.read(d.paperWidth, t.paperWidth, "width");
        lengths.read(d.paperHeight, t.paperHeight, "height");
    }
    lengths.read(d.labelWidth, label.width, "width");
    lengths.read(d.labelHeight, label.height, "height");
    d.columns = layout.nx;
    d.rows = layout.ny;
    lengths.read(d.left, layout.x0, "x0");
    lengths.read(d.top, layout.y0, "y0");
    lengths.read(d.pitchX, layout.dx, "dx");
    lengths.read(d.pitchY, layout.dy, "dy");
    if (!lengths.problem().isEmpty()) {
        return ReadSheetFile{std::nullopt, lengths.problem()};
    }
    return ReadSheetFile{d, {}};
}

ReadSheetFile designFromXml(const QByteArray& xml) {
    return designOfTemplates(SheetTemplateReader(xml).read());
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
        throw fileerror::make(errors::kPathNotFound);
    }
    const QByteArray bytes = designXml(design);
    QSaveFile file(sheetFilePath(folder, design.name));
    if (!file.open(QIODevice::WriteOnly)) {
        throw fileerror::make(QFileInfo(folder).isWritable() ? errors::kPathFileAccess : errors::kPermissionDenied);
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        throw fileerror::make(errors::kDeviceIo);
    }
    if (!file.commit()) {
        throw fileerror::make(errors::kDeviceIo);
    }
}

ReadSheetFile readSheetFile(const QString& folder, const QString& name) {
    QFile file(sheetFilePath(folder, name));
    if (!file.open(QIODevice::ReadOnly)) {
        throw fileerror::make(file.exists() ? errors::kPermissionDenied : errors::kFileNotFound);
    }
    ReadSheetFile read = designFromXml(file.readAll());
    if (read.design) {
        read.design->name = name;  // the file's name is the sheet's name
    }
    return read;
}

void deleteSheetFile(const QString& folder, const QString& name) {
    QFile file(sheetFilePath(folder, name));
    if (file.exists() && !file.remove()) {
        throw fileerror::make(errors::kPermissionDenied);
    }
}

}  // namespace tandor
