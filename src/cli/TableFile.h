// The table as a text file: CSV (RFC 4180, UTF-8, a header line) or JSON (an array of objects
// with the same keys), written by export and read back, every row checked, by import.
#pragma once

#include "EvolutionSummary.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace TableFile {

enum class Format { Csv, Json };

// The columns, in file order; the numbers decide, the names are there for people.
inline constexpr const char* Columns[] = {"species",        "species_name", "slot",
                                          "method",         "method_name",  "parameter",
                                          "parameter_name", "target",       "target_name"};

// Every slot of `table`, in species and slot order, slots counted from 1, named from `names`.
QByteArray Write(const EvolutionSummary::Table& table, Format format,
                 const GameNames& names = GameNames::BuiltIn());

// One slot named by a file.
struct Row {
    int Line = 0; // where the row starts in the file, from 1
    int Species = 0;
    int Slot = 0; // 0 .. 6
    rom::EvolutionSlot Value;
};

// A problem with the file, at the line it lies on.
struct Problem {
    int Line = 0;
    QString Reason;
};

struct Contents {
    std::vector<Row> Rows;
    std::vector<Problem> Problems; // rows are to be used only when this is empty
};

// Reads a CSV or JSON file (JSON when it starts with '[' or '{'), checking every row: the columns,
// species 0-493, slot 1-7, values 0-65535, each species and slot at most once.
Contents Read(const QByteArray& text);

} // namespace TableFile
