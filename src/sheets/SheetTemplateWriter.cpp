#include "sheets/SheetTemplateWriter.h"

#include <QXmlStreamWriter>

namespace tandor {

QByteArray SheetTemplateWriter::write(const QList<SheetTemplate>& templates) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml_ = &xml;
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("Glabels-templates"));
    for (const SheetTemplate& t : templates) {
        writeTemplate(t);
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    xml_ = nullptr;
    return bytes;
}

void SheetTemplateWriter::writeTemplate(const SheetTemplate& t) {
    if (!t.equivalentOf.isEmpty()) {
        xml_->writeEmptyElement(QStringLiteral("Template"));
        writeText("brand", t.brand);
        writeText("part", t.part);
        writeText("equiv", t.equivalentOf);
        return;
    }
    xml_->writeStartElement(QStringLiteral("Template"));
    writeText("brand", t.brand);
    writeText("part", t.part);
    writeText("size", t.size);
    writeLength("width", t.paperWidth);
    writeLength("height", t.paperHeight);
    writeText("description", t.description);
    for (const QString& category : t.categories) {
        xml_->writeEmptyElement(QStringLiteral("Meta"));
        writeText("category", category);
    }
    for (int id = 0; id < t.labels.size(); ++id) {
        writeLabel(t.labels[id], id);
    }
    xml_->writeEndElement();
}

void SheetTemplateWriter::writeLabel(const TemplateLabel& label, int id) {
    xml_->writeStartElement(QStringLiteral("Label-") + label.shape);
    xml_->writeAttribute(QStringLiteral("id"), QString::number(id));
    writeLength("width", label.width);
    writeLength("height", label.height);
    writeLength("round", label.round);
    if (label.markupMargin) {
        xml_->writeEmptyElement(QStringLiteral("Markup-margin"));
        writeLength("size", label.markupMargin);
    }
    for (const TemplateLayout& layout : label.layouts) {
        writeLayout(layout);
    }
    xml_->writeEndElement();
}

void SheetTemplateWriter::writeLayout(const TemplateLayout& layout) {
    xml_->writeEmptyElement(QStringLiteral("Layout"));
    xml_->writeAttribute(QStringLiteral("nx"), QString::number(layout.nx));
    xml_->writeAttribute(QStringLiteral("ny"), QString::number(layout.ny));
    writeLength("x0", layout.x0);
    writeLength("y0", layout.y0);
    writeLength("dx", layout.dx);
    writeLength("dy", layout.dy);
}

void SheetTemplateWriter::writeLength(const char* attribute, const std::optional<TemplateLength>& length) {
    if (length) {
        xml_->writeAttribute(QLatin1String(attribute), templateLengthText(*length));
    }
}

void SheetTemplateWriter::writeText(const char* attribute, const QString& text) {
    if (!text.isEmpty()) {
        xml_->writeAttribute(QLatin1String(attribute), text);
    }
}

}  // namespace tandor
