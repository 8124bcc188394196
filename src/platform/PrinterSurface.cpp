#include "platform/PrinterSurface.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPen>

#include "platform/AppError.h"

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
    if (isPdf()) {
        // The grid's own margins, on the printer's page or the size the document set.
        return paper ? printgrid::pdfPrintableSize(*paper, orientation)
                     : printgrid::pdfPrintableSize(layout.fullRect(QPageLayout::Point).size());
    }
    return layout.paintRect(QPageLayout::Point).size();
}

void PrinterSurface::applyLayout(const PrintedPage& page) {
    printer_->setPageLayout(layoutFor(page.paper, page.orientation));
}

void paintPrintedPage(QPainter& painter, const PrintedPage& page, double scale) {
    if (!page.rules.empty()) {
        painter.save();
        painter.setPen(QPen(Qt::black, 0.5 * scale, Qt::SolidLine, Qt::FlatCap));
        for (const QLineF& rule : page.rules) {
            painter.drawLine(QLineF(rule.p1() * scale, rule.p2() * scale));
        }
        painter.restore();
    }
    painter.setPen(Qt::black);
    for (const PlacedText& t : page.texts) {
        QFont font = resolveFont(t.font);
        painter.setFont(font);
        const QFontMetricsF metrics(font, painter.device());
        painter.drawText(QPointF(t.xPt * scale, t.yPt * scale + metrics.ascent()), t.text);
    }
}

void PrinterSurface::paintPage(const PrintedPage& page) {
    paintPrintedPage(painter_, page, printer_->resolution() / printgrid::kPointsPerInch);
    ++pagesPrinted_;
}

void PrinterSurface::documentFinished(const PrintedDocument& document) {
    for (std::size_t i = 0; i < document.pages.size(); ++i) {
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
        paintPage(page);
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
