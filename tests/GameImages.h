// DS images of the five games, built for tests: a header, a file system holding the game's
// evolution archive wherever the test puts it, and a sparse writer for full-size files.
#pragma once

#include "ImageNames.h"
#include "NdsImageBuilder.h"

#include <QFile>
#include <QString>
#include <string>
#include <vector>

struct GameImage {
    std::string Title = "POKEMON D";
    std::string Code = "ADAE";
    std::string ArchivePath = "poketool/personal/evo.narc";
    std::uint64_t ArchiveOffset = 0x8000;
    std::size_t Members = 501;
    std::size_t MemberSize = rom::EvolutionRecord::Size;
    std::vector<rom::EvolutionRecord> Records; // species 0.. in order; the rest zero
    std::uint64_t Size = 0;                    // 0: just long enough
    rom::Game Kind = rom::Game::Diamond;
    // The members of the game's message archive; none: the image holds no message archive.
    std::vector<std::vector<std::uint8_t>> MessageMembers;
    // The personal archive a/0/0/2 as its bytes (hg-engine's holds more than 508 members); none:
    // the image holds no such file.
    std::vector<std::uint8_t> PersonalArchive;

    static GameImage Platinum(std::uint64_t archiveOffset) {
        GameImage image;
        image.Title = "POKEMON PL";
        image.Code = "CPUE";
        image.Members = 508;
        image.ArchiveOffset = archiveOffset;
        image.Kind = rom::Game::Platinum;
        return image;
    }
    static GameImage HeartGold(std::uint64_t archiveOffset) {
        GameImage image = Platinum(archiveOffset);
        image.Title = "POKEMON HG";
        image.Code = "IPKE";
        image.ArchivePath = "a/0/3/4";
        image.Kind = rom::Game::HeartGold;
        return image;
    }
    // A HeartGold image as hg-engine builds it: `records` evolution records of 56 bytes and a
    // personal archive with a member for each.
    static GameImage HgEngine(std::uint64_t archiveOffset, std::size_t records = 1476) {
        GameImage image = HeartGold(archiveOffset);
        image.Members = records;
        image.MemberSize = 56;
        image.PersonalArchive = PersonalNarc(records);
        return image;
    }
    // A Platinum image of a hack that raised the slots to eight: 50-byte records.
    static GameImage EightSlots(std::uint64_t archiveOffset) {
        GameImage image = Platinum(archiveOffset);
        image.MemberSize = 50;
        return image;
    }
    // A personal archive of `members` (small) members.
    static std::vector<std::uint8_t> PersonalNarc(std::size_t members) {
        return rom::BuildNarc(
            std::vector<std::vector<std::uint8_t>>(members, std::vector<std::uint8_t>(4, 0)));
    }

    rom::ImageLayout Layout() const {
        rom::NdsImageBuilder builder(Title, Code);
        if (!PersonalArchive.empty()) {
            builder.AddFile("a/0/0/2", PersonalArchive);
        }
        // Neighbours before and after the archive, so that its file id is counted, not assumed.
        const std::string folder = ArchivePath.substr(0, ArchivePath.rfind('/') + 1);
        builder.AddFile(folder + "0", rom::BuildNarc({{1, 2, 3, 4}}));
        std::vector<std::uint8_t> archive =
            rom::BuildNarc(rom::EvolutionArchiveMembers(Records, Members, MemberSize));
        const std::uint64_t archiveEnd = ArchiveOffset + archive.size();
        builder.AddFile(ArchivePath, std::move(archive), ArchiveOffset);
        builder.AddFile(folder + "zz", rom::BuildNarc({{5, 6, 7, 8}}));
        if (!MessageMembers.empty()) {
            // After the evolution archive, clear of the files placed before it.
            builder.AddFile(std::string(rom::NameBanksOf(Kind).Path), rom::BuildNarc(MessageMembers),
                            (archiveEnd + 0x1FF) & ~std::uint64_t{0x1FF});
        }
        builder.SetImageSize(Size);
        return builder.Build();
    }

    // The record of `species` with one slot set, the rest zero.
    static rom::EvolutionRecord Record(int slot, std::uint16_t method, std::uint16_t parameter,
                                       std::uint16_t target) {
        rom::EvolutionRecord record;
        record.Slots[slot] = {method, parameter, target};
        return record;
    }
};

// Writes `layout` to `path`, leaving holes where it holds no bytes.
inline bool WriteSparseImage(const QString& path, const rom::ImageLayout& layout) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !file.resize(static_cast<qint64>(layout.Size))) {
        return false;
    }
    for (const rom::ImageChunk& chunk : layout.Chunks) {
        const auto size = static_cast<qint64>(chunk.Bytes.size());
        if (!file.seek(static_cast<qint64>(chunk.Offset)) ||
            file.write(reinterpret_cast<const char*>(chunk.Bytes.data()), size) != size) {
            return false;
        }
    }
    return true;
}
