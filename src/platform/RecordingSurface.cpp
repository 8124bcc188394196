#include "platform/RecordingSurface.h"

#include <map>

#include "platform/AppError.h"

namespace tandor {

RecordingSurface::RecordingSurface(QString deviceName) : deviceName_(std::move(deviceName)) {}

void RecordingSurface::record(const QString& operation) {
    operations_.append(operation);
    if (failAt_ > 0 && operations_.size() == failAt_) {
        throw AppError(errors::kPrinterError, QStringLiteral("Printer error"));
    }
}

void RecordingSurface::setOrientation(PageOrientation orientation) {
    record(orientation == PageOrientation::Portrait ? QStringLiteral("orientation portrait")
                                                    : QStringLiteral("orientation landscape"));
    GridSurface::setOrientation(orientation);
}

void RecordingSurface::setPaperSize(PaperSize paper) {
    record(paper == PaperSize::Letter ? QStringLiteral("paper letter")
           : paper == PaperSize::A4   ? QStringLiteral("paper A4")
                                      : QStringLiteral("paper envelope 10"));
    GridSurface::setPaperSize(paper);
}

void RecordingSurface::setFontName(const QString& name) {
    record(QStringLiteral("font name ") + name);
    GridSurface::setFontName(name);
}

void RecordingSurface::setFontSize(double points) {
    record(QStringLiteral("font size ") + QString::number(points));
    GridSurface::setFontSize(points);
}

void RecordingSurface::setBold(bool on) {
    record(on ? QStringLiteral("bold on") : QStringLiteral("bold off"));
    GridSurface::setBold(on);
}

void RecordingSurface::setItalic(bool on) {
    record(on ? QStringLiteral("italic on") : QStringLiteral("italic off"));
    GridSurface::setItalic(on);
}

void RecordingSurface::printLine(const QList<PrintItem>& items, LineEnd end) {
    QStringList parts;
    for (const PrintItem& item : items) {
        switch (item.kind) {
            case PrintItem::Kind::Column:
                parts.append(QStringLiteral("[col %1]").arg(item.count));
                break;
            case PrintItem::Kind::Spaces:
                parts.append(QStringLiteral("[spc %1]").arg(item.count));
                break;
            case PrintItem::Kind::Text:
                parts.append(QLatin1Char('"') + item.text + QLatin1Char('"'));
                break;
        }
    }
    QString op = QStringLiteral("line ") + parts.join(QLatin1Char(' '));
    if (end == LineEnd::KeepOpen) {
        op += QStringLiteral(" ;");
    }
    record(op);
    GridSurface::printLine(items, end);
}

void RecordingSurface::printEmptyLine() {
    record(QStringLiteral("empty"));
    GridSurface::printEmptyLine();
}

void RecordingSurface::moveToTopLeft() {
    record(QStringLiteral("top-left"));
    GridSurface::moveToTopLeft();
}

void RecordingSurface::moveToLeftEdgeAt(int twipsFromTop) {
    record(QStringLiteral("left edge at %1").arg(twipsFromTop));
    GridSurface::moveToLeftEdgeAt(twipsFromTop);
}

void RecordingSurface::newPage() {
    record(QStringLiteral("new page"));
    GridSurface::newPage();
}

void RecordingSurface::endDocument() {
    record(QStringLiteral("end document"));
    GridSurface::endDocument();
}

void RecordingSurface::abandonDocument() {
    operations_.append(QStringLiteral("abandon document"));
    ++abandoned_;
    GridSurface::abandonDocument();
}

void RecordingSurface::cancelOutput() {
    operations_.append(QStringLiteral("cancel output"));
}

void RecordingSurface::documentFinished(const PrintedDocument& document) {
    documents_.push_back(document);
}

std::optional<QRectF> RecordingSurface::devicePrintableArea(std::optional<PaperSize> paper,
                                                            PageOrientation orientation) const {
    if (!deviceMargins_) {
        return std::nullopt;
    }
    const QSizeF size = geometryOf(paper, orientation).paper;
    return QRectF(QPointF(0, 0), size).marginsRemoved(*deviceMargins_);
}

double RecordingSurface::columnWidthPt(const FontSpec& font) const {
    return font.size * 0.6;
}

double RecordingSurface::textWidthPt(const FontSpec& font, const QString& text) const {
    return text.size() * font.size * 0.6;
}

QStringList RecordingSurface::pageGrid(const PrintedPage& page) {
    // Lines are keyed by their top in points so that lines of several sizes keep their order.
    std::map<long long, QString> rows;
    for (const PlacedText& t : page.texts) {
        QString& row = rows[static_cast<long long>(t.yPt * 100)];
        const int start = t.column - 1;
        if (row.size() < start) {
            row.append(QString(start - row.size(), QLatin1Char(' ')));
        }
        row.replace(start, t.text.size(), t.text);
    }
    QStringList out;
    for (const auto& [y, text] : rows) {
        out.append(text);
    }
    return out;
}

}  // namespace tandor
