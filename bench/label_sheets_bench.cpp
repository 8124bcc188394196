// Speed of loading the label sheets: the five built-in sheets and the whole
// installed label-template library (Debian's glabels-data, about 930
// rectangular templates in 35 files), each sheet's character grid worked out.
// The first load of a process also resolves the fixed-pitch font once; the
// benchmark measures the loads after it.
//
//   label_sheets_bench [benchmark options]
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "sheets/SheetLibrary.h"

using namespace tandor;

namespace {

void BM_LoadInstalledLibrary(benchmark::State& state) {
    const QStringList folders = labelSheetFolders();
    loadLabelSheets(folders);  // the font, once
    qsizetype sheets = 0;
    for (auto _ : state) {
        const QList<LabelSheet> loaded = loadLabelSheets(folders);
        sheets = loaded.size();
        benchmark::DoNotOptimize(sheets);
    }
    state.counters["sheets"] = static_cast<double>(sheets);
    if (sheets <= 5) {
        state.SkipWithError("the label-template library is not installed (glabels-data)");
    }
}
BENCHMARK(BM_LoadInstalledLibrary)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                      : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
