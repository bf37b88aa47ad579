// Evolution slots in words, for the window's tool tips and the command-line tool: a slot as one
// line, and what a species evolves from and into.
#pragma once

#include "EvolutionTable.h"
#include "GameNames.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace EvolutionSummary {

// Every record of the table (species 0 .. 493 on the games' images; forms too where the image has
// records for them), each with the layout's slots.
using Table = std::vector<rom::EvolutionRecord>;

// The names as the lists show them, without trailing blanks; empty when the number has no row.
// The methods and the kinds of their parameters are the image's (`names.Layout()`).
QString SpeciesName(int species, const GameNames& names = GameNames::BuiltIn());
QString MethodName(int method, const GameNames& names = GameNames::BuiltIn());
// The name of the parameter in the list its method's kind uses; empty for a method without one.
QString ParameterName(const rom::EvolutionSlot& slot, const GameNames& names = GameNames::BuiltIn());
// The species a target names: where targets carry a form (`names.Layout()`), the stored value's
// low 11 bits; else the value itself.
int TargetSpecies(std::uint16_t target, const GameNames& names = GameNames::BuiltIn());
// The name of that species, without its form; empty when it has no row.
QString TargetName(std::uint16_t target, const GameNames& names = GameNames::BuiltIn());

// The same in words that never hide a number: "Bulbasaur", or "species 600" where the list has no
// row; "Level Evo." or "method 40".
QString SpeciesText(int species, const GameNames& names = GameNames::BuiltIn());
QString MethodText(int method, const GameNames& names = GameNames::BuiltIn());
// The parameter as its method reads it: "level 20", "Water Stone", "Remoraid", "Fairy type",
// "3 critical hits", "49 HP", "value 170" for a value stored with a method that shows none; empty
// when there is nothing to show.
QString ParameterText(const rom::EvolutionSlot& slot, const GameNames& names = GameNames::BuiltIn());
// A target in words: "Ivysaur", and where targets carry a form and it is not 0, "LYCANROC form 1".
QString TargetText(std::uint16_t target, const GameNames& names = GameNames::BuiltIn());

// A name as users may type it differently: only its letters and digits, case folded, with the
// game's ♀ and ♂ as f and m ("Nidoran♀", "nidoran f" and the list's "Nidoran-F" alike).
QString NameKey(const QString& name);

// "Level Evo., level 16 -> Ivysaur", "Item Evo., Leaf Stone -> Leafeon", or "no evolution" for
// method 0. A number that no list holds is shown as the number.
QString Describe(const rom::EvolutionSlot& slot, const GameNames& names = GameNames::BuiltIn());

// One slot's change as the import reports it:
// "Eevee slot 4: Level Evo. 20 -> Item Evo. Leaf Stone, target Leafeon". `slot` counts from 0; the
// old target is named too when it changes.
QString DescribeChange(int species, int slot, const rom::EvolutionSlot& before,
                       const rom::EvolutionSlot& after, const GameNames& names = GameNames::BuiltIn());

// A used slot (method other than 0) of the table.
struct Link {
    int Species = 0;
    int Slot = 0; // from 0
    rom::EvolutionSlot Value;
};
// The used slots of `species`, in slot order.
std::vector<Link> EvolvesInto(const Table& table, int species);
// Every used slot whose target is `species` (in any form, where targets carry one: the layout of
// `names`), in species and slot order.
std::vector<Link> EvolvesFrom(const Table& table, int species, const GameNames& names = GameNames::BuiltIn());

// The species list's tool tip: "Evolves from Bulbasaur (Level Evo., level 16)" and
// "Evolves into Venusaur (Level Evo., level 32)" lines, or "Does not evolve".
QString SpeciesToolTip(const Table& table, int species, const GameNames& names = GameNames::BuiltIn());

} // namespace EvolutionSummary
