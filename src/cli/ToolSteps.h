// The steps the evolution-table commands share: the image opened once and its table read, a
// file's problems listed, and slot changes listed and written through the one write path.
#pragma once

#include "EvolutionImage.h"
#include "EvolutionSummary.h"
#include "GameNames.h"
#include "SlotChanges.h"
#include "TableFile.h"

#include <QString>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace TableTool {

inline constexpr const char* Program = "evolution-table";

std::string Utf8(const QString& text);

// Opens the image once and identifies it; that one open serves the whole command, so every read
// and write reaches the file identified whatever happens to its path meanwhile. A refused image
// gets the same reason the window gives.
std::optional<rom::EvolutionImage> OpenImage(const std::string& path, bool forWriting, std::ostream& err);

// Says that the table could not be read whole, naming the first slot missing.
void ReportUnreadable(const std::string& path, int species, int slot, std::ostream& err);

struct OpenTable {
    rom::EvolutionImage Image;
    EvolutionSummary::Table Table;
    GameNames Names;
};

// The image (opened for writing when asked) and every slot of its table, or nothing when either
// cannot be had; the reason has been written to `err`.
std::optional<OpenTable> ReadImageTable(const std::string& path, std::ostream& err, bool forWriting = false);

// Whether `output` names the image itself, under its own path or another one (a hard or symbolic
// link): an export would replace the ROM with its table in text.
bool IsSameFile(const std::filesystem::path& image, const std::filesystem::path& output);

// The file's problems as `FILE:LINE: reason`, the first hundred of them: a file that is not a
// table at all would otherwise bury the terminal.
void ReportProblems(const std::string& file, const std::vector<TableFile::Problem>& problems,
                    std::ostream& err);

// "slot 4 of species 133"; `slot` counts from 0.
std::string SlotName(int species, int slot);

// Writes a command's file `text` into `output` by the export rules (a file replaced whole, a pipe
// or device written into), or onto `out` where no file is named or it is the output itself
// ("-o /dev/stdout"). The exit status; a file that cannot be written is said on `err`.
int Deliver(const QByteArray& text, const std::optional<std::string>& output, std::ostream& out,
            std::ostream& err);

// Writes `writes` through the one write path (compared under the slot lock, one write a slot, the
// slots written before a failure put back), and when one fails says which, why, and what the
// slots written before it hold now. True when every change was made.
bool WriteSlots(const std::string& path, const rom::EvolutionImage& image,
                const std::vector<rom::SlotChange>& writes, std::ostream& err);

// What an import does with the checked rows of a file: lists every slot they change in `table`
// (as read from `image`), then, unless `dryRun`, writes them and says how many changed. The list is
// the import's report: when it cannot be written, nothing is written to the image. Returns the
// exit status.
int ImportRows(const std::string& path, const rom::EvolutionImage& image,
               const EvolutionSummary::Table& table, const GameNames& names,
               const std::vector<TableFile::Row>& rows, bool dryRun, std::ostream& out, std::ostream& err);

} // namespace TableTool
