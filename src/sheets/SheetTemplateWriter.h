#pragma once

#include <QByteArray>

#include "sheets/SheetTemplate.h"

class QXmlStreamWriter;

namespace tandor {

// The writer of the template format: one file of templates, each length with
// its unit, what a template leaves out left out. What it writes reads back
// through SheetTemplateReader as the same templates.
class SheetTemplateWriter {
public:
    QByteArray write(const QList<SheetTemplate>& templates);

private:
    void writeTemplate(const SheetTemplate& t);
    void writeLabel(const TemplateLabel& label, int id);
    void writeLayout(const TemplateLayout& layout);
    void writeLength(const char* attribute, const std::optional<TemplateLength>& length);
    void writeText(const char* attribute, const QString& text);

    QXmlStreamWriter* xml_ = nullptr;  // the file being written
};

}  // namespace tandor
