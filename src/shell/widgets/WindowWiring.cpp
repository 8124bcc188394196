#include "shell/widgets/WindowWiring.h"

#include "contacts/widgets/ContactWindows.h"
#include "exchange/widgets/ExportWindow.h"
#include "exchange/widgets/ImportWindow.h"
#include "list/widgets/ContactListWindow.h"
#include "printing/widgets/MainWindow.h"
#include "shell/widgets/ShellCommands.h"

namespace tandor {

void wireWindows(MainWindow& window) {
    MainWindow::Openers openers;
    // Contact entry and browsing.
    openers.addContact = openAddContact;
    openers.browser = openContactBrowser;
    openers.browserOnRecord = openContactBrowserOnRecord;
    openers.birthdayCheck = checkBirthdays;
    openers.birthdayReminders = switchBirthdayReminders;
    // Contact list.
    openers.contactList = [](MainWindow& main) { openContactList(main); };
    // Import and export.
    openers.importWindow = [](MainWindow& main) { main.showSecondary(new ImportWindow(main)); };
    openers.exportWindow = [](MainWindow& main) { main.showSecondary(new ExportWindow(main)); };
    window.setOpeners(openers);
    attachShellCommands(&window, window);
}

}  // namespace tandor
