#pragma once

#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace tandor::test {

// Menus used from the keyboard, as a user without a mouse does: the keys go to
// the widget that has the keyboard focus, or to the open menu.

// Alt alone, then Right until the menu's title is highlighted, then Down to
// open it. Returns the open menu, or null (with a test failure) when it did
// not open.
QMenu* openMenuByKeys(QWidget* window, QMenu* menu);

// In an open menu: Down until the item is highlighted, then Return. Fails the
// test when the item cannot be reached.
void chooseByKeys(QMenu* menu, QAction* item);

// A caption as shown: its mnemonic's '&' taken out ("&&" shows one '&').
QString shown(const QString& caption);

}  // namespace tandor::test
