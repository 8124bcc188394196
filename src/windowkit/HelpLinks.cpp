#include "windowkit/HelpLinks.h"

#include <QDir>

#include "platform/Platform.h"

namespace tandor {

QString documentPath(const QString& programFolder, const QString& fileName) {
    QString folder = QDir::cleanPath(programFolder);
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder + QLatin1Char('/') + fileName;
}

namespace {

void openDocument(Platform& platform, const QString& path) {
    if (!platform.shellOpen(path)) {
        platform.message(documentNotOpenedText(path), kNotOpenedTitle, MessageIcon::Exclamation,
                         MessageButtons::Ok);
    }
}

void openPage(Platform& platform, const QString& address) {
    if (!platform.shellOpen(address)) {
        platform.message(pageNotOpenedText(address), kNotOpenedTitle, MessageIcon::Exclamation,
                         MessageButtons::Ok);
    }
}

}  // namespace

QString documentNotOpenedText(const QString& path) {
    return QStringLiteral("The document could not be opened: it is missing, or no program on this "
                          "computer shows PDF documents.\n\n") +
           path + QStringLiteral("\n\nYou can copy the path above and open the document yourself.");
}

QString pageNotOpenedText(const QString& address) {
    return QStringLiteral("The web page could not be opened: no web browser was found on this "
                          "computer.\n\n") +
           address + QStringLiteral("\n\nYou can copy the address above into a web browser.");
}

void openManual(Platform& platform, const QString& programFolder) {
    openDocument(platform, documentPath(programFolder, kManualFileName));
}

void openStateSheet(Platform& platform, const QString& programFolder) {
    openDocument(platform, documentPath(programFolder, kStateSheetFileName));
}

void openPeopleFinder(Platform& platform) {
    openPage(platform, kPeopleFinderAddress);
}

void openZipFinder(Platform& platform) {
    openPage(platform, kZipFinderAddress);
}

}  // namespace tandor
