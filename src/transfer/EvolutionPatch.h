// An evolution patch: the slots whose method, parameter or target differ between two images of one
// layout, each with what it held and what it holds after, as a small JSON file that can be put on
// any image with room for its slots (the numbers are the same in every language); and the
// three-way plan of putting it on one.
//
//   {"format": "evolution-patch", "version": 1, "from": {"game": "CPUE", "slots": 7},
//    "changes": [{"species": 133, "slot": 4, "old": {"method": 7, "parameter": 84, "target": 134},
//                 "new": {"method": 7, "parameter": 85, "target": 470}}]}
//
// Slots count from 1, as the editor shows them. Where the image's targets carry a form (hg-engine:
// species | form << 11), each side holds the species as "target" and the form as "target_form".
#pragma once

#include "EvolutionSummary.h"
#include "GameNames.h"
#include "Result.h"
#include "SlotChanges.h"
#include "TableFile.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace EvolutionPatch {

inline constexpr const char* FormatName = "evolution-patch";
inline constexpr int FormatVersion = 1;

struct Change {
    int Species = 0;
    int Slot = 0;           // from 0
    rom::EvolutionSlot Old; // a target with a form as the image stores it: species | form << 11
    rom::EvolutionSlot New;
    int Line = 0; // where the patch file holds it; 0 for one made by Diff
};

struct Patch {
    std::string Game;              // the game code of the image it was made from; empty for a bare one
    int Slots = rom::SlotCount;    // slots per record of that image
    bool TargetsCarryForm = false; // targets written as target and target_form
    std::vector<Change> Changes;   // Diff: in species and slot order; Read: in file order
};

// Every slot whose method, parameter or target differs from `from` to `to`, or why two tables of
// different layouts cannot be compared. `game` is the game code of the image `from` was read from.
rom::Result<Patch> Diff(const EvolutionSummary::Table& from, const rom::TableLayout& fromLayout,
                        const EvolutionSummary::Table& to, const rom::TableLayout& toLayout,
                        const std::string& game);

// The patch file: UTF-8 JSON, one change a line.
QByteArray Write(const Patch& patch);

struct Contents {
    std::optional<Patch> Read;                // when Problems is empty
    std::vector<TableFile::Problem> Problems; // each at its line of the file
};

// Reads a patch file, checking everything that can be checked without the image: its format and
// version, every key, type and number (slots 1 to the patch's own count, values 0-65535, forms
// 0-31), no slot changed twice.
Contents Read(const QByteArray& text);

// One change of a patch against an image: made (the slot holds what the patch expected), left (it
// already holds what the patch makes), or a conflict (it holds something else).
struct Step {
    enum class Kind { Change, AlreadyMade, Conflict };
    Kind What = Kind::Change;
    EvolutionPatch::Change Change;
    rom::EvolutionSlot Holds; // what the image holds now
};

struct Plan {
    std::vector<Step> Steps;                  // in the patch's order
    std::vector<TableFile::Problem> Problems; // the patch does not fit the image: nothing may be written
    std::size_t Count(Step::Kind kind) const;
    // The writes of the Change steps, each only while its slot still holds what the patch expected.
    std::vector<rom::SlotChange> Writes() const;
};

// What putting `patch` on the image whose table is `table` (laid out as `layout`) would do. A slot
// past the image's records or slots, or a form target on an image whose targets carry none, is a
// problem of the whole patch.
Plan PlanApply(const Patch& patch, const EvolutionSummary::Table& table, const rom::TableLayout& layout);

// "Eevee slot 4: the image holds Item Evo., Leaf Stone -> Leafeon (7, 85, 470), the patch expected
// Item Evo., Water Stone -> Vaporeon (7, 84, 134)".
QString DescribeConflict(const Step& step, const GameNames& names = GameNames::BuiltIn());

} // namespace EvolutionPatch
