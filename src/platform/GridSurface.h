#pragma once

#include <QRectF>
#include <QLineF>
#include <QSizeF>
#include <functional>
#include <optional>
#include <vector>

#include "platform/PrintGrid.h"
#include "platform/PrintSurface.h"

namespace tandor {

// One text placed on a page.
struct PlacedText {
    int line = 1;       // print line on the page, from 1 (counted since the page began or the last move)
    int column = 1;     // print column of the text's start, from 1, in the text's font
    double xPt = 0.0;   // left edge, points from the printable area's left edge
    double yPt = 0.0;   // top of the print line, points from the printable area's top edge
    QString text;
    FontSpec font;
};

struct PrintedPage {
    PageOrientation orientation = PageOrientation::Portrait;
    // The paper size the program set for the document; none leaves the
    // printer's own page size.
    std::optional<PaperSize> paper;
    std::vector<PlacedText> texts;
    std::vector<QLineF> rules;  // points from the printable area's top-left corner
};

struct PrintedDocument {
    std::vector<PrintedPage> pages;
    // The outlines of the labels of the sheet the document is meant for, in
    // points from the top-left corner of the paper as oriented (empty when
    // the document is not a label sheet). Drawn on screen only, unless a
    // surface is told to draw them.
    std::vector<QRectF> labelOutlines;
};

// Called as each page of a job is reached; it may throw to stop the job.
using PageObserver = std::function<void(int page)>;

// The character grid shared by every print surface: it follows the print
// position through columns, lines and pages and hands each finished document
// to the device.
class GridSurface : public PrintSurface {
public:
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
    bool currentPageBlank() const override;
    PageGeometry pageGeometry() const override;
    double currentColumnWidth() const override;
    // The page a document with this paper (none: the device's own) and orientation prints on.
    virtual PageGeometry geometryOf(std::optional<PaperSize> paper, PageOrientation orientation) const;

    // The device's own paper, used by documents that set none (Letter unless
    // told otherwise, as a print dialog may leave it).
    void setDevicePaper(PaperSize paper) { devicePaper_ = paper; }

    // While held, ended documents are kept instead of going to the device;
    // outputDocument sends one on. Abandoning a document drops the held ones.
    void holdDocuments(bool on) { holding_ = on; }
    std::vector<PrintedDocument> takeHeldDocuments();
    // Sends a composed document to the device; the observer sees each page
    // before it is drawn and may throw to stop.
    virtual void outputDocument(const PrintedDocument& document, const PageObserver& observer);
    // Stops a job part-way: what was sent of it is withdrawn where the device allows.
    virtual void cancelOutput() {}
    // Sees each new page as a document is laid out (page numbers from 1).
    void setLayoutObserver(PageObserver observer) { layoutObserver_ = std::move(observer); }
    void drawRule(const QPointF& fromPt, const QPointF& toPt) override;
    void placeText(const QPointF& topLeftPt, const QString& text) override;

    // Placing by the paper's edge (see print/PaperEdge.h): the grid is laid
    // out on the PDF's printable area and drawn where the PDF draws it.
    void setPlaceByPaperEdge(bool on) { byPaperEdge_ = on; }
    bool placesByPaperEdge() const { return byPaperEdge_; }
    // Where the device can print on the paper of a page, in points from the
    // paper's top-left corner; none when it prints the grid where the PDF does.
    virtual std::optional<QRectF> devicePrintableArea(std::optional<PaperSize> paper,
                                                      PageOrientation orientation) const;
    // The width of a text as the device draws it, in points.
    double widthOf(const FontSpec& font, const QString& text) const { return textWidthPt(font, text); }

    const FontSpec& font() const { return font_; }
    PageOrientation orientation() const { return orientation_; }
    // The paper size set for the current document, if any (each document starts with none).
    std::optional<PaperSize> paper() const { return paper_; }

protected:
    // The device receives each ended document that holds at least one page.
    virtual void documentFinished(const PrintedDocument& document) = 0;
    // Printable width and height in points; without a paper size, those of the
    // device's own page (Letter for the grid itself).
    virtual QSizeF printableSize(std::optional<PaperSize> paper, PageOrientation orientation) const;
    PaperSize devicePaper() const { return devicePaper_; }
    virtual double columnWidthPt(const FontSpec& font) const;
    virtual double textWidthPt(const FontSpec& font, const QString& text) const;

private:
    void startLineIfNeeded();
    void endLine();
    void place(const QString& text);
    PrintedPage& currentPage();

    FontSpec font_;
    PageOrientation orientation_ = PageOrientation::Portrait;
    std::optional<PaperSize> paper_;
    PaperSize devicePaper_ = PaperSize::Letter;
    bool holding_ = false;
    bool byPaperEdge_ = false;
    std::vector<PrintedDocument> held_;
    PageObserver layoutObserver_;

    PrintedDocument document_;
    std::size_t pageIndex_ = 0;
    double x_ = 0.0;
    double y_ = 0.0;
    int line_ = 1;
    bool lineOpen_ = false;
};

}  // namespace tandor
