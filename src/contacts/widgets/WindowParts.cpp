#include "contacts/widgets/WindowParts.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace tandor {

QPushButton* button(QWidget* parent, const char* name, const char* caption, const char* tip) {
    auto* b = named(new QPushButton(QString::fromUtf8(caption), parent), name);
    b->setToolTip(QString::fromUtf8(tip));
    return b;
}

QMenu* menu(QMenuBar* bar, const char* caption, const char* name) {
    QMenu* m = bar->addMenu(QString::fromUtf8(caption));
    m->setObjectName(QString::fromLatin1(name));
    return m;
}

QAction* action(QMenu* menu, const char* caption, const char* name, const QKeySequence& shortcut) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) {
        a->setShortcut(shortcut);
    }
    return a;
}

}  // namespace tandor
