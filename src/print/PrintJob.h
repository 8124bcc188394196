#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>
#include <functional>
#include <vector>

#include "platform/AppError.h"
#include "platform/GridSurface.h"
#include "platform/Platform.h"

namespace tandor {

// What one run of a job prints: a run per copy, or one run for all copies
// (or for a selection, printed once).
struct JobRun {
    int copies = 1;
    bool selection = false;
};

// One print job, shared by every print command: the command composes, the
// job does the rest (the dialog, copies, the page, the printer or the PDF,
// the progress and the printer-error path).
struct PrintJob {
    PrintDialogRequest dialog;  // with the page the kind of job prints on
    QString errorTitle = kPrinterErrorTitle;
    // Set once, after the dialog: the starting font and page of the command.
    std::function<void(PrintSurface&, const JobRun&)> prepare;
    // Lays out one run on the surface, ending its document(s). It shows
    // nothing and changes no state.
    std::function<void(PrintSurface&, const JobRun&)> compose;
    // The details sheet puts every copy into one run (one document).
    bool oneRunForAllCopies = false;
    // The labels of the sheet the job is meant for (drawn on screen only).
    std::vector<QRectF> labelOutlines;
    // An envelope job: the envelope's size in inches, long side first. The
    // preview outlines it on each page (on screen only): the whole page when
    // the paper is an envelope, else against the page's bottom-left corner
    // with its long side along the page's long side, where the envelope runs
    // take it to lie.
    std::optional<QSizeF> envelopeIn;
};

// DialogCancelled: the user cancelled before anything printed (the print
// dialog, or the warning that the printer would cut characters off).
enum class JobOutcome { Printed, DialogCancelled, Stopped, Failed };

struct JobResult {
    JobOutcome outcome = JobOutcome::Failed;
    QString deviceName;  // the printer chosen in the dialog
};

// Runs a job: the print dialog (its cancel ends silently), then each run is
// composed and sent to the chosen printer page by page. A job that the user
// stops in its progress leaves nothing on the printer or in the PDF file; a
// failure abandons the document and shows the printer-error message (earlier
// copies, already sent, stay printed). Placing by the paper's edge (the
// settings' choice, print/PaperEdge.h), a printer that cannot print where a
// character must go is told of before anything prints, with "Print Anyway"
// and "Cancel". Never throws.
JobResult runPrintJob(Platform& platform, const PrintJob& job);

// A page of a preview: the composed page, the paper it prints on and the
// outlines of the sheet's labels or of the envelope.
struct PreviewPage {
    PrintedPage page;
    PageGeometry geometry;
    std::vector<QRectF> labelOutlines;
};

// The pages of one run as the current printer would print them, for the
// preview: no dialog, nothing sent, nothing changed. Throws AppError when
// composing fails.
std::vector<PreviewPage> composeForPreview(Platform& platform, const PrintJob& job);

}  // namespace tandor
