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
void installKeyboardConventions();

// Escape in the window presses its Close button (with any question it asks).
void closeOnEscape(QWidget* window, QAbstractButton* closeButton);

// Gives every menu of the bar that has none a mnemonic (Alt + letter): the
// first letter of its title not taken by another menu of the bar.
void giveMenuMnemonics(QMenuBar* bar);

// Controls that are shown and hidden keep their room in the layout while
// hidden, so that the controls around them do not move.
void keepPlaceWhenHidden(std::initializer_list<QWidget*> widgets);

}  // namespace tandor
