// Walking a NARC archive's sections by their size fields and reading its member table.
#include "Narc.h"

#include <cstring>

namespace rom {
namespace {

struct Section {
    std::uint64_t Offset = 0; // inside the archive
    std::uint32_t Size = 0;
};

// The section at `offset` (inside the archive) if it carries `tag` and fits the archive.
Result<Section> ReadSection(const ByteSource& image, const ByteRange& archive, std::uint64_t offset,
                            const char* tag, std::uint32_t minimumSize) {
    const std::string missing =
        std::string("the evolution archive is damaged: its ") + tag + " section is missing";
    if (offset > archive.Size || archive.Size - offset < 8) {
        return Failure{missing};
    }
    const std::vector<std::uint8_t> head = image.ReadVector(archive.Offset + offset, 8);
    if (head.empty() || std::memcmp(head.data(), tag, 4) != 0) {
        return Failure{missing};
    }
    LittleEndianView view(head);
    const std::uint32_t size = view.U32(4);
    if (size < minimumSize || size > archive.Size - offset) {
        return Failure{std::string("the evolution archive is damaged: its ") + tag +
                       " section does not fit it"};
    }
    return Section{offset, size};
}

} // namespace

Result<std::vector<ByteRange>> ReadNarcMembers(const ByteSource& image, const ByteRange& archive) {
    constexpr std::uint64_t MinimumHeader = 0x10;
    const std::vector<std::uint8_t> header =
        archive.Size >= MinimumHeader && image.Holds(archive.Offset, archive.Size)
            ? image.ReadVector(archive.Offset, MinimumHeader)
            : std::vector<std::uint8_t>{};
    if (header.empty() || std::memcmp(header.data(), "NARC", 4) != 0) {
        return Failure{"the evolution archive is not a NARC archive"};
    }
    LittleEndianView view(header);
    // The byte-order mark: FE FF as the games write it, FF FE as some DS tools write a new
    // archive. Either way the archive's numbers are little-endian.
    const std::uint16_t byteOrder = view.U16(4);
    if (byteOrder != 0xFFFE && byteOrder != 0xFEFF) {
        return Failure{"the evolution archive is not a little-endian NARC archive"};
    }
    const std::uint16_t headerSize = view.U16(0x0C);
    if (headerSize < MinimumHeader) {
        return Failure{"the evolution archive is damaged: its header is too short"};
    }

    const Result<Section> btaf = ReadSection(image, archive, headerSize, "BTAF", 12);
    if (!btaf) {
        return Failure{btaf.Reason()};
    }
    const Result<Section> btnf = ReadSection(image, archive, btaf->Offset + btaf->Size, "BTNF", 8);
    if (!btnf) {
        return Failure{btnf.Reason()};
    }
    const Result<Section> gmif = ReadSection(image, archive, btnf->Offset + btnf->Size, "GMIF", 8);
    if (!gmif) {
        return Failure{gmif.Reason()};
    }

    // Only as much of the section as its member count needs is read (at most 512 KiB): the
    // section's own size field may claim up to 4 GiB.
    const std::uint64_t tableAt = archive.Offset + btaf->Offset;
    const std::vector<std::uint8_t> tableHead = image.ReadVector(tableAt, 12);
    LittleEndianView head(tableHead);
    const std::uint16_t count = head.U16(8);
    const std::uint64_t tableSize = 12 + 8 * std::uint64_t{count};
    if (!head.Ok() || tableSize > btaf->Size) {
        return Failure{"the evolution archive is damaged: its member table does not fit its section"};
    }
    const std::vector<std::uint8_t> table = image.ReadVector(tableAt, static_cast<std::size_t>(tableSize));
    LittleEndianView entries(table);
    if (table.empty()) {
        return Failure{"the evolution archive cannot be read"};
    }

    const std::uint64_t dataStart = archive.Offset + gmif->Offset + 8;
    const std::uint64_t dataSize = gmif->Size - 8;
    std::vector<ByteRange> members;
    members.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t start = entries.U32(12 + 8 * i);
        const std::uint32_t end = entries.U32(16 + 8 * i);
        if (end < start || end > dataSize) {
            return Failure{"the evolution archive is damaged: member " + std::to_string(i) +
                           " lies outside it"};
        }
        members.push_back(ByteRange{dataStart + start, std::uint64_t{end} - start});
    }
    return members;
}

} // namespace rom
