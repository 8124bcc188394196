#pragma once

#include <optional>

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "list/ContactLines.h"
#include "print/PrintJob.h"
#include "platform/PrintSurface.h"
#include "sheets/AdjustmentFile.h"
#include "sheets/LabelSheet.h"
#include "store/ContactRecord.h"

namespace tandor {

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

// The 30-up sheet of the list labels: 4 empty lines above the first row, and
// after every 30 labels a move to 40 twips below the top of the next page.
inline constexpr int kBulkTopLines = 4;
inline constexpr int kBulkPageTopTwips = 40;

// The column of the first label of a row on a sheet: the sheet's first LeftPad
// (2 on the 30-up sheet), 2 more on the printers named "Officejet Pro", "ENVY"
// or "Photosmart", plus the BULKLIST left adjustment.
int bulkLeftColumn(const QString& deviceName, const Adjustment& adjustment,
                   const LabelSheet& sheet = defaultLabelSheet());

// One run: a label for every line of the list that carries a record number, in
// list order, a row of the sheet's columns at a time from the top of the first
// sheet; a new page after every sheetful. Lines without a record number
// (pasted) are passed over. The caller ends the document.
void printBulkLabelRun(PrintSurface& surface, const std::vector<ListEntry>& lines,
                       const std::function<ContactRecord(int)>& readRecord,
                       const Adjustment& adjustment,
                       const LabelSheet& sheet = defaultLabelSheet());

// The job of "Print labels": one document per copy, on the sheet's paper in
// portrait. The lines, the reader and the sheet must outlive the job (the
// sheets of the table live as long as the program).
PrintJob bulkLabelsJob(const std::vector<ListEntry>& lines, const std::function<ContactRecord(int)>& readRecord,
                       const Adjustment& adjustment, const LabelSheet& sheet = defaultLabelSheet());

// Whether a line of the list carries a contact (pasted lines do not).
bool listHasContact(const std::vector<ListEntry>& lines);

// A contact has no address when every field its label prints under the name
// and company is empty: the first and second street lines, the city, the
// state and the zip code. Its label would be the name over an empty line and
// a lone ",".
bool hasNoAddress(const ContactRecord& record);

// The lines of the list without the contacts that have no address, in list
// order (lines without a record number are kept; they print nothing). Each
// contact is read once.
std::vector<ListEntry> linesWithAddress(const std::vector<ListEntry>& lines,
                                        const std::function<ContactRecord(int)>& readRecord);

// The question asked before labels of contacts without an address are
// printed or previewed: Yes leaves them out, No prints them as they are,
// Cancel prints nothing.
QString noAddressQuestion(int withoutAddress, int contacts);
inline const QString kNoAddressTitle = QStringLiteral("Contacts without an address");

inline const QString kEmptyListText = QStringLiteral("Empty list, no labels to print.");
inline const QString kEmptyListTitle = QStringLiteral("No contacts found");

enum class BulkLabelsOutcome { Printed, EmptyList, Cancelled, PrinterProblem };

// What the checks of "Print labels" and of its preview found, before anything
// is asked or printed: the BULKLIST adjustment (unreadable: a printer problem),
// whether the list holds a contact (else an empty list), and the question to
// ask when contacts of the list have no address (with kNoAddressTitle, the
// exclamation icon and Yes, No and Cancel; Yes is the default).
struct BulkLabelsCheck {
    std::optional<BulkLabelsOutcome> refusal;  // PrinterProblem or EmptyList: nothing is asked
    Adjustment adjustment;
    std::optional<QString> noAddressQuestion;
    std::vector<ListEntry> withAddress;  // the lines left when the contacts without an address are left out
};
BulkLabelsCheck checkBulkLabels(const QString& programFolder, const std::vector<ListEntry>& lines,
                                const std::function<ContactRecord(int)>& readRecord);

// The answer to the question about contacts without an address.
enum class NoAddressChoice { LeaveOut, PrintAsTheyAre, PrintNothing };

// The job after the checks and the answer (which counts only when there was a
// question), or none with the reason in `refusal` when given: the check's own
// refusal, Cancelled for PrintNothing, EmptyList for a list left empty by
// leaving them out. A job that leaves contacts out keeps its own copy of the
// lines it prints.
std::optional<PrintJob> bulkLabelsJobAfter(BulkLabelsCheck check, const std::vector<ListEntry>& lines,
                                           const std::function<ContactRecord(int)>& readRecord,
                                           const LabelSheet& sheet, NoAddressChoice choice,
                                           BulkLabelsOutcome* refusal = nullptr);

}  // namespace tandor
