// The game's own evolution table and a writer for demo images that hold it, so the editor can be
// tried, tested and measured without a real ROM.
#pragma once

#include "EvolutionTable.h"
#include "NdsImageBuilder.h"
#include "TableLocation.h"

#include <QString>
#include <vector>

namespace DemoRom {

// A full 32 MiB cartridge image; sparse on disk except for the table.
inline constexpr qint64 DemoImageSize = 33554432;

// The evolution table of Pokemon Diamond / Pearl, one record per species 0..493.
std::vector<rom::EvolutionRecord> GameEvolutionTable();

// The table's 21,736 bytes as they lie in the image (fields little-endian, bytes 42-43 zero).
QByteArray EncodeTable(const std::vector<rom::EvolutionRecord>& table);

// Where the demo image's evolution archive starts: its member 0 then lies at the fixed table
// offset, as in the Diamond / Pearl release that offset was made for.
inline constexpr qint64 DemoArchiveOffset = 0x1C1B000;

// A Diamond image as the game's cartridge lays it out, in small: a header ("POKEMON D", "ADAE",
// correct CRC), a file system holding poketool/personal/evo.narc (501 members, the game's table in
// members 0..493) between two other archives, DemoImageSize bytes long.
// Another game's demo has that game's header and archive (Platinum: evo.narc of 508 members;
// HeartGold and SoulSilver: a/0/3/4), elsewhere in the image and holding the same table.
// With `names`, the image also holds the game's message archive with English species, move and
// item banks (written from the built-in lists, species in the game's capitals), so that the
// editor shows the image's own names.
rom::ImageLayout DemoImageLayout(rom::Game game = rom::Game::Diamond, bool names = false);

// The made-up table of the hg-engine-shaped demo: HgEngineDemoRecords records of nine slots, one
// per species and form as hg-engine lays them out: the games' species 0-493 with the games' table
// (Eevee with all nine slots: an Ice Stone of item 849 and a fairy-type move besides), 494 and 495
// the eggs, 496-543 unused, six species of its own from 544 and four form records from 550;
// some targets carry a form (species | form << 11) and the engine's own methods appear.
inline constexpr int HgEngineDemoRecords = 554;
inline constexpr int HgEngineFirstForm = 550;
std::vector<rom::EvolutionRecord> HgEngineDemoTable();
// Its species names as its message archive holds them: "-----" on row 0, on the unused rows and
// on every form row, as hg-engine writes them.
QStringList HgEngineDemoSpecies();

// An hg-engine-shaped HeartGold image ("POKEMON HG", "IPKE"): the personal archive a/0/0/2 with a
// member per record (more than HeartGold's 508), a/0/3/4 of 56-byte records holding the table
// above, and the message archive a/0/2/7 with its species, move and item banks (items up to 849
// "Ice Stone"), DemoImageSize bytes long.
rom::ImageLayout HgEngineDemoImageLayout();

// Writes `layout` to `path`, the bytes outside its chunks left as holes (sparse on disk). The
// image appears complete or not at all. Returns false and sets *error when it cannot be written.
bool WriteImage(const QString& path, const rom::ImageLayout& layout, QString* error = nullptr);

// Writes the demo image of `game` (one of the five).
bool WriteDemoImage(const QString& path, QString* error = nullptr, rom::Game game = rom::Game::Diamond,
                    bool names = false);

// Writes the hg-engine-shaped demo image.
bool WriteHgEngineDemoImage(const QString& path, QString* error = nullptr);

} // namespace DemoRom
