#include "shell/widgets/WindowWiring.h"

#include "printing/widgets/MainWindow.h"
#include "shell/widgets/ShellCommands.h"

namespace tandor {

void wireWindows(MainWindow& window) {
    MainWindow::Openers openers;
    window.setOpeners(openers);
    attachShellCommands(&window, window);
}

}  // namespace tandor
