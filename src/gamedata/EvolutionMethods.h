// The evolution methods: their texts, what kind of value each one stores as its parameter, and
// what a change of method does to the five lists that follow it. The games know methods 0-26;
// an hg-engine image also 27-49, so the methods of an image follow from its table's layout.
#pragma once

#include "EvolutionTable.h"

#include <QString>
#include <cstdint>

// What a slot's parameter holds, by method. The one classification behind both the lists a
// method enables and the parameter that Save stores. Type, Count and Hp are hg-engine's: a type
// (its numbering, fairy 9), a count (critical hits, a form argument) and hit points lost.
enum class ParameterKind { NoEvolution, NoParameter, Level, Item, Move, Species, Type, Count, Hp };

namespace EvolutionMethods {

inline constexpr int GameMethods = 27;     // the games' codes 0 ("None") .. 26
inline constexpr int HgEngineMethods = 50; // hg-engine's 0 .. 49

// The method codes an image with `layout` knows: 27, or 50 on hg-engine.
int MethodCount(const rom::TableLayout& layout = {});

// Text of method `code` (0 "None" .. 26 "Level at Route 217", on hg-engine up to 49
// "Inaccessible"); empty for any other number.
QString MethodText(int code, const rom::TableLayout& layout = {});

// Kind of the method selected in row `methodRow` of the method list. No selection (-1), like
// any number that is not a method code of the layout, stores no parameter.
ParameterKind KindOfMethod(int methodRow, const rom::TableLayout& layout = {});

// Rows of the list that edits a parameter of `kind`; 0 for the kinds without one, and for a count
// or hit points, which are numbers rather than rows of a list.
int ParameterRows(ParameterKind kind);

// Enabled state and selected row of one list after a method change; row -1 selects nothing.
struct ListState {
    bool Enabled = false;
    int Row = 0;
};

// What a change of method does to the other lists of the slot editor: exactly one parameter list
// (or none) is enabled and shows the pending parameter, the others stand disabled at row 0, and
// the target list is usable for every method but "None". The target's row is never changed.
struct MethodChange {
    ParameterKind Kind = ParameterKind::NoParameter;
    ListState Level;   // cmbLevel
    ListState Item;    // cmbItem
    ListState Pokemon; // cmbPokemon
    ListState Attack;  // cmbAttack
    ListState Type;    // cmbMoveType, hg-engine's type list
    bool EvoToEnabled = true;
};

// The change for selecting `methodRow` of the methods `layout` knows, showing `pendingParam` in
// the method's parameter list: a count and hit points are numbers of the level list's range. The
// pending value is consumed: it is reset to 0, so the next method change starts from 0. A value
// that does not fit a 16-bit row index, or has no row in its list, selects nothing.
MethodChange TakeMethodChange(int methodRow, std::int32_t& pendingParam, const rom::TableLayout& layout = {});

} // namespace EvolutionMethods
