// Finding the evolution table through an image's header, file system and archive, refusing the
// images where it cannot be found, and surviving damaged and hostile images.
#include "ByteSource.h"
#include "CartridgeHeader.h"
#include "GameImages.h"
#include "NdsImageBuilder.h"
#include "NitroFs.h"
#include "TableLocation.h"
#include "TestMain.h"

#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <cstring>

namespace {

rom::Result<rom::TableLocation> Locate(const std::vector<std::uint8_t>& bytes) {
    return rom::LocateEvolutionTable(rom::BufferSource(bytes));
}

// The offset of the header field at `at` in a built image, as a 32-bit number.
void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Makes the header's CRC match its bytes again after a test changed them.
void FixCrc(std::vector<std::uint8_t>& bytes) {
    const std::uint16_t crc = rom::HeaderCrc16(bytes.data(), rom::CartridgeHeader::CrcCoveredSize);
    bytes[0x15E] = static_cast<std::uint8_t>(crc & 0xFF);
    bytes[0x15F] = static_cast<std::uint8_t>(crc >> 8);
}

// An image laid out in chunks with zeros between them, of any claimed size, that remembers the
// largest single read asked of it.
class LayoutSource final : public rom::ByteSource {
public:
    explicit LayoutSource(const rom::ImageLayout& layout) : layout(layout) {}
    std::uint64_t Size() const override { return layout.Size; }
    bool Read(std::uint64_t offset, std::size_t count, std::uint8_t* out) const override {
        if (!Holds(offset, count)) {
            return false;
        }
        largestRead = std::max(largestRead, count);
        std::memset(out, 0, count);
        for (const rom::ImageChunk& chunk : layout.Chunks) {
            const std::uint64_t from = std::max<std::uint64_t>(offset, chunk.Offset);
            const std::uint64_t to =
                std::min<std::uint64_t>(offset + count, chunk.Offset + chunk.Bytes.size());
            if (from < to) {
                std::memcpy(out + (from - offset), chunk.Bytes.data() + (from - chunk.Offset), to - from);
            }
        }
        return true;
    }
    mutable std::size_t largestRead = 0;

private:
    const rom::ImageLayout& layout;
};

} // namespace

class TestTableLocation : public QObject {
    Q_OBJECT

private slots:
    void headerCrcIsTheModbusCrc() {
        const char* check = "123456789";
        QCOMPARE(rom::HeaderCrc16(reinterpret_cast<const std::uint8_t*>(check), 9), std::uint16_t(0x4B37));
        const auto bytes = GameImage().Layout().Flatten();
        const auto header = rom::ReadCartridgeHeader(rom::BufferSource(bytes));
        QVERIFY(header && header->CrcValid);
        QCOMPARE(header->Title, std::string("POKEMON D"));
        QCOMPARE(header->GameCode, std::string("ADAE"));
    }

    // Every record is the archive's member, wherever the archive lies; the fixed offset is not used.
    void recordsComeFromTheArchive_data() {
        QTest::addColumn<int>("game");
        QTest::addColumn<QString>("path");
        QTest::newRow("Diamond") << int(rom::Game::Diamond) << "poketool/personal/evo.narc";
        QTest::newRow("Platinum") << int(rom::Game::Platinum) << "poketool/personal/evo.narc";
        QTest::newRow("HeartGold") << int(rom::Game::HeartGold) << "a/0/3/4";
    }
    void recordsComeFromTheArchive() {
        QFETCH(int, game);
        QFETCH(QString, path);
        GameImage image = game == int(rom::Game::Diamond)    ? GameImage()
                          : game == int(rom::Game::Platinum) ? GameImage::Platinum(0x12340)
                                                             : GameImage::HeartGold(0x20000);
        const auto bytes = image.Layout().Flatten();
        const auto location = Locate(bytes);
        QVERIFY2(location, location.Reason().c_str());
        QCOMPARE(int(location->Kind()), game);
        QCOMPARE(QString::fromStdString(location->ArchivePath()), path);
        // Member data starts after the NARC header (16), BTAF (12 + 8n), BTNF (16) and GMIF's 8.
        const auto data =
            static_cast<std::int32_t>(image.ArchiveOffset + 16 + 12 + 8 * image.Members + 16 + 8);
        for (int s = 0; s < rom::SpeciesCount; ++s) {
            QCOMPARE(location->RecordOffset(s), data + 44 * s);
        }
        QCOMPARE(location->FieldOffset(25, 1, rom::SlotField::Target), data + 44 * 25 + 6 + 4);
        QCOMPARE(location->RecordOffset(rom::SpeciesCount), -1);
        QCOMPARE(location->SlotOffset(1, 7), -1);
    }

    // The layout comes from the image alone: the slots from the size of its records, the records
    // from its archive, hg-engine from its code, its personal archive and its 56-byte records.
    void layoutFromTheImage_data() {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("layout");
        QTest::newRow("Diamond") << "diamond"
                                 << "retail, 494 records of 7 slots (44 bytes)";
        QTest::newRow("Platinum, eight slots") << "platinum 50"
                                               << "expanded, 508 records of 8 slots (50 bytes)";
        QTest::newRow("hg-engine") << "hg-engine"
                                   << "hg-engine, 1476 records of 9 slots (56 bytes), targets carry a form";
        QTest::newRow("a personal archive of HeartGold's 508")
            << "personal 508"
            << "expanded, 1476 records of 9 slots (56 bytes)";
        QTest::newRow("a personal archive that is no archive")
            << "personal damaged"
            << "expanded, 1476 records of 9 slots (56 bytes)";
    }
    void layoutFromTheImage() {
        QFETCH(QString, image);
        QFETCH(QString, layout);
        GameImage game = image == "diamond"       ? GameImage()
                         : image == "platinum 50" ? GameImage::EightSlots(0x30000)
                                                  : GameImage::HgEngine(0x30000);
        if (image == "personal 508") {
            game.PersonalArchive = GameImage::PersonalNarc(508);
        } else if (image == "personal damaged") {
            std::memcpy(game.PersonalArchive.data(), "CRAN", 4);
        }
        const auto bytes = game.Layout().Flatten();
        const auto location = Locate(bytes);
        QVERIFY2(location, location.Reason().c_str());
        const rom::TableLayout& found = location->Layout();
        QCOMPARE(QString::fromStdString(found.Describe()), layout);

        // The last slot of the last record lies where its member does (members are 4-aligned);
        // nothing lies past it.
        const auto data = static_cast<std::int32_t>(game.ArchiveOffset + 16 + 12 + 8 * game.Members + 16 + 8);
        const int last = found.Records - 1;
        QCOMPARE(location->SlotOffset(last, found.Slots - 1),
                 data + (found.RecordSize + 3) / 4 * 4 * last + 6 * (found.Slots - 1));
        QCOMPARE(location->RecordOffset(found.Records), -1);
        QCOMPARE(location->SlotOffset(0, found.Slots), -1);
    }

    // A member of another size among the records is named, and the image refused.
    void recordsOfTwoSizesAreRefused() {
        auto members = rom::EvolutionArchiveMembers({}, 1476, 56);
        members[1200].resize(44);
        rom::NdsImageBuilder builder("POKEMON HG", "IPKE");
        builder.AddFile("a/0/3/4", rom::BuildNarc(members));
        const auto bytes = builder.Build().Flatten();
        QCOMPARE(
            QString::fromStdString(Locate(bytes).Reason()),
            QStringLiteral("its evolution records are not all the same size (record 1200 is 44 bytes long, "
                           "record 0 56): a format this editor does not know"));
    }

    void titlesDescribeTheImage() {
        const auto bytes = GameImage::HeartGold(0x8000).Layout().Flatten();
        QCOMPARE(Locate(bytes)->Description(), std::string("Pokemon HeartGold (IPKE)"));
        QCOMPARE(rom::TableLocation::FixedOffset().Description(),
                 std::string("no DS header: table at 0x1C1BFDC"));
    }

    // No valid header and no known game code: the fixed offset, records 44 bytes apart.
    void bareImagesUseTheFixedOffset() {
        for (const std::size_t size : {std::size_t(0), std::size_t(100), std::size_t(0x4000)}) {
            std::vector<std::uint8_t> bytes(size, 0);
            if (size > 0x20) {
                std::memcpy(bytes.data(), "NOT A DS IMAGE", 14);
            }
            const auto location = Locate(bytes);
            QVERIFY(location && !location->HasHeader());
            for (int s = 0; s < rom::SpeciesCount; ++s) {
                QCOMPARE(location->RecordOffset(s), rom::EvolutionTableOffset + 44 * s);
            }
        }
    }

    // A known game code is trusted even when the header CRC is wrong; only its file system decides.
    void aKnownGameWithABadCrcIsStillFound() {
        auto bytes = GameImage().Layout().Flatten();
        bytes[0x15E] ^= 0xFF;
        QVERIFY(Locate(bytes));
    }

    void refusedImagesSayWhy_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reason");
        QTest::newRow("another game") << "mariokart"
                                      << "a DS image of MARIOKART DS (AMCE), not a Generation 4 Pokemon game";
        QTest::newRow("file name table outside") << "fnt"
                                                 << "the file name table lies outside the file";
        QTest::newRow("allocation table outside") << "fat"
                                                  << "the file allocation table lies outside the file";
        QTest::newRow("archive missing") << "missing"
                                         << "the file system holds no a/0/3/4";
        QTest::newRow("48-byte records")
            << "enlarged"
            << "its evolution records are 48 bytes long: a format this editor does not know (it reads "
               "records of 44, 50 or 56 bytes: 7, 8 or 9 slots)";
        QTest::newRow("62-byte records: ten slots")
            << "ten slots"
            << "its evolution records are 62 bytes long: a format this editor does not know (it reads "
               "records of 44, 50 or 56 bytes: 7, 8 or 9 slots)";
        QTest::newRow("too few records")
            << "short"
            << "its evolution archive holds 300 records, fewer than the 494 species";
        QTest::newRow("not a NARC") << "magic"
                                    << "the evolution archive is not a NARC archive";
        QTest::newRow("archive beyond the end")
            << "cut"
            << "the file poketool/personal/evo.narc lies outside the image";
    }
    void refusedImagesSayWhy() {
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        GameImage image;
        if (damage == "enlarged") {
            image.MemberSize = 48;
        }
        if (damage == "ten slots") {
            image.MemberSize = 62;
        }
        if (damage == "short") {
            image.Members = 300;
        }
        if (damage == "missing") {
            image.Code = "IPGE"; // SoulSilver keeps its table at a/0/3/4, which this image lacks
        }
        auto bytes = image.Layout().Flatten();
        if (damage == "mariokart") {
            std::memset(bytes.data(), 0, 16);
            std::memcpy(bytes.data(), "MARIOKART DS", 12);
            std::memcpy(bytes.data() + 12, "AMCE", 4);
            FixCrc(bytes);
        }
        if (damage == "fnt") {
            PutU32(bytes, 0x40, 0x7FFFFFF0);
        }
        if (damage == "fat") {
            PutU32(bytes, 0x4C, 0x10000000);
        }
        if (damage == "magic") {
            std::memcpy(bytes.data() + image.ArchiveOffset, "CRAN", 4);
        }
        if (damage == "cut") {
            bytes.resize(image.ArchiveOffset + 100);
        }
        const auto location = Locate(bytes);
        QVERIFY(!location);
        QCOMPARE(QString::fromStdString(location.Reason()), reason);
    }

    // An archive whose member-table section claims nearly 4 GiB (with the sections after it where
    // that size puts them) is read only as far as its member count needs, not whole.
    void aHugeMemberSectionIsNotReadWhole() {
        constexpr std::uint32_t claimed = 0xF0000000u;
        constexpr std::uint64_t at = 0x100000;
        std::vector<std::uint8_t> head(16 + 12 + 8 * rom::SpeciesCount, 0);
        std::memcpy(head.data(), "NARC\xFE\xFF", 6);
        head[0x0C] = 0x10;
        std::memcpy(head.data() + 16, "BTAF", 4);
        PutU32(head, 20, claimed);
        PutU32(head, 24, rom::SpeciesCount);
        for (std::uint32_t i = 0; i < rom::SpeciesCount; ++i) {
            PutU32(head, 28 + 8 * i, 44 * i);
            PutU32(head, 32 + 8 * i, 44 * i + 44);
        }
        std::vector<std::uint8_t> tail(24, 0);
        std::memcpy(tail.data(), "BTNF", 4);
        PutU32(tail, 4, 16);
        std::memcpy(tail.data() + 16, "GMIF", 4);
        PutU32(tail, 20, 8 + 44 * rom::SpeciesCount);

        rom::NdsImageBuilder builder("POKEMON PL", "CPUE");
        builder.AddFile("poketool/personal/evo.narc", head, at);
        rom::ImageLayout layout = builder.Build();
        const std::uint64_t archiveSize =
            16 + std::uint64_t{claimed} + tail.size() + 44 * std::uint64_t{rom::SpeciesCount};
        layout.Chunks.push_back({at + 16 + claimed, tail});
        layout.Size = at + archiveSize;
        // The archive's allocation entry (its only file) ends where the claimed sections end.
        const auto header = rom::ReadCartridgeHeader(LayoutSource(layout));
        QVERIFY(header);
        for (rom::ImageChunk& chunk : layout.Chunks) {
            if (chunk.Offset <= header->FatOffset &&
                header->FatOffset + 8 <= chunk.Offset + chunk.Bytes.size()) {
                PutU32(chunk.Bytes, header->FatOffset - chunk.Offset + 4,
                       static_cast<std::uint32_t>(at + archiveSize));
            }
        }

        const LayoutSource image(layout);
        const auto location = rom::LocateEvolutionTable(image);
        // Its records lie past 2 GiB, which is only found out once the member table was read.
        QVERIFY(!location);
        QVERIFY(location.Reason().find("beyond the first 2 GiB") != std::string::npos);
        QVERIFY(image.largestRead < (1u << 20));
    }

    // Random and mutated headers, tables and archives: every one is located or refused with a
    // reason; the sanitizer build catches any read outside the buffer.
    void damagedImagesNeverCrash() {
        const auto valid = GameImage::Platinum(0x6000).Layout().Flatten();
        const auto header = rom::ReadCartridgeHeader(rom::BufferSource(valid));
        const std::size_t regions[][2] = {{0, 0x160},
                                          {header->FntOffset, header->FntSize},
                                          {header->FatOffset, header->FatSize},
                                          {0x6000, 0x6000 + 64}};
        QRandomGenerator random(20261207);
        int located = 0;
        int refused = 0;
        for (int round = 0; round < 4000; ++round) {
            std::vector<std::uint8_t> bytes = valid;
            const auto& region = regions[round % 4];
            const int flips = 1 + static_cast<int>(random.bounded(8));
            for (int i = 0; i < flips; ++i) {
                const std::size_t at = region[0] + random.bounded(static_cast<quint32>(region[1]));
                bytes[at] = static_cast<std::uint8_t>(random.bounded(256));
            }
            if (round % 3 != 0) {
                FixCrc(bytes);
            }
            if (round % 50 == 0) {
                bytes.resize(random.bounded(static_cast<quint32>(bytes.size())));
            }
            const auto location = Locate(bytes);
            if (location) {
                ++located;
                for (int s = 0; s < rom::SpeciesCount; ++s) {
                    QVERIFY(location->RecordOffset(s) >= 0);
                }
            } else {
                ++refused;
                QVERIFY(!location.Reason().empty());
            }
        }
        // Pure noise, with and without a known game code.
        for (int round = 0; round < 1000; ++round) {
            std::vector<std::uint8_t> bytes(0x800 + random.bounded(0x2000));
            for (auto& b : bytes) {
                b = static_cast<std::uint8_t>(random.bounded(256));
            }
            if (round % 2) {
                std::memcpy(bytes.data() + 12, round % 4 == 1 ? "CPUE" : "IPGJ", 4);
            }
            FixCrc(bytes);
            const auto location = Locate(bytes);
            QVERIFY(location || !location.Reason().empty());
        }
        QVERIFY(located > 0 && refused > 0);
    }
};

EVO_TEST_MAIN(TestTableLocation)
#include "tst_TableLocation.moc"
