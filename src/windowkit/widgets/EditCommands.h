#pragma once

#include <QPointer>
#include <QString>
#include <optional>

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

// Where the selection of a text control lies: the end that stays put (anchor)
// and the caret; both equal when nothing is selected.
struct TextSelection {
    int anchor = 0;
    int caret = 0;
    int length() const { return anchor < caret ? caret - anchor : anchor - caret; }
};

// The selection of a control with editable text; none for any other control.
std::optional<TextSelection> selectionOf(QWidget* control);
// Puts a selection taken by selectionOf back (kept inside the text).
void restoreSelection(QWidget* control, const TextSelection& selection);

}  // namespace edit
}  // namespace tandor
