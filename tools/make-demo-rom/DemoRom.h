// The game's own evolution table and a writer for demo images that hold it, so the editor can be
// tried, tested and measured without a real ROM.
#pragma once

#include "EvolutionTable.h"

#include <QString>
#include <vector>

namespace DemoRom {

// A full 32 MiB cartridge image; sparse on disk except for the table.
inline constexpr qint64 DemoImageSize = 33554432;

// The evolution table of Pokemon Diamond / Pearl, one record per species 0..493.
std::vector<rom::EvolutionRecord> GameEvolutionTable();

// The table's 21,736 bytes as they lie in the image (fields little-endian, bytes 42-43 zero).
QByteArray EncodeTable(const std::vector<rom::EvolutionRecord>& table);

// Writes a DemoImageSize-byte image, zero everywhere except the table at its fixed offset. The
// image appears complete or not at all. Returns false and sets *error when it cannot be written.
bool WriteDemoImage(const QString& path, QString* error = nullptr);

} // namespace DemoRom
