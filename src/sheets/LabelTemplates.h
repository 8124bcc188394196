#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

#include "sheets/LabelSheet.h"

namespace tandor {

// Label sheets in the XML format of the free label-template library:
//
//   <Template brand="Avery" part="5160" size="US-Letter" description="Address Labels">
//     <Label-rectangle id="0" width="2.625in" height="1in">
//       <Markup-margin size="0.0625in"/>
//       <Layout nx="3" ny="10" x0="0.1875in" y0="0.5in" dx="2.75in" dy="1in"/>
//     </Label-rectangle>
//   </Template>
//   <Template brand="Avery" part="8160" equiv="5160"/>
//
// Lengths are in pt (no unit), in, mm, cm or pc.

// Inches in a millimetre.
inline constexpr double kMm = 1.0 / 25.4;

// A part number that names the same sheet as another of its maker.
struct TemplateEquivalent {
    QString maker;
    QString part;
    QString equivalentOf;
};

struct LabelTemplates {
    // Their maker, part, detail, paper, label size and layouts; the rest as a
    // LabelSheet starts.
    QList<LabelSheet> sheets;
    QList<TemplateEquivalent> equivalents;
};

// Reads the templates of one file into `into`: the rectangular labels on A4
// or US Letter paper whose labels lie on the paper, one grid apart from the
// next. Round, elliptical and CD labels, other papers and templates that
// cannot be read are passed over. Returns false when the file is no XML.
bool readLabelTemplates(const QByteArray& xml, LabelTemplates& into);

// A length of the format in inches ("2.625in", "63.5mm", "180" points).
std::optional<double> templateLengthIn(QStringView text);

}  // namespace tandor
