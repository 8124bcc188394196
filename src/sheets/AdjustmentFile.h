#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tandor {

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

// A Margins menu command asks for a left and then a top entry (an empty
// entry: no change) and adds them to the path's record (addToAdjustment). For
// each entry the window shows a message introducing it (no icon, OK; the top
// one only when a left entry was given), then asks in an input box until the
// answer is accepted, showing each refusal titled kNonValidEntryTitle.
struct MarginsEntryQuestion {
    QString intro;
    QString introTitle;
    QString prompt;
    QString title;
    QString notNumber;  // the refusal of an answer that is not a number
};
struct MarginsQuestions {
    MarginsEntryQuestion left;
    MarginsEntryQuestion top;
};
MarginsQuestions marginsQuestions(MarginsKind kind);

inline const QString kNonValidEntryTitle = QStringLiteral("Non-valid entry");
// Why an answer is asked again: "Number too high." (longer than the
// 3-character field) or the question's notNumber. None when it is accepted:
// empty, or a number.
std::optional<QString> marginsEntryRefusal(const QString& entry,
                                           const MarginsEntryQuestion& question);

// What the command shows at its end: nothing entered, or the entries added.
inline const QString kNoMarginsText = QStringLiteral("No margin adjustment made.");
inline const QString kNoMarginsTitle = QStringLiteral("Margins not adjusted");
inline const QString kMarginsDoneText =
    QStringLiteral("D O N E !  Margin(s) for on-the-fly labels adjusted successfully.");
inline const QString kMarginsDoneTitle = QStringLiteral("Margin adjustment completed");

}  // namespace tandor
