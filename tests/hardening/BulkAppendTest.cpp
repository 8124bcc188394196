// Appending many records in one pass (as an import does) leaves the file byte
// for byte as appending them one at a time does: on a sound file, on one that
// ends in a partial record, and on a disk that fills up part-way, where both
// keep the same whole records and report the same error.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "DiskLimit.h"
#include "platform/AppError.h"
#include "store/ContactsFile.h"
#include "support/RecordBytes.h"
#include "support/TestFiles.h"

namespace tandor {
namespace {

struct Outcome {
    QByteArray bytes;
    int stored = 0;
    int error = 0;
};

// Opens a file of `start`, limits the disk to `room` bytes past it (none when
// negative) and appends through `append` until it fails.
template <typename Append>
Outcome appendTo(const QString& name, const QByteArray& start, qint64 room, Append append) {
    test::TempFolder folder;
    const QString file = folder.write(name, start);
    Outcome outcome;
    {
        ContactsFile contacts;
        contacts.open(file);
        std::optional<test::DiskLimit> full;
        if (room >= 0) {
            full.emplace(start.size() + room);
            EXPECT_TRUE(full->effective());
        }
        try {
            append(contacts, outcome.stored);
        } catch (const AppError& e) {
            outcome.error = e.number();
        }
    }
    outcome.bytes = test::readAll(file);
    return outcome;
}

TEST(BulkAppend, LeavesTheFileAsSingleAppendsDo) {
    constexpr int kBulk = ContactsFile::Appender::kBulkRecords;
    const struct {
        const char* name;
        int tail;  // bytes of a partial third record at the end of the file
        int records;
        qint64 room;  // bytes the disk takes past the start; -1: no limit
        int error;
    } cases[] = {
        {"a few records", 0, 3, -1, 0},
        {"several full writes and a part", 0, 3 * kBulk + 5, -1, 0},
        {"a short partial record written over", 100, kBulk + 2, -1, 0},
        {"a long partial record made whole", 400, kBulk + 2, -1, 0},
        {"disk full inside the first write", 0, 300, 40 * kRecordSize + 100, errors::kDiskFull},
        {"disk full inside a later write", 0, 300, (kBulk + 70) * kRecordSize + 7,
         errors::kDiskFull},
        {"disk full at the end of a write", 0, 300, kBulk * kRecordSize, errors::kDiskFull},
        {"disk full before the first record", 0, 5, 10, errors::kDiskFull},
    };
    const QList<QByteArray> onFile = {test::personBytes("Al", "One"),
                                      test::personBytes("Bo", "Two")};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray start =
            test::fileBytes(onFile) + test::personBytes("Cy", "Three").left(c.tail);
        std::vector<ContactRecord> records;
        for (int i = 0; i < c.records; ++i) {
            records.push_back(ContactRecord::fromBytes(
                test::personBytes("P" + QByteArray::number(i), "Bulk")));
        }
        const Outcome singly =
            appendTo("Single.DAT", start, c.room, [&](ContactsFile& file, int& stored) {
                for (const ContactRecord& record : records) {
                    file.append(record);
                    ++stored;
                }
            });
        const Outcome bulk =
            appendTo("Bulk.DAT", start, c.room, [&](ContactsFile& file, int& stored) {
                ContactsFile::Appender appender(file);
                try {
                    for (const ContactRecord& record : records) {
                        appender.append(record);
                    }
                    appender.finish();
                } catch (const AppError&) {
                    stored = appender.stored();
                    throw;
                }
                stored = appender.stored();
            });
        EXPECT_EQ(singly.error, c.error);
        EXPECT_EQ(bulk.error, c.error);
        EXPECT_EQ(bulk.stored, singly.stored);
        EXPECT_TRUE(bulk.bytes == singly.bytes)
            << "lengths " << bulk.bytes.size() << " and " << singly.bytes.size();
        if (c.tail == 0) {
            EXPECT_EQ(bulk.bytes.size(), (onFile.size() + bulk.stored) * kRecordSize);
        }
    }
}

}  // namespace
}  // namespace tandor
