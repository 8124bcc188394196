#include "sync/BookMembership.h"

#include <QStringList>
#include <QUrl>

namespace tandor::sync {

int portOf(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.port(scheme == QLatin1String("https")  ? 443
                    : scheme == QLatin1String("http") ? 80
                                                      : -1);
}

QString withSlash(QString path) {
    if (!path.endsWith(QLatin1Char('/'))) {
        path += QLatin1Char('/');
    }
    return path;
}

namespace {

// RFC 3986 dot-segment removal on a decoded path, as segments: "." goes,
// ".." takes the segment before it away (never above the root).
QStringList withoutDotSegments(const QString& decodedPath) {
    QStringList segments = decodedPath.split(QLatin1Char('/'));
    segments.removeFirst();  // the empty one before the leading slash
    QStringList out;
    for (qsizetype i = 0; i < segments.size(); ++i) {
        const QString& s = segments[i];
        const bool last = i + 1 == segments.size();
        if (s == QLatin1String(".") || s == QLatin1String("..")) {
            if (s == QLatin1String("..") && !out.isEmpty()) {
                out.removeLast();
            }
            if (last) {
                out << QString();  // "/a/b/.." is the folder "/a/"
            }
            continue;
        }
        out << s;
    }
    return out;
}

bool plainName(const QString& name) {
    if (name.isEmpty()) {
        return false;
    }
    for (const QChar c : name) {
        if (c == QLatin1Char('\\') || c.unicode() < 0x20 || c.unicode() == 0x7f) {
            return false;
        }
    }
    return true;
}

}  // namespace

QString canonicalPath(const QString& path) {
    const QString decoded = QUrl::fromPercentEncoding(path.toUtf8());
    return QString::fromLatin1(
        QUrl::toPercentEncoding(decoded, QByteArrayLiteral("/@:+!$&'()*,;=")));
}

std::optional<QString> memberPath(const QString& bookUrl, const QString& href) {
    const QUrl book(bookUrl, QUrl::TolerantMode);
    const QUrl given = QUrl::fromEncoded(href.trimmed().toUtf8(), QUrl::TolerantMode);
    if (!book.isValid() || !given.isValid() || href.trimmed().isEmpty() || given.hasQuery() ||
        given.hasFragment()) {
        return std::nullopt;
    }
    QUrl url = given;
    if (given.isRelative() && given.authority().isEmpty()) {
        if (!href.trimmed().startsWith(QLatin1Char('/'))) {
            // A name relative to the book: "x.vcf" is "/ann/contacts/x.vcf". Its
            // dot segments are still to be removed, after decoding.
            url.setPath(book.path(QUrl::FullyEncoded) + given.path(QUrl::FullyEncoded),
                        QUrl::StrictMode);
        }
    } else if (given.scheme().compare(book.scheme(), Qt::CaseInsensitive) != 0 &&
               !given.scheme().isEmpty()) {
        return std::nullopt;
    }
    if (!url.authority().isEmpty() &&
        (url.host().compare(book.host(), Qt::CaseInsensitive) != 0 ||
         (given.scheme().isEmpty() ? url.port(portOf(book)) : portOf(url)) != portOf(book))) {
        return std::nullopt;
    }
    QStringList bookSegments =
        withoutDotSegments(QUrl::fromPercentEncoding(book.path(QUrl::FullyEncoded).toUtf8()));
    if (bookSegments.isEmpty() || !bookSegments.last().isEmpty()) {
        bookSegments << QString();  // the book is a folder: "/ann/contacts" is "/ann/contacts/"
    }
    const QString decoded = QUrl::fromPercentEncoding(url.path(QUrl::FullyEncoded).toUtf8());
    if (!decoded.startsWith(QLatin1Char('/'))) {
        return std::nullopt;
    }
    const QStringList segments = withoutDotSegments(decoded);
    // Directly inside: the book's segments (its last, empty one replaced by the name).
    if (segments.size() != bookSegments.size() ||
        segments.mid(0, segments.size() - 1) != bookSegments.mid(0, bookSegments.size() - 1) ||
        !plainName(segments.last())) {
        return std::nullopt;
    }
    // Encoded once from the decoded segments: a name holding "%25" stays that name.
    return QString::fromLatin1(QUrl::toPercentEncoding(QLatin1Char('/') + segments.join(QLatin1Char('/')),
                                                       QByteArrayLiteral("/@:+!$&'()*,;=")));
}

}  // namespace tandor::sync
