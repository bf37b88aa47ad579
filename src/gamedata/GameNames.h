// The names shown for one image: its own species, move and item names where its message archive
// holds them, else the built-in lists of its game, list by list, and where each list comes from;
// with them the image's methods and the layout of its table, which decides how many species rows
// there are and whether a target carries a form.
#pragma once

#include "EvolutionImage.h"
#include "ImageNames.h"
#include "TableLocation.h"

#include <QString>
#include <QStringList>
#include <array>

class GameNames {
public:
    // The built-in Diamond/Pearl lists: a bare table image's, and the lists with no image open.
    static const GameNames& BuiltIn();
    // The lists for the image `location` describes, read from `image`.
    static GameNames ForImage(const rom::ByteSource& image, const rom::TableLocation& location);
    // The same for an open image, read the way its slots are read.
    static GameNames ForImage(const rom::EvolutionImage& image);

    // The species list and target list (lstPokemon, cmbEvoTo), row = species number: a row for
    // every record of the table. Records past the names the image holds are forms: "form record
    // 1126", or "PIKACHU (form record 1200)" where the form's row repeats its species' name; past
    // a built-in list, "record 600".
    const QStringList& Species() const { return species; }
    // The method-21 parameter's species (cmbPokemon), without the built-in list's trailing blanks.
    const QStringList& ParameterSpecies() const { return parameterSpecies; }
    const QStringList& Moves() const { return moves; }
    const QStringList& Items() const { return items; }
    // The image's methods in code order (cmbType): the games' 27, or hg-engine's 50.
    const QStringList& Methods() const { return methods; }
    // The layout of the image's table: records, slots, forms in targets.
    const rom::TableLayout& Layout() const { return layout; }

    // Whether `list` holds the image's own names.
    bool FromImage(rom::NameList list) const { return origins[Index(list)].FromImage; }
    // "names: the image's own, English", "names: built-in Diamond/Pearl lists", or a mix:
    // "names: the image's own species and moves, English; built-in Platinum items".
    QString Source() const;
    // Per list, where it comes from: "species: a/0/2/7 member 237", or "items: built-in
    // HeartGold/SoulSilver list, as the item bank (a/0/2/7 member 222) holds 12 rows, ...".
    QStringList Details() const;
    // Whether the image holds a message archive at all, so that where its names come from is
    // worth saying.
    bool HasMessageArchive() const { return hasArchive; }

private:
    static GameNames FromRead(const rom::TableLocation& location, const rom::ImageNames& read);

    struct Origin {
        bool FromImage = false;
        QString Bank;    // the bank the names come from
        QString Problem; // why the image's own were not used
    };
    static int Index(rom::NameList list) { return static_cast<int>(list); }

    QStringList species;
    QStringList parameterSpecies;
    QStringList moves;
    QStringList items;
    QStringList methods;
    rom::TableLayout layout;
    std::array<Origin, 3> origins{};
    QString language;
    QString builtInName = QStringLiteral("Diamond/Pearl");
    bool hasArchive = false;
};
