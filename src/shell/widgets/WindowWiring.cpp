#include "shell/widgets/WindowWiring.h"

#include "exchange/widgets/ExportWindow.h"
#include "exchange/widgets/ImportWindow.h"
#include "printing/widgets/MainWindow.h"
#include "shell/widgets/ShellCommands.h"

namespace tandor {

void wireWindows(MainWindow& window) {
    MainWindow::Openers openers;
    openers.importWindow = [](MainWindow& main) { main.showSecondary(new ImportWindow(main)); };
    openers.exportWindow = [](MainWindow& main) { main.showSecondary(new ExportWindow(main)); };
    window.setOpeners(openers);
    attachShellCommands(&window, window);
}

}  // namespace tandor
