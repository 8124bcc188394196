#include "batch/PdfPrinting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include "platform/AppError.h"
#include "compose/Composition.h"
#include "print/PaperEdge.h"
#include "sheets/AdjustmentFile.h"
#include "sheets/SheetSearch.h"

namespace tandor::batch {
namespace {

// The names of the printers the print system offers, the default first.
QStringList availablePrinters() {
    QStringList names = QPrinterInfo::availablePrinterNames();
    const QString standard = QPrinterInfo::defaultPrinterName();
    if (names.removeAll(standard) > 0) {
        names.prepend(standard);
    }
    return names;
}

}  // namespace

int takePdfOptions(Arguments& arguments, PdfOptions& options, Context& context) {
    const std::optional<QString> out = arguments.take(QStringLiteral("-o"));
    const std::optional<QString> printer = arguments.take(QStringLiteral("--printer"));
    const std::optional<QString> copies = arguments.take(QStringLiteral("--copies"));
    const std::optional<QString> byEdge = arguments.take(QStringLiteral("--place-by-paper-edge"));
    if (!arguments.error().isEmpty()) {
        context.err << arguments.error() << "\n";
        return kFailure;
    }
    if (copies) {
        bool ok = false;
        options.copies = parseInt(*copies, &ok);
        if (!ok || options.copies < 1 || options.copies > 999) {
            context.err << "--copies needs a whole number from 1 to 999\n";
            return kFailure;
        }
    }
    if (byEdge && *byEdge != QLatin1String("on") && *byEdge != QLatin1String("off")) {
        context.err << "--place-by-paper-edge needs on or off\n";
        return kFailure;
    }
    options.placeByPaperEdge = byEdge ? *byEdge == QLatin1String("on")
                                      : adjustmentsAllZero(context.programFolder);
    if (out && printer) {
        context.err << "-o and --printer cannot be given together: a job goes either into a PDF "
                       "file or to a printer\n";
        return kRefused;
    }
    if (printer) {
        if (printer->trimmed().isEmpty()) {
            context.err << "--printer needs the name of a printer\n";
            return kFailure;
        }
        const QStringList names = availablePrinters();
        if (!names.contains(*printer)) {
            context.err << "There is no printer named \"" << *printer << "\"";
            if (names.isEmpty()) {
                context.err << ": the print system offers no printers";
            } else {
                context.err << "; the printers are: " << names.join(QStringLiteral(", "));
            }
            context.err << ". Nothing was printed.\n";
            return kRefused;
        }
        options.printerName = *printer;
    } else if (!out || out->isEmpty()) {
        context.err << "-o OUT.pdf or --printer NAME is required\n";
        return kFailure;
    } else {
        options.outPath = *out;
    }
    return kOk;
}

bool takeLines(Arguments& arguments, int maxLines, QStringList& lines, Context& context) {
    lines = arguments.positional();
    if (!arguments.error().isEmpty()) {
        context.err << arguments.error() << "\n";
        return false;
    }
    if (lines.size() > maxLines) {
        context.err << "at most " << maxLines << " lines may be given\n";
        return false;
    }
    return true;
}

bool takeOutlines(QStringList& args) {
    return args.removeAll(QStringLiteral("--outlines")) > 0;
}

const LabelSheet* takeSheet(QStringList& args, Context& context) {
    Arguments arguments(args);
    const std::optional<QString> name = arguments.take(QStringLiteral("--sheet"));
    if (!arguments.error().isEmpty()) {
        context.err << arguments.error() << "\n";
        return nullptr;
    }
    // The remaining arguments, in order, for the command's own reading.
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--sheet")) {
            args.remove(i, 2);
            break;
        }
        if (args[i].startsWith(QLatin1String("--sheet="))) {
            args.removeAt(i);
            break;
        }
    }
    if (!name) {
        return &defaultLabelSheet();
    }
    const SheetResolution found = resolveSheet(*name);
    if (!found.sheet) {
        context.err << found.error << "\n";
        return nullptr;
    }
    const LabelSheet* sheet = found.sheet;
    if (sheet->use != SheetUse::Address) {
        context.err << sheet->parts << " is the return-address sheet (see return-labels)\n";
        return nullptr;
    }
    return sheet;
}

CompositionState startedWithLines(const QStringList& lines) {
    CompositionState state;
    composition::startUp(state);
    for (qsizetype i = 0; i < lines.size() && i < qsizetype(state.lines.size()); ++i) {
        state.lines[i] = lines[i];
    }
    return state;
}

PdfPrinting::PdfPrinting(const PdfOptions& options) {
    if (!options.printerName.isEmpty()) {
        auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::NativeFormat);
        printer->setPrinterName(options.printerName);
        // The printer's own paper, printed on as far to its edges as it can: the
        // window's lines and columns start at the corner of its printable area.
        const QPrinterInfo info = QPrinterInfo::printerInfo(options.printerName);
        if (const QPageSize paper = info.defaultPageSize(); paper.isValid()) {
            printer->setPageSize(paper);
        }
        printer->setPageMargins(printer->pageLayout().minimumMargins(),
                                printer->pageLayout().units());
        printer->setDocName(QStringLiteral("Tandor"));
        printer->setCreator(QStringLiteral("Tandor"));
        surface_ = std::make_shared<PrinterSurface>(printer);
    } else {
        outPath_ = QFileInfo(options.outPath).absoluteFilePath();
        // Reserve a name beside the output so that the final rename stays on one file system.
        QTemporaryFile part(QFileInfo(outPath_).absolutePath() +
                            QStringLiteral("/.tandor-XXXXXX.pdf"));
        part.setAutoRemove(false);
        if (part.open()) {
            partPath_ = part.fileName();
            part.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                QFileDevice::ReadGroup | QFileDevice::ReadOther);
            part.close();
        } else {
            partPath_ = outPath_ + QStringLiteral(".part");
        }
        surface_ = PrinterSurface::forPdf(partPath_);
    }
    surface_->setDrawOutlines(options.outlines);
    choosePlaceByPaperEdge(platform_, options.placeByPaperEdge);
    platform_.setPrintSurface(surface_);
    platform_.setPrinterName(surface_->deviceName());
    platform_.answerPrint(PrintAnswer{false, options.copies, false});
}

PdfPrinting::~PdfPrinting() {
    if (!done_) {
        discard();
    }
}

void PdfPrinting::discard() {
    done_ = true;
    if (surface_) {
        surface_->finish();
        surface_.reset();
    }
    platform_.setPrintSurface(nullptr);
    if (!partPath_.isEmpty()) {
        QFile::remove(partPath_);
    }
}

const RecordedMessage* PdfPrinting::stoppingMessage(
    const std::function<bool(const RecordedMessage&)>& stops) const {
    for (const RecordedMessage& m : platform_.messages()) {
        if (!stops || stops(m)) {
            return &m;
        }
    }
    return nullptr;
}

bool PdfPrinting::stopped(const std::function<bool(const RecordedMessage&)>& stops) const {
    return stoppingMessage(stops) != nullptr;
}

int PdfPrinting::finish(Context& context,
                        const std::function<bool(const RecordedMessage&)>& stops) {
    if (const RecordedMessage* m = stoppingMessage(stops)) {
        context.err << m->text << "\n";
        // "Printer error", or "Printer error." as the contact browser titles it.
        const bool printerError = m->title.startsWith(kPrinterErrorTitle);
        discard();
        return printerError ? kFailure : kRefused;
    }
    const int pages = surface_->pagesPrinted();
    const bool written = surface_->finish();
    if (!written || pages == 0) {
        context.err << (pages == 0           ? "nothing was printed\n"
                        : outPath_.isEmpty() ? "the printer did not take the job\n"
                                             : "the PDF file could not be written\n");
        discard();
        return kFailure;
    }
    surface_.reset();
    platform_.setPrintSurface(nullptr);
    if (outPath_.isEmpty()) {
        done_ = true;  // the printer has the jobs
        return kOk;
    }
    QFile::remove(outPath_);
    if (!QFile::rename(partPath_, outPath_)) {
        context.err << "cannot write " << outPath_ << "\n";
        discard();
        return kFailure;
    }
    done_ = true;
    return kOk;
}

}  // namespace tandor::batch
