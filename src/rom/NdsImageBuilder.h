// Builds DS images in memory: a cartridge header with a correct CRC, a NitroFS holding the given
// files, and NARC archives. For the demo image, the tests and the fuzz run; the result is a list
// of byte runs at their offsets, zero everywhere else, so a large image can be written sparse.
#pragma once

#include "EvolutionTable.h"
#include "TableLocation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rom {

struct ImageChunk {
    std::uint64_t Offset = 0;
    std::vector<std::uint8_t> Bytes;
};

struct ImageLayout {
    std::uint64_t Size = 0; // the image's length; bytes outside every chunk are zero
    std::vector<ImageChunk> Chunks;

    // The whole image in memory (for small images).
    std::vector<std::uint8_t> Flatten() const;
};

class NdsImageBuilder {
public:
    NdsImageBuilder(std::string title, std::string gameCode);

    // Adds the file at `path` ("poketool/personal/evo.narc"). Its bytes lie at `offset`, or, without
    // one, after the file system's tables and the files placed before it.
    void AddFile(const std::string& path, std::vector<std::uint8_t> bytes,
                 std::optional<std::uint64_t> offset = {});
    // The image's length; by default it ends just after the last file.
    void SetImageSize(std::uint64_t size) { imageSize = size; }

    ImageLayout Build() const;

private:
    struct File {
        std::string Path;
        std::vector<std::uint8_t> Bytes;
        std::optional<std::uint64_t> Offset;
    };
    std::string title;
    std::string gameCode;
    std::vector<File> files;
    std::uint64_t imageSize = 0;
};

// A NARC archive holding `members` in order, each 4-aligned, with an empty name table.
std::vector<std::uint8_t> BuildNarc(const std::vector<std::vector<std::uint8_t>>& members);

// The members of an evolution archive: `records` in species order (`memberSize` bytes each, 44 for
// the games' seven slots, 50 or 56 for eight or nine; each record's slots as the slot model encodes
// them, as many as fit, the rest zero), then zero records up to `memberCount`.
std::vector<std::vector<std::uint8_t>>
EvolutionArchiveMembers(const std::vector<EvolutionRecord>& records, std::size_t memberCount,
                        std::size_t memberSize = EvolutionRecord::Size);

// The members of `game`'s message archive: the three name banks at the members the game reads
// them from, empty banks everywhere else.
std::vector<std::vector<std::uint8_t>> MessageArchiveMembers(Game game, std::vector<std::uint8_t> species,
                                                             std::vector<std::uint8_t> moves,
                                                             std::vector<std::uint8_t> items);

} // namespace rom
