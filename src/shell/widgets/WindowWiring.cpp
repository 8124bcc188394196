#include "shell/widgets/WindowWiring.h"

#include "contacts/widgets/ContactWindows.h"
#include "printing/widgets/MainWindow.h"

namespace tandor {

void wireWindows(MainWindow& window) {
    MainWindow::Openers openers;
    // Contact entry and browsing.
    openers.addContact = openAddContact;
    openers.browser = openContactBrowser;
    openers.browserOnRecord = openContactBrowserOnRecord;
    openers.birthdayCheck = checkBirthdays;
    openers.birthdayReminders = switchBirthdayReminders;
    window.setOpeners(openers);
}

}  // namespace tandor
