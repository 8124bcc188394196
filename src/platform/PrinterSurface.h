#pragma once

#include <QPainter>
#include <QPrinter>
#include <memory>

#include "platform/GridSurface.h"

namespace tandor {

// The print surface that draws on a QPrinter: a real printer through CUPS, or
// a PDF file. Each ended document is one print job on a printer; on a PDF
// printer all documents of the surface's life go into the one file, one after
// the other, and the file is finished when the surface is destroyed (or
// finish() is called). A document that sets no paper size prints on the
// printer's own page size.
class PrinterSurface : public GridSurface {
public:
    explicit PrinterSurface(std::shared_ptr<QPrinter> printer);
    ~PrinterSurface() override;

    // A surface writing a PDF file; margins and the printable area are the grid's own.
    static std::shared_ptr<PrinterSurface> forPdf(const QString& path);

    QString deviceName() const override;
    PageGeometry geometryOf(std::optional<PaperSize> paper, PageOrientation orientation) const override;
    // Finishes the PDF file. Returns false when it could not be written.
    bool finish();
    int pagesPrinted() const { return pagesPrinted_; }

    // Draws the label outlines a document carries onto the paper (for
    // checking alignment against a sheet by eye); off unless asked for.
    void setDrawOutlines(bool on) { drawOutlines_ = on; }

    void outputDocument(const PrintedDocument& document, const PageObserver& observer) override;
    // Withdraws the job: the printer job is aborted, a PDF file removed.
    void cancelOutput() override;

    // The printer's printable area (none for a PDF file, whose grid is the PDF's own).
    std::optional<QRectF> devicePrintableArea(std::optional<PaperSize> paper,
                                              PageOrientation orientation) const override;

    // Whether a page size is an envelope.
    static bool isEnvelope(const QPageSize& size);

protected:
    void documentFinished(const PrintedDocument& document) override;
    QSizeF printableSize(std::optional<PaperSize> paper,
                         PageOrientation orientation) const override;

private:
    bool isPdf() const;
    // The grid is laid out on the PDF's printable area: a PDF file, or a
    // printer placing by the paper's edge.
    bool usesGridMargins() const;
    // The printer's own page layout, with the paper size a document set and the
    // page's orientation.
    QPageLayout layoutFor(std::optional<PaperSize> paper, PageOrientation orientation) const;
    void applyLayout(const PrintedPage& page);
    void paintPage(const PrintedPage& page, const std::vector<QRectF>& outlines);

    std::shared_ptr<QPrinter> printer_;
    QPageLayout ownLayout_;  // as the print dialog or the surface's creator left it
    QPainter painter_;
    int pagesPrinted_ = 0;
    bool failed_ = false;
    bool drawOutlines_ = false;
};

}  // namespace tandor
