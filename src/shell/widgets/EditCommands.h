#pragma once

#include <QPointer>
#include <QString>

class QWidget;

namespace tandor {

class Platform;

// Cut, Copy and Paste on the text of the active control of a window (a line
// edit, a text edit or an editable combo box) through the platform clipboard.
// A command whose control holds no editable text does nothing.
namespace edit {

// True when the control has editable text and a non-empty selection.
bool hasSelectedText(QWidget* control);
bool isTextControl(QWidget* control);
QString selectedText(QWidget* control);

void cut(QWidget* control, Platform& platform);
void copy(QWidget* control, Platform& platform);
void paste(QWidget* control, Platform& platform);
// Gives the control the focus and selects its whole text.
void selectAll(QWidget* control);

}  // namespace edit
}  // namespace tandor
