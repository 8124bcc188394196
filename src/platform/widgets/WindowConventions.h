#pragma once

#include <initializer_list>

class QAbstractButton;
class QMenuBar;
class QWidget;

namespace tandor {

// What desktop users expect of every window of the program.

// Installs, once for the application, the key that presses a focused push
// button: Enter does what Space does (in dialogs the dialog's own default
// button handling stays). Text boxes that move on with Enter keep doing so.
// Alt + a letter that no control takes types nothing into a text box.
void installKeyboardConventions();

// Escape in the window presses its Close button (with any question it asks).
void closeOnEscape(QWidget* window, QAbstractButton* closeButton);

// Gives every menu of the bar that has none a mnemonic (Alt + letter): the
// first letter of its title not taken by another menu of the bar.
void giveMenuMnemonics(QMenuBar* bar);

// Gives the window's menus, menu items and buttons that have none a mnemonic
// (Alt + letter; in a menu, the letter alone) without changing the caption
// shown: a letter of the caption, the first letters of its words preferred.
// No two menus and buttons of the window share a letter, nor two items of one
// menu. Captions without a letter or digit ("<", "?") keep none.
void giveMnemonics(QWidget* window);

// Controls that are shown and hidden keep their room in the layout while
// hidden, so that the controls around them do not move.
void keepPlaceWhenHidden(std::initializer_list<QWidget*> widgets);

}  // namespace tandor
