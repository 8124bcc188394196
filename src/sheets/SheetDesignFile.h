#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

#include "sheets/SheetDesign.h"
#include "sheets/SheetTemplate.h"

namespace tandor {

// The file of a design: one template of the label-template format, brand =
// maker, part = name, every length in the design's unit.
SheetTemplate designTemplate(const SheetDesign& design);
QByteArray designXml(const SheetDesign& design);

// A design read back from a template file; only a file of one template with
// one rectangular label and one layout (as this program writes) is read.
struct ReadSheetFile {
    std::optional<SheetDesign> design;
    QString problem;
};
ReadSheetFile designOfTemplates(const SheetTemplateFile& file);
ReadSheetFile designFromXml(const QByteArray& xml);

// The user's own sheets: the folder "sheets" in the per-user program folder.
QString userSheetsFolder();
// The file of a sheet called `name` in `folder`: "<folder>/<name>.xml".
QString sheetFilePath(const QString& folder, const QString& name);
// The names of the sheets in `folder` (its .xml files, without the extension), sorted.
QStringList userSheetNames(const QString& folder);
// Writes the design's file into `folder` (made when missing) in one step: an
// old file of that name is replaced whole or not at all. Throws AppError.
void writeSheetFile(const QString& folder, const SheetDesign& design);
// Reads the sheet `name` of `folder`. Throws AppError when it cannot be read.
ReadSheetFile readSheetFile(const QString& folder, const QString& name);
// Deletes the sheet's file. Throws AppError when it cannot be deleted.
void deleteSheetFile(const QString& folder, const QString& name);

}  // namespace tandor
