// Writing the DS header, file name and allocation tables and NARC archives in the layout the
// image readers expect.
#include "NdsImageBuilder.h"

#include "CartridgeHeader.h"
#include "EvolutionImage.h"
#include "ImageNames.h"
#include "MessageBank.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace rom {
namespace {

constexpr std::uint64_t HeaderArea = 0x4000;
constexpr std::uint64_t FileAlignment = 0x200;

void PutU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t value) {
    PutU16(bytes, at, static_cast<std::uint32_t>(value & 0xFFFF));
    PutU16(bytes, at + 2, static_cast<std::uint32_t>((value >> 16) & 0xFFFF));
}

void AppendU16(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.resize(bytes.size() + 2);
    PutU16(bytes, bytes.size() - 2, value);
}

std::uint64_t AlignUp(std::uint64_t value, std::uint64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

// A directory of the file name table: its files (indexes into the builder's list, in order) and
// its subdirectories by name.
struct Directory {
    std::vector<std::pair<std::string, std::size_t>> Files;
    std::map<std::string, std::unique_ptr<Directory>> Subdirectories;
    std::uint16_t Id = 0;
    std::uint16_t ParentId = 0;
    std::uint16_t FirstFileId = 0;
};

} // namespace

std::vector<std::uint8_t> ImageLayout::Flatten() const {
    std::vector<std::uint8_t> image(Size, 0);
    for (const ImageChunk& chunk : Chunks) {
        if (chunk.Offset >= Size) {
            continue;
        }
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(chunk.Bytes.size(), Size - chunk.Offset));
        std::copy_n(chunk.Bytes.begin(), n, image.begin() + static_cast<std::ptrdiff_t>(chunk.Offset));
    }
    return image;
}

NdsImageBuilder::NdsImageBuilder(std::string title, std::string gameCode)
    : title(std::move(title)), gameCode(std::move(gameCode)) {}

void NdsImageBuilder::AddFile(const std::string& path, std::vector<std::uint8_t> bytes,
                              std::optional<std::uint64_t> offset) {
    files.push_back(File{path, std::move(bytes), offset});
}

ImageLayout NdsImageBuilder::Build() const {
    // The directory tree, in the order the files were added.
    Directory root;
    for (std::size_t i = 0; i < files.size(); ++i) {
        Directory* dir = &root;
        std::string rest = files[i].Path;
        for (std::size_t slash; (slash = rest.find('/')) != std::string::npos;
             rest = rest.substr(slash + 1)) {
            auto& sub = dir->Subdirectories[rest.substr(0, slash)];
            if (!sub) {
                sub = std::make_unique<Directory>();
            }
            dir = sub.get();
        }
        dir->Files.emplace_back(rest, i);
    }

    // Directory ids depth first from the root; each directory's files take consecutive ids.
    std::vector<Directory*> order;
    std::vector<std::size_t> fileIds(files.size());
    std::uint16_t nextFile = 0;
    const auto number = [&](auto&& self, Directory* dir, std::uint16_t parent) -> void {
        dir->Id = static_cast<std::uint16_t>(0xF000 + order.size());
        dir->ParentId = parent;
        order.push_back(dir);
        dir->FirstFileId = nextFile;
        for (const auto& [name, index] : dir->Files) {
            fileIds[index] = nextFile++;
        }
        for (auto& [name, sub] : dir->Subdirectories) {
            self(self, sub.get(), dir->Id);
        }
    };
    number(number, &root, 0);

    // File name table: the directory entries, then each directory's list.
    std::vector<std::uint8_t> fnt(8 * order.size(), 0);
    for (std::size_t d = 0; d < order.size(); ++d) {
        const Directory* dir = order[d];
        PutU32(fnt, 8 * d, fnt.size());
        PutU16(fnt, 8 * d + 4, dir->FirstFileId);
        PutU16(fnt, 8 * d + 6, d == 0 ? static_cast<std::uint32_t>(order.size()) : dir->ParentId);
        for (const auto& [name, index] : dir->Files) {
            fnt.push_back(static_cast<std::uint8_t>(name.size()));
            fnt.insert(fnt.end(), name.begin(), name.end());
        }
        for (const auto& [name, sub] : dir->Subdirectories) {
            fnt.push_back(static_cast<std::uint8_t>(0x80 | name.size()));
            fnt.insert(fnt.end(), name.begin(), name.end());
            AppendU16(fnt, sub->Id);
        }
        fnt.push_back(0);
    }

    const std::uint64_t fntOffset = HeaderArea;
    const std::uint64_t fatOffset = AlignUp(fntOffset + fnt.size(), FileAlignment);
    std::vector<std::uint8_t> fat(8 * files.size(), 0);
    std::uint64_t next = AlignUp(fatOffset + fat.size(), FileAlignment);

    ImageLayout layout;
    std::uint64_t end = next;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::uint64_t at = files[i].Offset.value_or(next);
        PutU32(fat, 8 * fileIds[i], at);
        PutU32(fat, 8 * fileIds[i] + 4, at + files[i].Bytes.size());
        layout.Chunks.push_back(ImageChunk{at, files[i].Bytes});
        if (!files[i].Offset) {
            next = AlignUp(at + files[i].Bytes.size(), FileAlignment);
        }
        end = std::max(end, at + files[i].Bytes.size());
    }

    std::vector<std::uint8_t> header(CartridgeHeader::Size, 0);
    std::memcpy(header.data(), title.data(), std::min<std::size_t>(title.size(), 12));
    std::memcpy(header.data() + 0x0C, gameCode.data(), std::min<std::size_t>(gameCode.size(), 4));
    header[0x10] = '0';
    header[0x11] = '1';
    PutU32(header, 0x40, fntOffset);
    PutU32(header, 0x44, fnt.size());
    PutU32(header, 0x48, fatOffset);
    PutU32(header, 0x4C, fat.size());
    PutU32(header, 0x80, end);
    PutU32(header, 0x84, HeaderArea);
    PutU16(header, 0x15E, HeaderCrc16(header.data(), CartridgeHeader::CrcCoveredSize));

    layout.Chunks.insert(layout.Chunks.begin(),
                         {ImageChunk{0, std::move(header)}, ImageChunk{fntOffset, std::move(fnt)},
                          ImageChunk{fatOffset, std::move(fat)}});
    layout.Size = std::max(imageSize, end);
    return layout;
}

std::vector<std::uint8_t> BuildNarc(const std::vector<std::vector<std::uint8_t>>& members) {
    std::vector<std::uint8_t> data;
    std::vector<std::uint8_t> btaf(12 + 8 * members.size(), 0);
    std::memcpy(btaf.data(), "BTAF", 4);
    PutU32(btaf, 4, btaf.size());
    PutU16(btaf, 8, static_cast<std::uint32_t>(members.size()));
    for (std::size_t i = 0; i < members.size(); ++i) {
        data.resize(AlignUp(data.size(), 4), 0);
        PutU32(btaf, 12 + 8 * i, data.size());
        data.insert(data.end(), members[i].begin(), members[i].end());
        PutU32(btaf, 16 + 8 * i, data.size());
    }
    std::vector<std::uint8_t> btnf(16, 0);
    std::memcpy(btnf.data(), "BTNF", 4);
    PutU32(btnf, 4, btnf.size());
    PutU32(btnf, 8, 4);  // offset of the root's (empty) name list
    PutU16(btnf, 14, 1); // one directory
    std::vector<std::uint8_t> gmif(8, 0);
    std::memcpy(gmif.data(), "GMIF", 4);
    PutU32(gmif, 4, 8 + data.size());

    std::vector<std::uint8_t> narc(16, 0);
    std::memcpy(narc.data(), "NARC", 4);
    PutU16(narc, 4, 0xFFFE);
    PutU16(narc, 6, 0x0100);
    PutU16(narc, 0x0C, 0x10);
    PutU16(narc, 0x0E, 3);
    for (const auto* section : {&btaf, &btnf, &gmif}) {
        narc.insert(narc.end(), section->begin(), section->end());
    }
    narc.insert(narc.end(), data.begin(), data.end());
    PutU32(narc, 8, narc.size());
    return narc;
}

std::vector<std::vector<std::uint8_t>> EvolutionArchiveMembers(const std::vector<EvolutionRecord>& records,
                                                               std::size_t memberCount,
                                                               std::size_t memberSize) {
    std::vector<std::vector<std::uint8_t>> members(std::max(memberCount, records.size()),
                                                   std::vector<std::uint8_t>(memberSize, 0));
    for (std::size_t s = 0; s < records.size(); ++s) {
        for (std::size_t k = 0; k < records[s].Slots.size(); ++k) {
            const SlotBytes bytes = EncodeSlot(records[s].Slots[k]);
            const std::size_t at = std::size_t{EvolutionSlot::Size} * k;
            // Only whole slots, and never the record's last two bytes.
            if (at + bytes.size() + 2 > memberSize) {
                break;
            }
            std::copy(bytes.begin(), bytes.end(), members[s].begin() + static_cast<std::ptrdiff_t>(at));
        }
    }
    return members;
}

std::vector<std::vector<std::uint8_t>> MessageArchiveMembers(Game game, std::vector<std::uint8_t> species,
                                                             std::vector<std::uint8_t> moves,
                                                             std::vector<std::uint8_t> items) {
    const NameBankPlaces places = NameBanksOf(game);
    std::vector<std::vector<std::uint8_t>> members(std::max({places.Species, places.Moves, places.Items}) + 1,
                                                   BuildMessageBank({}, 0));
    members[places.Species] = std::move(species);
    members[places.Moves] = std::move(moves);
    members[places.Items] = std::move(items);
    return members;
}

} // namespace rom
