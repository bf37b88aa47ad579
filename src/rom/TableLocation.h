// Where the evolution table lies in an image: which of the five Generation 4 games it is, how its
// records are laid out, and the file offset of every record, found through the image's own file
// system. An image without a DS header is a bare table image with the records at the fixed offset.
#pragma once

#include "ByteSource.h"
#include "EvolutionTable.h"
#include "NitroFs.h"
#include "Result.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace rom {

enum class Game { NoHeader, Diamond, Pearl, Platinum, HeartGold, SoulSilver };

class TableLocation {
public:
    // A bare table image: records 44 bytes apart from EvolutionTableOffset.
    static TableLocation FixedOffset();
    // A game's image, with the offset of every record of `layout` read from its evolution archive
    // (`records` holds layout.Records offsets).
    TableLocation(Game game, std::string title, std::string gameCode, std::string archivePath,
                  std::vector<std::int32_t> records, TableLayout layout);

    rom::Game Kind() const { return game_; }
    bool HasHeader() const { return game_ != rom::Game::NoHeader; }
    const std::string& Title() const { return title_; }
    const std::string& GameCode() const { return gameCode_; }
    const std::string& ArchivePath() const { return archivePath_; } // empty for a bare image
    // How its records are laid out: slots per record, how many records, forms in targets.
    const TableLayout& Layout() const { return layout_; }
    int Records() const { return layout_.Records; }
    int Slots() const { return layout_.Slots; }

    // File offsets; -1 for a record or slot outside the table (which reads as nothing and is
    // never written). A record is numbered as the archive numbers its members (species, then
    // forms where the image has them); slots count from 0.
    std::int32_t RecordOffset(int species) const;
    std::int32_t SlotOffset(int species, int slot) const;
    std::int32_t FieldOffset(int species, int slot, SlotField field) const;

    // "Pokemon Diamond"; empty for a bare image.
    std::string GameName() const;
    // "Pokemon Diamond (ADAE)", or "no DS header: table at 0x1C1BFDC".
    std::string Description() const;

    // The image's file system as read when the image was identified, so that the names and the
    // rest are found in it without walking the header and the file tables again; null for a bare
    // image.
    const NitroFs* FileSystem() const { return fileSystem_.get(); }
    void KeepFileSystem(NitroFs fileSystem) {
        fileSystem_ = std::make_shared<const NitroFs>(std::move(fileSystem));
    }

private:
    TableLocation() = default;
    rom::Game game_ = rom::Game::NoHeader;
    std::string title_;
    std::string gameCode_;
    std::string archivePath_;
    TableLayout layout_;
    std::vector<std::int32_t> records_;
    std::shared_ptr<const NitroFs> fileSystem_;
};

// Identifies the image, decides its layout and finds its table. The layout comes from the image
// alone: the slots from the size of the archive's members (44, 50 or 56 bytes: 7, 8 or 9 slots),
// the records from the archive (the 494 species on a 44-byte table, as in the games; every member
// otherwise), hg-engine from its game code (IPKE), its personal archive a/0/0/2 (a NARC of more than
// 508 members) and 56-byte records. The reasons for refusing an image are meant for the user: "its
// evolution records are 48 bytes long: a format this editor does not know (...)".
Result<TableLocation> LocateEvolutionTable(const ByteSource& image);
// The same for an image file, refusing a path that is not a readable regular file.
Result<TableLocation> LocateEvolutionTable(const std::filesystem::path& path);

} // namespace rom
