// Speed and memory of the vCard import: a file of 10,000 contacts, each with
// an embedded photo of about 6 KB (a file of about 66 MB), into an empty
// contacts file.
//
//   vcard_import_bench [benchmark options]   runs the benchmark
//   vcard_import_bench --once                 one import, printing
//       "seconds S cpu_seconds C written N file_mb M peak_rss_kb K"
//       (the processor time tells the import's own work on a busy machine)
//   vcard_import_bench --plain [N]            one import of N cards (100,000 when
//       not given) without photos, printing the same figures and the write
//       calls made while importing: "write_calls W written_kb B
//       writes_per_64kb R" (from /proc/self/io; -1 where that is missing)
//
// The file is written to a temporary folder card by card, so the memory
// measured is the import's.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "exchange/ImportRun.h"
#include "store/ContactsFile.h"

using namespace tandor;

namespace {

constexpr int kContacts = 10000;
constexpr int kPhotoChars = 6000;

QByteArray photoLines(std::mt19937& rng) {
    static const char kBase64[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QByteArray line = "PHOTO;ENCODING=b;TYPE=JPEG:";
    QByteArray out;
    for (int i = 0; i < kPhotoChars; ++i) {
        line += kBase64[rng() % 64];
        if (line.size() == 75) {
            out += line + "\r\n";
            line = " ";
        }
    }
    return out + line + "\r\n";
}

QByteArray card(int i, std::mt19937& rng, bool withPhoto = true) {
    QByteArray c = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    c += "N:Lastname" + QByteArray::number(i) + ";Anna;Maria;;\r\n";
    c += "FN:Anna Maria Lastname" + QByteArray::number(i) + "\r\n";
    c += "ORG:Acme Widgets\\, Inc.;Sales\r\n";
    c += "item1.ADR;TYPE=HOME;TYPE=pref:;Apt " + QByteArray::number(i % 90 + 1) + ";" +
         QByteArray::number(i % 9000 + 1) + " Oak Avenue;Portland;OR;97201;USA\r\n";
    c += "ADR;TYPE=WORK:;;1 Work Way;Salem;OR;97301;USA\r\n";
    c += "TEL;TYPE=HOME,VOICE:503-555-" + QByteArray::number(1000 + i % 9000) + "\r\n";
    c += "TEL;TYPE=CELL:503-556-" + QByteArray::number(1000 + i % 9000) + "\r\n";
    c += "TEL;TYPE=WORK,FAX:503-557-0000\r\n";
    c += "EMAIL;TYPE=INTERNET;TYPE=pref:anna" + QByteArray::number(i) + "@example.com\r\n";
    c += QStringLiteral("BDAY:1975-%1-%2\r\n")
             .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
             .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
             .toLatin1();
    c += "NOTE:Met at the fair\\nsecond line\r\n";
    c += "CATEGORIES:Friends,Portland\r\n";
    if (withPhoto) {
        c += photoLines(rng);
    }
    c += "END:VCARD\r\n";
    return c;
}

struct Inputs {
    QTemporaryDir dir;
    QString vcfPath = dir.filePath(QStringLiteral("contacts.vcf"));
    int contacts = kContacts;
    qint64 vcfBytes = 0;

    explicit Inputs(int count = kContacts, bool withPhotos = true) : contacts(count) {
        QFile out(vcfPath);
        if (!out.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(vcfPath));
            std::exit(1);
        }
        std::mt19937 rng(20261207);
        for (int i = 0; i < count; ++i) {
            out.write(card(i, rng, withPhotos));
        }
        vcfBytes = out.size();
    }
    QString freshContactsFile() {
        const QString path = dir.filePath(QStringLiteral("Bench.DAT"));
        QFile::remove(path);
        return path;
    }
    static Inputs& instance() {
        static Inputs inputs;
        return inputs;
    }
};

ImportOutcome importOnce(Inputs& inputs) {
    ContactsFile file;
    file.open(inputs.freshContactsFile());
    return importContactsFile(inputs.vcfPath, file);
}

void BM_ImportVcard10000WithPhotos(benchmark::State& state) {
    Inputs& inputs = Inputs::instance();
    int written = 0;
    for (auto _ : state) {
        written = importOnce(inputs).written;
    }
    state.counters["written"] = written;
    state.SetItemsProcessed(state.iterations() * kContacts);
    state.SetBytesProcessed(state.iterations() * inputs.vcfBytes);
}
BENCHMARK(BM_ImportVcard10000WithPhotos)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// This process's count of write calls and of bytes written so far, or -1
// where the system does not keep them.
struct WriteCount {
    qint64 calls = -1;
    qint64 bytes = -1;
};

WriteCount writesSoFar() {
    WriteCount count;
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return count;
    }
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("syscw: ")) {
            count.calls = line.mid(7).toLongLong();
        } else if (line.startsWith("wchar: ")) {
            count.bytes = line.mid(7).toLongLong();
        }
    }
    return count;
}

int importOnceAndReport(Inputs& inputs) {
    const WriteCount writesBefore = writesSoFar();
    const double cpuBefore = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    const ImportOutcome outcome = importOnce(inputs);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    const WriteCount writesAfter = writesSoFar();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("seconds %.4f cpu_seconds %.4f written %d file_mb %.1f peak_rss_kb %ld\n",
                seconds, cpu, outcome.written, inputs.vcfBytes / 1e6, usage.ru_maxrss);
    if (writesBefore.calls >= 0 && writesAfter.calls >= 0) {
        const qint64 calls = writesAfter.calls - writesBefore.calls;
        const qint64 bytes = writesAfter.bytes - writesBefore.bytes;
        std::printf("write_calls %lld written_kb %.1f writes_per_64kb %.3f\n",
                    static_cast<long long>(calls), bytes / 1024.0,
                    bytes > 0 ? calls / (bytes / 65536.0) : 0.0);
    } else {
        std::printf("write_calls -1 written_kb -1 writes_per_64kb -1\n");
    }
    return outcome.result == ImportResult::Done && outcome.written == inputs.contacts ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--once") == 0) {
        return importOnceAndReport(Inputs::instance());
    }
    if ((argc == 2 || argc == 3) && std::strcmp(argv[1], "--plain") == 0) {
        const int count = argc == 3 ? std::atoi(argv[2]) : 100000;
        if (count < 1) {
            std::fprintf(stderr, "usage: vcard_import_bench --plain [N]\n");
            return 2;
        }
        Inputs inputs(count, false);
        return importOnceAndReport(inputs);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
