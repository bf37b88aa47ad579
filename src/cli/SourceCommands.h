// The evolution-table commands that move a table between an image and a decompilation's or
// hg-engine's source file, named as the user's own checkout names its constants.
#pragma once

#include "SourceNames.h"

#include <optional>
#include <ostream>
#include <string>

namespace TableTool {

// export IMAGE --format pokeheartgold|hg-engine --source DIR [-o FILE]
int ExportSource(const std::string& imagePath, SourceProject project, const std::string& sourceDir,
                 const std::optional<std::string>& output, std::ostream& out, std::ostream& err);

// import IMAGE FILE --format pokeheartgold|hg-engine --source DIR [--dry-run]: the whole table
// the file defines (a record it does not list is all empty), checked before anything is written,
// the slots that differ listed and written as an import writes them.
int ImportSource(const std::string& imagePath, const std::string& filePath, SourceProject project,
                 const std::string& sourceDir, bool dryRun, std::ostream& out, std::ostream& err);

} // namespace TableTool
