#include "shell/widgets/WindowWiring.h"

#include "contacts/widgets/ContactWindows.h"
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
    window.setOpeners(openers);
    attachShellCommands(&window, window);
}

}  // namespace tandor
