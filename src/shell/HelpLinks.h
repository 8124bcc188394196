#pragma once

#include <QString>

namespace tandor {

class Platform;

// The documents delivered beside the program and the two look-up pages.
inline const QString kManualFileName = QStringLiteral("tdrUman.pdf");
inline const QString kStateSheetFileName = QStringLiteral("tdr_state_abbreviations.pdf");
// A public people-search page and the postal service's ZIP code look-up page.
inline const QString kPeopleFinderAddress = QStringLiteral("https://www.whitepages.com/");
inline const QString kZipFinderAddress = QStringLiteral("https://tools.usps.com/zip-code-lookup.htm");

// The path of a document in the program folder (the folder without a trailing separator).
QString documentPath(const QString& programFolder, const QString& fileName);

// Opens a document of the program folder or a look-up page with its default
// handler. The result is not examined: a missing document reports nothing.
void openManual(Platform& platform, const QString& programFolder);
void openStateSheet(Platform& platform, const QString& programFolder);
void openPeopleFinder(Platform& platform);
void openZipFinder(Platform& platform);

}  // namespace tandor
