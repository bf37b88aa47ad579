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

} // namespace

TableLocation TableLocation::FixedOffset() {
    TableLocation location;
    for (int s = 0; s < SpeciesCount; ++s) {
        location.records_[static_cast<std::size_t>(s)] = rom::RecordOffset(s);
    }
    return location;
}

TableLocation::TableLocation(rom::Game game, std::string title, std::string gameCode, std::string archivePath,
                             const std::array<std::int32_t, SpeciesCount>& records)
    : game_(game), title_(std::move(title)), gameCode_(std::move(gameCode)),
      archivePath_(std::move(archivePath)), records_(records) {}

std::int32_t TableLocation::RecordOffset(int species) const {
    if (species < 0 || species >= SpeciesCount) {
        return -1;
    }
    return records_[static_cast<std::size_t>(species)];
}

std::int32_t TableLocation::SlotOffset(int species, int slot) const {
    if (slot < 0 || slot >= SlotCount || RecordOffset(species) < 0) {
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

    std::array<std::int32_t, SpeciesCount> records{};
    for (std::size_t s = 0; s < records.size(); ++s) {
        const ByteRange& member = (*members)[s];
        if (member.Size != static_cast<std::uint64_t>(EvolutionRecord::Size)) {
            return Failure{"its evolution records are not 44 bytes long: a format this editor does not know"};
        }
        if (member.Offset + member.Size >
            static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
            return Failure{
                "its evolution table lies beyond the first 2 GiB of the file, where this editor cannot "
                "write"};
        }
        records[s] = static_cast<std::int32_t>(member.Offset);
    }
    return TableLocation(game->Game, header->Title, header->GameCode, std::string(game->ArchivePath),
                         records);
}

Result<TableLocation> LocateEvolutionTable(const std::filesystem::path& path) {
    const FileSource image(path);
    if (!image.Problem().empty()) {
        return Failure{image.Problem()};
    }
    return LocateEvolutionTable(static_cast<const ByteSource&>(image));
}

} // namespace rom
