#pragma once

#include <QString>
#include <stdexcept>

namespace tandor {

// A run-time failure inside a command, shown to the user by the command's
// error routine as "Error number N -- description".
class AppError : public std::runtime_error {
public:
    AppError(int number, const QString& description);

    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

// Error numbers used by the program (the conventional numbers of these
// failures, so that a user reporting one is understood).
namespace errors {
inline constexpr int kOverflow = 6;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kBadFileName = 52;
inline constexpr int kFileNotFound = 53;
inline constexpr int kDeviceIo = 57;
inline constexpr int kDiskFull = 61;
inline constexpr int kInputPastEnd = 62;
inline constexpr int kBadRecordNumber = 63;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kPrinterError = 482;
}  // namespace errors

// Who the user is told to notify at the end of the standard error message.
enum class NotifyWhom { Author, Product };

// "An error has occurred. Error number N -- description.  Try again, or notify author."
QString standardErrorText(int number, const QString& description,
                          NotifyWhom whom = NotifyWhom::Author);
QString standardErrorText(const AppError& error, NotifyWhom whom = NotifyWhom::Author);

// The texts of the printer-error message shared by every print command.
inline const QString kPrinterProblemText = QStringLiteral("A printer problem exists.  Check printer.");
inline const QString kPrinterErrorTitle = QStringLiteral("Printer error");

}  // namespace tandor
