#pragma once

#include <QDate>
#include <QString>

#include "contacts/ContactEntry.h"
#include "print/PrintJob.h"

namespace tandor {

class Platform;
class PrintSurface;

// The browser's printer-error title ends with a full stop.
inline const QString kDetailsPrinterErrorTitle = QStringLiteral("Printer error.");

// The date of report: the date in the system's short date format.
QString reportDateText(const QDate& date);

// One copy of the contact details sheet on the current page, from the values
// shown (trimmed here), ending with a new page. The font name is left as it
// is; sizes change line by line.
void printDetailsSheet(PrintSurface& surface, const ContactEntry& shown, const QString& reportDate);

// The text selected in the focused text box, as its own document: "Courier
// New" 12, one empty line, the text (its line breaks start new lines), a new
// page, the end of the document.
void printSelection(PrintSurface& surface, const QString& selectedText);

// The control that has the focus in the browser when File > Print is chosen.
struct FocusedControl {
    bool isTextBox = false;
    QString selectedText;  // its selection, when it is a text box
};

// The job of File > Print in the browser: the details sheet once per copy, all
// copies in one document, or the selection once.
PrintJob detailsJob(const ContactEntry& shown, const FocusedControl& focused, const QDate& today);

// File > Print in the browser: the print dialog (offering "Selection"), then
// either the selection of the focused text box once (nothing when the focus
// is not in a text box) or the details sheet once per copy, one page each, in
// one document. A cancelled dialog ends silently; any printing failure
// abandons the document and shows the printer-error message. Never throws.
void runDetailsPrint(const ContactEntry& shown, const FocusedControl& focused, const QDate& today,
                     Platform& platform);

}  // namespace tandor
