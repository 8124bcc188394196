#include "platform/AppError.h"

namespace tandor {

AppError::AppError(int number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number), description_(description) {}

QString standardErrorText(int number, const QString& description, NotifyWhom whom) {
    const QString tail = whom == NotifyWhom::Author ? QStringLiteral(".  Try again, or notify author.")
                                                    : QStringLiteral(".  Try again, or notify Tandor.");
    return QStringLiteral("An error has occurred. ") + QStringLiteral("Error number ") +
           QString::number(number) + QStringLiteral(" -- ") + description + tail;
}

QString standardErrorText(const AppError& error, NotifyWhom whom) {
    return standardErrorText(error.number(), error.description(), whom);
}

}  // namespace tandor
