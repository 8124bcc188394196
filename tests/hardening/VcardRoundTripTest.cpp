// A file of generated contacts exported as vCard and imported into an empty
// file gives the same records byte for byte.
#include <gtest/gtest.h>

#include "ContactGenerator.h"
#include "exchange/ContactExport.h"
#include "exchange/ImportRun.h"
#include "store/ContactsFile.h"
#include "support/TestFiles.h"

namespace tandor {
namespace {

TEST(VcardRoundTrip, AThousandContactsComeBackByteForByte) {
    test::TempFolder folder;
    test::ContactGenerator generator(20261207);
    QByteArray records;
    for (int i = 0; i < 1000; ++i) {
        ContactFields fields = generator.contact().stored;
        fields[Field::BirthdayReminder] = QStringLiteral("1");
        records += ContactRecord::build(fields).bytes();
    }
    const QString path = folder.write(QStringLiteral("Family.DAT"), records);
    ContactsFile file;
    file.open(path);
    const ExportOutcome exported = exportContacts(file, ExportKind::Vcard, path, folder.path());
    ASSERT_EQ(exported.linesWritten, 1000);

    ContactsFile copy;
    copy.open(folder.file(QStringLiteral("Copy.DAT")));
    const ImportOutcome imported = importContactsFile(exported.path, copy);
    EXPECT_EQ(imported.layout, "vCard");
    EXPECT_EQ(imported.written, 1000);
    copy.close();
    const QByteArray back = test::readAll(folder.file(QStringLiteral("Copy.DAT")));
    ASSERT_EQ(back.size(), records.size());
    for (int r = 0; r < 1000; ++r) {
        ASSERT_EQ(back.mid(r * kRecordSize, kRecordSize), records.mid(r * kRecordSize, kRecordSize))
            << "record " << r + 1;
    }

    // Into the file itself, every contact is a duplicate.
    const ImportOutcome again = importContactsFile(exported.path, file);
    EXPECT_EQ(again.written, 0);
    EXPECT_EQ(again.duplicates, 1000);
}

}  // namespace
}  // namespace tandor
