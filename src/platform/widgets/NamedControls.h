#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

namespace tandor {

// Controls and menu items carry the names the program's users, manual and
// tests know them by (txtLMLine1, mnuFileOpen, ...).
template <typename T>
T* named(T* widget, const char* name, const QString& toolTip = {}) {
    widget->setObjectName(QString::fromLatin1(name));
    if (!toolTip.isEmpty()) {
        widget->setToolTip(toolTip);
    }
    return widget;
}

QMenu* namedMenu(QMenuBar* bar, const QString& caption, const char* name);
QAction* menuItem(QMenu* menu, const QString& caption, const char* name, const QKeySequence& keys = {});

}  // namespace tandor
