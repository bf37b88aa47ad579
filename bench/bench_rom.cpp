// Reading and saving one evolution slot through the hex-text routines, each next to the same
// bytes moved with raw open/read/close (or open/write/close) calls.
#include "BenchRatio.h"
#include "DemoRom.h"
#include "EvolutionTable.h"
#include "Module1.h"

#include <QDir>
#include <QString>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

std::string ImagePath() {
    static const std::string path = [] {
        const QString p = QDir::temp().filePath(QStringLiteral("evolution-editor-bench.nds"));
        if (!DemoRom::WriteDemoImage(p))
            std::abort();
        return p.toStdString();
    }();
    return path;
}

constexpr int Species = 25;
constexpr int Slot = 1;

int ReadField(const std::filesystem::path& path, rom::SlotField field) {
    return Module1::HexValue(Module1::SwapHexBytes(Module1::ReadHex(path, rom::FieldOffset(Species, Slot, field), 2)));
}

void ReadSlot(benchmark::State& state) {
    const std::filesystem::path path = ImagePath();
    for (auto _ : state) {
        int target = ReadField(path, rom::SlotField::Target);
        int parameter = ReadField(path, rom::SlotField::Parameter);
        int method = ReadField(path, rom::SlotField::Method);
        benchmark::DoNotOptimize(target + parameter + method);
    }
}

void RawReadSlot(benchmark::State& state) {
    const std::string path = ImagePath();
    for (auto _ : state) {
        int sum = 0;
        for (auto field : {rom::SlotField::Target, rom::SlotField::Parameter, rom::SlotField::Method}) {
            unsigned char bytes[2] = {0, 0};
            std::FILE* f = std::fopen(path.c_str(), "rb");
            if (f) {
                std::fseek(f, rom::FieldOffset(Species, Slot, field), SEEK_SET);
                benchmark::DoNotOptimize(std::fread(bytes, 1, 2, f));
                std::fclose(f);
            }
            sum += bytes[0] + 256 * bytes[1];
        }
        benchmark::DoNotOptimize(sum);
    }
}

void SaveSlot(benchmark::State& state) {
    const std::filesystem::path path = ImagePath();
    const std::string text = Module1::SwapHexBytes(Module1::FieldText(4)) + Module1::SwapHexBytes(Module1::FieldText(16)) +
                             Module1::SwapHexBytes(Module1::FieldText(26));
    for (auto _ : state) {
        bool ok = true;
        for (int k = 0; k < 6; ++k)
            ok &= Module1::WriteHexByte(path, rom::SlotOffset(Species, Slot) + k, text.substr(2 * k, 2));
        benchmark::DoNotOptimize(ok);
    }
}

void RawSaveSlot(benchmark::State& state) {
    const std::string path = ImagePath();
    const unsigned char bytes[6] = {0x04, 0x00, 0x10, 0x00, 0x1A, 0x00};
    for (auto _ : state) {
        for (int k = 0; k < 6; ++k) {
            std::FILE* f = std::fopen(path.c_str(), "r+b");
            if (f) {
                std::fseek(f, rom::SlotOffset(Species, Slot) + k, SEEK_SET);
                std::fputc(bytes[k], f);
                std::fclose(f);
            }
        }
    }
}

} // namespace

BENCHMARK(ReadSlot);
BENCHMARK(RawReadSlot);
BENCHMARK(SaveSlot);
BENCHMARK(RawSaveSlot);

int main(int argc, char** argv) {
    const int rc = BenchRatio::RunAndPrintRatios(argc, argv,
                                                 {{"ReadSlot", "RawReadSlot", "slot read / raw reads"},
                                                  {"SaveSlot", "RawSaveSlot", "slot save / raw writes"}});
    std::filesystem::remove(ImagePath());
    return rc;
}
