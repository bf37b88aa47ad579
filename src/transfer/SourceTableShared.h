// What the two source shapes share: values named as the checkout names them, values read through
// its names, and the records a file lists turned into every slot of the table.
#pragma once

#include "SourceNames.h"
#include "TableFile.h"

#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace SourceTable {

// How the checkout writes one slot's values, as expressions (names, numbers, MON_WITH_FORM).
struct SlotText {
    QString Method;
    QString Parameter;
    QString Target;
    // Whether each is a number rather than a name (JSON writes a number bare, a name quoted).
    bool MethodIsNumber = false;
    bool ParameterIsNumber = false;
    bool TargetIsNumber = false;
};

class Namer {
public:
    Namer(const rom::TableLayout& layout, const SourceNames& names) : layout_(layout), names_(names) {}
    // The record's species, as its designator or "baseSpecies".
    QString Species(int species, bool* isNumber = nullptr) const;
    SlotText Slot(const rom::EvolutionSlot& slot) const;

private:
    QString Named(SourceNames::Kind kind, int value, bool* isNumber) const;
    const rom::TableLayout& layout_;
    const SourceNames& names_;
};

// The records a file lists, and the problems met reading it.
struct Listing {
    struct Listed {
        int Line = 0;
        std::vector<rom::EvolutionSlot> Slots; // as many as the file gives, at most the layout's
    };
    std::map<int, Listed> Records; // by record; a later listing replaces an earlier one
    std::vector<TableFile::Problem> Problems;

    // A value the file gives: checked to lie in 0-65535 and named in the problems when not.
    std::optional<std::uint16_t> Value(const QString& expression, const char* what, int line,
                                       const SourceNames& names);
    // A record number: also checked to lie inside the image's table.
    std::optional<int> Record(const QString& expression, int line, const rom::TableLayout& layout,
                              const SourceNames& names);
    // Every slot of the table, or the problems.
    TableFile::Contents Rows(const rom::TableLayout& layout) const;
};

QByteArray WriteEvoJson(const EvolutionSummary::Table& table, const rom::TableLayout& layout,
                        const Namer& namer);
QByteArray WriteEvolutionsC(const EvolutionSummary::Table& table, const rom::TableLayout& layout,
                            const Namer& namer);
void ReadEvoJson(const QByteArray& text, const rom::TableLayout& layout, const SourceNames& names,
                 Listing& listing);
void ReadEvolutionsC(const QByteArray& text, const rom::TableLayout& layout, const SourceNames& names,
                     Listing& listing);

} // namespace SourceTable
