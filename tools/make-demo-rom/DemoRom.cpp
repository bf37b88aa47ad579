// Parses the embedded copy of the game's evolution table and writes demo images.
#include "DemoRom.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <stdexcept>

static void InitDemoRomResources() {
    // The resource sits in a static library's object library; make sure it is registered.
    Q_INIT_RESOURCE(DemoRom);
}

namespace DemoRom {

std::vector<rom::EvolutionRecord> GameEvolutionTable() {
    InitDemoRomResources();
    QFile file(QStringLiteral(":/demorom/evolutions.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw std::runtime_error("embedded evolution table is missing");
    }

    std::vector<rom::EvolutionRecord> table;
    table.reserve(rom::SpeciesCount);
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (cells.size() != rom::SlotCount) {
            throw std::runtime_error("embedded evolution table: a row without seven cells");
        }
        rom::EvolutionRecord record;
        for (int k = 0; k < rom::SlotCount; ++k) {
            const QStringList fields = cells[k].trimmed().split(QLatin1Char(','));
            if (fields.size() != 3) {
                throw std::runtime_error("embedded evolution table: a slot without three fields");
            }
            record.Slots[k].Method = fields[0].toUShort();
            record.Slots[k].Parameter = fields[1].toUShort();
            record.Slots[k].Target = fields[2].toUShort();
        }
        table.push_back(record);
    }
    if (table.size() != static_cast<std::size_t>(rom::SpeciesCount)) {
        throw std::runtime_error("embedded evolution table: wrong number of species");
    }
    return table;
}

QByteArray EncodeTable(const std::vector<rom::EvolutionRecord>& table) {
    QByteArray bytes;
    bytes.reserve(rom::EvolutionTableSize);
    for (const auto& member : rom::EvolutionArchiveMembers(table, rom::SpeciesCount)) {
        bytes.append(reinterpret_cast<const char*>(member.data()), static_cast<qsizetype>(member.size()));
    }
    return bytes;
}

rom::ImageLayout DemoImageLayout() {
    // The two neighbours are small stand-ins for the game's own archives; they make the file
    // system's lists and ids like a real one's.
    const std::vector<std::uint8_t> neighbour = rom::BuildNarc({std::vector<std::uint8_t>(16, 0)});
    rom::NdsImageBuilder builder("POKEMON D", "ADAE");
    builder.AddFile("poketool/personal/personal.narc", neighbour);
    builder.AddFile("poketool/personal/evo.narc",
                    rom::BuildNarc(rom::EvolutionArchiveMembers(GameEvolutionTable(), 501)),
                    static_cast<std::uint64_t>(DemoArchiveOffset));
    builder.AddFile("poketool/personal/wotbl.narc", neighbour);
    builder.SetImageSize(static_cast<std::uint64_t>(DemoImageSize));
    return builder.Build();
}

bool WriteImage(const QString& path, const rom::ImageLayout& layout, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) {
            *error = why;
        }
        return false;
    };
    // Written to a temporary file and renamed at the end, so an interrupted run leaves no half image.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(QStringLiteral("cannot create %1: %2").arg(path, file.errorString()));
    }
    // Growing by resize leaves a hole instead of megabytes of written zeros.
    bool written = file.resize(static_cast<qint64>(layout.Size));
    for (const rom::ImageChunk& chunk : layout.Chunks) {
        const auto size = static_cast<qint64>(chunk.Bytes.size());
        written = written && file.seek(static_cast<qint64>(chunk.Offset)) &&
                  file.write(reinterpret_cast<const char*>(chunk.Bytes.data()), size) == size;
    }
    if (!written) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(QStringLiteral("cannot write %1: %2").arg(path, why));
    }
    if (!file.commit()) {
        return fail(QStringLiteral("cannot finish %1: %2").arg(path, file.errorString()));
    }
    return true;
}

bool WriteDemoImage(const QString& path, QString* error) {
    return WriteImage(path, DemoImageLayout(), error);
}

} // namespace DemoRom
