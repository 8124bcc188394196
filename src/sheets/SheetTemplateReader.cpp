#include "sheets/SheetTemplateReader.h"

namespace tandor {

SheetTemplateReader::SheetTemplateReader(const QByteArray& xml) : xml_(xml) {}

SheetTemplateFile SheetTemplateReader::read() {
    while (!xml_.atEnd()) {
        const QXmlStreamReader::TokenType token = xml_.readNext();
        if (token == QXmlStreamReader::StartElement) {
            startElement();
        } else if (token == QXmlStreamReader::EndElement) {
            const QStringView name = xml_.name();
            if (name == u"Template" && open_) {
                // Only a template read to its end is kept.
                file_.templates.append(*open_);
                open_.reset();
            } else if (name.startsWith(u"Label-")) {
                inLabel_ = false;
            }
        }
    }
    if (xml_.hasError()) {
        file_.error = xml_.errorString();
        file_.errorLine = xml_.lineNumber();
    }
    return file_;
}

void SheetTemplateReader::startElement() {
    const QStringView name = xml_.name();
    if (name == u"Template") {
        startTemplate();
    } else if (!open_ || !open_->equivalentOf.isEmpty()) {
        return;  // outside a template, or in an equivalent, which holds nothing more
    } else if (name.startsWith(u"Label-")) {
        startLabel();
    } else if (name == u"Meta") {
        const QStringView category = xml_.attributes().value(QLatin1String("category"));
        if (!category.isEmpty()) {
            open_->categories.append(category.toString());
        }
    } else if (inLabel_ && name == u"Layout") {
        addLayout();
    } else if (inLabel_ && name == u"Markup-margin" && !open_->labels.last().markupMargin) {
        QString ignored;  // the margin is not the label's size: a bad one is left out
        open_->labels.last().markupMargin = length(QLatin1String("size"), ignored);
    }
}

// A Template element's own attributes: its names, its paper and its description.
void SheetTemplateReader::startTemplate() {
    const QXmlStreamAttributes attributes = xml_.attributes();
    const auto text = [&attributes](const char* name) { return attributes.value(QLatin1String(name)).toString(); };
    open_ = SheetTemplate{};
    inLabel_ = false;
    SheetTemplate& t = *open_;
    t.brand = text("brand").trimmed();
    t.part = text("part").trimmed();
    t.equivalentOf = text("equiv").trimmed();
    if (!t.equivalentOf.isEmpty()) {
        return;
    }
    t.size = text("size");
    t.paperWidth = length(QLatin1String("width"), t.paperProblem);
    t.paperHeight = length(QLatin1String("height"), t.paperProblem);
    t.description = text("description");
    if (t.description.isEmpty()) {
        t.description = text("_description");
    }
}

void SheetTemplateReader::startLabel() {
    TemplateLabel label;
    label.shape = xml_.name().mid(6).toString();  // after "Label-"
    if (label.shape == u"rectangle") {
        label.width = length(QLatin1String("width"), label.problem);
        label.height = length(QLatin1String("height"), label.problem);
        QString ignored;  // the corners are not the label's size: bad ones are left out
        label.round = length(QLatin1String("round"), ignored);
    }
    open_->labels.append(label);
    inLabel_ = true;
}

void SheetTemplateReader::addLayout() {
    const QXmlStreamAttributes attributes = xml_.attributes();
    TemplateLabel& label = open_->labels.last();
    TemplateLayout layout;
    layout.nx = attributes.value(QLatin1String("nx")).toInt();
    layout.ny = attributes.value(QLatin1String("ny")).toInt();
    layout.x0 = length(QLatin1String("x0"), label.problem);
    layout.y0 = length(QLatin1String("y0"), label.problem);
    layout.dx = length(QLatin1String("dx"), label.problem);
    layout.dy = length(QLatin1String("dy"), label.problem);
    label.layouts.append(layout);
}

// A length attribute of the element being read: empty when it is left out;
// one that cannot be read is told in `problem` (the first of them).
std::optional<TemplateLength> SheetTemplateReader::length(QLatin1String attribute, QString& problem) const {
    const QStringView text = xml_.attributes().value(attribute);
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const std::optional<TemplateLength> read = readTemplateLength(text);
    if (!read && problem.isEmpty()) {
        problem = QStringLiteral("The length %1=\"%2\" cannot be read.").arg(attribute, text);
    }
    return read;
}

}  // namespace tandor
