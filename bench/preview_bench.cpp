// Opening a print preview of bulk labels: 3,000 contacts, 100 sheets. The
// pages are composed for the current printer (here the PDF printer) and only
// the page on screen is drawn.
//
//   preview_bench            Google Benchmark runs (offscreen)
#include <benchmark/benchmark.h>

#include <QApplication>

#include "list/BulkLabels.h"
#include "platform/widgets/DesktopPlatform.h"
#include "print/widgets/PrintPreviewDialog.h"

using namespace tandor;

namespace {

ContactRecord sampleContact(int i) {
    ContactFields f;
    f[Field::FName] = QStringLiteral("First%1").arg(i);
    f[Field::MiddleInit] = QString(QChar(u'A' + i % 26));
    f[Field::LName] = QStringLiteral("Last%1").arg(i);
    f[Field::FStreet] = QStringLiteral("%1 Main Street").arg(i % 9000 + 1);
    f[Field::City] = QStringLiteral("Springfield");
    f[Field::State] = QStringLiteral("IL");
    f[Field::Zip] = QStringLiteral("%1").arg(10000 + (i * 37) % 89999);
    f[Field::Company] = i % 5 == 0 ? QStringLiteral("Company %1 Inc").arg(i % 300) : QString();
    f[Field::IncludeCompany] = i % 5 == 0 ? QStringLiteral("1") : QStringLiteral("0");
    return ContactRecord::build(f);
}

void BM_OpenBulkLabelsPreview(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<ContactRecord> records;
    std::vector<ListEntry> lines;
    for (int i = 1; i <= count; ++i) {
        records.push_back(sampleContact(i));
        lines.push_back({QStringLiteral("line %1").arg(i), i});
    }
    const std::function<ContactRecord(int)> read = [&records](int n) { return records[n - 1]; };
    DesktopPlatform platform;
    const PrintJob job = bulkLabelsJob(lines, read, {});
    int pages = 0;
    int drawn = 0;
    for (auto _ : state) {
        PrintPreviewDialog dialog(composeForPreview(platform, job));
        dialog.show();
        QApplication::processEvents();
        dialog.grab();  // the page on screen is drawn
        pages = dialog.pageCount();
        drawn = dialog.pagesDrawn();
    }
    state.counters["pages"] = pages;
    state.counters["pages_drawn"] = drawn;
}
BENCHMARK(BM_OpenBulkLabelsPreview)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                      : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
