#include "contacts/widgets/SecondaryErrors.h"

#include <QVariant>
#include <QWidget>
#include <exception>

#include "platform/AppError.h"
#include "platform/Platform.h"

namespace tandor {
namespace {

constexpr int kInternalError = 51;
constexpr const char* kUnloadingAfterError = "tandorUnloadingAfterError";

}  // namespace

bool runInSecondaryWindow(QWidget* window, Platform& platform,
                          const std::function<void()>& command) {
    QString text;
    try {
        command();
        return true;
    } catch (const AppError& error) {
        text = standardErrorText(error);
    } catch (const std::exception& error) {
        // A failure that is not one of the program's own is still reported, never fatal.
        text = standardErrorText(kInternalError, QString::fromLocal8Bit(error.what()));
    }
    const MessageAnswer answer = platform.message(text, QStringLiteral("Error"), MessageIcon::None,
                                                  MessageButtons::RetryCancel);
    if (answer != MessageAnswer::Retry) {
        window->setProperty(kUnloadingAfterError, true);
        window->close();
    }
    return false;
}

bool unloadingAfterError(const QWidget* window) {
    return window->property(kUnloadingAfterError).toBool();
}

}  // namespace tandor
