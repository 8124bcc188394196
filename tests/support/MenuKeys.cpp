#include "support/MenuKeys.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace tandor::test {
namespace {

QWidget* keyTarget() {
    if (QWidget* popup = QApplication::activePopupWidget()) {
        return popup;
    }
    return QApplication::focusWidget();
}

}  // namespace

QMenu* openMenuByKeys(QWidget* window, QMenu* menu) {
    auto* main = qobject_cast<QMainWindow*>(window);
    if (!main || !menu) {
        ADD_FAILURE() << "no menu bar window or no menu";
        return nullptr;
    }
    QMenuBar* bar = main->menuBar();
    QTest::keyPress(keyTarget(), Qt::Key_Alt);
    QTest::keyRelease(keyTarget(), Qt::Key_Alt, Qt::NoModifier);
    if (QApplication::focusWidget() != bar) {
        ADD_FAILURE() << "Alt did not give the keyboard focus to the menu bar";
        return nullptr;
    }
    for (qsizetype i = 0; i < bar->actions().size() && bar->activeAction() != menu->menuAction();
         ++i) {
        QTest::keyClick(bar, Qt::Key_Right);
    }
    QTest::keyClick(bar, Qt::Key_Down);
    if (QApplication::activePopupWidget() != menu) {
        ADD_FAILURE() << "the menu did not open";
        return nullptr;
    }
    return menu;
}

void chooseByKeys(QMenu* menu, QAction* item) {
    ASSERT_NE(menu, nullptr);
    for (qsizetype i = 0; i <= menu->actions().size() && menu->activeAction() != item; ++i) {
        QTest::keyClick(menu, Qt::Key_Down);
    }
    ASSERT_EQ(menu->activeAction(), item) << "the item cannot be reached from the keyboard";
    QTest::keyClick(menu, Qt::Key_Return);
}

QString shown(const QString& caption) {
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i;
        }
        plain += caption[i];
    }
    return plain;
}

}  // namespace tandor::test
