// Speed of the contacts file on a 100,000-contact file (51.3 MB): reading every
// record, appending 10,000 records, deleting one record from the middle (a full
// compaction) and opening (which looks for an interrupted deletion).
//
//   contacts_file_bench [benchmark options]        runs the benchmarks
//   contacts_file_bench --generate FILE N          writes a file of N contacts
//   contacts_file_bench --delete-once FILE N       deletes record N once and
//       prints "seconds S peak_rss_kb K" (the peak memory of the whole process)
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "store/ContactsFile.h"

using namespace tandor;

namespace {

constexpr int kContacts = 100000;

ContactRecord sampleContact(int i) {
    ContactFields fields;
    fields[Field::FName] = QStringLiteral("First%1").arg(i % 1000);
    fields[Field::LName] = QStringLiteral("Last%1").arg(i);
    fields[Field::FStreet] = QStringLiteral("%1 Main Street").arg(i % 9000 + 1);
    fields[Field::City] = QStringLiteral("Springfield");
    fields[Field::State] = QStringLiteral("IL");
    fields[Field::Zip] = QStringLiteral("62704");
    fields[Field::Email] = QStringLiteral("person%1@example.com").arg(i);
    fields[Field::Birthdate] = QStringLiteral("19800410");
    fields[Field::Notes] = QStringLiteral("Met at the %1th meeting").arg(i % 50);
    fields[Field::IncludeCompany] = QStringLiteral("0");
    fields[Field::BirthdayReminder] = QStringLiteral("1");
    return ContactRecord::build(fields);
}

bool generate(const QString& path, int count) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    QByteArray block;
    for (int i = 1; i <= count; ++i) {
        block.append(sampleContact(i).bytes());
        if (block.size() >= 1 << 20 || i == count) {
            if (file.write(block) != block.size()) {
                return false;
            }
            block.clear();
        }
    }
    return true;
}

// One 100,000-contact file shared by the benchmarks.
class Fixture {
public:
    static Fixture& instance() {
        static Fixture fixture;
        return fixture;
    }
    const QString& path() const { return path_; }
    // Back to exactly kContacts records after a benchmark changed the count.
    void restoreCount() {
        ContactsFile contacts;
        contacts.open(path_);
        int count = contacts.recordCount();
        while (count < kContacts) {
            contacts.append(sampleContact(++count));
        }
        contacts.close();
        if (count > kContacts) {
            QFile::resize(path_, static_cast<qint64>(kContacts) * kRecordSize);
        }
    }

private:
    Fixture() : path_(dir_.filePath(QStringLiteral("Bench.DAT"))) {
        if (!generate(path_, kContacts)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path_));
            std::exit(1);
        }
    }
    QTemporaryDir dir_;
    QString path_;
};

void BM_ReadEveryRecord(benchmark::State& state) {
    Fixture& fixture = Fixture::instance();
    fixture.restoreCount();
    ContactsFile file;
    file.open(fixture.path());
    for (auto _ : state) {
        const int count = file.recordCount();
        for (int n = 1; n <= count; ++n) {
            ContactRecord record = file.read(n);
            benchmark::DoNotOptimize(record);
        }
    }
    state.SetItemsProcessed(state.iterations() * kContacts);
}
BENCHMARK(BM_ReadEveryRecord)->Unit(benchmark::kMillisecond);

void BM_ReadEveryRecordTrimmed(benchmark::State& state) {
    Fixture& fixture = Fixture::instance();
    fixture.restoreCount();
    ContactsFile file;
    file.open(fixture.path());
    for (auto _ : state) {
        const int count = file.recordCount();
        for (int n = 1; n <= count; ++n) {
            ContactFields fields = file.read(n).fields();
            benchmark::DoNotOptimize(fields);
        }
    }
    state.SetItemsProcessed(state.iterations() * kContacts);
}
BENCHMARK(BM_ReadEveryRecordTrimmed)->Unit(benchmark::kMillisecond);

void BM_Append10000(benchmark::State& state) {
    Fixture& fixture = Fixture::instance();
    const ContactRecord record = sampleContact(kContacts + 1);
    for (auto _ : state) {
        state.PauseTiming();
        fixture.restoreCount();
        ContactsFile file;
        file.open(fixture.path());
        state.ResumeTiming();
        for (int i = 0; i < 10000; ++i) {
            file.append(record);
        }
    }
    fixture.restoreCount();
}
BENCHMARK(BM_Append10000)->Unit(benchmark::kMillisecond);

void BM_DeleteFromMiddle(benchmark::State& state) {
    Fixture& fixture = Fixture::instance();
    for (auto _ : state) {
        state.PauseTiming();
        fixture.restoreCount();
        ContactsFile file;
        file.open(fixture.path());
        state.ResumeTiming();
        file.deleteRecord(kContacts / 2);
    }
    fixture.restoreCount();
}
BENCHMARK(BM_DeleteFromMiddle)->Unit(benchmark::kMillisecond);

void BM_Open(benchmark::State& state) {
    Fixture& fixture = Fixture::instance();
    fixture.restoreCount();
    for (auto _ : state) {
        ContactsFile file;
        file.open(fixture.path());
        benchmark::DoNotOptimize(file.recordCount());
    }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--generate") == 0) {
        return generate(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3])) ? 0 : 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "--delete-once") == 0) {
        try {
            ContactsFile file;
            file.open(QString::fromLocal8Bit(argv[2]));
            QElapsedTimer timer;
            timer.start();
            file.deleteRecord(std::atoi(argv[3]));
            std::printf("seconds %.4f peak_rss_kb %ld\n", timer.nsecsElapsed() / 1e9, peakRssKb());
            return 0;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
