#include "windowkit/widgets/ShellCommands.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

#include "platform/Platform.h"
#include "platform/widgets/WindowConventions.h"
#include "windowkit/HelpLinks.h"
#include "windowkit/widgets/AboutBox.h"
#include "windowkit/widgets/ActiveControl.h"
#include "windowkit/widgets/EditCommands.h"
#include "windowkit/widgets/WindowHost.h"
#include "store/ContactsDocument.h"

namespace tandor {
namespace {

bool endsWithAny(const QString& name, std::initializer_list<const char*> suffixes) {
    for (const char* s : suffixes) {
        if (name.endsWith(QLatin1String(s))) {
            return true;
        }
    }
    return false;
}

// A document or look-up page that could not be opened is told to the user.
void tellNotOpened(Platform& platform, const std::optional<QString>& notOpened) {
    if (notOpened) {
        platform.message(*notOpened, kNotOpenedTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

void attachEditMenu(QWidget* window, Platform& platform, QAction* cut, QAction* copy, QAction* paste) {
    auto* active = new ActiveControl(window, {cut, copy, paste});
    QObject::connect(cut, &QAction::triggered, window, [active, &platform] { edit::cut(active->control(), platform); });
    QObject::connect(copy, &QAction::triggered, window,
                     [active, &platform] { edit::copy(active->control(), platform); });
    QObject::connect(paste, &QAction::triggered, window,
                     [active, &platform] { edit::paste(active->control(), platform); });
    // Opening the menu: Cut and Copy only when the active control has selected text.
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        if (menu->actions().contains(cut)) {
            QObject::connect(menu, &QMenu::aboutToShow, window, [active, cut, copy] {
                const bool selection = active->hasSelectedText();
                cut->setEnabled(selection);
                copy->setEnabled(selection);
            });
        }
    }
    cut->setEnabled(true);
    copy->setEnabled(true);
    paste->setEnabled(true);
}

}  // namespace

void attachShellCommands(QWidget* window, WindowHost& host) {
    Platform& platform = host.platform();
    const QString folder = host.document().documentsFolder();
    const QString programFolder = host.document().programFolder();
    QAction* cut = nullptr;
    QAction* copy = nullptr;
    QAction* paste = nullptr;
    for (QAction* a : window->findChildren<QAction*>()) {
        const QString name = a->objectName();
        if (name == QLatin1String("mnuStates")) {
            QObject::connect(a, &QAction::triggered, window, [&platform, folder] { tellNotOpened(platform, openStateSheet(platform, folder)); });
        } else if (endsWithAny(name, {"Manual", "HelpUM"})) {
            QObject::connect(a, &QAction::triggered, window, [&platform, folder] { tellNotOpened(platform, openManual(platform, folder)); });
            a->setEnabled(true);
        } else if (endsWithAny(name, {"About"})) {
            QObject::connect(a, &QAction::triggered, window,
                             [window, &platform, programFolder, folder] {
                                 showAboutBox(window, platform, programFolder, folder);
                             });
            a->setEnabled(true);
        } else if (name.startsWith(QLatin1String("mnuVA"))) {
            continue;  // the contact list's Edit menu acts on its list too and is its own
        } else if (name.endsWith(QLatin1String("EditCut"))) {
            cut = a;
        } else if (name.endsWith(QLatin1String("EditCopy"))) {
            copy = a;
        } else if (name.endsWith(QLatin1String("EditPaste"))) {
            paste = a;
        }
    }
    if (cut && copy && paste) {
        attachEditMenu(window, platform, cut, copy, paste);
    }
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
        const QString name = b->objectName();
        if (name == QLatin1String("cmdPeopleFind")) {
            QObject::connect(b, &QPushButton::clicked, window, [&platform] { tellNotOpened(platform, openPeopleFinder(platform)); });
        } else if (name == QLatin1String("cmdZipFinder")) {
            QObject::connect(b, &QPushButton::clicked, window, [&platform] { tellNotOpened(platform, openZipFinder(platform)); });
        } else if (name == QLatin1String("cmdStateAbb")) {
            QObject::connect(b, &QPushButton::clicked, window, [&platform, folder, window] {
                tellNotOpened(platform, openStateSheet(platform, folder));
                if (auto* state = window->findChild<QLineEdit*>(QStringLiteral("txtACState"))) {
                    state->setFocus();
                }
            });
        } else {
            continue;
        }
        b->setEnabled(true);
    }
    // Every menu, item and button of the window answers to a key.
    installKeyboardConventions();
    giveMnemonics(window);
}

}  // namespace tandor
