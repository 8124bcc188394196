#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "list/ContactLines.h"
#include "platform/PrintJob.h"
#include "platform/PrintSurface.h"
#include "printing/AdjustmentFile.h"
#include "store/ContactRecord.h"

namespace tandor {

class Platform;

// The label of one contact on the 30-up sheet printed from the contact list.
struct BulkLabel {
    QString name;     // "John Q Smith": the initial as stored, without a full stop
    QString company;  // empty when the contact is printed without company
    QString street;   // first and second street line, one space between
    QString city;     // "City, ST  ZIP"

    bool withCompany() const { return !company.isEmpty(); }
    // The lines of the label in a full row: Name, Company (when present), Street, City.
    QStringList rowLines() const;
    // The lines in the last, incomplete row: Company (when present), Name, Street, City.
    QStringList lastRowLines() const;
};

// The label of a contact. The company is printed when the contact has one and
// its include-company flag is "1"; any other flag prints it without company.
BulkLabel bulkLabelOf(const ContactRecord& record);

// Label sheet layout of the list labels: three labels a row, 33 columns apart,
// ten rows (30 labels) a page.
inline constexpr int kBulkLabelPitch = 33;
inline constexpr int kBulkLabelsPerPage = 30;
inline constexpr int kBulkTopLines = 4;
inline constexpr int kBulkPageTopTwips = 40;

// The column of the first label of a row: 4 on the printers named "Officejet
// Pro", "ENVY" or "Photosmart", else 2, plus the BULKLIST left adjustment.
int bulkLeftColumn(const QString& deviceName, const Adjustment& adjustment);

// The page printers: "HP DeskJet 640C/642C/648C", "Officejet Pro", "ENVY",
// "Photosmart" (names compared case-sensitively).
bool isBulkPagePrinter(const QString& deviceName);

// One run: a label for every line of the list that carries a record number, in
// list order, three to a row from the top of the first sheet; a new page after
// every 30 labels. Lines without a record number (pasted) are passed over.
// The caller ends the document.
void printBulkLabelRun(PrintSurface& surface, const std::vector<ListEntry>& lines,
                       const std::function<ContactRecord(int)>& readRecord,
                       const Adjustment& adjustment);

// The job of "Print labels": one document per copy, on Letter in portrait.
// The lines and the reader must outlive the job.
PrintJob bulkLabelsJob(const std::vector<ListEntry>& lines, const std::function<ContactRecord(int)>& readRecord,
                       const Adjustment& adjustment);

// Whether a line of the list carries a contact (pasted lines do not).
bool listHasContact(const std::vector<ListEntry>& lines);

enum class BulkLabelsOutcome { Printed, EmptyList, Cancelled, PrinterProblem };

inline const QString kEmptyListText = QStringLiteral("Empty list, no labels to print.");
inline const QString kEmptyListTitle = QStringLiteral("No contacts found");

// "Print labels": reads the BULKLIST adjustment, refuses an empty list, then
// runs the job. Never throws: a failure abandons the document being printed
// and shows the printer-error message; a job stopped in its progress counts
// as cancelled.
BulkLabelsOutcome runBulkLabelsCommand(Platform& platform, const QString& programFolder,
                                       const std::vector<ListEntry>& lines,
                                       const std::function<ContactRecord(int)>& readRecord);

}  // namespace tandor
