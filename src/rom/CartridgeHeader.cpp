// Reading the DS cartridge header and checking its CRC.
#include "CartridgeHeader.h"

#include <array>

namespace rom {
namespace {

constexpr std::array<std::uint16_t, 256> CrcTable = [] {
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001u : crc >> 1;
        }
        table[i] = static_cast<std::uint16_t>(crc);
    }
    return table;
}();

std::string PrintableText(const std::uint8_t* bytes, std::size_t size, bool stopAtNul) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        if (stopAtNul && bytes[i] == 0) {
            break;
        }
        text += bytes[i] >= 0x20 && bytes[i] < 0x7F ? static_cast<char>(bytes[i]) : '?';
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

} // namespace

std::uint16_t HeaderCrc16(const std::uint8_t* data, std::size_t size) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < size; ++i) {
        crc = static_cast<std::uint16_t>((crc >> 8) ^ CrcTable[(crc ^ data[i]) & 0xFF]);
    }
    return crc;
}

Result<CartridgeHeader> ReadCartridgeHeader(const ByteSource& image) {
    const std::vector<std::uint8_t> bytes = image.ReadVector(0, CartridgeHeader::Size);
    if (bytes.empty()) {
        return Failure{"the file is too short to hold a DS cartridge header"};
    }
    LittleEndianView view(bytes);
    CartridgeHeader header;
    header.Title = PrintableText(bytes.data(), 12, true);
    header.GameCode = PrintableText(bytes.data() + 0x0C, 4, false);
    header.FntOffset = view.U32(0x40);
    header.FntSize = view.U32(0x44);
    header.FatOffset = view.U32(0x48);
    header.FatSize = view.U32(0x4C);
    header.StoredCrc = view.U16(0x15E);
    header.CrcValid = HeaderCrc16(bytes.data(), CartridgeHeader::CrcCoveredSize) == header.StoredCrc;
    return header;
}

} // namespace rom
