#include "sync/ServerMessage.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

namespace tandor::sync {
namespace {

constexpr qsizetype kMostCharacters = 200;

QString standardPhrase(int status) {
    switch (status) {
    case 500: return QStringLiteral("Internal Server Error");
    case 501: return QStringLiteral("Not Implemented");
    case 502: return QStringLiteral("Bad Gateway");
    case 503: return QStringLiteral("Service Unavailable");
    case 504: return QStringLiteral("Gateway Timeout");
    case 505: return QStringLiteral("HTTP Version Not Supported");
    case 507: return QStringLiteral("Insufficient Storage");
    case 508: return QStringLiteral("Loop Detected");
    default: return {};
    }
}

bool says(const QString& line, const QString& phrase) {
    return !phrase.isEmpty() && line.compare(phrase, Qt::CaseInsensitive) == 0;
}

// The body's text without markup, one piece per line.
QStringList textLines(const QByteArray& contentType, const QByteArray& body) {
    const QByteArray type = contentType.toLower();
    if (!type.isEmpty() && !type.startsWith("text/") && !type.contains("xml") && !type.contains("json")) {
        return {};
    }
    if (body.contains('\0')) {
        return {};
    }
    QString text = QString::fromUtf8(body.left(64 * 1024));
    static const QRegularExpression hidden(QStringLiteral("<(script|style|head)\\b.*?</\\1\\s*>"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression markup(QStringLiteral("<!--.*?-->|<[^>]*>"),
                                           QRegularExpression::DotMatchesEverythingOption);
    text.remove(hidden);
    text.replace(markup, QStringLiteral("\n"));
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "))
        .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&#39;"), QStringLiteral("'"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
}

}  // namespace

QString serverFailureText(int status, const QByteArray& reason, const QByteArray& contentType,
                          const QByteArray& body) {
    const QString phrase = QString::fromUtf8(reason).trimmed();
    const QString standard = standardPhrase(status);
    const QString statusText = QStringLiteral("%1 %2").arg(status).arg(phrase).trimmed();
    if (!phrase.isEmpty() && !says(phrase, standard)) {
        return statusText;
    }
    for (const QString& piece : textLines(contentType, body)) {
        QString line = piece.simplified();
        // A page's title or heading that only repeats the status says nothing more.
        if (line.isEmpty() || says(line, standard) || says(line, statusText) ||
            says(line, QStringLiteral("%1 %2").arg(status).arg(standard))) {
            continue;
        }
        if (line.size() > kMostCharacters) {
            line = line.left(kMostCharacters - 3).trimmed() + QStringLiteral("...");
        }
        return statusText + QStringLiteral(": ") + line;
    }
    return statusText;
}

QString cleartextPasswordWarning(const QString& serverUrl) {
    const QString text = serverUrl.trimmed();
    if (!text.contains(QLatin1String("://"))) {
        return {};  // taken as https://
    }
    const QUrl url(text, QUrl::TolerantMode);
    if (url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) != 0 || url.host().isEmpty()) {
        return {};
    }
    const QHostAddress address(url.host());
    if (!address.isNull() && address.isLoopback()) {
        return {};
    }
    return QStringLiteral("The password travels in the clear to %1: anyone on the network in between can read "
                          "it. Use an https:// address if the server offers one.")
        .arg(url.host());
}

}  // namespace tandor::sync
