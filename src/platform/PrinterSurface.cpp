#include "platform/PrinterSurface.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPen>

#include "platform/AppError.h"
#include "platform/PagePainting.h"

namespace tandor {
namespace {

QPageSize pageSizeOf(PaperSize paper) {
    switch (paper) {
        case PaperSize::Envelope10:
            return QPageSize(QPageSize::Envelope10);
        case PaperSize::A4:
            return QPageSize(QPageSize::A4);
        case PaperSize::Letter:
            break;
    }
    return QPageSize(QPageSize::Letter);
}

QPageLayout::Orientation qtOrientation(PageOrientation orientation) {
    return orientation == PageOrientation::Portrait ? QPageLayout::Portrait : QPageLayout::Landscape;
}

QMarginsF pdfMargins() {
    using namespace printgrid;
    return {kPdfLeftMarginInches * kPointsPerInch, kPdfTopMarginInches * kPointsPerInch,
            kPdfRightMarginInches * kPointsPerInch, kPdfBottomMarginInches * kPointsPerInch};
}

}  // namespace

PrinterSurface::PrinterSurface(std::shared_ptr<QPrinter> printer) : printer_(std::move(printer)) {
    printer_->setCopyCount(1);  // the program prints one run per copy itself
    printer_->setFullPage(false);
    if (isPdf()) {
        printer_->setPageMargins(pdfMargins(), QPageLayout::Point);
    }
    ownLayout_ = printer_->pageLayout();
}

PrinterSurface::~PrinterSurface() {
    finish();
}

std::shared_ptr<PrinterSurface> PrinterSurface::forPdf(const QString& path) {
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    printer->setCreator(QStringLiteral("Tandor"));
    return std::make_shared<PrinterSurface>(printer);
}

bool PrinterSurface::isPdf() const {
    return printer_->outputFormat() == QPrinter::PdfFormat;
}

QString PrinterSurface::deviceName() const {
    if (isPdf()) {
        return QStringLiteral("PDF");
    }
    return printer_->printerName();
}

bool PrinterSurface::finish() {
    if (painter_.isActive()) {
        painter_.end();
    }
    // A paper size a document set does not stay with the printer.
    printer_->setPageLayout(ownLayout_);
    return !failed_;
}

QPageLayout PrinterSurface::layoutFor(std::optional<PaperSize> paper,
                                      PageOrientation orientation) const {
    QPageLayout layout = ownLayout_;
    if (paper) {
        layout.setPageSize(pageSizeOf(*paper),
                           isPdf() ? pdfMargins() : layout.margins(QPageLayout::Point));
    }
    layout.setOrientation(qtOrientation(orientation));
    if (isPdf()) {
        layout.setUnits(QPageLayout::Point);
        layout.setMargins(pdfMargins());
    }
    return layout;
}

QSizeF PrinterSurface::printableSize(std::optional<PaperSize> paper,
                                     PageOrientation orientation) const {
    const QPageLayout layout = layoutFor(paper, orientation);
    if (usesGridMargins()) {
        // The grid's own margins, on the printer's page or the size the document set.
        return paper ? printgrid::pdfPrintableSize(*paper, orientation)
                     : printgrid::pdfPrintableSize(layout.fullRect(QPageLayout::Point).size());
    }
    return layout.paintRect(QPageLayout::Point).size();
}

bool PrinterSurface::isEnvelope(const QPageSize& size) {
    // Page size keys name envelopes "Env10", "EnvDL", "EnvMonarch", ...
    return size.key().startsWith(QLatin1String("Env"));
}

PageGeometry PrinterSurface::geometryOf(std::optional<PaperSize> paper, PageOrientation orientation) const {
    const QPageLayout layout = layoutFor(paper, orientation);
    PageGeometry page;
    page.paper = layout.fullRect(QPageLayout::Point).size();
    page.printable = usesGridMargins() ? QRectF(QPointF(pdfMargins().left(), pdfMargins().top()),
                                      printableSize(paper, orientation))
                             : layout.paintRect(QPageLayout::Point);
    page.envelope = isEnvelope(layout.pageSize());
    return page;
}

bool PrinterSurface::usesGridMargins() const {
    return isPdf() || placesByPaperEdge();
}

std::optional<QRectF> PrinterSurface::devicePrintableArea(std::optional<PaperSize> paper,
                                                          PageOrientation orientation) const {
    if (isPdf()) {
        return std::nullopt;
    }
    return layoutFor(paper, orientation).paintRect(QPageLayout::Point);
}

void PrinterSurface::applyLayout(const PrintedPage& page) {
    printer_->setPageLayout(layoutFor(page.paper, page.orientation));
}

void PrinterSurface::paintPage(const PrintedPage& page, const std::vector<QRectF>& outlines) {
    const double scale = printer_->resolution() / printgrid::kPointsPerInch;
    const QPageLayout layout = layoutFor(page.paper, page.orientation);
    const QPointF pdfCorner(pdfMargins().left(), pdfMargins().top());
    const bool shifted = placesByPaperEdge() && !isPdf();
    if (shifted) {
        painter_.save();
        // The painter's origin is the corner of the printer's printable area;
        // the grid starts where the PDF starts it, from the paper's edge.
        painter_.translate((pdfCorner - layout.paintRect(QPageLayout::Point).topLeft()) * scale);
    }
    paintPrintedPage(painter_, page, scale);
    if (drawOutlines_ && !outlines.empty()) {
        // The painter's origin is the grid's corner; the outlines are on the paper.
        const QPointF corner = isPdf() || shifted ? pdfCorner
                                                  : layout.paintRect(QPageLayout::Point).topLeft();
        paintLabelOutlines(painter_, outlines, scale, -corner * scale, QPen(Qt::black, 0.5 * scale));
    }
    if (shifted) {
        painter_.restore();
    }
    ++pagesPrinted_;
}

void PrinterSurface::documentFinished(const PrintedDocument& document) {
    outputDocument(document, {});
}

void PrinterSurface::cancelOutput() {
    if (painter_.isActive()) {
        if (!isPdf()) {
            printer_->abort();
        }
        painter_.end();
    }
    if (isPdf()) {
        QFile::remove(printer_->outputFileName());
    }
    printer_->setPageLayout(ownLayout_);
}

void PrinterSurface::outputDocument(const PrintedDocument& document, const PageObserver& observer) {
    for (std::size_t i = 0; i < document.pages.size(); ++i) {
        if (observer) {
            observer(static_cast<int>(i) + 1);
        }
        const PrintedPage& page = document.pages[i];
        if (!painter_.isActive()) {
            applyLayout(page);
            if (!painter_.begin(printer_.get())) {
                failed_ = true;
                throw AppError(errors::kPrinterError, QStringLiteral("Printer error"));
            }
        } else {
            applyLayout(page);
            if (!printer_->newPage()) {
                failed_ = true;
                throw AppError(errors::kPrinterError, QStringLiteral("Printer error"));
            }
        }
        paintPage(page, document.labelOutlines);
    }
    // A real printer gets one job per document; a PDF file keeps all documents.
    if (!isPdf() && painter_.isActive()) {
        if (!painter_.end()) {
            failed_ = true;
            throw AppError(errors::kPrinterError, QStringLiteral("Printer error"));
        }
    }
}

}  // namespace tandor
