// Deleting a contact: mark, confirm, compact through a copy beside the file.
// Whatever step fails, every contact stays on disk and no record stays marked.
#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <stdexcept>

#include "StoreTestHelpers.h"
#include "platform/AppError.h"
#include "store/Compaction.h"
#include "store/ContactsFile.h"
#include "store/ForceToDisk.h"
#include "support/ReadOnly.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

namespace tandor {
namespace {

using test::personBytes;

QList<QByteArray> people(int count) {
    QList<QByteArray> list;
    for (int i = 1; i <= count; ++i) {
        list.append(personBytes("P" + QByteArray::number(i), "Last" + QByteArray::number(i)));
    }
    return list;
}

QList<QByteArray> without(QList<QByteArray> list, int n) {
    list.removeAt(n - 1);
    return list;
}

bool anyMarked(const QByteArray& bytes) {
    for (qsizetype at = 0; at < bytes.size(); at += 513) {
        if (bytes.mid(at, 9) == "*DELETED*") {
            return true;
        }
    }
    return false;
}

class DeletionTest : public test::StoreTest {
protected:
    test::TempFolder folder;
    QString path() const { return folder.file("Family.DAT"); }
    QString write(const QList<QByteArray>& records) {
        return folder.write("Family.DAT", test::fileBytes(records));
    }
};

TEST_F(DeletionTest, DeletingRecordTwoOfFiveKeepsTheOthersInOrder) {
    const QList<QByteArray> records = people(5);
    write(records);
    ContactsFile file;
    file.open(path());

    int confirmations = 0;
    file.deleteRecord(2, [&] {
        ++confirmations;
        // At the confirmation the marked record is on disk and the file is open again.
        EXPECT_TRUE(file.isOpen());
        const QByteArray onDisk = test::readAll(path());
        EXPECT_EQ(onDisk.size(), 5 * 513);
        EXPECT_EQ(onDisk.mid(513, 11), QByteArray("*DELETED*  "));
        EXPECT_EQ(onDisk.mid(513 + 11, 502), records[1].mid(11));
    });
    EXPECT_EQ(confirmations, 1);
    EXPECT_EQ(test::readAll(path()), test::fileBytes(without(records, 2)));
    EXPECT_TRUE(file.isOpen());
    EXPECT_EQ(file.recordCount(), 4);
    EXPECT_EQ(file.read(2).field(Field::FName), QStringLiteral("P3"));
    EXPECT_EQ(test::filesIn(folder.path()), QStringList{"Family.DAT"});
}

TEST_F(DeletionTest, FirstLastAndOnlyRecord) {
    const QList<QByteArray> records = people(3);
    write(records);
    ContactsFile file;
    file.open(path());
    file.deleteRecord(3);
    EXPECT_EQ(test::readAll(path()), test::fileBytes(without(records, 3)));
    file.deleteRecord(1);
    EXPECT_EQ(test::readAll(path()), records[1]);
    file.deleteRecord(1);
    EXPECT_EQ(QFileInfo(path()).size(), 0);
    EXPECT_EQ(file.recordCount(), 0);
    EXPECT_EQ(test::filesIn(folder.path()), QStringList{"Family.DAT"});
}

TEST_F(DeletionTest, NumberOutsideTheFileIsRefused) {
    write(people(3));
    const QByteArray before = test::readAll(path());
    ContactsFile file;
    file.open(path());
    for (int n : {0, -1, 4}) {
        bool called = false;
        try {
            file.deleteRecord(n, [&] { called = true; });
            ADD_FAILURE() << n << " was accepted";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), 63);
        }
        EXPECT_FALSE(called);
    }
    EXPECT_EQ(test::readAll(path()), before);
}

TEST_F(DeletionTest, KeepsThePermissionsOfTheFile) {
    write(people(3));
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QFile::setPermissions(path(), permissions);
    const auto before = QFile::permissions(path());
    ASSERT_FALSE(before & QFile::ReadOther);
    ContactsFile file;
    file.open(path());
    file.deleteRecord(2);
    EXPECT_EQ(QFile::permissions(path()), before);
}

// A failure injected at each step of a deletion, one step at a time. The file
// spans several compaction blocks so that every repeated step is failed too.
TEST_F(DeletionTest, FailureAtEachStepLosesNothing) {
    const QList<QByteArray> records = people(2100);
    const QByteArray original = test::fileBytes(records);
    const QByteArray compacted = test::fileBytes(without(records, 300));

    write(records);
    QStringList steps;
    {
        ContactsFile file;
        file.open(path());
        fault::startRecording();
        file.deleteRecord(300);
        steps = fault::recordedHits();
        fault::disarmAll();
    }
    ASSERT_EQ(test::readAll(path()), compacted);
    for (const char* expected :
         {"delete.read", "contacts.write", "delete.close", "delete.reopen", "compact.temp.create",
          "compact.read", "compact.write", "compact.temp.sync", "compact.replace",
          "delete.reopen.compacted"}) {
        EXPECT_TRUE(steps.contains(expected)) << expected;
    }
    EXPECT_EQ(steps.count("compact.read"), 3);
    EXPECT_EQ(steps.count("compact.write"), 4);  // the first block in two runs
    const int commit = static_cast<int>(steps.indexOf("compact.replace"));

    QHash<QString, int> seen;
    for (int i = 0; i < steps.size(); ++i) {
        const QString step = steps[i];
        const int occurrence = seen[step]++;
        SCOPED_TRACE(QStringLiteral("%1 #%2").arg(step).arg(occurrence + 1).toStdString());
        write(records);
        ContactsFile file;
        file.open(path());
        fault::arm(step, occurrence);
        bool confirmed = false;
        EXPECT_THROW(file.deleteRecord(300, [&] { confirmed = true; }), AppError);
        fault::disarmAll();

        const QByteArray after = test::readAll(path());
        EXPECT_EQ(after.size() % 513, 0);
        EXPECT_FALSE(anyMarked(after));
        EXPECT_EQ(after, i <= commit ? original : compacted);
        EXPECT_EQ(test::filesIn(folder.path()), QStringList{"Family.DAT"});
        if (i <= commit) {
            // The file is open again and usable.
            ASSERT_TRUE(file.isOpen());
            EXPECT_EQ(file.recordCount(), 2100);
            EXPECT_EQ(file.read(300).bytes(), records[299]);
        }
        EXPECT_EQ(confirmed, steps.indexOf("delete.close.compaction") <= i);
    }
}

TEST_F(DeletionTest, ConfirmationThatThrowsUndoesTheMark) {
    const QList<QByteArray> records = people(5);
    write(records);
    ContactsFile file;
    file.open(path());
    EXPECT_THROW(file.deleteRecord(2, [] { throw std::runtime_error("window closed"); }),
                 std::runtime_error);
    EXPECT_EQ(test::readAll(path()), test::fileBytes(records));
    EXPECT_EQ(file.read(2).bytes(), records[1]);
}

TEST_F(DeletionTest, ReadOnlyFolderLeavesEveryContact) {
    const QList<QByteArray> records = people(5);
    write(records);
    ContactsFile file;
    file.open(path());
    test::ReadOnly readOnly(folder.path());
    if (!readOnly.effective()) {
        GTEST_SKIP() << "this file system does not refuse writing here";
    }
    try {
        file.deleteRecord(2);
        ADD_FAILURE() << "the deletion succeeded in a read-only folder";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), 70);
    }
    EXPECT_EQ(test::readAll(path()), test::fileBytes(records));
    EXPECT_EQ(test::filesIn(folder.path()), QStringList{"Family.DAT"});
    EXPECT_TRUE(file.isOpen());
}

TEST_F(DeletionTest, ReadOnlyFileIsRefusedUntouched) {
    const QList<QByteArray> records = people(5);
    write(records);
    test::ReadOnly readOnly(path());
    if (!readOnly.effective()) {
        GTEST_SKIP() << "this file system does not refuse writing here";
    }
    ContactsFile file;
    file.open(path());
    bool called = false;
    try {
        file.deleteRecord(2, [&] { called = true; });
        ADD_FAILURE() << "the deletion succeeded on a read-only file";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), 70);
    }
    EXPECT_FALSE(called);
    EXPECT_EQ(test::readAll(path()), test::fileBytes(records));
    EXPECT_EQ(test::filesIn(folder.path()), QStringList{"Family.DAT"});
}

// A deletion interrupted between its mark and its rename (the process killed)
// leaves a marked record and perhaps a half-made copy; the next opening
// finishes it.
TEST_F(DeletionTest, OpeningFinishesAnInterruptedDeletion) {
    QList<QByteArray> records = people(5);
    QList<QByteArray> marked = records;
    marked[2].replace(0, 11, "*DELETED*  ");
    write(marked);
    folder.write("Family.DAT.Tempf", records[0]);

    ContactsFile file;
    file.open(path());
    EXPECT_EQ(file.recordCount(), 4);
    EXPECT_EQ(test::readAll(path()), test::fileBytes(without(records, 3)));
    EXPECT_EQ(test::filesIn(folder.path()), QStringList{"Family.DAT"});
    EXPECT_TRUE(file.isWritable());
}

TEST_F(DeletionTest, OpeningRemovesALeftoverCopy) {
    const QList<QByteArray> records = people(2);
    write(records);
    folder.write("Family.DAT.Tempf", records[0]);
    ContactsFile file;
    file.open(path());
    EXPECT_EQ(test::readAll(path()), test::fileBytes(records));
    EXPECT_EQ(test::filesIn(folder.path()), QStringList{"Family.DAT"});
}

TEST_F(DeletionTest, FailedFinishingStillOpensAndTheNextOpeningFinishes) {
    QList<QByteArray> records = people(5);
    QList<QByteArray> marked = records;
    marked[1].replace(0, 11, "*DELETED*  ");
    write(marked);
    QStringList steps;
    {
        ContactsFile file;
        fault::startRecording();
        file.open(path());
        steps = fault::recordedHits();
        fault::disarmAll();
    }
    ASSERT_TRUE(steps.contains("compact.replace"));
    QHash<QString, int> seen;
    for (const QString& step : steps) {
        const int occurrence = seen[step]++;
        SCOPED_TRACE(QStringLiteral("%1 #%2").arg(step).arg(occurrence + 1).toStdString());
        write(marked);
        ContactsFile file;
        fault::arm(step, occurrence);
        if (step == QLatin1String("contacts.open")) {
            EXPECT_THROW(file.open(path()), AppError);
        } else {
            // The file opens as it is, marked record included.
            EXPECT_NO_THROW(file.open(path()));
            EXPECT_TRUE(file.isOpen());
        }
        fault::disarmAll();
        const QByteArray after = test::readAll(path());
        EXPECT_TRUE(after == test::fileBytes(marked) ||
                    after == test::fileBytes(without(records, 2)));
        EXPECT_EQ(test::filesIn(folder.path()), QStringList{"Family.DAT"});
        file.open(path());
        EXPECT_EQ(test::readAll(path()), test::fileBytes(without(records, 2)));
    }
}

// When even the undoing of the mark fails, the marked record is the one the
// user asked to delete: the next opening finishes the deletion, and no other
// contact is lost.
TEST_F(DeletionTest, FailedUndoIsFinishedByTheNextOpening) {
    const QList<QByteArray> records = people(5);
    write(records);
    {
        ContactsFile file;
        file.open(path());
        fault::arm("compact.replace");
        fault::arm("delete.undo.write");
        EXPECT_THROW(file.deleteRecord(4), AppError);
        fault::disarmAll();
    }
    const QByteArray stranded = test::readAll(path());
    EXPECT_EQ(stranded.size(), 5 * 513);
    EXPECT_EQ(stranded.mid(3 * 513, 9), QByteArray("*DELETED*"));
    EXPECT_EQ(test::filesIn(folder.path()), QStringList{"Family.DAT"});

    ContactsFile file;
    file.open(path());
    EXPECT_EQ(test::readAll(path()), test::fileBytes(without(records, 4)));
}

TEST_F(DeletionTest, CompactionLeavesOutEveryMarkedRecordAcrossBlocks) {
    QList<QByteArray> records = people(2050);
    QList<QByteArray> expected;
    for (int n = 1; n <= 2050; ++n) {
        if (n == 1 || n == 1024 || n == 1025 || n == 2049) {
            records[n - 1].replace(0, 9, "*DELETED*");
        } else {
            expected.append(records[n - 1]);
        }
    }
    // The last record only partly there: kept, padded with blanks.
    QByteArray bytes = test::fileBytes(records);
    bytes.chop(200);
    expected.last() = expected.last().left(313) + QByteArray(200, ' ');
    folder.write("Family.DAT", bytes);
    EXPECT_EQ(compactContactsFile(path(), 2050), 4);
    EXPECT_EQ(test::readAll(path()), test::fileBytes(expected));
    EXPECT_EQ(test::filesIn(folder.path()), QStringList{"Family.DAT"});
}

TEST_F(DeletionTest, ThroughALinkTheLinkedFileIsCompacted) {
    const QList<QByteArray> records = people(3);
    test::TempFolder elsewhere;
    const QString target = elsewhere.write("Real.DAT", test::fileBytes(records));
    if (!QFile::link(target, path())) {
        GTEST_SKIP() << "no symbolic links here";
    }
    ContactsFile file;
    file.open(path());
    file.deleteRecord(1);
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(test::readAll(target), test::fileBytes(without(records, 1)));
    EXPECT_EQ(test::filesIn(elsewhere.path()), QStringList{"Real.DAT"});
}

TEST_F(DeletionTest, CompactionCopyLiesBesideTheFile) {
    EXPECT_EQ(compactionTempPath(folder.file("Family.DAT")), folder.file("Family.DAT.Tempf"));
}

}  // namespace
}  // namespace tandor

namespace tandor {
namespace {

// The file turns read-only between the confirmation and the compaction: the
// deletion fails, but the file is open afterwards and every contact can still
// be read.
TEST_F(DeletionTest, AFileThatBecameReadOnlyStaysOpenForReading) {
    const QList<QByteArray> records = people(5);
    write(records);
    ContactsFile file;
    file.open(path());
    std::optional<test::ReadOnly> readOnly;
    bool failed = false;
    try {
        file.deleteRecord(2, [&] { readOnly.emplace(path()); });
    } catch (const AppError&) {
        failed = true;
    }
    ASSERT_TRUE(readOnly.has_value());
    if (!readOnly->effective()) {
        GTEST_SKIP() << "this file system does not refuse writing here";
    }
    // The compaction cannot replace a read-only file, nor can the mark be
    // undone: the deletion fails, and the other contacts are there to read,
    // the marked one out of sight (never a contact named "*DELETED*").
    EXPECT_TRUE(failed);
    ASSERT_TRUE(file.isOpen());
    ASSERT_EQ(file.recordCount(), 4);
    const QList<QByteArray> kept = without(records, 2);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(file.read(n).bytes(), kept[n - 1]) << n;
    }
    EXPECT_FALSE(file.isWritable());
    EXPECT_EQ(test::filesIn(folder.path()), QStringList{"Family.DAT"});
}

// The folder is forced to disk once the compacted copy has taken the file's name.
TEST_F(DeletionTest, TheFolderIsSyncedAfterTheRename) {
    const QList<QByteArray> records = people(3);
    write(records);
    QStringList synced;
    QByteArray atSync;
    disk::setFolderForceObserver([&](const QString& folder) {
        synced.append(QFileInfo(folder).canonicalFilePath());
        atSync = test::readAll(path());
    });
    ContactsFile file;
    file.open(path());
    file.deleteRecord(2);
    disk::setFolderForceObserver({});
    EXPECT_EQ(synced, QStringList{QFileInfo(folder.path()).canonicalFilePath()});
    EXPECT_EQ(atSync, test::fileBytes(without(records, 2)));
}

// Opening for reading leaves a file with marked records as it is and shows
// the records that the finished deletion will keep, numbered as it will.
TEST_F(DeletionTest, OpeningForReadingLeavesMarkedRecordsOnDiskButOutOfSight) {
    QList<QByteArray> marked = people(5);
    marked[0].replace(0, 11, "*DELETED*  ");
    marked[3].replace(0, 11, "*DELETED*  ");
    write(marked);
    ContactsFile file;
    file.openForReading(path());
    ASSERT_EQ(file.recordCount(), 3);
    EXPECT_EQ(file.read(1).field(Field::FName), "P2");
    EXPECT_EQ(file.read(2).field(Field::FName), "P3");
    EXPECT_EQ(file.read(3).field(Field::FName), "P5");
    EXPECT_EQ(file.read(4), ContactRecord());
    EXPECT_FALSE(file.isWritable());
    EXPECT_THROW(file.append(ContactRecord()), AppError);
    file.close();
    EXPECT_EQ(test::readAll(path()), test::fileBytes(marked));
    EXPECT_EQ(test::filesIn(folder.path()), QStringList{"Family.DAT"});

    write(people(2));
    file.openForReading(path());
    EXPECT_EQ(file.recordCount(), 2);
    EXPECT_EQ(file.read(2).field(Field::FName), "P2");
}

}  // namespace
}  // namespace tandor
