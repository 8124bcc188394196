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

}  // namespace tandor
