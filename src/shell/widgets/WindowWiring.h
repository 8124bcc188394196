#pragma once

namespace tandor {

class MainWindow;

// Connects the main window's commands to the windows of the contact, list,
// exchange and shell subsystems.
void wireWindows(MainWindow& window);

}  // namespace tandor
