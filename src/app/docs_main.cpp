#include <QApplication>
#include <QDir>
#include <QTextStream>

#include "docs/ManualRenderer.h"
#include "docs/WindowPictures.h"

// Builds the documents delivered beside the program: the user manual
// tdrUman.pdf (with pictures of the windows) and the state-abbreviations sheet,
// from their Markdown sources.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        err << "usage: tandor-docs SOURCE_FOLDER OUTPUT_FOLDER\n";
        return 2;
    }
    const QString source = args[1];
    const QString out = args[2];
    const QString images = out + QStringLiteral("/manual-images");
    QString error;
    if (!tandor::docs::makeWindowPictures(images, &error) ||
        !tandor::docs::renderMarkdownToPdf(source + QStringLiteral("/tdrUman.md"), images,
                                           out + QStringLiteral("/tdrUman.pdf"), &error) ||
        !tandor::docs::renderMarkdownToPdf(source + QStringLiteral("/tdr_state_abbreviations.md"), images,
                                           out + QStringLiteral("/tdr_state_abbreviations.pdf"), &error)) {
        err << "tandor-docs: " << error << "\n";
        return 1;
    }
    return 0;
}
