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
rom::ImageLayout DemoImageLayout(rom::Game game = rom::Game::Diamond);

// Writes `layout` to `path`, the bytes outside its chunks left as holes (sparse on disk). The
// image appears complete or not at all. Returns false and sets *error when it cannot be written.
bool WriteImage(const QString& path, const rom::ImageLayout& layout, QString* error = nullptr);

// Writes the demo image of `game` (one of the five).
bool WriteDemoImage(const QString& path, QString* error = nullptr, rom::Game game = rom::Game::Diamond);

} // namespace DemoRom
