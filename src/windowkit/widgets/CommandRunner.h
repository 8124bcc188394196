#pragma once

#include <QString>
#include <functional>

#include "platform/AppError.h"

class QWidget;

namespace tandor {

class Platform;
class WindowHost;

// What a command does when it fails. A file error or any other AppError shows
// the standard error message ("An error has occurred. Error number N --
// ...", title "Error", Retry and Cancel); anything unexpected shows the same
// message as error 51 "Internal error" with its text, never the printer
// message. Printer problems never reach the runner: the print job shows them
// itself. Then the answer decides:
struct ErrorPolicy {
    NotifyWhom notify = NotifyWhom::Author;  // the end of the standard message
    // Retry: the command runs again at once when set, else it ends and
    // `onRetry` runs (what a retry keeps: everything that it does not undo).
    bool retryRunsAgain = false;
    std::function<void()> onRetry;
    // Cancel (or the message closed): what the command closes.
    std::function<void()> onCancel;
};

// Runs a command of a menu item or button under its error policy. True when
// it ran to its end. The busy cursor is always cleared after a failure.
bool runCommand(Platform& platform, const ErrorPolicy& policy, const std::function<void()>& command);

// The policies of the windows.
namespace policy {
// The main window and the application's own commands: Retry closes the
// contacts file (no file current) and ends the command; Cancel ends the program.
ErrorPolicy mainWindow(WindowHost& host);
// A window shown in place of the main window: Retry leaves it as it is,
// Cancel unloads it (asking nothing more on its way out) and the main window
// comes back.
ErrorPolicy secondaryWindow(QWidget* window, NotifyWhom notify = NotifyWhom::Author);
// A command that is tried again: Retry runs it again, Cancel ends it.
ErrorPolicy tryAgain();
}  // namespace policy

// The window is being unloaded by Cancel of an error message: it asks no
// more questions on its way out.
bool unloadingAfterError(const QWidget* window);

// The text shown for a failure that is not one of the program's own.
QString internalErrorText(const QString& what, NotifyWhom notify = NotifyWhom::Author);

}  // namespace tandor
