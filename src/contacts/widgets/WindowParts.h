#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class QWidget;

namespace tandor {

// Small builders shared by the contact windows: controls get the names,
// captions and tool tips their window's users and tests know them by.

inline const QString kIncludeCompanyCaption = QStringLiteral("Include Company Name in Address");
inline const QString kIncludeCompanyTip =
    QStringLiteral("If checked, Company Name will be included when printing address");

template <typename T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, const char* tip);
QMenu* menu(QMenuBar* bar, const char* caption, const char* name);
QAction* action(QMenu* menu, const char* caption, const char* name,
                const QKeySequence& shortcut = {});

}  // namespace tandor
