#include "shell/widgets/ShellCommands.h"

#include <QAction>
#include <QPushButton>
#include <QWidget>

#include "printing/widgets/MainWindow.h"

namespace tandor {

void attachShellCommands(QWidget* window, MainWindow& main) {
    // Help and look-up commands go through the main window's hooks.
    const MainWindow::Openers& hooks = main.openers();
    for (QAction* a : window->findChildren<QAction*>()) {
        const QString name = a->objectName();
        const bool isHelp = name.endsWith(QLatin1String("Manual")) || name.endsWith(QLatin1String("HelpUM"));
        const bool isAbout = name.endsWith(QLatin1String("About"));
        if (isHelp) {
            a->setEnabled(static_cast<bool>(hooks.help));
        } else if (isAbout) {
            a->setEnabled(static_cast<bool>(hooks.about));
        }
    }
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
        const QString name = b->objectName();
        if (name == QLatin1String("cmdPeopleFind") || name == QLatin1String("cmdZipFinder") ||
            name == QLatin1String("cmdStateAbb")) {
            b->setEnabled(static_cast<bool>(hooks.help));
        }
    }
}

}  // namespace tandor
