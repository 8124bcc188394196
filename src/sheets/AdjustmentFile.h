#pragma once

#include <QByteArray>
#include <QString>

namespace tandor {

class Platform;

// TDRPARAM.TXT in the program folder: 18-byte slots, each holding a record
// name (8 bytes), a separator, a left adjustment in columns (3 bytes), a
// separator and a top adjustment in lines (3 bytes).
inline const QString kAdjustmentFileName = QStringLiteral("TDRPARAM.TXT");
inline const QString kOnTheFly = QStringLiteral("ONTHEFLY");
inline const QString kEnvelope = QStringLiteral("ENVELOPE");
inline const QString kBulkList = QStringLiteral("BULKLIST");

struct Adjustment {
    int left = 0;  // columns, positive to the right
    int top = 0;   // lines, positive down
};

// Reads the adjustment of a print path (the last record of that name wins; 0
// when there is none). Creates an empty file when it is missing. A field that
// is not a number throws AppError (the print command reports it as its
// printer error).
Adjustment readAdjustment(const QString& programFolder, const QString& name);

// The adjustments of the records named `name` in the bytes of an adjustment
// file, as readAdjustment reads them.
Adjustment adjustmentIn(const QByteArray& fileBytes, const QString& name);

// Whether every adjustment of the program folder's file is 0 (true when there
// is no file; a field that is not a number is not 0). Creates nothing. This
// gives the default of placing by the paper's edge (print/PaperEdge.h): a
// user who calibrated the adjustments keeps the old placement.
bool adjustmentsAllZero(const QString& programFolder);

// The file the program is supplied with: one record for each print path,
// adjustments 0, a blank in each separator, CR LF closing each slot.
QByteArray defaultAdjustmentFile();

// Adds a left and a top entry (empty: no change) to every record of that name
// and writes the file back; a missing file is first created with the default
// records and a missing record appended. A sum that does not fit the
// 3-character field is stored as the nearest value that does.
void addToAdjustment(const QString& programFolder, const QString& name, const QString& leftEntry,
                     const QString& topEntry);

enum class MarginsKind { OnTheFly, SearchResultLabels, Envelope };

// The record name a Margins command changes.
QString adjustmentName(MarginsKind kind);

// The Margins menu commands: ask for a left and a top entry and add them to
// the path's record. Failures throw AppError for the main window's error routine.
void runMarginsCommand(Platform& platform, const QString& programFolder, MarginsKind kind);

}  // namespace tandor
