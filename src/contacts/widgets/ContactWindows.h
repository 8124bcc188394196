#pragma once

namespace tandor {

class MainWindow;

// The main window's commands that open the contact entry windows and run the
// birthday reminders (installed as its hooks by wireWindows).

// Add Contact (button and menu item): the main window's lines parsed into a
// fresh new-contact form, which is shown; a line 1 without a space is refused
// and no form opens.
void openAddContact(MainWindow& main);
// Edit, Find and Delete Contact, View One Contact and the Find Contact button:
// the browser with its find list filled and the focus in it.
void openContactBrowser(MainWindow& main, bool focusFind);
// The contact list's double-click: the browser on record n, filled and enabled.
void openContactBrowserOnRecord(MainWindow& main, int recordNumber);
// File Open of a file with records: one message per contact whose birthday is near.
void checkBirthdays(MainWindow& main);
// Enable / Disable Birthday Reminders. A failure shows the standard error
// message: Retry runs the command again, Cancel ends it with the file current.
void switchBirthdayReminders(MainWindow& main, bool on);

}  // namespace tandor
