#pragma once

#include <QByteArray>
#include <QXmlStreamReader>

#include "sheets/SheetTemplate.h"

namespace tandor {

// The reader of the template format: every template of one file as the file
// has it. What the program makes of them is up to the library of sheets
// (the sheets it can print on) and to the user's sheet files (one design).
class SheetTemplateReader {
public:
    explicit SheetTemplateReader(const QByteArray& xml);

    SheetTemplateFile read();

private:
    void startElement();
    void startTemplate();
    void startLabel();
    void addLayout();
    std::optional<TemplateLength> length(QLatin1String attribute, QString& problem) const;

    QXmlStreamReader xml_;
    SheetTemplateFile file_;
    std::optional<SheetTemplate> open_;  // the template being read
    bool inLabel_ = false;               // inside its last label shape
};

}  // namespace tandor
