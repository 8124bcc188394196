#pragma once

#include "store/ContactsFile.h"

namespace tandor {

// Switches birthday reminders on or off for a whole contacts file: the
// BirthdayReminder byte of every record becomes "1" (on) or "0" (off); nothing
// else changes, the file length included. Record 1, which holds the file's
// setting, is rewritten last, so a failure part-way leaves the file's setting
// as it was and repeating the command finishes the work.
void setRemindersInFile(ContactsFile& file, bool on);

}  // namespace tandor
