// The fixed lists of the editor window. Every list is addressed by row only: the row a list
// shows selected is the number the ROM stores (species, method code, level, item or move).
#pragma once

#include "EvolutionTable.h"
#include "TableLocation.h"

#include <QStringList>

namespace EditorLists {

inline constexpr int SpeciesRows = 494; // species numbers 0 ("??????????") .. 493
inline constexpr int MethodRows = 27;   // method codes 0 ("None") .. 26
inline constexpr int MoveRows = 468;    // move numbers 0 ("None") .. 467
inline constexpr int ItemRows = 465;    // item numbers 0 ("None") .. 464
inline constexpr int LevelRows = 101;   // levels 0 .. 100
inline constexpr int TypeRows = 18;     // hg-engine's types 0 ("Normal") .. 17 ("Dark"), 9 "Fairy"

// A species row is the species number the table is indexed by.
static_assert(SpeciesRows == rom::SpeciesCount);

// Species chooser and target list (lstPokemon, cmbEvoTo): the game's names in species order,
// in the editor's own spellings, some with a trailing blank.
const QStringList& SpeciesList();

// The game's own species names, in species order, where the list above has the editor's spellings
// ("Nidoran♀" for "Nidoran-F", "Mr. Mime", "Porygon2", "Shelgon"): what users type.
const QStringList& GameSpeciesNames();

// The species list of the method-21 parameter (cmbPokemon): the same species in the same order,
// without trailing blanks, so that its row is the species number the game reads there.
const QStringList& ParameterSpeciesList();

// The method texts in code order (cmbType).
const QStringList& MethodList();

// The methods of an image with `layout`: the list above, or on hg-engine its 50 methods (27-49
// its own).
const QStringList& MethodListOf(const rom::TableLayout& layout);

// The types in hg-engine's numbering, the parameter of its method 31: the games' order with
// fairy where they keep their "???" type (9).
const QStringList& TypeList();

// "None", then the game's move names in move-number order (cmbAttack).
const QStringList& MoveList();

// "None", then the game's item names in item-number order (cmbItem).
const QStringList& ItemList();

// The item list of `game`'s own release: Diamond and Pearl's is the list above; Platinum's has
// 468 rows (112 "Griseous Orb"), HeartGold and SoulSilver's 537.
const QStringList& ItemListOf(rom::Game game);

// "0" to "100", so that a row is the level it shows (cmbLevel).
const QStringList& LevelList();

} // namespace EditorLists
