#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "sheets/LabelSheet.h"

namespace tandor {

class Platform;

// Finding a label sheet among many: by text, by the name given to --sheet,
// and with the sheets used last first. Each call that takes a list of sheets
// has an overload over labelSheets().

// Whether a sheet matches the search text: every word of the text (any case)
// is found in its maker, its part numbers, its name or its description.
// An empty text matches every sheet.
bool sheetMatches(const LabelSheet& sheet, const QString& text);

// The sheets that match the text: those named in `recent` first, in that
// order, then the sheets with a part number equal to a word of the text, then
// the others, in the order of the list.
QList<const LabelSheet*> searchSheets(const QList<const LabelSheet*>& sheets, const QString& text,
                                      const QStringList& recent = {});
QList<const LabelSheet*> searchSheets(const QList<LabelSheet>& sheets, const QString& text,
                                      const QStringList& recent = {});
QList<const LabelSheet*> searchSheets(const QString& text, const QStringList& recent = {});

// What a name given to --sheet stands for: the sheet, or why there is none.
struct SheetResolution {
    const LabelSheet* sheet = nullptr;
    QList<const LabelSheet*> matches;  // several: the name is ambiguous
    QString error;                     // what to tell the user when there is no sheet
};

// The sheet a name stands for: a sheet's own name (any case) first; else a
// part number, its own or an equivalent, alone or after the maker ("Avery
// 5160", "L7160"), a sheet's own part number before an equivalent. Several
// sheets with that part number, or none, is a refusal whose message lists the
// matches and says what to type.
SheetResolution resolveSheet(const QList<LabelSheet>& sheets, const QString& name);
SheetResolution resolveSheet(const QString& name);

// One line about a sheet for a list of matches, with at most three part numbers:
// "Avery 5160 / 8160 Address Labels: Letter, 30 labels of 1 x 2 5/8 in".
QString sheetSummary(const LabelSheet& sheet);
// A sheet as the main window's list shows it when chosen, short whatever its
// equivalents: "Avery 5160: Letter, 30 labels of 1 x 2 5/8 in".
QString sheetCaption(const LabelSheet& sheet);
// Its maker's part numbers: "5160 / 8160".
QString partNumbers(const LabelSheet& sheet);
// At most three of them, then "..." for the others: "L4770 / J8654 / L6140 / ...".
QString shortPartNumbers(const LabelSheet& sheet);
// What the main window says next to a sheet that takes fewer than five lines
// ("3 lines a label"); empty for five.
QString sheetLinesNote(const LabelSheet& sheet);

// The sheets used last, most recent first, kept in the settings (section
// "Settings") next to the chosen sheet (kSheetSettingKey).
inline const QString kRecentSheetsSettingKey = QStringLiteral("RecentSheets");
inline constexpr int kRecentSheetsKept = 8;
QStringList recentSheets(Platform& platform);
// Remembers a chosen sheet: the chosen sheet's setting and the front of the
// recent list.
void rememberSheet(Platform& platform, const QString& name);
// The recent list after choosing `name`: it moves to the front, at most
// kRecentSheetsKept names.
QStringList withRecentSheet(const QStringList& recent, const QString& name);

}  // namespace tandor
