// The editor window: start-up to its first painted frame against an empty Qt window of the same
// size, and a slot shown through the window against three raw reads of the same bytes.
#include "BenchRatio.h"
#include "DemoRom.h"
#include "RawAccess.h"
#include "TableLocation.h"
#include "Form1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

QString ImagePath() {
    static const QString path = [] {
        const QString p = QDir::temp().filePath(QStringLiteral("evolution-editor-bench-window.nds"));
        if (!DemoRom::WriteDemoImage(p))
            std::abort();
        return p;
    }();
    return path;
}

void StartEmptyWindow(benchmark::State& state) {
    for (auto _ : state) {
        QWidget window(nullptr, Qt::Tool);
        window.setFixedSize(353, 297);
        window.show();
        const QImage frame = window.grab().toImage();
        benchmark::DoNotOptimize(frame.constBits());
    }
}

void StartEditor(benchmark::State& state) {
    for (auto _ : state) {
        Form1 window;
        window.show();
        const QImage frame = window.grab().toImage();
        benchmark::DoNotOptimize(frame.constBits());
    }
}

// Each change of species shows its current slot: three field reads and the lists set from them.
void ShowSlotInWindow(benchmark::State& state) {
    Form1 window;
    window.show();
    window.OpenRomImage(ImagePath());
    auto* species = window.findChild<QListWidget*>(QStringLiteral("lstPokemon"));
    int next = 25;
    for (auto _ : state) {
        species->setCurrentRow(next);
        next = next == 25 ? 133 : 25;
    }
}

void RawReadSlot(benchmark::State& state) {
    const std::string path = QFile::encodeName(ImagePath()).toStdString();
    const auto location = rom::LocateEvolutionTable(std::filesystem::path(path));
    if (!location)
        std::abort();
    int next = 25;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RawAccess::ReadSlotFields(path, *location, next, 0));
        next = next == 25 ? 133 : 25;
    }
}

QtMessageHandler standardHandler = nullptr;

// The offscreen platform warns on every window it shows; keep the figures readable.
void QuietOffscreenWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message == QLatin1String("This plugin does not support raise()"))
        return;
    if (standardHandler)
        standardHandler(type, context, message);
}

} // namespace

BENCHMARK(StartEmptyWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(StartEditor)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowSlotInWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(RawReadSlot)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    standardHandler = qInstallMessageHandler(QuietOffscreenWarnings);
    const int rc = BenchRatio::RunAndPrintRatios(
        argc, argv,
        {{"StartEditor", "StartEmptyWindow", "editor start-up / empty window"},
         {"ShowSlotInWindow", "RawReadSlot", "slot shown in the window / raw reads"}});
    std::filesystem::remove(std::filesystem::path(ImagePath().toStdU16String()));
    return rc;
}
