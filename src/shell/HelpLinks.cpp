#include "shell/HelpLinks.h"

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

void openManual(Platform& platform, const QString& programFolder) {
    platform.shellOpen(documentPath(programFolder, kManualFileName));
}

void openStateSheet(Platform& platform, const QString& programFolder) {
    platform.shellOpen(documentPath(programFolder, kStateSheetFileName));
}

void openPeopleFinder(Platform& platform) {
    platform.shellOpen(kPeopleFinderAddress);
}

void openZipFinder(Platform& platform) {
    platform.shellOpen(kZipFinderAddress);
}

}  // namespace tandor
