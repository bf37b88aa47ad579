// The table as a text file: CSV (RFC 4180, UTF-8, a header line) or JSON (an array of objects
// with the same keys), written by export and read back, every row checked, by import.
#pragma once

#include "EvolutionImage.h"
#include "EvolutionSummary.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <vector>

namespace TableFile {

enum class Format { Csv, Json };

// The largest table file read: the whole table in JSON, the longer form, is about 600 KiB.
inline constexpr std::size_t SizeLimit = std::size_t{4} * 1024 * 1024;

// The columns, in file order; the numbers decide, the names are there for people.
inline constexpr const char* Columns[] = {"species",        "species_name", "slot",
                                          "method",         "method_name",  "parameter",
                                          "parameter_name", "target",       "target_name"};
// The columns where targets carry a form: the target's species (0-2047) and its form (0-31)
// apart.
inline constexpr const char* FormColumns[] = {"species",     "species_name", "slot",           "method",
                                              "method_name", "parameter",    "parameter_name", "target",
                                              "target_form", "target_name"};

// The columns of a file for an image whose table has `layout`.
QStringList ColumnsOf(const rom::TableLayout& layout = {});

// Every slot of every record of `table`, in record and slot order, slots counted from 1, named
// from `names`; the columns are those of `names.Layout()`.
QByteArray Write(const EvolutionSummary::Table& table, Format format,
                 const GameNames& names = GameNames::BuiltIn());

// One slot named by a file.
struct Row {
    int Line = 0; // where the row starts in the file, from 1
    int Species = 0;
    int Slot = 0;             // from 0
    rom::EvolutionSlot Value; // a target with its form as the image stores it (species | form << 11)
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

// Reads a CSV or JSON file (JSON when it starts with '[' or '{') for an image whose table has
// `layout`, checking every row: the layout's columns in their order, species 0 to the last record
// (493 on the games' images), slot 1 to the layout's slots, values 0-65535 (where targets carry a
// form, target 0-2047 and target_form 0-31), each species and slot at most once. A CSV file's
// fields are parted by what parts its header's: a comma, a semicolon or a tab.
Contents Read(const QByteArray& text, const rom::TableLayout& layout = {});

// A slot an import would change.
struct Change {
    TableFile::Row Row;
    rom::SlotBytes Before; // the slot's bytes in the table the file was compared with
};

// The rows of a checked file whose slots hold something else in `table`, in species and slot
// order: what an import writes, and nothing more.
std::vector<Change> Changes(const std::vector<Row>& rows, const EvolutionSummary::Table& table);

} // namespace TableFile
