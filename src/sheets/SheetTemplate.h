#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace tandor {

// Label sheets in the XML format of the free label-template library, as
// SheetTemplateReader reads them and SheetTemplateWriter writes them:
//
//   <Glabels-templates>
//     <Template brand="Avery" part="5160" size="US-Letter" description="Address Labels">
//       <Meta category="label"/>
//       <Label-rectangle id="0" width="2.625in" height="1in" round="0.0625in">
//         <Markup-margin size="0.0625in"/>
//         <Layout nx="3" ny="10" x0="0.1875in" y0="0.5in" dx="2.75in" dy="1in"/>
//       </Label-rectangle>
//     </Template>
//     <Template brand="Avery" part="8160" equiv="5160"/>
//   </Glabels-templates>
//
// A length is a number with its unit: pt (or none), in, mm, cm or pc.

// Inches in a millimetre.
inline constexpr double kMm = 1.0 / 25.4;

enum class TemplateUnit { Points, Inches, Millimetres, Centimetres, Picas };

// A length as a file gives it.
struct TemplateLength {
    double value = 0.0;
    TemplateUnit unit = TemplateUnit::Points;

    // The value times the inches of one unit (a millimetre is 1/25.4 in).
    double inches() const;
    bool operator==(const TemplateLength&) const = default;
};

// The one reading of a length of the format: "2.625in", "63.5mm", "180"
// (points); nothing when the text is no length.
std::optional<TemplateLength> readTemplateLength(QStringView text);
// A length as the format writes it: the shortest number that reads back as
// the same value, and its unit: "2.625in", "63.5mm", "0in".
QString templateLengthText(const TemplateLength& length);

// One grid of labels: nx across, ny down, the first at (x0, y0), the next dx
// across and dy down. A length the file leaves out is empty.
struct TemplateLayout {
    int nx = 0;
    int ny = 0;
    std::optional<TemplateLength> x0, y0, dx, dy;

    bool operator==(const TemplateLayout&) const = default;
};

// One label shape of a template ("rectangle", "round", "ellipse", "cd", ...)
// with the grids of labels of that shape. Of the shapes other than the
// rectangle only the name is kept.
struct TemplateLabel {
    QString shape;
    std::optional<TemplateLength> width, height, round, markupMargin;
    QList<TemplateLayout> layouts;
    // The first length of the label or its layouts that cannot be read, in
    // words for the user; empty when every length could be read.
    QString problem;

    bool operator==(const TemplateLabel&) const = default;
};

// One Template element. An equivalent ("equiv") names another template of
// the same brand and holds nothing else.
struct SheetTemplate {
    QString brand;
    QString part;
    QString equivalentOf;
    QString size;  // "US-Letter", "A4", "Other", ...
    std::optional<TemplateLength> paperWidth, paperHeight;  // the paper of size "Other"
    QString description;
    QStringList categories;  // of its Meta elements
    QList<TemplateLabel> labels;
    QString paperProblem;  // a length of the paper that cannot be read

    bool operator==(const SheetTemplate&) const = default;
};

// The templates of one file, in the file's order.
struct SheetTemplateFile {
    QList<SheetTemplate> templates;
    // Why the file is not XML, and the line; the templates before the fault are read.
    QString error;
    qint64 errorLine = 0;
};

}  // namespace tandor
