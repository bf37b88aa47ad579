// Parses the embedded copy of the game's evolution table and writes demo images.
#include "DemoRom.h"

#include "EditorLists.h"
#include "ImageNames.h"
#include "MessageBank.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
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

namespace {

// A bank of `names` as the games write them: the curly apostrophe, no trailing blanks.
std::vector<std::uint8_t> NameBank(QStringList names, std::uint16_t seed) {
    std::vector<std::vector<std::uint16_t>> strings;
    for (QString& name : names) {
        name = name.trimmed().replace(u'\'', u'\u2019');
        const auto units = rom::EncodeText(name.toStdString());
        if (!units) {
            throw std::runtime_error("a built-in name the games cannot write: " + name.toStdString());
        }
        strings.push_back(*units);
    }
    return rom::BuildMessageBank(strings, seed);
}

std::vector<std::vector<std::uint8_t>> MessageArchive(rom::Game game) {
    QStringList species = EditorLists::GameSpeciesNames();
    for (QString& name : species) {
        name = name.toUpper();
    }
    species[0] = QStringLiteral("-----");
    species << QStringLiteral("Egg") << QStringLiteral("Bad Egg");
    QStringList moves = EditorLists::MoveList();
    moves[0] = QStringLiteral("-");
    moves[354] = QStringLiteral("Psycho Boost");
    return rom::MessageArchiveMembers(game, NameBank(species, 0x782C), NameBank(moves, 0xF8C9),
                                      NameBank(EditorLists::ItemListOf(game), 0xCAAD));
}

} // namespace

rom::ImageLayout DemoImageLayout(rom::Game game, bool names) {
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
    if (names) {
        builder.AddFile(std::string(rom::NameBanksOf(game).Path), rom::BuildNarc(MessageArchive(game)));
    }
    builder.SetImageSize(static_cast<std::uint64_t>(DemoImageSize));
    return builder.Build();
}

namespace {

// The demo's own species after the games' (544-549), and the forms' records (550-553).
constexpr int Pebblit = 544, Lumivee = 545, Craggor = 546, Snapling = 547, Snaptor = 548, Snapheart = 549;
constexpr std::uint16_t IceStone = 849; // hg-engine's item number

rom::EvolutionSlot Slot(int method, int parameter, int species, int form = 0) {
    return {static_cast<std::uint16_t>(method), static_cast<std::uint16_t>(parameter),
            rom::FormTarget(species, form)};
}

} // namespace

std::vector<rom::EvolutionRecord> HgEngineDemoTable() {
    constexpr int slotCount = 9;
    std::vector<rom::EvolutionRecord> table(HgEngineDemoRecords, rom::EvolutionRecord::Empty(slotCount));
    const std::vector<rom::EvolutionRecord> game = GameEvolutionTable();
    for (std::size_t s = 0; s < game.size(); ++s) {
        std::copy(game[s].Slots.begin(), game[s].Slots.end(), table[s].Slots.begin());
    }
    const auto set = [&table](int record, int slot, rom::EvolutionSlot value) {
        table[static_cast<std::size_t>(record)].Slots[static_cast<std::size_t>(slot)] = value;
    };
    // Eevee's eighth and ninth: the Ice Stone, and a fairy-type move (type 9) with friendship.
    set(133, 7, Slot(7, IceStone, 471));
    set(133, 8, Slot(31, 9, Lumivee));
    // Pikachu to Raichu's form 1 with a Thunderstone, beside its own.
    set(25, 1, Slot(7, 83, 26, 1));
    // Pebblit by the time of day into Craggor's three forms; its form record into a fourth.
    set(Pebblit, 0, Slot(27, 25, Craggor, 0));
    set(Pebblit, 1, Slot(28, 25, Craggor, 1));
    set(Pebblit, 2, Slot(29, 25, Craggor, 2));
    set(HgEngineFirstForm, 0, Slot(30, 30, Craggor, 3));
    // Snapling by critical hits, Snaptor by hit points lost into Snapheart's form 1.
    set(Snapling, 0, Slot(36, 3, Snaptor));
    set(Snaptor, 0, Slot(37, 49, Snapheart, 1));
    set(Snaptor, 1, Slot(47, 20, Snapheart));
    return table;
}

QStringList HgEngineDemoSpecies() {
    QStringList species = EditorLists::GameSpeciesNames();
    for (QString& name : species) {
        name = name.toUpper();
    }
    species[0] = QStringLiteral("-----");
    species << QStringLiteral("EGG") << QStringLiteral("BAD EGG");
    while (species.size() < Pebblit) {
        species << QStringLiteral("-----");
    }
    species << QStringLiteral("PEBBLIT") << QStringLiteral("LUMIVEE") << QStringLiteral("CRAGGOR")
            << QStringLiteral("SNAPLING") << QStringLiteral("SNAPTOR") << QStringLiteral("SNAPHEART");
    while (species.size() < HgEngineDemoRecords) {
        species << QStringLiteral("-----");
    }
    return species;
}

rom::ImageLayout HgEngineDemoImageLayout() {
    const std::vector<std::uint8_t> neighbour = rom::BuildNarc({std::vector<std::uint8_t>(16, 0)});
    rom::NdsImageBuilder builder("POKEMON HG", "IPKE");
    // A personal record per species and form (hg-engine's own are larger; only their count is read).
    builder.AddFile("a/0/0/2", rom::BuildNarc(std::vector<std::vector<std::uint8_t>>(
                                   HgEngineDemoRecords, std::vector<std::uint8_t>(44, 0))));
    builder.AddFile("a/0/3/3", neighbour);
    builder.AddFile("a/0/3/4",
                    rom::BuildNarc(rom::EvolutionArchiveMembers(HgEngineDemoTable(), HgEngineDemoRecords,
                                                                rom::RecordSizeOf(9))),
                    static_cast<std::uint64_t>(DemoArchiveOffset) + 0x40000);
    builder.AddFile("a/0/3/5", neighbour);

    QStringList moves = EditorLists::MoveList();
    moves[0] = QStringLiteral("-");
    moves[354] = QStringLiteral("Psycho Boost");
    // hg-engine's items go on past HeartGold's 537; those the demo does not name are unused rows.
    QStringList items = EditorLists::ItemListOf(rom::Game::HeartGold);
    while (items.size() < IceStone) {
        items << QStringLiteral("???");
    }
    items << QStringLiteral("Ice Stone");
    builder.AddFile("a/0/2/7", rom::BuildNarc(rom::MessageArchiveMembers(
                                   rom::Game::HeartGold, NameBank(HgEngineDemoSpecies(), 0x782C),
                                   NameBank(moves, 0xF8C9), NameBank(items, 0xCAAD))));
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

bool WriteDemoImage(const QString& path, QString* error, rom::Game game, bool names) {
    return WriteImage(path, DemoImageLayout(game, names), error);
}

bool WriteHgEngineDemoImage(const QString& path, QString* error) {
    return WriteImage(path, HgEngineDemoImageLayout(), error);
}

} // namespace DemoRom
