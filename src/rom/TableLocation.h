// Where the evolution table lies in an image: which of the five Generation 4 games it is, and
// the file offset of every species' record, found through the image's own file system. An image
// without a DS header is a bare table image with the records at the fixed offset.
#pragma once

#include "ByteSource.h"
#include "EvolutionTable.h"
#include "Result.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace rom {

enum class Game { NoHeader, Diamond, Pearl, Platinum, HeartGold, SoulSilver };

class TableLocation {
public:
    // A bare table image: records 44 bytes apart from EvolutionTableOffset.
    static TableLocation FixedOffset();
    // A game's image, with the record offsets read from its evolution archive.
    TableLocation(Game game, std::string title, std::string gameCode, std::string archivePath,
                  const std::array<std::int32_t, SpeciesCount>& records);

    rom::Game Kind() const { return game_; }
    bool HasHeader() const { return game_ != rom::Game::NoHeader; }
    const std::string& Title() const { return title_; }
    const std::string& GameCode() const { return gameCode_; }
    const std::string& ArchivePath() const { return archivePath_; } // empty for a bare image
    // How its records are laid out: slots per record, how many records, forms in targets.
    const TableLayout& Layout() const { return layout_; }

    // File offsets; -1 for a species or slot outside the table (which reads as nothing and is
    // never written).
    std::int32_t RecordOffset(int species) const;
    std::int32_t SlotOffset(int species, int slot) const;
    std::int32_t FieldOffset(int species, int slot, SlotField field) const;

    // "Pokemon Diamond"; empty for a bare image.
    std::string GameName() const;
    // "Pokemon Diamond (ADAE)", or "no DS header: table at 0x1C1BFDC".
    std::string Description() const;

private:
    TableLocation() = default;
    rom::Game game_ = rom::Game::NoHeader;
    std::string title_;
    std::string gameCode_;
    std::string archivePath_;
    TableLayout layout_;
    std::array<std::int32_t, SpeciesCount> records_{};
};

// Identifies the image and finds its table. The reasons for refusing an image are meant for the
// user: "its evolution records are not 44 bytes long: a format this editor does not know".
Result<TableLocation> LocateEvolutionTable(const ByteSource& image);
// The same for an image file, refusing a path that is not a readable regular file.
Result<TableLocation> LocateEvolutionTable(const std::filesystem::path& path);

} // namespace rom
