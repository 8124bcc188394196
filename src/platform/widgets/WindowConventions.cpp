#include "platform/widgets/WindowConventions.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <vector>

namespace tandor {
namespace {

bool isTextBox(QObject* o) {
    return qobject_cast<QLineEdit*>(o) || qobject_cast<QTextEdit*>(o) || qobject_cast<QPlainTextEdit*>(o) ||
           qobject_cast<QAbstractSpinBox*>(o);
}

class EnterPressesButtons : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        // Alt + a letter is a mnemonic, never typing: one that no control
        // takes does nothing rather than type its letter into a text box.
        // (AltGr, which types characters, comes with Ctrl or as its own key.)
        const Qt::KeyboardModifiers mods = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
        if (mods == Qt::AltModifier && !key->text().isEmpty() && key->text().at(0).isPrint() && isTextBox(watched)) {
            return true;
        }
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

// The mnemonic of a caption ('&' before a letter; "&&" is a plain '&'), or a null QChar.
QChar mnemonicOf(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (caption[i + 1] != QLatin1Char('&')) {
                return caption[i + 1].toLower();
            }
            ++i;
        }
    }
    return {};
}

using Choice = std::pair<QChar, qsizetype>;  // a letter and where it stands in the caption

// The letters a caption may take as its mnemonic, best first: the first
// letters of its words, then its other letters and digits.
std::vector<Choice> choicesOf(const QString& caption) {
    std::vector<Choice> starts;
    std::vector<Choice> others;
    std::set<QChar> seen;
    bool wordStart = true;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption[i];
        if (c == QLatin1Char('&')) {
            ++i;  // "&&"
            wordStart = false;
            continue;
        }
        if (c.isLetterOrNumber() && c.unicode() < 128 && seen.insert(c.toLower()).second) {
            (wordStart ? starts : others).emplace_back(c.toLower(), i);
        }
        wordStart = !c.isLetterOrNumber();
    }
    starts.insert(starts.end(), others.begin(), others.end());
    return starts;
}

struct Captioned {
    QString caption;
    std::function<void(const QString&)> setCaption;
};

// Gives each caption without a mnemonic one that no other caption of the
// group has: as many as can be, the better letters first (a matching of
// captions to letters, grown one caption at a time).
void assignMnemonics(const std::vector<Captioned>& group) {
    std::set<QChar> fixed;
    std::vector<std::vector<Choice>> choices(group.size());
    for (std::size_t i = 0; i < group.size(); ++i) {
        const QChar m = mnemonicOf(group[i].caption);
        if (!m.isNull()) {
            fixed.insert(m);
        } else {
            choices[i] = choicesOf(group[i].caption);
        }
    }
    std::map<QChar, std::size_t> owner;
    std::map<std::size_t, Choice> chosen;
    std::function<bool(std::size_t, std::set<QChar>&)> place = [&](std::size_t i, std::set<QChar>& visited) {
        for (const Choice& choice : choices[i]) {
            if (fixed.count(choice.first) != 0 || !visited.insert(choice.first).second) {
                continue;
            }
            const auto held = owner.find(choice.first);
            if (held == owner.end() || place(held->second, visited)) {
                owner[choice.first] = i;
                chosen[i] = choice;
                return true;
            }
        }
        return false;
    };
    for (std::size_t i = 0; i < group.size(); ++i) {
        std::set<QChar> visited;
        place(i, visited);
    }
    for (const auto& [i, choice] : chosen) {
        QString caption = group[i].caption;
        caption.insert(choice.second, QLatin1Char('&'));
        group[i].setCaption(caption);
    }
}

// The items of a menu, and of its submenus, each menu a group of its own.
void giveItemMnemonics(QMenu* menu) {
    std::vector<Captioned> items;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || a->text().isEmpty()) {
            continue;
        }
        items.push_back({a->text(), [a](const QString& text) { a->setText(text); }});
        if (a->menu() != nullptr) {
            giveItemMnemonics(a->menu());
        }
    }
    assignMnemonics(items);
}

}  // namespace

void giveMnemonics(QWidget* window) {
    std::vector<Captioned> controls;
    if (auto* bar = window->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly)) {
        for (QAction* a : bar->actions()) {
            if (a->menu() != nullptr && !a->text().isEmpty()) {
                controls.push_back({a->text(), [a](const QString& text) { a->setText(text); }});
                giveItemMnemonics(a->menu());
            }
        }
    }
    // Push buttons choose first (Print takes P before Portrait does), then
    // option buttons and check boxes.
    QList<QAbstractButton*> buttons = window->findChildren<QAbstractButton*>();
    std::stable_partition(buttons.begin(), buttons.end(),
                          [](QAbstractButton* b) { return qobject_cast<QPushButton*>(b) != nullptr; });
    for (QAbstractButton* b : buttons) {
        if (b->window() != window || b->text().isEmpty() || b->objectName().startsWith(QLatin1String("qt_"))) {
            continue;
        }
        controls.push_back({b->text(), [b](const QString& text) { b->setText(text); }});
    }
    assignMnemonics(controls);
}

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
