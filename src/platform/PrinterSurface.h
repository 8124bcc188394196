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
// finish() is called).
class PrinterSurface : public GridSurface {
public:
    explicit PrinterSurface(std::shared_ptr<QPrinter> printer);
    ~PrinterSurface() override;

    // A surface writing a PDF file; margins and the printable area are the grid's own.
    static std::shared_ptr<PrinterSurface> forPdf(const QString& path);

    QString deviceName() const override;
    // Finishes the PDF file. Returns false when it could not be written.
    bool finish();
    int pagesPrinted() const { return pagesPrinted_; }

protected:
    void documentFinished(const PrintedDocument& document) override;
    QSizeF printableSize(PaperSize paper, PageOrientation orientation) const override;

private:
    bool isPdf() const;
    void applyLayout(const PrintedPage& page);
    void paintPage(const PrintedPage& page);

    std::shared_ptr<QPrinter> printer_;
    QPainter painter_;
    int pagesPrinted_ = 0;
    bool failed_ = false;
};

}  // namespace tandor
