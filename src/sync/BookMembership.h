#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace tandor::sync {

// Whether a card address a server named lies directly inside the linked
// address book. `bookUrl` is the book's absolute collection URL
// ("https://dav.example.com/ann/contacts/"); `href` is a path
// ("/ann/contacts/x.vcf"), a URL relative to the book, or an absolute URL,
// percent-encoded as servers send it. The href is percent-decoded (an encoded
// slash becomes a slash, "%2e%2e" becomes "..") and its dot segments are
// removed; it is a member when what is left is the book's path followed by one
// plain name, on the book's scheme, host and port, without a query or a
// fragment. The book itself, a card in a folder below it, a name holding a
// backslash or a control character, and an absolute URL to another server are
// not members (nothing is cut down to a path).
//
// Returns the member's path in the one spelling the sync stores and compares
// ("/ann/contacts/x.vcf", percent-encoded the same way for every server), or
// nothing.
std::optional<QString> memberPath(const QString& bookUrl, const QString& href);

// A path in that one spelling: percent-encoding undone, then redone the same
// way for every server, so that the hrefs a server lists compare equal to the
// ones sent.
QString canonicalPath(const QString& path);

// The URL's port, or its scheme's own (443 for https, 80 for http).
int portOf(const QUrl& url);
// The path with a slash at its end.
QString withSlash(QString path);

}  // namespace tandor::sync
