#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "store/ContactRecord.h"

namespace tandor {

inline const QString kBirthdayReminderTitle = QStringLiteral("Birthday reminder");

// Reads record n (1..count) of the open contacts file.
using RecordReader = std::function<ContactRecord(int n)>;

// The announcement for one contact, or nothing. A contact is announced when
// its own BirthdayReminder is "1" and the next occurrence of its birthday
// (this year's, or next year's once this year's has passed) is 1 to 15 days
// after today: a birthday today is not announced, and on 28 December a
// birthday on 3 January is. A 29 February birthday falls on 28 February in a
// year without one. A birth date that is blank, or whose month or day is not a
// calendar month or day, is skipped.
//
// Text: "Ann Lee has a birthday coming up on 03/10" (first and last name
// trimmed, month and day as stored).
std::optional<QString> birthdayAnnouncement(const ContactRecord& record, const QDate& today);

// The check at File Open: hands each announcement of records 1..count, in
// record order, to `announce` before the next record is read (the window shows
// one message box per announced contact, titled kBirthdayReminderTitle).
void forEachBirthdayAnnouncement(int count, const RecordReader& readRecord, const QDate& today,
                                 const std::function<void(const QString&)>& announce);

// The announcements of records 1..count, in record order.
QStringList birthdayAnnouncements(int count, const RecordReader& readRecord, const QDate& today);

}  // namespace tandor
