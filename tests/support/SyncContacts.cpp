#include "support/SyncContacts.h"

#include <gtest/gtest.h>

#include <QSet>

#include "store/ContactsFile.h"
#include "sync/CardMerge.h"

namespace tandor::test {

ContactRecord person(const QString& first, const QString& last, const QString& city, const QString& email) {
    ContactFields values;
    values[Field::FName] = first;
    values[Field::LName] = last;
    values[Field::City] = city;
    values[Field::Email] = email;
    values[Field::IncludeCompany] = QStringLiteral("1");
    values[Field::BirthdayReminder] = QStringLiteral("1");
    return ContactRecord::build(values);
}

std::vector<Field> syncedFields() {
    std::vector<Field> fields;
    for (int f = 0; f < kFieldCount; ++f) {
        if (sync::isSyncedField(Field(f))) {
            fields.push_back(Field(f));
        }
    }
    return fields;
}

QString contactLine(const ContactFields& values, const std::vector<Field>& fields) {
    QStringList parts;
    for (const Field f : fields) {
        parts << values[f].trimmed();
    }
    return parts.join(u'|');
}

QStringList fileLines(const QString& path, const std::vector<Field>& fields) {
    ContactsFile file;
    file.openForReading(path);
    QStringList lines;
    for (int n = 1; n <= file.recordCount(); ++n) {
        const QString line = contactLine(file.read(n).fields(), fields);
        EXPECT_FALSE(lines.contains(line)) << "a contact twice in the file: " << line.toStdString();
        lines << line;
    }
    lines.sort();
    return lines;
}

QStringList cardLines(const std::vector<QByteArray>& cards, const std::vector<Field>& fields) {
    QStringList lines;
    QSet<QString> uids;
    for (const QByteArray& card : cards) {
        const QString uid = sync::cardUid(card);
        EXPECT_FALSE(uid.isEmpty()) << card.toStdString();
        EXPECT_FALSE(uids.contains(uid)) << "two cards with UID " << uid.toStdString();
        uids.insert(uid);
        lines << contactLine(sync::cardRecordValues(card), fields);
    }
    lines.sort();
    return lines;
}

}  // namespace tandor::test
