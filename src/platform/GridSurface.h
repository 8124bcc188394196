#pragma once

#include <QLineF>
#include <QSizeF>
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
};

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
    void drawRule(const QPointF& fromPt, const QPointF& toPt) override;
    void placeText(const QPointF& topLeftPt, const QString& text) override;

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

    PrintedDocument document_;
    std::size_t pageIndex_ = 0;
    double x_ = 0.0;
    double y_ = 0.0;
    int line_ = 1;
    bool lineOpen_ = false;
};

}  // namespace tandor
