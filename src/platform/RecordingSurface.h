#pragma once

#include <QMarginsF>
#include <QStringList>
#include <vector>

#include "platform/GridSurface.h"

namespace tandor {

// A print surface that keeps what it was asked to do: every operation in
// order (as readable text) and every finished document with its grid of
// placed texts. Widths are counted in characters (one column per character,
// whatever the font), so that layouts can be checked column by column.
//
// It can be told to fail: the Nth operation (counted from 1) then throws the
// printer error, as a real printer that stops in the middle of a job.
class RecordingSurface : public GridSurface {
public:
    explicit RecordingSurface(QString deviceName = QStringLiteral("Recording Printer"));

    QString deviceName() const override { return deviceName_; }
    void setDeviceName(const QString& name) { deviceName_ = name; }

    void setOrientation(PageOrientation orientation) override;
    void setPaperSize(PaperSize paper) override;
    void setFontName(const QString& name) override;
    void setFontSize(double points) override;
    void setBold(bool on) override;
    void setItalic(bool on) override;
    void printLine(const QList<PrintItem>& items, LineEnd end = LineEnd::End) override;
    void printEmptyLine() override;
    void moveToTopLeft() override;
    void moveToLeftEdgeAt(int twipsFromTop) override;
    void newPage() override;
    void endDocument() override;
    void abandonDocument() override;
    void cancelOutput() override;

    // Every operation so far, e.g. "font size 10", "line [col 2] \"John\"", "empty", "end document".
    const QStringList& operations() const { return operations_; }
    void clearOperations() { operations_.clear(); }
    const std::vector<PrintedDocument>& documents() const { return documents_; }
    int abandonedDocuments() const { return abandoned_; }

    void failAtOperation(int n) { failAt_ = n; }

    // The margins of a printer that keeps a printable area of its own (points;
    // none: it prints where the PDF does), for placing by the paper's edge.
    void setDeviceMargins(std::optional<QMarginsF> margins) { deviceMargins_ = margins; }
    std::optional<QRectF> devicePrintableArea(std::optional<PaperSize> paper,
                                              PageOrientation orientation) const override;

    // The texts of one page as lines of a character grid (for readable test failures):
    // line numbers are counted across the page, columns from 1.
    static QStringList pageGrid(const PrintedPage& page);

protected:
    void documentFinished(const PrintedDocument& document) override;
    double columnWidthPt(const FontSpec& font) const override;
    double textWidthPt(const FontSpec& font, const QString& text) const override;

private:
    void record(const QString& operation);

    QString deviceName_;
    QStringList operations_;
    std::vector<PrintedDocument> documents_;
    int abandoned_ = 0;
    int failAt_ = 0;
    std::optional<QMarginsF> deviceMargins_;
};

}  // namespace tandor
