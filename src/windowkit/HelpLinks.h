#pragma once

#include <QString>
#include <optional>

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
// handler. When it cannot be opened (no handler on this desktop, or the
// document is missing) returns what to tell the user, titled kNotOpenedTitle:
// it gives the path or address, which the user can copy from the message.
std::optional<QString> openManual(Platform& platform, const QString& programFolder);
std::optional<QString> openStateSheet(Platform& platform, const QString& programFolder);
std::optional<QString> openPeopleFinder(Platform& platform);
std::optional<QString> openZipFinder(Platform& platform);

// The messages shown when a document or a web page could not be opened.
QString documentNotOpenedText(const QString& path);
QString pageNotOpenedText(const QString& address);
inline const QString kNotOpenedTitle = QStringLiteral("Cannot open");

}  // namespace tandor
