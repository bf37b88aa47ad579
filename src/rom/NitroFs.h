// The DS image's file system (NitroFS): the file name table, which maps paths to file ids, and
// the file allocation table, which gives each file's byte range in the image.
#pragma once

#include "ByteSource.h"
#include "CartridgeHeader.h"
#include "Result.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace rom {

struct ByteRange {
    std::uint64_t Offset = 0;
    std::uint64_t Size = 0;
};

class NitroFs {
public:
    // Reads both tables of `image`, checking that they lie inside it.
    static Result<NitroFs> Open(const ByteSource& image, const CartridgeHeader& header);

    // The byte range of the file at `path` ("poketool/personal/evo.narc", "a/0/3/4"), checked to
    // lie inside the image; names are compared exactly, as the console does.
    Result<ByteRange> Find(std::string_view path) const;

private:
    NitroFs() = default;
    Result<std::uint16_t> FindFileId(std::string_view path) const;

    std::vector<std::uint8_t> fnt;
    std::vector<std::uint8_t> fat;
    std::uint64_t imageSize = 0;
    std::uint16_t directoryCount = 0;
};

} // namespace rom
