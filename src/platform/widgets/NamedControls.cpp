#include "platform/widgets/NamedControls.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace tandor {

QMenu* namedMenu(QMenuBar* bar, const QString& caption, const char* name) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* menuItem(QMenu* menu, const QString& caption, const char* name, const QKeySequence& keys) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!keys.isEmpty()) {
        a->setShortcut(keys);
    }
    return a;
}

}  // namespace tandor
