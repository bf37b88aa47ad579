// The images and the change the patch tests of the tool and of the table window share: a
// Platinum image of any release holding a given table, and the game's table with three slots
// changed.
#pragma once

#include "DemoRom.h"
#include "GameImages.h"

#include <QString>
#include <vector>

// A Platinum image of the release `code` holding `records` (none: an empty table).
inline bool WriteImage(const QString& path, const std::vector<rom::EvolutionRecord>& records,
                       const char* code = "CPUE") {
    GameImage image = GameImage::Platinum(0x9000);
    image.Code = code;
    image.Records = records;
    return WriteSparseImage(path, image.Layout());
}

// The game's table with three slots changed: a stone swapped, a level raised, a slot filled.
inline std::vector<rom::EvolutionRecord> ChangedTable() {
    std::vector<rom::EvolutionRecord> table = DemoRom::GameEvolutionTable();
    table[133].Slots[3] = {7, 85, 470};
    table[1].Slots[0] = {4, 18, 2};
    table[493].Slots[6] = {5, 0, 1};
    return table;
}
