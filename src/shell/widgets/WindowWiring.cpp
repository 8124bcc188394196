#include "shell/widgets/WindowWiring.h"

#include "list/widgets/ContactListWindow.h"
#include "printing/widgets/MainWindow.h"
#include "shell/widgets/ShellCommands.h"

namespace tandor {

void wireWindows(MainWindow& window) {
    MainWindow::Openers openers;
    openers.contactList = [](MainWindow& main) { openContactList(main); };
    window.setOpeners(openers);
    attachShellCommands(&window, window);
}

}  // namespace tandor
