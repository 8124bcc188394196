#pragma once

#include <QByteArray>
#include <QString>

namespace tandor::sync {

// What a server said of its own failure (5xx), for the user: "503 Service
// Unavailable", followed, where the reason phrase says nothing of its own
// (empty, as over HTTP/2, or the standard phrase of the status), by the first
// line of the answer's text: markup stripped, whitespace simplified, at most
// 200 characters ("500: The disk is full"). A body that is not text adds
// nothing.
QString serverFailureText(int status, const QByteArray& reason, const QByteArray& contentType,
                          const QByteArray& body);

// The warning for a password sent over plain http:// ("The password travels
// in the clear to dav.example.com: ..."), or "" when it does not: https (or no
// scheme typed, which means https), or a loopback address written as such
// (127.0.0.1, ::1 and the rest of 127.0.0.0/8), where it never leaves this
// computer. A name is not looked up: "localhost" is warned about too.
QString cleartextPasswordWarning(const QString& serverUrl);

}  // namespace tandor::sync
