#pragma once

class QWidget;

namespace tandor {

class WindowHost;

// Attaches the commands that every window carries to the menu items of a
// window, found by their names: the Help items ("User Manual", "About
// Tandor"), the look-up buttons ("People Finder", "Zip Code Finder", "?") and
// the Edit menu (Cut, Copy, Paste). Every window calls this once its controls
// exist; items whose command is not available stay disabled. It gives every
// menu, item and button of the window a mnemonic (giveMnemonics).
void attachShellCommands(QWidget* window, WindowHost& host);

}  // namespace tandor
