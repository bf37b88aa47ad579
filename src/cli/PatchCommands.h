// The evolution-table commands that carry a table's changes between images: diff makes an
// evolution patch of two images, apply puts one on an image three ways.
#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace TableTool {

// diff OLD NEW [-o PATCH]: every slot that differs, as a patch to PATCH (its summary, one line a
// slot, on `out`) or to `out` (its summary then on `err`, so that the patch can be piped).
int Diff(const std::string& oldPath, const std::string& newPath, const std::optional<std::string>& output,
         std::ostream& out, std::ostream& err);

// apply IMAGE PATCH [--dry-run]: a slot holding what the patch expected gets what it makes, one
// already holding that is left; any other is a conflict, named on `err`, and then nothing at all
// is written. Exit status 0 when applied (or already applied), 1 otherwise.
int Apply(const std::string& imagePath, const std::string& patchPath, bool dryRun, std::ostream& out,
          std::ostream& err);

} // namespace TableTool
