#pragma once

#include <QList>
#include <QString>

#include "sheets/LabelSheet.h"
#include "sheets/SheetTemplate.h"

namespace tandor {

// The sheets among templates that can be printed on: rectangular labels on A4
// or US Letter paper that lie on the paper, one grid clear of the next. Round,
// elliptical and CD labels, other papers and templates with a length that
// cannot be read are passed over. Each sheet has its maker, part, detail,
// paper, label size and layouts, and the part numbers of its equivalents (of
// the same maker; of two sheets with the same maker and part the first gets
// them); the rest as a LabelSheet starts.
QList<LabelSheet> sheetsOfTemplates(const QList<SheetTemplate>& templates);

// What a sheet is known by: its maker and a part number, in any case.
QString sheetKey(const QString& maker, const QString& part);

}  // namespace tandor
