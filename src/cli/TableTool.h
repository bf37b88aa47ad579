// The evolution-table commands (info, export, import, show, names, diff, apply) behind the program's
// thin main, so that they can be run and checked in-process.
#pragma once

#include "GameNames.h"
#include "TableFile.h"

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace TableTool {

// Exit statuses.
inline constexpr int Success = 0;
inline constexpr int BadInput = 1; // a refused image, an invalid file, a write that failed
inline constexpr int BadUsage = 2;

// The largest import file read, as the editor's import reads it.
inline constexpr std::size_t InputLimit = TableFile::SizeLimit;

// Runs the tool on `args` (the arguments after the program name: bytes as given on Unix, where a
// path need not be valid text; UTF-8 on Windows). Results go to `out`, messages to `err`; returns
// the exit status. An import whose report cannot be written to `out` writes nothing.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The species `text` names: a number 0-493, or a name in the list's spelling or the game's, with
// case, blanks and punctuation left aside and ♀ and ♂ also written f and m ("nidoran f").
std::optional<int> FindSpecies(const std::string& text);
// The same over every record of an image (`names` has a row for each), its own names taken first.
std::optional<int> FindSpecies(const std::string& text, const GameNames& names);

} // namespace TableTool
