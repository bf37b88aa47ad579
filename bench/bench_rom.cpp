// Reading and saving one evolution slot through the slot model, and one byte through the byte
// routines, each next to the same bytes moved with raw open/pread/close (or open/pwrite/close).
#include "BenchRatio.h"
#include "DemoRom.h"
#include "EvolutionImage.h"
#include "Module1.h"
#include "RawAccess.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const rom::EvolutionImage& Image() {
    static const rom::EvolutionImage image = [] {
        const QString p = QDir::temp().filePath(QStringLiteral("evolution-editor-bench.nds"));
        if (!DemoRom::WriteDemoImage(p)) {
            std::abort();
        }
        auto opened = rom::EvolutionImage::Open(std::filesystem::path(QFile::encodeName(p).toStdString()));
        if (!opened) {
            std::abort();
        }
        return *opened;
    }();
    return image;
}

constexpr int Species = 25;
constexpr int Slot = 1;

void ReadSlot(benchmark::State& state) {
    const rom::EvolutionImage& image = Image();
    for (auto _ : state) {
        const rom::EvolutionSlot slot = image.ReadSlot(Species, Slot);
        benchmark::DoNotOptimize(slot.Target + slot.Parameter + slot.Method);
    }
}

void RawReadSlot(benchmark::State& state) {
    const std::string path = Image().Path().string();
    for (auto _ : state) {
        benchmark::DoNotOptimize(RawAccess::ReadSlotFields(path, Image().Location(), Species, Slot));
    }
}

void SaveSlot(benchmark::State& state) {
    const rom::EvolutionImage& image = Image();
    for (auto _ : state) {
        benchmark::DoNotOptimize(image.WriteSlot(Species, Slot, {4, 16, 26}).Ok());
    }
}

void RawSaveSlot(benchmark::State& state) {
    const std::string path = Image().Path().string();
    const rom::SlotBytes bytes = rom::EncodeSlot({4, 16, 26});
    for (auto _ : state) {
        RawAccess::WriteSlotBytes(path, Image().Location(), Species, Slot, bytes);
    }
}

// One field read and one byte write through the byte routines, against one raw call each.
void ReadHexField(benchmark::State& state) {
    const auto at = Image().Location().FieldOffset(Species, Slot, rom::SlotField::Target);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Module1::ReadHex(Image().Path(), at, 2));
    }
}

void RawReadField(benchmark::State& state) {
    const std::string path = Image().Path().string();
    const auto at = Image().Location().FieldOffset(Species, Slot, rom::SlotField::Target);
    for (auto _ : state) {
        unsigned char bytes[2];
        const int fd = ::open(path.c_str(), O_RDONLY);
        benchmark::DoNotOptimize(::pread(fd, bytes, 2, at));
        ::close(fd);
    }
}

void WriteHexByte(benchmark::State& state) {
    const auto at = Image().Location().SlotOffset(Species, Slot);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Module1::WriteHexByte(Image().Path(), at, "04"));
    }
}

void RawWriteByte(benchmark::State& state) {
    const std::string path = Image().Path().string();
    const auto at = Image().Location().SlotOffset(Species, Slot);
    const unsigned char byte = 4;
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDWR);
        benchmark::DoNotOptimize(::pwrite(fd, &byte, 1, at));
        ::close(fd);
    }
}

} // namespace

BENCHMARK(ReadSlot);
BENCHMARK(RawReadSlot);
BENCHMARK(SaveSlot);
BENCHMARK(RawSaveSlot);
BENCHMARK(ReadHexField);
BENCHMARK(RawReadField);
BENCHMARK(WriteHexByte);
BENCHMARK(RawWriteByte);

int main(int argc, char** argv) {
    const int rc =
        BenchRatio::RunAndPrintRatios(argc, argv,
                                      {{"ReadSlot", "RawReadSlot", "slot read / raw reads"},
                                       {"SaveSlot", "RawSaveSlot", "slot save / raw writes"},
                                       {"ReadHexField", "RawReadField", "ReadHex / raw read"},
                                       {"WriteHexByte", "RawWriteByte", "WriteHexByte / raw write"}});
    std::filesystem::remove(Image().Path());
    return rc;
}
