#include "batch/SyncOptions.h"

#include <QFile>
#include <QRegularExpression>

#include "sync/ServerMessage.h"

namespace tandor::batch {
namespace {

constexpr int kMostSeconds = 86400;

}  // namespace

std::optional<SyncOptions> takeSyncOptions(Arguments& arguments, bool& urlGiven, QString& error) {
    SyncOptions options;
    const std::optional<QString> url = arguments.take(QStringLiteral("--url"));
    const std::optional<QString> user = arguments.take(QStringLiteral("--user"));
    const std::optional<QString> passwordFile = arguments.take(QStringLiteral("--password-file"));
    const std::optional<QString> timeout = arguments.take(QStringLiteral("--timeout"));
    urlGiven = url && user;
    options.account.serverUrl = url.value_or(QString());
    options.account.user = user.value_or(QString());
    if (arguments.take(QStringLiteral("--password"))) {
        error = QStringLiteral(
            "The password is never given on the command line: set TANDOR_PASSWORD or "
            "give --password-file FILE.");
        return std::nullopt;
    }
    if (timeout) {
        bool ok = false;
        options.silenceSeconds = parseInt(*timeout, &ok);
        if (!ok || options.silenceSeconds < 1 || options.silenceSeconds > kMostSeconds) {
            error = QStringLiteral("--timeout takes a whole number of seconds from 1 to %1: %2")
                        .arg(kMostSeconds)
                        .arg(*timeout);
            return std::nullopt;
        }
    }
    if (passwordFile) {
        QFile file(*passwordFile);
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("The password file cannot be read: ") + *passwordFile;
            return std::nullopt;
        }
        const QString text = QString::fromUtf8(file.readAll());
        const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
        options.account.password = end < 0 ? text : text.left(end);
    } else if (qEnvironmentVariableIsSet("TANDOR_PASSWORD")) {
        options.account.password = qEnvironmentVariable("TANDOR_PASSWORD");
    }
    return options;
}

void warnOfCleartext(const SyncOptions& options, Context& context) {
    if (options.account.password.isEmpty()) {
        return;
    }
    const QString warning = sync::cleartextPasswordWarning(options.account.serverUrl);
    if (!warning.isEmpty()) {
        context.err << "Warning: " << warning << "\n";
        context.err.flush();
    }
}

QString failureText(const sync::ServerError& failure, const SyncOptions& options) {
    if (failure.kind() == sync::ServerError::Kind::WrongCredentials &&
        options.account.password.isEmpty()) {
        return failure.message() +
               QStringLiteral(" Set TANDOR_PASSWORD or give --password-file FILE.");
    }
    return failure.message();
}

}  // namespace tandor::batch
