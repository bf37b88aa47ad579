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

rom::ImageLayout DemoImageLayout(rom::Game game) {
    struct Cartridge {
        const char* Title;
        const char* Code;
        const char* Before; // the archives beside the evolution archive
        const char* Archive;
        const char* After;
        std::size_t Members;
        std::uint64_t Offset;
    };
    // Platinum and the Johto games keep the archive elsewhere; the demo puts it past Diamond's
    // place, so that an editor taking the fixed offset would show nothing there.
    constexpr std::uint64_t elsewhere = static_cast<std::uint64_t>(DemoArchiveOffset) + 0x40000;
    const Cartridge cartridge = [&]() -> Cartridge {
        switch (game) {
        case rom::Game::Pearl:
            return {"POKEMON P",
                    "APAE",
                    "poketool/personal/personal.narc",
                    "poketool/personal/evo.narc",
                    "poketool/personal/wotbl.narc",
                    501,
                    static_cast<std::uint64_t>(DemoArchiveOffset)};
        case rom::Game::Platinum:
            return {"POKEMON PL",
                    "CPUE",
                    "poketool/personal/personal.narc",
                    "poketool/personal/evo.narc",
                    "poketool/personal/wotbl.narc",
                    508,
                    elsewhere};
        case rom::Game::HeartGold:
            return {"POKEMON HG", "IPKE", "a/0/3/3", "a/0/3/4", "a/0/3/5", 508, elsewhere};
        case rom::Game::SoulSilver:
            return {"POKEMON SS", "IPGE", "a/0/3/3", "a/0/3/4", "a/0/3/5", 508, elsewhere};
        default:
            return {"POKEMON D",
                    "ADAE",
                    "poketool/personal/personal.narc",
                    "poketool/personal/evo.narc",
                    "poketool/personal/wotbl.narc",
                    501,
                    static_cast<std::uint64_t>(DemoArchiveOffset)};
        }
    }();
    // The two neighbours are small stand-ins for the game's own archives; they make the file
    // system's lists and ids like a real one's.
    const std::vector<std::uint8_t> neighbour = rom::BuildNarc({std::vector<std::uint8_t>(16, 0)});
    rom::NdsImageBuilder builder(cartridge.Title, cartridge.Code);
    builder.AddFile(cartridge.Before, neighbour);
    builder.AddFile(cartridge.Archive,
                    rom::BuildNarc(rom::EvolutionArchiveMembers(GameEvolutionTable(), cartridge.Members)),
                    cartridge.Offset);
    builder.AddFile(cartridge.After, neighbour);
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

bool WriteDemoImage(const QString& path, QString* error, rom::Game game) {
    return WriteImage(path, DemoImageLayout(game), error);
}

} // namespace DemoRom
