// The species, move and item names an image holds in its own message archive, each list read
// from the bank the game reads it from and used only when the whole list decodes cleanly.
#pragma once

#include "ByteSource.h"
#include "TableLocation.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rom {

enum class NameList { Species, Moves, Items };

struct NameBankRead {
    std::string Bank;               // "a/0/2/7 member 237"; empty when there is no such bank
    std::vector<std::string> Names; // UTF-8, in number order; empty when the bank is not used
    std::string Problem;            // why the bank is not used
};

// Whether a row holds no name but a placeholder: nothing, or only dashes and question marks
// ("-----" on the games' row 0 and on hg-engine's unused and form rows, "??????????"). Placeholder
// rows may repeat; only real names must be distinct.
bool IsPlaceholderName(std::string_view utf8);

struct ImageNames {
    std::string Language;    // of the release, from its game code: "English", "French", ...
    bool HasArchive = false; // the image holds the game's message archive
    std::string Problem;     // why the archive itself cannot be read
    NameBankRead Species, Moves, Items;

    const NameBankRead& List(NameList list) const;
};

// Where a game keeps its message archive and which of its members hold the name banks (the
// English releases' numbers).
struct NameBankPlaces {
    std::string_view Path;
    std::size_t Species, Moves, Items;
};
NameBankPlaces NameBanksOf(Game game);

// The rows a list must hold for `game`: 494 species, 468 moves, and the game's items (Diamond and
// Pearl 465, Platinum 468, HeartGold and SoulSilver 537).
std::size_t NameRowsNeeded(Game game, NameList list);

// The names of the image `location` describes. Nothing is read for an image without a header.
// Each list comes from the member the game itself reads; that bank must hold the rows the list
// needs, each a name (an end mark, no code without a character, no layout codes, at most 64
// units) and, for species and moves, no two real names alike (placeholders may repeat). Another
// member is never tried in its place. Further rows are kept while they are names, alike or not
// (a form's row may repeat its species' name; hg-engine's moves repeat some): species up to the
// table's records, moves and items every row their banks hold.
ImageNames ReadImageNames(const ByteSource& image, const TableLocation& location);

} // namespace rom
