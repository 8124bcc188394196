#pragma once

#include <functional>

class QWidget;

namespace tandor {

class Platform;

// Runs a command of a secondary window under the window's error routine: a
// failure shows the standard error message (title "Error", Retry and Cancel,
// no icon); Retry leaves the window as it is, Cancel unloads it (the main
// window then comes back). Returns true when the command ran to its end.
bool runInSecondaryWindow(QWidget* window, Platform& platform,
                          const std::function<void()>& command);

// The window is being unloaded by Cancel of the error message: it asks no
// more questions on its way out.
bool unloadingAfterError(const QWidget* window);

}  // namespace tandor
