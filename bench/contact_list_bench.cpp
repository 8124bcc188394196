// Benchmarks of the contact list and its bulk labels, and the data the
// comparison script feeds to both label programs.
//
//   contact_list_bench                             Google Benchmark runs
//   contact_list_bench --generate FILE.DAT N       writes a contacts file of N contacts
//   contact_list_bench --csv FILE.csv N            writes the same N addresses as CSV
//                                                  (name, company, street, city)
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "list/BulkLabels.h"
#include "list/ContactLines.h"
#include "platform/RecordingSurface.h"
#include "store/ContactsFile.h"

using namespace tandor;

namespace {

const char* const kFirst[] = {"James",   "Mary",  "john",    "Patricia",  "Robert", "Jennifer",
                              "Michael", "linda", "William", "Elizabeth", "David",  "Barbara",
                              "Richard", "Susan", "Joseph",  "Jessica"};
const char* const kLast[] = {"Smith",  "Johnson",  "Williams", "Brown",     "Jones",    "Garcia",
                             "Miller", "Davis",    "de Vries", "Rodriguez", "Martinez", "Hernandez",
                             "Lopez",  "Gonzalez", "Wilson",   "Anderson"};
const char* const kCity[] = {"San Diego",   "Santa Fe", "Pleasanton", "Boston",
                             "Springfield", "Austin",   "Reno",       "Denver"};
const char* const kState[] = {"CA", "NM", "CA", "MA", "IL", "TX", "NV", "CO"};

ContactRecord sampleContact(int i) {
    ContactFields f;
    f[Field::FName] = QString::fromLatin1(kFirst[i % 16]);
    f[Field::MiddleInit] = QString(QChar(u'A' + (i * 7) % 26));
    f[Field::LName] = QString::fromLatin1(kLast[(i / 16) % 16]) + QString::number(i % 97);
    f[Field::FStreet] = QStringLiteral("%1 Main Street").arg(i % 9000 + 1);
    f[Field::SStreet] = i % 3 == 0 ? QStringLiteral("Apt %1").arg(i % 40 + 1) : QString();
    f[Field::City] = QString::fromLatin1(kCity[i % 8]);
    f[Field::State] = QString::fromLatin1(kState[i % 8]);
    f[Field::Zip] = QStringLiteral("%1").arg(10000 + (i * 37) % 89999);
    f[Field::HPhone] = i % 2 == 0 ? QStringLiteral("212-555-%1").arg(1000 + i % 9000) : QString();
    f[Field::Email] = QStringLiteral("person%1@example.com").arg(i);
    f[Field::Company] = i % 5 == 0 ? QStringLiteral("Company %1 Inc").arg(i % 300) : QString();
    f[Field::IncludeCompany] = i % 5 == 0 ? QStringLiteral("1") : QStringLiteral("0");
    return ContactRecord::build(f);
}

bool generate(const QString& path, int count) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    for (int i = 1; i <= count; ++i) {
        file.write(sampleContact(i).bytes());
    }
    return true;
}

QString csvField(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The same addresses as the labels print them.
bool generateCsv(const QString& path, int count) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    file.write("name,company,street,city\n");
    for (int i = 1; i <= count; ++i) {
        const BulkLabel label = bulkLabelOf(sampleContact(i));
        const QString row = QStringList{csvField(label.name), csvField(label.company),
                                        csvField(label.street), csvField(label.city)}
                                .join(QLatin1Char(','));
        file.write(row.toUtf8() + "\n");
    }
    return true;
}

class Files {
public:
    static Files& instance() {
        static Files files;
        return files;
    }
    QString path(int count) {
        const QString p = dir_.filePath(QStringLiteral("c%1.DAT").arg(count));
        if (!QFile::exists(p)) {
            generate(p, count);
        }
        return p;
    }

private:
    QTemporaryDir dir_;
};

void BM_GetReport(benchmark::State& state) {
    ContactsFile file;
    file.openExisting(Files::instance().path(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        FoundContacts found = findContacts(file, SearchField::All, {}, SortOrder::LastName);
        benchmark::DoNotOptimize(found.entries.data());
    }
}
BENCHMARK(BM_GetReport)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CitySearch(benchmark::State& state) {
    ContactsFile file;
    file.openExisting(Files::instance().path(100000));
    for (auto _ : state) {
        FoundContacts found =
            findContacts(file, SearchField::City, QStringLiteral("san"), SortOrder::FirstName);
        benchmark::DoNotOptimize(found.found);
    }
}
BENCHMARK(BM_CitySearch)->Unit(benchmark::kMillisecond);

void BM_BulkLabelRunLayout(benchmark::State& state) {
    ContactsFile file;
    file.openExisting(Files::instance().path(3000));
    const FoundContacts found = findContacts(file, SearchField::All, {}, SortOrder::FirstName);
    for (auto _ : state) {
        RecordingSurface surface;
        printBulkLabelRun(surface, found.entries, [&file](int n) { return file.read(n); }, {});
        surface.endDocument();
        benchmark::DoNotOptimize(surface.documents().size());
    }
}
BENCHMARK(BM_BulkLabelRunLayout)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 &&
        (std::strcmp(argv[1], "--generate") == 0 || std::strcmp(argv[1], "--csv") == 0)) {
        const QString path = QString::fromLocal8Bit(argv[2]);
        const int count = std::atoi(argv[3]);
        const bool ok =
            std::strcmp(argv[1], "--csv") == 0 ? generateCsv(path, count) : generate(path, count);
        if (!ok) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
