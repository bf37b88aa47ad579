// The evolution table as the decompilation and hg-engine keep it in source, written in the names
// of the user's own checkout and read back with every name and number checked:
// - pret/pokeheartgold `files/poketool/personal/evo.json`: {"evoTable": [{"baseSpecies": ...,
//   "evos": [{"method": ..., "param": ..., "target": ...}]}]}, the species that evolve, their
//   slots up to the last used one;
// - hg-engine `data/Evolutions.c`: `[SPECIES_X] = { .entries = { { EVO_LEVEL, 16, SPECIES_Y },
//   ... }, },` in the table `__data`, every slot, a form target as MON_WITH_FORM(SPECIES_Y, n).
#pragma once

#include "EvolutionSummary.h"
#include "SourceNames.h"
#include "TableFile.h"

#include <QByteArray>

namespace SourceTable {

// The whole table as `project` keeps it. Methods, species, items, moves and types are written as
// the checkout's headers name them (a number where they name none): a level, a count or a value
// as a number. pokeheartgold lists the species that evolve; hg-engine lists every record that is
// used or whose species the headers name, in record order.
QByteArray Write(const EvolutionSummary::Table& table, const rom::TableLayout& layout, SourceProject project,
                 const SourceNames& names);

// Every slot of an image's table laid out as `layout` (its records and slots), as the file
// defines it. Wherever a number goes, a number or any name the headers define is taken, with
// their arithmetic (a level written as a species name, an item as a bare number). A record the
// file does not list is all empty, as the project's build makes it; one listed twice counts as
// its last listing. The two bytes after a record's slots are never read or written. An unknown
// name, a value out of range, a record past the image's, more slots than a record has, or a shape
// the reader does not know is a problem at its line, and the rows are then not to be used.
TableFile::Contents Read(const QByteArray& text, const rom::TableLayout& layout, SourceProject project,
                         const SourceNames& names);

} // namespace SourceTable
