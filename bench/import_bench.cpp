// Speed of the CSV import: a 10,000-line file into a file of 10,000 contacts.
//
//   import_bench [benchmark options]   runs the benchmarks
//   import_bench --once                 one import of 10,000 new contacts into
//       10,000, printing "seconds S written N peak_rss_kb K"
//
// The lines are in the quoted Yahoo layout (the widest of the five, with
// every cleaning rule); their names are like, but not the same as, the names
// on file, so each line is compared with many records before it is written.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "exchange/ImportRun.h"
#include "store/ContactsFile.h"

using namespace tandor;

namespace {

constexpr int kContacts = 10000;
constexpr int kLines = 10000;

const char* const kLastNames[] = {"Smith",  "Johnson", "Williams", "Brown",     "Jones",
                                  "Garcia", "Miller",  "Davis",    "Rodriguez", "Martinez"};

ContactRecord contactOnFile(int i) {
    ContactFields fields;
    fields[Field::FName] = QStringLiteral("Anna%1").arg(i % 500);
    fields[Field::LName] = QString::fromLatin1(kLastNames[i % 10]) + QString::number(i / 10);
    fields[Field::FStreet] = QStringLiteral("%1 Main Street").arg(i % 9000 + 1);
    fields[Field::City] = QStringLiteral("Springfield");
    fields[Field::State] = QStringLiteral("IL");
    fields[Field::Zip] = QStringLiteral("62704");
    fields[Field::Email] = QStringLiteral("person%1@example.com").arg(i);
    fields[Field::Birthdate] = QStringLiteral("19800410");
    fields[Field::IncludeCompany] = QStringLiteral("1");
    fields[Field::BirthdayReminder] = QStringLiteral("1");
    return ContactRecord::build(fields);
}

QByteArray contactsFileBytes() {
    QByteArray bytes;
    bytes.reserve(kContacts * kRecordSize);
    for (int i = 0; i < kContacts; ++i) {
        bytes += contactOnFile(i).bytes();
    }
    return bytes;
}

// One quoted Yahoo line; `onFile` picks a contact already on file.
QByteArray yahooLine(int i, bool onFile) {
    QStringList v(55);
    if (onFile) {
        v[0] = QStringLiteral("Anna%1").arg(i % 500);
        v[2] = QString::fromLatin1(kLastNames[i % 10]) + QString::number(i / 10);
        v[4] = QStringLiteral("person%1@example.com").arg(i);
    } else {
        // "Ann" is in every "Anna..." on file and "Smith" in a tenth of the last names.
        v[0] = QStringLiteral("Ann");
        v[2] = QString::fromLatin1(kLastNames[i % 10]) + QStringLiteral("-%1").arg(i);
        v[4] = QStringLiteral("new%1@example.org").arg(i);
    }
    v[8] = QStringLiteral("(212) 555-%1").arg(1000 + i % 9000);
    v[12] = QStringLiteral("555-%1").arg(1000 + i % 9000);
    v[21] = QStringLiteral("Acme, Inc.");
    v[27] = QStringLiteral("%1 Oak Avenue").arg(i);
    v[28] = QStringLiteral("Portland");
    v[29] = QStringLiteral("or");
    v[30] = QStringLiteral("97201-1234");
    v[31] = QStringLiteral("USA");
    v[32] = QStringLiteral("%1/%2/1975").arg(i % 12 + 1).arg(i % 28 + 1);
    v[38] = QStringLiteral("Met at the fair,\nsecond line");
    for (QString& s : v) {
        s = QLatin1Char('"') + s + QLatin1Char('"');
    }
    return v.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

QByteArray csvFile(bool onFile) {
    QByteArray csv =
        "\"First\",\"Middle\",\"Last\",\"Nickname\",\"Email\",\"Category\",\"Distribution Lists\","
        "\"Messenger ID\",\"Home\",\"Work\",\"Pager\",\"Fax\",\"Mobile\",\"Other\",\"Yahoo! "
        "Phone\","
        "\"Primary\",\"Alternate Email 1\",\"Alternate Email 2\",\"Personal Website\","
        "\"Business Website\",\"Title\",\"Company\",\"Work Address\",\"Work City\",\"Work State\","
        "\"Work ZIP\",\"Work Country\",\"Home Address\",\"Home City\",\"Home State\",\"Home ZIP\","
        "\"Home Country\",\"Birthday\",\"Anniversary\",\"Custom 1\",\"Custom 2\",\"Custom 3\","
        "\"Custom 4\",\"Comments\",\"Messenger ID1\",\"Messenger ID2\",\"Messenger ID3\","
        "\"Messenger ID4\",\"Messenger ID5\",\"Messenger ID6\",\"Messenger ID7\",\"Messenger ID8\","
        "\"Messenger ID9\",\"Skype ID\",\"IRC ID\",\"ICQ ID\",\"Google ID\",\"MSN ID\",\"AIM ID\","
        "\"QQ ID\"\r\n";
    for (int i = 0; i < kLines; ++i) {
        csv += yahooLine(i, onFile);
    }
    return csv;
}

struct Inputs {
    QTemporaryDir dir;
    QByteArray contacts = contactsFileBytes();
    QByteArray newContacts = csvFile(false);
    QByteArray knownContacts = csvFile(true);

    QString freshContactsFile() {
        const QString path = dir.filePath(QStringLiteral("Bench.DAT"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(contacts) != contacts.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
        return path;
    }
    static Inputs& instance() {
        static Inputs inputs;
        return inputs;
    }
};

ImportOutcome importOnce(const QByteArray& csv, const QString& contactsPath) {
    ContactsFile file;
    file.open(contactsPath);
    QBuffer buffer;
    buffer.setData(csv);
    buffer.open(QIODevice::ReadOnly);
    return importCsv(buffer, file);
}

void runImport(benchmark::State& state, bool onFile) {
    Inputs& inputs = Inputs::instance();
    const QByteArray& csv = onFile ? inputs.knownContacts : inputs.newContacts;
    int written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = inputs.freshContactsFile();
        state.ResumeTiming();
        written = importOnce(csv, path).written;
    }
    state.counters["written"] = written;
    state.SetItemsProcessed(state.iterations() * kLines);
}

void BM_Import10000NewInto10000(benchmark::State& state) {
    runImport(state, false);
}
BENCHMARK(BM_Import10000NewInto10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Import10000KnownInto10000(benchmark::State& state) {
    runImport(state, true);
}
BENCHMARK(BM_Import10000KnownInto10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--once") == 0) {
        Inputs& inputs = Inputs::instance();
        const QString path = inputs.freshContactsFile();
        QElapsedTimer timer;
        timer.start();
        const ImportOutcome outcome = importOnce(inputs.newContacts, path);
        const double seconds = timer.nsecsElapsed() / 1e9;
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("seconds %.4f written %d peak_rss_kb %ld\n", seconds, outcome.written,
                    usage.ru_maxrss);
        return outcome.result == ImportResult::Done ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
