// The DS cartridge header at the start of an image: title, game code, where the file name and
// allocation tables lie, and the header's own CRC-16.
#pragma once

#include "ByteSource.h"
#include "Result.h"

#include <cstdint>
#include <string>

namespace rom {

struct CartridgeHeader {
    static constexpr std::size_t CrcCoveredSize = 0x15E; // bytes 0x000..0x15D
    static constexpr std::size_t Size = 0x160;           // up to and including the header CRC

    std::string Title;    // up to 12 characters; NUL padding dropped, unprintable bytes as '?'
    std::string GameCode; // four characters, unprintable bytes as '?'
    std::uint32_t FntOffset = 0;
    std::uint32_t FntSize = 0;
    std::uint32_t FatOffset = 0;
    std::uint32_t FatSize = 0;
    std::uint16_t StoredCrc = 0;
    bool CrcValid = false; // the stored CRC matches the header's bytes
};

// CRC-16 as the DS header carries it: reflected polynomial 0xA001, start 0xFFFF, no final XOR.
std::uint16_t HeaderCrc16(const std::uint8_t* data, std::size_t size);

// The header of `image`; fails only when the image is too short to hold one.
Result<CartridgeHeader> ReadCartridgeHeader(const ByteSource& image);

} // namespace rom
