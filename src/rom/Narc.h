// The NARC archive that holds a game's data files: its member table (BTAF) and where its member
// data (GMIF) begins.
#pragma once

#include "ByteSource.h"
#include "NitroFs.h"
#include "Result.h"

#include <string>
#include <vector>

namespace rom {

// The absolute byte range of every member of the archive that lies at `archive` in `image`,
// each checked to lie inside the archive's data. `name` is the archive as a reason calls it.
Result<std::vector<ByteRange>> ReadNarcMembers(const ByteSource& image, const ByteRange& archive,
                                               const std::string& name = "the evolution archive");

} // namespace rom
