#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "batch/BatchCommand.h"
#include "platform/PrinterSurface.h"
#include "platform/ScriptedPlatform.h"
#include "compose/CompositionState.h"
#include "sheets/LabelSheet.h"

namespace tandor::batch {

// The options every printing command shares: where the job goes (-o OUT.pdf or
// --printer NAME, exactly one of them) and --copies N.
struct PdfOptions {
    QString outPath;
    QString printerName;  // a printer of the print system; empty for a PDF file
    int copies = 1;
    bool outlines = false;  // --outlines: the label outlines are drawn into the PDF
    // --place-by-paper-edge on|off: a printer puts every character where the
    // PDF puts it; by default on when the program folder's adjustments are all 0.
    bool placeByPaperEdge = false;
};

// Takes the --outlines flag out of the arguments of a label command.
bool takeOutlines(QStringList& args);

// The help text of the shared options, for a command's own help.
inline const QString kOutputHelp = QStringLiteral(
    "-o OUT.pdf writes the job into a PDF file; --printer NAME sends it to that printer of the\n"
    "print system instead (CUPS; the CUPS_SERVER environment variable picks the server).\n"
    "--place-by-paper-edge on|off: on, a printer puts every character where the PDF puts it,\n"
    "measured from the paper's edge (and a character the printer cannot print there refuses the\n"
    "job); off, from the corner of the printer's printable area. The default is on when the\n"
    "adjustments of TDRPARAM.TXT are all 0, as for Margins > \"Place by Paper Edge\".");

// Takes -o, --printer, --copies and --place-by-paper-edge from the arguments. Returns kOk, or the exit
// code to end the command with, its message on stderr: kFailure when they are
// missing or wrong, kRefused for -o together with --printer or for a printer
// that does not exist.
int takePdfOptions(Arguments& arguments, PdfOptions& options, Context& context);

// Takes the remaining positional arguments as up to `maxLines` lines. False
// (with a message on stderr) on an unknown option or too many lines.
bool takeLines(Arguments& arguments, int maxLines, QStringList& lines, Context& context);

// Takes --sheet NAME out of the arguments: the address sheet of that name,
// part number or maker and part number (resolveSheet), the 30-up sheet when
// the option is absent. An unknown or ambiguous name, or a sheet that does not
// take address labels, is a refusal: a message on stderr and nullptr.
const LabelSheet* takeSheet(QStringList& args, Context& context);

inline const QString kSheetUsage = QStringLiteral("[--sheet NAME]");

// The main window as started, with the lines typed into Lines 1 onward.
CompositionState startedWithLines(const QStringList& lines);

// A print command of the main window run against a PDF file or a printer: a
// ScriptedPlatform whose print dialog hands out a surface on it with the copies
// asked for. The PDF is written beside OUT and replaces it only when the
// command printed; a printer gets one job per printed document.
class PdfPrinting {
public:
    explicit PdfPrinting(const PdfOptions& options);
    ~PdfPrinting();

    ScriptedPlatform& platform() { return platform_; }

    // True when a message shown so far stops the command (a refusal or the
    // printer error); every message counts unless `stops` says otherwise.
    bool stopped(const std::function<bool(const RecordedMessage&)>& stops = {}) const;

    // The exit code of the command: a refusal prints the message text on
    // stderr and writes nothing (2); the printer error or a PDF that could not
    // be written is a failure (1); otherwise OUT is put in place (0). A printer
    // has its jobs by then, a refusal coming before any of them.
    int finish(Context& context, const std::function<bool(const RecordedMessage&)>& stops = {});

private:
    const RecordedMessage* stoppingMessage(
        const std::function<bool(const RecordedMessage&)>& stops) const;
    void discard();

    QString outPath_;
    QString partPath_;
    std::shared_ptr<PrinterSurface> surface_;
    ScriptedPlatform platform_;
    bool done_ = false;
};

}  // namespace tandor::batch
