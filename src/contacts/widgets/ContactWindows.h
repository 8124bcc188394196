#pragma once

#include <QString>
#include <array>

namespace tandor {

class ContactsDocument;
class Platform;
class WindowHost;

// The commands that open the contact entry windows and run the birthday
// reminders. Failures of the openings throw; the caller's runner shows them.

// Add Contact (button and menu item): the main window's lines parsed into a
// fresh new-contact form, which is shown; a line 1 without a space is refused
// and no form opens.
void openAddContact(WindowHost& host, const std::array<QString, 5>& lines);
// Edit, Find and Delete Contact, View One Contact and the Find Contact button:
// the browser with its find list filled and the focus in it; on contact n
// when n > 0 (the contact list's double-click).
void openContactBrowser(WindowHost& host, int recordNumber = 0);
// File Open of a file with records: one message per contact whose birthday is near.
void checkBirthdays(const ContactsDocument& document, Platform& platform);
// Enable / Disable Birthday Reminders. A failure shows the standard error
// message: Retry runs the command again, Cancel ends it with the file current.
void switchBirthdayReminders(WindowHost& host, bool on);

}  // namespace tandor
