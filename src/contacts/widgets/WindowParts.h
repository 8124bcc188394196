#pragma once

#include "platform/widgets/NamedControls.h"
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

QPushButton* button(QWidget* parent, const char* name, const char* caption, const char* tip);

}  // namespace tandor
