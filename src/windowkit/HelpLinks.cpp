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

std::optional<QString> openDocument(Platform& platform, const QString& path) {
    if (platform.shellOpen(path)) {
        return std::nullopt;
    }
    return documentNotOpenedText(path);
}

std::optional<QString> openPage(Platform& platform, const QString& address) {
    if (platform.shellOpen(address)) {
        return std::nullopt;
    }
    return pageNotOpenedText(address);
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

std::optional<QString> openManual(Platform& platform, const QString& programFolder) {
    return openDocument(platform, documentPath(programFolder, kManualFileName));
}

std::optional<QString> openStateSheet(Platform& platform, const QString& programFolder) {
    return openDocument(platform, documentPath(programFolder, kStateSheetFileName));
}

std::optional<QString> openPeopleFinder(Platform& platform) {
    return openPage(platform, kPeopleFinderAddress);
}

std::optional<QString> openZipFinder(Platform& platform) {
    return openPage(platform, kZipFinderAddress);
}

}  // namespace tandor
