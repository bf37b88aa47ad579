// Reading a table file for import, JSON and CSV, at growing sizes: the time per element should
// stay the same as the file grows (a parse that is linear in the file).
#include "TableFile.h"

#include <QByteArray>
#include <benchmark/benchmark.h>

namespace {

QByteArray JsonElements(int count) {
    QByteArray text = "[\n";
    for (int i = 0; i < count; ++i) {
        text += QByteArray(i ? ",\n" : "") + "{\"species\": " + QByteArray::number(i % 494) +
                ", \"slot\": " + QByteArray::number(i / 494 % 7 + 1) +
                ", \"method\": 4, \"parameter\": 16, \"target\": 2}";
    }
    return text + "\n]\n";
}

QByteArray CsvRows(int count) {
    QByteArray text =
        "species,species_name,slot,method,method_name,parameter,parameter_name,target,target_name\n";
    for (int i = 0; i < count; ++i) {
        text += QByteArray::number(i % 494) + ",," + QByteArray::number(i / 494 % 7 + 1) + ",4,,16,,2,\n";
    }
    return text;
}

void ReadJson(benchmark::State& state) {
    const QByteArray text = JsonElements(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(TableFile::Read(text));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void ReadCsv(benchmark::State& state) {
    const QByteArray text = CsvRows(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(TableFile::Read(text));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(ReadJson)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadCsv)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
