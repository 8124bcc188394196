#include "platform/GridSurface.h"

#include <algorithm>

namespace tandor {
namespace {
constexpr double kEpsilon = 1e-6;
}

void GridSurface::setOrientation(PageOrientation orientation) {
    orientation_ = orientation;
}

void GridSurface::setPaperSize(PaperSize paper) {
    paper_ = paper;
}

void GridSurface::setFontName(const QString& name) {
    font_.name = name;
}

void GridSurface::setFontSize(double points) {
    if (points > 0.0) {
        font_.size = points;
    }
}

void GridSurface::setBold(bool on) {
    font_.bold = on;
}

void GridSurface::setItalic(bool on) {
    font_.italic = on;
}

QSizeF GridSurface::printableSize(std::optional<PaperSize> paper,
                                  PageOrientation orientation) const {
    return printgrid::pdfPrintableSize(paper.value_or(devicePaper_), orientation);
}

PageGeometry GridSurface::pageGeometry() const {
    return geometryOf(paper_, orientation_);
}

PageGeometry GridSurface::geometryOf(std::optional<PaperSize> paper, PageOrientation orientation) const {
    using namespace printgrid;
    const PaperSize size = paper.value_or(devicePaper_);
    PageGeometry page;
    page.paper = paperSize(size, orientation);
    page.printable = QRectF(QPointF(kPdfLeftMarginInches * kPointsPerInch, kPdfTopMarginInches * kPointsPerInch),
                            printableSize(paper, orientation));
    page.envelope = size == PaperSize::Envelope10;
    return page;
}

std::optional<QRectF> GridSurface::devicePrintableArea(std::optional<PaperSize>, PageOrientation) const {
    return std::nullopt;
}

double GridSurface::currentColumnWidth() const {
    return columnWidthPt(font_);
}

std::vector<PrintedDocument> GridSurface::takeHeldDocuments() {
    std::vector<PrintedDocument> held = std::move(held_);
    held_.clear();
    return held;
}

void GridSurface::outputDocument(const PrintedDocument& document, const PageObserver& observer) {
    if (observer) {
        for (std::size_t i = 0; i < document.pages.size(); ++i) {
            observer(static_cast<int>(i) + 1);
        }
    }
    documentFinished(document);
}

double GridSurface::columnWidthPt(const FontSpec& font) const {
    return columnWidth(font);
}

double GridSurface::textWidthPt(const FontSpec& font, const QString& text) const {
    return textWidth(font, text);
}

PrintedPage& GridSurface::currentPage() {
    while (document_.pages.size() <= pageIndex_) {
        PrintedPage page;
        page.orientation = orientation_;
        page.paper = paper_;
        document_.pages.push_back(page);
        if (layoutObserver_) {
            layoutObserver_(static_cast<int>(document_.pages.size()));
        }
    }
    return document_.pages[pageIndex_];
}

// A new line that would pass the bottom of the printable area goes to the top
// of the next page.
void GridSurface::startLineIfNeeded() {
    if (lineOpen_) {
        return;
    }
    const double height = printgrid::lineHeight(font_.size);
    const double bottom = printableSize(paper_, orientation_).height();
    if (y_ > kEpsilon && y_ + height > bottom + kEpsilon) {
        ++pageIndex_;
        y_ = 0.0;
        line_ = 1;
    }
    lineOpen_ = true;
    x_ = 0.0;
}

void GridSurface::endLine() {
    startLineIfNeeded();
    y_ += printgrid::lineHeight(font_.size);
    ++line_;
    x_ = 0.0;
    lineOpen_ = false;
}

void GridSurface::place(const QString& text) {
    startLineIfNeeded();
    if (text.isEmpty()) {
        return;
    }
    PlacedText placed;
    placed.line = line_;
    placed.xPt = x_;
    placed.yPt = y_;
    placed.text = text;
    placed.font = font_;
    const double cell = columnWidthPt(font_);
    placed.column = cell > 0.0 ? static_cast<int>(x_ / cell + 0.5) + 1 : 1;
    currentPage().texts.push_back(placed);
    x_ += textWidthPt(font_, text);
}

void GridSurface::printLine(const QList<PrintItem>& items, LineEnd end) {
    startLineIfNeeded();
    for (const PrintItem& item : items) {
        switch (item.kind) {
            case PrintItem::Kind::Column: {
                const int column = std::max(item.count, 1);
                const double target = (column - 1) * columnWidthPt(font_);
                if (x_ > target + kEpsilon) {
                    endLine();
                    startLineIfNeeded();
                }
                x_ = target;
                break;
            }
            case PrintItem::Kind::Spaces:
                if (item.count > 0) {
                    x_ += item.count * textWidthPt(font_, QStringLiteral(" "));
                }
                break;
            case PrintItem::Kind::Text: {
                // Line breaks inside a text start new lines at the left edge.
                QString text = item.text;
                text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
                text.replace(QChar(u'\r'), QChar(u'\n'));
                const QStringList pieces = text.split(QChar(u'\n'));
                for (qsizetype i = 0; i < pieces.size(); ++i) {
                    if (i > 0) {
                        endLine();
                        startLineIfNeeded();
                    }
                    place(pieces[i]);
                }
                break;
            }
        }
    }
    if (end == LineEnd::End) {
        endLine();
    }
}

void GridSurface::printEmptyLine() {
    endLine();
}

void GridSurface::moveToTopLeft() {
    x_ = 0.0;
    y_ = 0.0;
    line_ = 1;
    lineOpen_ = false;
}

void GridSurface::moveToLeftEdgeAt(int twipsFromTop) {
    x_ = 0.0;
    y_ = std::max(0.0, twipsFromTop / printgrid::kTwipsPerPoint);
    line_ = 1;
    lineOpen_ = false;
}

void GridSurface::newPage() {
    ++pageIndex_;
    GridSurface::moveToTopLeft();  // the grid only: not an operation of its own
}

bool GridSurface::currentPageBlank() const {
    return pageIndex_ >= document_.pages.size() ||
           (document_.pages[pageIndex_].texts.empty() && document_.pages[pageIndex_].rules.empty());
}

void GridSurface::drawRule(const QPointF& fromPt, const QPointF& toPt) {
    currentPage().rules.emplace_back(fromPt, toPt);
}

void GridSurface::placeText(const QPointF& topLeftPt, const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    PlacedText placed;
    placed.line = line_;
    placed.xPt = topLeftPt.x();
    placed.yPt = topLeftPt.y();
    placed.text = text;
    placed.font = font_;
    const double cell = columnWidthPt(font_);
    placed.column = cell > 0.0 ? static_cast<int>(placed.xPt / cell + 0.5) + 1 : 1;
    currentPage().texts.push_back(placed);
}

void GridSurface::endDocument() {
    // Pages after the last printed mark (a new page right before the end) are dropped.
    while (!document_.pages.empty() && document_.pages.back().texts.empty() &&
           document_.pages.back().rules.empty()) {
        document_.pages.pop_back();
    }
    PrintedDocument finished = std::move(document_);
    document_ = {};
    pageIndex_ = 0;
    paper_.reset();
    GridSurface::moveToTopLeft();
    if (finished.pages.empty()) {
        return;
    }
    if (holding_) {
        held_.push_back(std::move(finished));
    } else {
        documentFinished(finished);
    }
}

void GridSurface::abandonDocument() {
    document_ = {};
    held_.clear();
    holding_ = false;
    pageIndex_ = 0;
    paper_.reset();
    GridSurface::moveToTopLeft();
}

}  // namespace tandor
