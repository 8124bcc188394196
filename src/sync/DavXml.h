#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// The XML of WebDAV and CardDAV requests and answers (RFC 4918, RFC 6352,
// RFC 6578), as plain functions so that captured answers can be read back in
// the tests. The readers go by namespace and local name, never by prefix:
// servers choose their own prefixes.
namespace tandor::sync::davxml {

// PROPFIND body for discovery: resourcetype, displayname,
// supported-report-set, current-user-principal, addressbook-home-set.
QByteArray discoveryPropfind();
// PROPFIND body listing each card's getetag (and the collection's sync-token).
QByteArray etagPropfind();
// REPORT sync-collection (RFC 6578) from `token` (empty: from the start), getetag.
QByteArray syncCollectionReport(const QString& token);
// REPORT addressbook-multiget for these hrefs: getetag and address-data.
QByteArray multigetReport(const QStringList& hrefs);

// One <response> of a multistatus answer, with what was found in its
// propstats of status 200.
struct Response {
    QString href;        // as sent: a path or a full URL, percent-encoded
    int status = 0;      // the response's own <status> (sync-collection: 404 = removed); 0 when absent
    int propStatus = 0;  // the status of the propstat that carried the properties found (200), or of the first one
    QString etag;        // exactly as sent, quotes included
    QString displayName;
    QString syncToken;
    QString currentUserPrincipal;  // href
    QStringList addressbookHomeSet;  // hrefs
    bool isCollection = false;
    bool isAddressBook = false;
    bool offersSyncCollection = false;  // supported-report-set names sync-collection
    QByteArray addressData;  // UTF-8, lines ended with CRLF
};

struct Multistatus {
    std::vector<Response> responses;
    QString syncToken;  // the top-level <sync-token> of a sync-collection answer
};

// Reads a 207 multistatus answer; throws ServerError (Protocol) on text that
// is not one.
Multistatus parseMultistatus(const QByteArray& xml);

// Whether a DAV:error body names this precondition (e.g. "valid-sync-token").
bool errorNames(const QByteArray& xml, const QString& precondition);

// The status code of an HTTP status line ("HTTP/1.1 404 Not Found" -> 404); 0 if unreadable.
int statusCode(const QString& statusLine);

}  // namespace tandor::sync::davxml
