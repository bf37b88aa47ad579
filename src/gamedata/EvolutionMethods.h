// The evolution methods: their texts, what kind of value each one stores as its parameter, and
// what a change of method does to the five lists that follow it.
#pragma once

#include <QString>
#include <cstdint>

// What a slot's parameter holds, by method. The one classification behind both the lists a
// method enables and the parameter that Save stores.
enum class ParameterKind { NoEvolution, NoParameter, Level, Item, Move, Species };

namespace EvolutionMethods {

// Text of method `code` (0 "None" .. 26 "Level at Route 217"); empty for any other number.
QString MethodText(int code);

// Kind of the method selected in row `methodRow` of the method list. No selection (-1), like
// any number that is not a method code, stores no parameter.
ParameterKind KindOfMethod(int methodRow);

// Rows of the list that edits a parameter of `kind`; 0 for the kinds without one.
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
    bool EvoToEnabled = true;
};

// The change for selecting `methodRow`, showing `pendingParam` in the method's parameter list.
// The pending value is consumed: it is reset to 0, so the next method change starts from 0. A
// value that does not fit a 16-bit row index, or has no row in its list, selects nothing.
MethodChange TakeMethodChange(int methodRow, std::int32_t& pendingParam);

} // namespace EvolutionMethods
