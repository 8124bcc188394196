#pragma once

#include <QString>
#include <array>
#include <vector>

#include "list/ContactLines.h"
#include "print/PrintJob.h"
#include "platform/PrintSurface.h"

namespace tandor {

class Platform;

// The printed contact list: the columns of a list line (name, city, state,
// ZIP, home phone, cell phone, e-mail) at fixed print columns in landscape.
inline constexpr std::array<int, 7> kReportColumns{2, 30, 48, 52, 64, 78, 92};
inline const std::array<QString, 7> kReportHeadings{
    QStringLiteral("Name"),         QStringLiteral("City"), QStringLiteral("ST"),
    QStringLiteral("Zip"),          QStringLiteral("Home"), QStringLiteral("Cell"),
    QStringLiteral("Email Address")};

// The pages offered in the print dialog: lines / 54 + 1, to the nearest whole
// number (a half to the even neighbour).
int listPageEstimate(std::size_t lineCount);

// The whole list, one document's worth: title, file line, column header and a
// printed line per list line. The caller ends the document.
void printWholeList(PrintSurface& surface, const std::vector<ListEntry>& lines,
                    const QString& fileTitle);

// The selected lines of the list (indices ascending), as the list shows them,
// under the column header; ends the document.
void printSelectedLines(PrintSurface& surface, const std::vector<ListEntry>& lines,
                        const std::vector<int>& selectedRows);

// The selected text of the header box; ends the document.
void printSelectedText(PrintSurface& surface, const QString& text);

// What File > Print of the contact list window works on.
struct ListPrintRequest {
    const std::vector<ListEntry>* lines = nullptr;
    std::vector<int> selectedRows;  // ascending
    bool headerBoxActive = false;   // the header box has the focus
    QString headerSelectedText;
    QString fileTitle;
};

// The job of File > Print (the request's lines must outlive it): the whole
// list in landscape once per copy, or the selection once.
PrintJob listPrintJob(const ListPrintRequest& request);

// File > Print: offers "Selection" when lines or header text are selected,
// then prints the selection once or the whole list once per copy. Never
// throws: a failure abandons the document and shows the printer-error message.
void runListPrintCommand(Platform& platform, const ListPrintRequest& request);

}  // namespace tandor
