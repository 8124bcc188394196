#include "windowkit/widgets/CommandRunner.h"

#include <QVariant>
#include <QWidget>
#include <exception>
#include <optional>

#include "platform/Platform.h"
#include "windowkit/widgets/WindowHost.h"
#include "store/ContactsDocument.h"

namespace tandor {
namespace {

constexpr int kInternalError = 51;
constexpr const char* kUnloadingAfterError = "tandorUnloadingAfterError";

// The message text of the failure being handled, typed: the program's own
// errors keep their number and description.
QString failureText(const ErrorPolicy& policy) {
    try {
        throw;
    } catch (const AppError& error) {
        return standardErrorText(error, policy.notify);
    } catch (const std::exception& error) {
        return internalErrorText(QString::fromLocal8Bit(error.what()), policy.notify);
    } catch (...) {
        return internalErrorText(QStringLiteral("unknown failure"), policy.notify);
    }
}

}  // namespace

QString internalErrorText(const QString& what, NotifyWhom notify) {
    return standardErrorText(kInternalError, QStringLiteral("Internal error: ") + what, notify);
}

bool runCommand(Platform& platform, const ErrorPolicy& policy, const std::function<void()>& command) {
    for (;;) {
        QString text;
        try {
            command();
            return true;
        } catch (...) {
            text = failureText(policy);
        }
        platform.setBusy(false);
        const MessageAnswer answer = platform.message(text, QStringLiteral("Error"), MessageIcon::None,
                                                      MessageButtons::RetryCancel);
        if (answer == MessageAnswer::Retry) {
            if (policy.retryRunsAgain) {
                continue;
            }
            if (policy.onRetry) {
                policy.onRetry();
            }
        } else if (policy.onCancel) {
            policy.onCancel();
        }
        return false;
    }
}

namespace policy {

ErrorPolicy mainWindow(WindowHost& host) {
    ErrorPolicy p;
    p.onRetry = [&host] { host.document().fileClose(); };
    p.onCancel = [&host] { host.endProgram(); };
    return p;
}

ErrorPolicy secondaryWindow(QWidget* window, NotifyWhom notify) {
    ErrorPolicy p;
    p.notify = notify;
    p.onCancel = [window] {
        window->setProperty(kUnloadingAfterError, true);
        window->close();
    };
    return p;
}

ErrorPolicy tryAgain() {
    ErrorPolicy p;
    p.retryRunsAgain = true;
    return p;
}

}  // namespace policy

bool unloadingAfterError(const QWidget* window) {
    return window->property(kUnloadingAfterError).toBool();
}

}  // namespace tandor
