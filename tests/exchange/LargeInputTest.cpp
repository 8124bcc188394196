// A 100 MB input: the run reads it as a stream, and memory does not grow with it.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QFile>
#include <QFileInfo>

#include "ExchangeTestSupport.h"

namespace tandor {
namespace {

constexpr qint64 kInputSize = 100LL * 1024 * 1024;
// The most memory a run may add while it reads the file. AddressSanitizer
// holds freed blocks back for a while, so there the bound is not measured.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kGrowthBound = -1;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr qint64 kGrowthBound = -1;
#else
constexpr qint64 kGrowthBound = 32LL * 1024 * 1024;
#endif
#else
constexpr qint64 kGrowthBound = 32LL * 1024 * 1024;
#endif

void expectBoundedGrowth(qint64 before, qint64 peak) {
    if (kGrowthBound > 0) {
        EXPECT_LT(peak - before, kGrowthBound);
    }
}

qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

// A file that notes the largest resident size of the process while it is read.
class WatchedFile : public QFile {
public:
    explicit WatchedFile(const QString& path) : QFile(path) {}
    qint64 peak = 0;

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        peak = std::max(peak, residentBytes());
        return QFile::readData(data, maxSize);
    }
};

// Writes `first`, then `line` repeated until the file holds kInputSize bytes.
QString writeLarge(test::TempFolder& folder, const QByteArray& first, const QByteArray& line) {
    const QString path = folder.file(QStringLiteral("large.csv"));
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(first);
    QByteArray block;
    while (block.size() < (1 << 20)) {
        block += line;
    }
    while (out.size() < kInputSize) {
        out.write(block);
    }
    return path;
}

TEST(LargeInput, AHundredMegabytesOfContactsOnFileAlready) {
    if (residentBytes() == 0) {
        GTEST_SKIP() << "no /proc/self/statm";
    }
    test::ImportTarget target(
        test::contactBytes({{"FName", "Ann"}, {"LName", "Lee"}, {"Email", "ann@x.com"}}));
    const QString path = writeLarge(
        target.folder(), test::csvLines({test::yahooHeader()}),
        "\"Ann\",\"\",\"Lee\",\"\",\"ann@x.com\",\"\",\"\",\"\",\"555-1234\",\"\",\"\",\"\",\"\","
        "\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"Acme\"\r\n");
    WatchedFile csv(path);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const qint64 before = residentBytes();
    const ImportOutcome outcome = importCsv(csv, target.file());
    EXPECT_EQ(outcome.result, ImportResult::Done);
    EXPECT_EQ(outcome.written, 0);  // every line is Ann Lee, on file already
    expectBoundedGrowth(before, csv.peak);
    EXPECT_EQ(target.contacts().size(), 1);
}

TEST(LargeInput, AQuoteThatNeverClosesIsBounded) {
    if (residentBytes() == 0) {
        GTEST_SKIP() << "no /proc/self/statm";
    }
    test::ImportTarget target;
    const QByteArray first =
        test::csvLines({"First Name,Last Name,Email,Phone"}) + "Ann,\"Lee,ann@x.com,";
    const QString path = writeLarge(target.folder(), first, ",,\r\n");
    // Ann's line ends at the first of the ",," lines, which give no e-mail.
    const qint64 linesWithoutEmail = (QFileInfo(path).size() - first.size()) / 4 - 1;
    WatchedFile csv(path);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const qint64 before = residentBytes();
    const ImportOutcome outcome = importCsv(csv, target.file());
    EXPECT_EQ(outcome.result, ImportResult::Done);
    expectBoundedGrowth(before, csv.peak);
    // The quote is given up at the bound of a record: Ann's line ends at its
    // own line break, and the lines after it are read one by one.
    ASSERT_EQ(target.contacts().size(), 1);
    EXPECT_EQ(target.contacts()[0][Field::FName], "Ann");
    EXPECT_EQ(target.contacts()[0][Field::LName], "Lee");
    EXPECT_EQ(target.contacts()[0][Field::Email], "ann@x.com");
    EXPECT_EQ(outcome.skippedByLayout, linesWithoutEmail);
}

}  // namespace
}  // namespace tandor
