#include "shell/widgets/WindowWiring.h"

#include "printing/widgets/MainWindow.h"

namespace tandor {

void wireWindows(MainWindow& window) {
    MainWindow::Openers openers;
    window.setOpeners(openers);
}

}  // namespace tandor
