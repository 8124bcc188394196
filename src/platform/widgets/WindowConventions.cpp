#include "platform/widgets/WindowConventions.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>

namespace tandor {
namespace {

class EnterPressesButtons : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
            return false;
        }
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button == nullptr || !button->hasFocus() || !button->isEnabled() ||
            qobject_cast<QDialog*>(button->window()) != nullptr) {
            return false;
        }
        button->click();
        return true;
    }
};

}  // namespace

void installKeyboardConventions() {
    static const QString name = QStringLiteral("tandorEnterPressesButtons");
    auto* app = QCoreApplication::instance();
    if (app == nullptr || app->findChild<QObject*>(name, Qt::FindDirectChildrenOnly) != nullptr) {
        return;
    }
    auto* filter = new EnterPressesButtons(app);
    filter->setObjectName(name);
    app->installEventFilter(filter);
}

void closeOnEscape(QWidget* window, QAbstractButton* closeButton) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, closeButton, [closeButton] {
        if (closeButton->isEnabled()) {
            closeButton->click();
        }
    });
}

void giveMenuMnemonics(QMenuBar* bar) {
    QString taken;
    const QList<QAction*> menus = bar->actions();
    for (QAction* a : menus) {
        const QString title = a->text();
        const qsizetype amp = title.indexOf(QLatin1Char('&'));
        if (amp >= 0 && amp + 1 < title.size()) {
            taken += title[amp + 1].toLower();
        }
    }
    for (QAction* a : menus) {
        QString title = a->text();
        if (title.contains(QLatin1Char('&')) || a->menu() == nullptr) {
            continue;
        }
        for (qsizetype i = 0; i < title.size(); ++i) {
            const QChar c = title[i].toLower();
            if (c.isLetterOrNumber() && !taken.contains(c)) {
                taken += c;
                title.insert(i, QLatin1Char('&'));
                a->menu()->setTitle(title);
                break;
            }
        }
    }
}

void keepPlaceWhenHidden(std::initializer_list<QWidget*> widgets) {
    for (QWidget* w : widgets) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
}

}  // namespace tandor
