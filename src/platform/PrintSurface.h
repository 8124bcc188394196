#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QPointF>
#include <QString>

namespace tandor {

enum class PageOrientation { Portrait, Landscape };
enum class PaperSize { Letter, Envelope10, A4 };

// One item of a print line: a move to print column n, a run of n spaces, or a text.
struct PrintItem {
    enum class Kind { Column, Spaces, Text };
    Kind kind = Kind::Text;
    int count = 0;
    QString text;

    static PrintItem column(int n) { return {Kind::Column, n, {}}; }
    static PrintItem spaces(int n) { return {Kind::Spaces, n, {}}; }
    static PrintItem textItem(const QString& t) { return {Kind::Text, 0, t}; }
};

enum class LineEnd { End, KeepOpen };

// The page of the current document, in points: the paper as oriented and the
// printable area on it.
struct PageGeometry {
    QSizeF paper;
    QRectF printable;
    bool envelope = false;  // the paper is an envelope size
};

// The program's view of a printer: a page laid out on the character grid of
// the current font. A print column is one character cell of the current font
// (for a proportional font, its average character width), counted from 1 at the
// left edge of the printable area; a print line is one text line whose height
// follows the font size.
//
// Column rule: a move to column n treats n below 1 as 1, and when the line has
// already passed column n the output continues at column n of the next line.
// A run of n spaces prints nothing when n is 0 or less. A line that would pass
// the bottom of the printable area starts a new page by itself; a new page
// immediately followed by the end of the document adds no blank sheet.
class PrintSurface {
public:
    virtual ~PrintSurface() = default;

    virtual QString deviceName() const = 0;
    virtual void setOrientation(PageOrientation orientation) = 0;
    virtual void setPaperSize(PaperSize paper) = 0;
    virtual void setFontName(const QString& name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setBold(bool on) = 0;
    virtual void setItalic(bool on) = 0;

    virtual void printLine(const QList<PrintItem>& items, LineEnd end = LineEnd::End) = 0;
    virtual void printEmptyLine() = 0;
    virtual void moveToTopLeft() = 0;
    virtual void moveToLeftEdgeAt(int twipsFromTop) = 0;
    virtual void newPage() = 0;
    virtual void endDocument() = 0;
    virtual void abandonDocument() = 0;

    // True while nothing has been printed on the current page.
    virtual bool currentPageBlank() const = 0;

    // The page the current document prints on: the paper it set, else the device's own.
    virtual PageGeometry pageGeometry() const = 0;
    // The width of one print column in the current font, in points.
    virtual double currentColumnWidth() const = 0;
    // Marks off the character grid, in points from the printable area's
    // top-left corner: a straight rule, and a text whose cell's top-left corner
    // lies at a point (in the current font). The print position stays where it is.
    virtual void drawRule(const QPointF& fromPt, const QPointF& toPt) = 0;
    virtual void placeText(const QPointF& topLeftPt, const QString& text) = 0;

    // Conveniences over printLine.
    void printEmptyLines(int count);
    void printAt(int column, const QString& text, LineEnd end = LineEnd::End);
    void printText(const QString& text, LineEnd end = LineEnd::End);
};

}  // namespace tandor
