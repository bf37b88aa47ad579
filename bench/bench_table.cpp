// The whole table at once: evolution-table's export of the demo image into a CSV file, run
// in-process, against the floor of reading the table's bytes from the image with one raw
// open / pread / close.
#include "BenchRatio.h"
#include "DemoRom.h"
#include "EvolutionImage.h"
#include "TableTool.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string& ImagePath() {
    static const std::string path = [] {
        const QString p = QDir::temp().filePath(QStringLiteral("evolution-editor-bench-table.nds"));
        if (!DemoRom::WriteDemoImage(p)) {
            std::abort();
        }
        return QFile::encodeName(p).toStdString();
    }();
    return path;
}

std::string OutputPath() {
    return QFile::encodeName(QDir::temp().filePath(QStringLiteral("evolution-editor-bench-table.csv")))
        .toStdString();
}

void TableExport(benchmark::State& state) {
    const std::vector<std::string> args{"export", ImagePath(), "-o", OutputPath()};
    for (auto _ : state) {
        std::ostringstream out, err;
        if (TableTool::Run(args, out, err) != TableTool::Success) {
            state.SkipWithError("the export failed");
            break;
        }
    }
}

// The bytes from the first record to the end of the last, as they lie in the archive.
void RawTableRead(benchmark::State& state) {
    const auto image = rom::EvolutionImage::Open(std::filesystem::path(ImagePath()));
    if (!image) {
        state.SkipWithError("the demo image was not recognised");
        return;
    }
    const rom::TableLocation& location = image->Location();
    const std::int32_t first = location.RecordOffset(0);
    const std::int32_t end = location.RecordOffset(rom::SpeciesCount - 1) + rom::EvolutionRecord::Size;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(end - first));
    for (auto _ : state) {
        const int fd = ::open(ImagePath().c_str(), O_RDONLY);
        benchmark::DoNotOptimize(::pread(fd, bytes.data(), bytes.size(), first));
        ::close(fd);
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(TableExport);
BENCHMARK(RawTableRead);

int main(int argc, char** argv) {
    const int rc = BenchRatio::RunAndPrintRatios(
        argc, argv, {{"TableExport", "RawTableRead", "table export / one raw read of the table"}});
    std::filesystem::remove(ImagePath());
    std::filesystem::remove(OutputPath());
    return rc;
}
