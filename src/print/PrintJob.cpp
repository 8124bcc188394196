#include "print/PrintJob.h"

#include "print/PaperEdge.h"
#include "platform/PrintGrid.h"
#include "print/PrinterProblem.h"

namespace tandor {
namespace {

// Thrown out of a page observer when the user stops the job.
struct JobStopped {};

GridSurface* gridOf(PrintSurface& surface) {
    return dynamic_cast<GridSurface*>(&surface);
}

// What placing by the paper's edge would cut off on the surface's printer,
// told for every document of a run (empty when nothing is cut).
QString cutsOnPrinter(const GridSurface& grid, const std::vector<PrintedDocument>& documents) {
    if (!grid.placesByPaperEdge()) {
        return {};
    }
    // A device without an area of its own (a PDF file) prints the grid as it is.
    const auto placement = [&grid](const PrintedPage& page) {
        const PageGeometry geometry = grid.geometryOf(page.paper, page.orientation);
        const std::optional<QRectF> device = grid.devicePrintableArea(page.paper, page.orientation);
        return EdgePlacement{geometry.printable, device.value_or(geometry.printable)};
    };
    const TextWidth width = [&grid](const FontSpec& font, const QString& text) {
        return grid.widthOf(font, text);
    };
    QStringList told;
    for (const PrintedDocument& d : documents) {
        const QString warning = cutWarning(d, cutTexts(d, placement, width));
        if (!warning.isEmpty() && !told.contains(warning)) {
            told.append(warning);
        }
    }
    return told.join(QLatin1Char('\n'));
}

}  // namespace

JobResult runPrintJob(Platform& platform, const PrintJob& job) {
    JobResult result;
    std::shared_ptr<PrintSurface> surface;
    GridSurface* grid = nullptr;
    try {
        const PrintDialogResult chosen = platform.printDialog(job.dialog);
        if (chosen.cancelled) {
            result.outcome = JobOutcome::DialogCancelled;
            return result;
        }
        if (!chosen.surface) {
            throw AppError(errors::kPrinterError, QStringLiteral("Printer error"));
        }
        surface = chosen.surface;
        grid = gridOf(*surface);
        result.deviceName = surface->deviceName();
        if (grid != nullptr) {
            grid->setPlaceByPaperEdge(placesByPaperEdge(platform));
        }

        const bool oneRun = chosen.selection || job.oneRunForAllCopies;
        const JobRun run{oneRun ? chosen.copies : 1, chosen.selection};
        const int runs = oneRun ? 1 : chosen.copies;
        if (job.prepare) {
            job.prepare(*surface, run);
        }
        const std::unique_ptr<JobProgress> progress = platform.jobProgress();
        int done = 0;
        int total = 0;
        const auto report = [&](int doneNow, int totalNow) {
            if (progress && !progress->pagesDone(doneNow, totalNow)) {
                throw JobStopped{};
            }
        };
        for (int r = 0; r < runs; ++r) {
            if (grid == nullptr) {
                job.compose(*surface, run);
                continue;
            }
            // Compose the run, then send it page by page.
            grid->holdDocuments(true);
            grid->setLayoutObserver([&](int page) { report(done + page, total); });
            job.compose(*surface, run);
            grid->setLayoutObserver({});
            std::vector<PrintedDocument> documents = grid->takeHeldDocuments();
            grid->holdDocuments(false);
            int pages = 0;
            for (PrintedDocument& d : documents) {
                pages += static_cast<int>(d.pages.size());
                d.labelOutlines = job.labelOutlines;
            }
            // Before anything prints: what the printer cannot print where it must go.
            if (const QString cuts = r == 0 ? cutsOnPrinter(*grid, documents) : QString();
                !cuts.isEmpty() &&
                platform.message(cuts, kCutWarningTitle, MessageIcon::Exclamation,
                                 MessageButtons::PrintAnywayCancel) != MessageAnswer::PrintAnyway) {
                grid->abandonDocument();
                result.outcome = JobOutcome::DialogCancelled;
                return result;
            }
            total = done + pages * (runs - r);
            for (PrintedDocument& d : documents) {
                grid->outputDocument(d, [&](int) { report(++done, total); });
            }
        }
        result.outcome = JobOutcome::Printed;
    } catch (const JobStopped&) {
        if (grid != nullptr) {
            grid->setLayoutObserver({});
        }
        surface->abandonDocument();
        if (grid != nullptr) {
            grid->cancelOutput();
        }
        result.outcome = JobOutcome::Stopped;
    } catch (const AppError&) {
        // What the printer or the PDF file refused.
        if (grid != nullptr) {
            grid->setLayoutObserver({});
        }
        reportPrinterProblem(platform, surface.get(), job.errorTitle);
        result.outcome = JobOutcome::Failed;
    } catch (const std::exception&) {
        // Not a printer problem: the document is dropped and the failure goes
        // on to the command's runner, which reports it as what it is.
        if (grid != nullptr) {
            grid->setLayoutObserver({});
        }
        if (surface) {
            abandonQuietly(*surface);
        }
        throw;
    }
    return result;
}

namespace {

// Where an envelope of `sizeIn` (inches, long side first) lies on a page, in points.
QRectF envelopeOutline(const QSizeF& sizeIn, const PageGeometry& page) {
    if (page.envelope) {
        return {QPointF(0, 0), page.paper};
    }
    QSizeF size = sizeIn * printgrid::kPointsPerInch;
    if (page.paper.width() < page.paper.height()) {
        size.transpose();
    }
    return {QPointF(0, page.paper.height() - size.height()), size};
}

}  // namespace

std::vector<PreviewPage> composeForPreview(Platform& platform, const PrintJob& job) {
    const std::shared_ptr<PrintSurface> surface = platform.previewSurface(job.dialog);
    GridSurface* grid = surface ? gridOf(*surface) : nullptr;
    if (grid == nullptr) {
        throw AppError(errors::kPrinterError, QStringLiteral("Printer error"));
    }
    grid->holdDocuments(true);
    const JobRun run;
    if (job.prepare) {
        job.prepare(*surface, run);
    }
    job.compose(*surface, run);
    std::vector<PreviewPage> pages;
    for (PrintedDocument& d : grid->takeHeldDocuments()) {
        for (PrintedPage& p : d.pages) {
            const PageGeometry geometry = grid->geometryOf(p.paper, p.orientation);
            std::vector<QRectF> outlines = job.labelOutlines;
            if (job.envelopeIn) {
                outlines.push_back(envelopeOutline(*job.envelopeIn, geometry));
            }
            pages.push_back({std::move(p), geometry, std::move(outlines)});
        }
    }
    return pages;
}

}  // namespace tandor
