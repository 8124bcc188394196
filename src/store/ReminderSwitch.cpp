#include "store/ReminderSwitch.h"

#include "platform/FaultPoint.h"

namespace tandor {

void setRemindersInFile(ContactsFile& file, bool on) {
    const QString value = on ? QStringLiteral("1") : QStringLiteral("0");
    const int count = file.recordCount();
    for (int n = 2; n <= count; ++n) {
        fault::hit("reminders.record");
        file.writeField(n, Field::BirthdayReminder, value);
    }
    if (count >= 1) {
        fault::hit("reminders.record");
        file.writeField(1, Field::BirthdayReminder, value);
    }
}

}  // namespace tandor
