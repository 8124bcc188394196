#include "windowkit/widgets/ActiveControl.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace tandor {
namespace {

bool isMenu(const QWidget* widget) {
    return qobject_cast<const QMenu*>(widget) || qobject_cast<const QMenuBar*>(widget);
}

}  // namespace

ActiveControl::ActiveControl(QWidget* window, QList<QAction*> editItems)
    : QObject(window), window_(window) {
    for (QAction* item : editItems) {
        editItems_.append(item);
    }
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusChanged(now); });
    if (QWidget* focus = window->focusWidget(); focus && !isMenu(focus)) {
        last_ = focus;
        watch(focus);
    }
}

QWidget* ActiveControl::widget() const {
    if (window_) {
        if (QWidget* focus = window_->focusWidget(); focus && !isMenu(focus)) {
            return focus;
        }
    }
    return last_;
}

QWidget* ActiveControl::control() {
    QWidget* control = widget();
    if (kept_ && control && control == keptFor_) {
        edit::restoreSelection(control, *kept_);
        kept_.reset();
        keptFor_ = nullptr;
    }
    return control;
}

bool ActiveControl::hasSelectedText() const {
    QWidget* control = widget();
    if (kept_ && control && control == keptFor_) {
        return kept_->length() > 0;
    }
    return edit::hasSelectedText(control);
}

void ActiveControl::focusChanged(QWidget* now) {
    if (!now || !window_ || !window_->isAncestorOf(now) || isMenu(now)) {
        return;
    }
    if (now == keptFor_) {
        control();  // the focus is back from the menu bar
    } else {
        kept_.reset();
        keptFor_ = nullptr;
    }
    last_ = now;
    watch(now);
}

void ActiveControl::watch(QWidget* widget) {
    if (edit::isTextControl(widget)) {
        widget->installEventFilter(this);  // installing again keeps a single copy
    }
}

bool ActiveControl::isEditShortcut(const QEvent* event) const {
    const QKeySequence keys(static_cast<const QKeyEvent*>(event)->keyCombination());
    for (const QPointer<QAction>& item : editItems_) {
        if (item && item->isEnabled() && item->shortcuts().contains(keys)) {
            return true;
        }
    }
    return false;
}

bool ActiveControl::eventFilter(QObject* watched, QEvent* event) {
    // Only the window's text controls that have had the focus are watched.
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() == Qt::MenuBarFocusReason) {
        auto* widget = static_cast<QWidget*>(watched);
        kept_ = edit::selectionOf(widget);
        keptFor_ = kept_ ? widget : nullptr;
    } else if (event->type() == QEvent::ShortcutOverride && isEditShortcut(event)) {
        event->ignore();  // the window's Edit item takes the keys
        return true;
    }
    return false;
}

}  // namespace tandor
