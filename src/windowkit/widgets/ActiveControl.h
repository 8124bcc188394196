#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <optional>

#include "windowkit/widgets/EditCommands.h"

class QAction;
class QWidget;

namespace tandor {

// The active control of one window: the control that had the keyboard focus
// before a menu was used, which the Edit commands act on.
//
// Using the menu bar from the keyboard (Alt, F10, a menu's Alt+letter) gives
// the keyboard focus to the menu bar, and a line edit drops its selection when
// it loses the focus that way (a menu opened with the mouse takes the focus
// for a popup, which leaves the selection alone). The selection is kept here
// and put back when the focus comes back, or when a command asks for the
// control first.
//
// A text control also gives up the shortcuts of the window's enabled Edit
// items (Ctrl+X, Ctrl+C, Ctrl+V, ...) instead of handling them itself, so
// that those keys run the window's commands.
class ActiveControl : public QObject {
public:
    ActiveControl(QWidget* window, QList<QAction*> editItems);

    // The active control with its selection as the user left it; null when
    // no control of the window has had the focus.
    QWidget* control();
    // The active control as it stands: a selection the menu bar took is not
    // put back. For the Edit menu's opening rule, with hasSelectedText.
    QWidget* widget() const;
    // True when the active control has editable text and a selection, counting
    // a selection the menu bar took; changes nothing.
    bool hasSelectedText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusChanged(QWidget* now);
    void watch(QWidget* widget);
    bool isEditShortcut(const QEvent* event) const;

    QPointer<QWidget> window_;
    QList<QPointer<QAction>> editItems_;
    QPointer<QWidget> last_;
    // The selection the menu bar took, while the focus is away from its control.
    QPointer<QWidget> keptFor_;
    std::optional<edit::TextSelection> kept_;
};

}  // namespace tandor
