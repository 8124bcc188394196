#include "docs/ManualRenderer.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

namespace tandor::docs {
namespace {

// Shrinks every image wider than the text to the text width, keeping its proportions.
void fitImages(QTextDocument& doc, const QString& imagesFolder, double textWidth) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().isImageFormat()) {
                continue;
            }
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QImage picture(imagesFolder + QLatin1Char('/') + QUrl(image.name()).fileName());
            if (picture.isNull()) {
                continue;
            }
            doc.addResource(QTextDocument::ImageResource, QUrl(image.name()), picture);
            const double width = std::min<double>(picture.width(), textWidth);
            image.setWidth(width);
            image.setHeight(picture.height() * width / picture.width());
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
}

}  // namespace

bool renderMarkdownToPdf(const QString& markdownPath, const QString& imagesFolder, const QString& pdfPath,
                         QString* error) {
    QFile source(markdownPath);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read ") + markdownPath;
        return false;
    }
    QTextDocument doc;
    doc.setBaseUrl(QUrl::fromLocalFile(imagesFolder + QLatin1Char('/')));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10.5);
    doc.setDefaultFont(font);
    doc.setMarkdown(QString::fromUtf8(source.readAll()));

    QFile::remove(pdfPath);
    {
        QPdfWriter writer(pdfPath);
        writer.setCreator(QStringLiteral("Tandor"));
        writer.setTitle(QFileInfo(markdownPath).completeBaseName());
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Point));
        // Printing keeps a 2 cm margin around the text and lays it out in screen
        // pixels (96 an inch): the text is 8.5 in less 4 cm wide.
        const double textWidth = (8.5 - 4.0 / 2.54) * 96 - 2 * doc.documentMargin();
        fitImages(doc, imagesFolder, textWidth - 8);
        doc.print(&writer);
    }
    // The writer reports no failure of its own: a PDF that could not be
    // written is missing or empty.
    return QFileInfo(pdfPath).size() > 0;
}

}  // namespace tandor::docs
