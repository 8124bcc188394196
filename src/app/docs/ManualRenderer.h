#pragma once

#include <QString>

namespace tandor::docs {

// Renders a Markdown document to a letter-size PDF. Images named in it are
// looked up in imagesFolder and scaled down to the text width.
bool renderMarkdownToPdf(const QString& markdownPath, const QString& imagesFolder, const QString& pdfPath,
                         QString* error);

}  // namespace tandor::docs
