// The document under the windows: what coming back to the table window costs while the file is
// unchanged (the document looks at the file's size and time of change) against reading the whole
// table again, which the window did on every activation; and the whole table of an hg-engine
// image (554 records of nine slots) read through the held image against the retail one's.
#include "BenchRatio.h"
#include "DemoRom.h"
#include "EvolutionDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::filesystem::path Image(const char* name, const rom::ImageLayout& layout) {
    const QString path = QDir::temp().filePath(QString::fromLatin1(name));
    if (!DemoRom::WriteImage(path, layout)) {
        std::abort();
    }
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

const std::filesystem::path& Retail() {
    static const std::filesystem::path path =
        Image("evolution-editor-bench-document.nds", DemoRom::DemoImageLayout());
    return path;
}

const std::filesystem::path& HgEngine() {
    static const std::filesystem::path path =
        Image("evolution-editor-bench-document-hg.nds", DemoRom::HgEngineDemoImageLayout());
    return path;
}

void ComingBackUnchanged(benchmark::State& state) {
    EvolutionDocument document;
    if (!document.Open(Retail()).Ok() || !document.Table()) {
        state.SkipWithError("the demo image was not opened");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(document.RereadIfChanged());
        benchmark::DoNotOptimize(document.Table());
    }
}

void TableReadAgain(benchmark::State& state, const std::filesystem::path& image) {
    EvolutionDocument document;
    if (!document.Open(image).Ok()) {
        state.SkipWithError("the demo image was not opened");
        return;
    }
    for (auto _ : state) {
        document.Reread();
        benchmark::DoNotOptimize(document.Table());
    }
}

void RetailTableReadAgain(benchmark::State& state) {
    TableReadAgain(state, Retail());
}

void HgEngineTableReadAgain(benchmark::State& state) {
    TableReadAgain(state, HgEngine());
}

} // namespace

BENCHMARK(ComingBackUnchanged);
BENCHMARK(RetailTableReadAgain);
BENCHMARK(HgEngineTableReadAgain);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rc = BenchRatio::RunAndPrintRatios(
        argc, argv,
        {{"ComingBackUnchanged", "RetailTableReadAgain", "coming back to the table / reading it again"},
         {"HgEngineTableReadAgain", "RetailTableReadAgain", "hg-engine table read / retail table read"}});
    std::filesystem::remove(Retail());
    std::filesystem::remove(HgEngine());
    return rc;
}
