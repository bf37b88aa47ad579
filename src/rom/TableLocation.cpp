// Identifying a Generation 4 image by its game code and finding its evolution archive.
#include "TableLocation.h"

#include "CartridgeHeader.h"
#include "Narc.h"
#include "NitroFs.h"

#include <cstdio>
#include <limits>
#include <string_view>

namespace rom {
namespace {

struct GameFacts {
    std::string_view CodePrefix;
    rom::Game Game;
    std::string_view Name;
    std::string_view ArchivePath;
};

constexpr GameFacts Games[] = {
    {"ADA", Game::Diamond, "Pokemon Diamond", "poketool/personal/evo.narc"},
    {"APA", Game::Pearl, "Pokemon Pearl", "poketool/personal/evo.narc"},
    {"CPU", Game::Platinum, "Pokemon Platinum", "poketool/personal/evo.narc"},
    {"IPK", Game::HeartGold, "Pokemon HeartGold", "a/0/3/4"},
    {"IPG", Game::SoulSilver, "Pokemon SoulSilver", "a/0/3/4"},
};

// The fourth letter of the game code is the release's language.
constexpr std::string_view Regions = "EJDFISK";

const GameFacts* FactsForCode(std::string_view code) {
    if (code.size() != 4 || Regions.find(code[3]) == std::string_view::npos) {
        return nullptr;
    }
    for (const GameFacts& facts : Games) {
        if (code.substr(0, 3) == facts.CodePrefix) {
            return &facts;
        }
    }
    return nullptr;
}

const GameFacts* FactsForGame(rom::Game game) {
    for (const GameFacts& facts : Games) {
        if (facts.Game == game) {
            return &facts;
        }
    }
    return nullptr;
}

// hg-engine's personal archive holds a member per species and form: more than the 508 of
// HeartGold's own (the engine's own dump tool tells its images apart by this).
constexpr std::string_view HgEnginePersonalArchive = "a/0/0/2";
constexpr std::size_t RetailPersonalMembers = 508;

// Whether the image is built by hg-engine: HeartGold's US code, 56-byte records and a personal
// archive of more than 508 members. A personal archive that cannot be read as one makes the image
// simply not hg-engine: nothing else depends on it.
bool IsHgEngine(const ByteSource& image, const NitroFs& fs, std::string_view gameCode, int slotCount) {
    if (gameCode != "IPKE" || slotCount != MaxSlotCount) {
        return false;
    }
    const Result<ByteRange> personal = fs.Find(HgEnginePersonalArchive);
    if (!personal) {
        return false;
    }
    const Result<std::vector<ByteRange>> members = ReadNarcMembers(image, *personal, "the personal archive");
    return members && members->size() > RetailPersonalMembers;
}

// The layout of the table whose records are the archive's `members`: the slots from the size of
// its members, which must all be one of the sizes known; the records counted from the archive.
Result<TableLayout> DecideLayout(const ByteSource& image, const NitroFs& fs, std::string_view gameCode,
                                 const std::vector<ByteRange>& members) {
    const std::uint64_t size = members.front().Size;
    const int slotCount = SlotsOfRecordSize(size);
    if (slotCount == 0) {
        return Failure{"its evolution records are " + std::to_string(size) +
                       " bytes long: a format this editor does not know (it reads records of 44, 50 or 56 "
                       "bytes: 7, 8 or 9 slots)"};
    }
    TableLayout layout;
    layout.Slots = slotCount;
    layout.RecordSize = static_cast<int>(size);
    if (slotCount == SlotCount) {
        // The games' own table: its records are the species; the archive's further members (eggs,
        // forms) are no species' and stay out of it, as they always have.
        layout.Kind = TableLayout::Engine::Retail;
        layout.Records = SpeciesCount;
    } else {
        const bool hgEngine = IsHgEngine(image, fs, gameCode, slotCount);
        layout.Kind = hgEngine ? TableLayout::Engine::HgEngine : TableLayout::Engine::Expanded;
        layout.TargetsCarryForm = hgEngine;
        layout.Records = static_cast<int>(members.size());
    }
    for (int record = 1; record < layout.Records; ++record) {
        const std::uint64_t other = members[static_cast<std::size_t>(record)].Size;
        if (other != size) {
            return Failure{"its evolution records are not all the same size (record " +
                           std::to_string(record) + " is " + std::to_string(other) +
                           " bytes long, record 0 " + std::to_string(size) +
                           "): a format this editor does not know"};
        }
    }
    return layout;
}

} // namespace

TableLocation TableLocation::FixedOffset() {
    TableLocation location;
    location.records_.resize(SpeciesCount);
    for (int s = 0; s < SpeciesCount; ++s) {
        location.records_[static_cast<std::size_t>(s)] = rom::RecordOffset(s);
    }
    return location;
}

TableLocation::TableLocation(rom::Game game, std::string title, std::string gameCode, std::string archivePath,
                             std::vector<std::int32_t> records, TableLayout layout)
    : game_(game), title_(std::move(title)), gameCode_(std::move(gameCode)),
      archivePath_(std::move(archivePath)), layout_(layout), records_(std::move(records)) {
    layout_.Records = static_cast<int>(records_.size());
}

std::int32_t TableLocation::RecordOffset(int species) const {
    if (species < 0 || static_cast<std::size_t>(species) >= records_.size()) {
        return -1;
    }
    return records_[static_cast<std::size_t>(species)];
}

std::int32_t TableLocation::SlotOffset(int species, int slot) const {
    if (slot < 0 || slot >= layout_.Slots || RecordOffset(species) < 0) {
        return -1;
    }
    return RecordOffset(species) + EvolutionSlot::Size * slot;
}

std::int32_t TableLocation::FieldOffset(int species, int slot, SlotField field) const {
    const std::int32_t at = SlotOffset(species, slot);
    if (at < 0) {
        return -1;
    }
    // The field's place in the slot is the one the fixed layout gives it.
    return at + (rom::FieldOffset(0, 0, field) - rom::SlotOffset(0, 0));
}

std::string TableLocation::GameName() const {
    const GameFacts* facts = FactsForGame(game_);
    return facts ? std::string(facts->Name) : std::string();
}

std::string TableLocation::Description() const {
    if (!HasHeader()) {
        char text[64];
        std::snprintf(text, sizeof text, "no DS header: table at 0x%X",
                      static_cast<unsigned>(EvolutionTableOffset));
        return text;
    }
    return GameName() + " (" + gameCode_ + ")";
}

Result<TableLocation> LocateEvolutionTable(const ByteSource& image) {
    const Result<CartridgeHeader> header = ReadCartridgeHeader(image);
    const GameFacts* game = header ? FactsForCode(header->GameCode) : nullptr;
    if (!game) {
        if (header && header->CrcValid) {
            return Failure{"a DS image of " +
                           (header->Title.empty() ? std::string("an untitled game") : header->Title) + " (" +
                           header->GameCode + "), not a Generation 4 Pokemon game"};
        }
        // Neither a DS header nor a game code: a bare table image.
        return TableLocation::FixedOffset();
    }

    const Result<NitroFs> fs = NitroFs::Open(image, *header);
    if (!fs) {
        return Failure{fs.Reason()};
    }
    const Result<ByteRange> archive = fs->Find(game->ArchivePath);
    if (!archive) {
        return Failure{archive.Reason()};
    }
    const Result<std::vector<ByteRange>> members = ReadNarcMembers(image, *archive);
    if (!members) {
        return Failure{members.Reason()};
    }
    if (members->size() < static_cast<std::size_t>(SpeciesCount)) {
        return Failure{"its evolution archive holds " + std::to_string(members->size()) +
                       " records, fewer than the " + std::to_string(SpeciesCount) + " species"};
    }

    const Result<TableLayout> layout = DecideLayout(image, *fs, header->GameCode, *members);
    if (!layout) {
        return Failure{layout.Reason()};
    }
    std::vector<std::int32_t> records(static_cast<std::size_t>(layout->Records));
    for (std::size_t s = 0; s < records.size(); ++s) {
        const ByteRange& member = (*members)[s];
        if (member.Offset + member.Size >
            static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
            return Failure{
                "its evolution table lies beyond the first 2 GiB of the file, where this editor cannot "
                "write"};
        }
        records[s] = static_cast<std::int32_t>(member.Offset);
    }
    TableLocation location(game->Game, header->Title, header->GameCode, std::string(game->ArchivePath),
                           std::move(records), *layout);
    location.KeepFileSystem(*fs);
    return location;
}

Result<TableLocation> LocateEvolutionTable(const std::filesystem::path& path) {
    const FileSource image(path);
    if (!image.Problem().empty()) {
        return Failure{image.Problem()};
    }
    return LocateEvolutionTable(static_cast<const ByteSource&>(image));
}

} // namespace rom
