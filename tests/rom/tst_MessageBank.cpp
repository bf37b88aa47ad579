// The message bank reader on the games' real English banks, on text in every script the games
// write, and on damaged and random banks, which must give a reason and never crash or hang.
#include "GameImages.h"
#include "ImageNames.h"
#include "MessageBank.h"
#include "TestMain.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

// An image in memory that counts the reads of its cartridge header.
class CountingSource final : public rom::ByteSource {
public:
    CountingSource(const std::vector<std::uint8_t>& bytes, int& headerReads)
        : bytes(bytes), headerReads(headerReads) {}
    std::uint64_t Size() const override { return bytes.Size(); }
    bool Read(std::uint64_t offset, std::size_t count, std::uint8_t* out) const override {
        headerReads += offset < 0x160 ? 1 : 0;
        return bytes.Read(offset, count, out);
    }

private:
    rom::BufferSource bytes;
    int& headerReads;
};

std::vector<std::uint8_t> RealBank(const char* name) {
    QFile file(QStringLiteral(EVO_TEXT_BANKS "/%1.bin").arg(QLatin1String(name)));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint16_t> Units(const char* utf8) {
    return rom::EncodeText(utf8).value_or(std::vector<std::uint16_t>{});
}

rom::BankText TextOf(const std::vector<std::vector<std::uint16_t>>& strings, std::size_t row) {
    const auto bank = rom::MessageBank::Parse(rom::BuildMessageBank(strings, 0x1234));
    return bank ? bank->Text(row) : rom::BankText{{}, bank.Reason()};
}

// The string table entry `row` of a bank with `seed`, rewritten (the table is masked per row).
void PutEntry(std::vector<std::uint8_t>& bank, std::size_t row, std::uint32_t offset, std::uint32_t length) {
    const std::uint16_t seed = static_cast<std::uint16_t>(bank[2] | (bank[3] << 8));
    const std::uint32_t mask =
        std::uint32_t{static_cast<std::uint16_t>(seed * 765u * static_cast<std::uint32_t>(row + 1))} *
        0x10001u;
    for (int i = 0; i < 4; ++i) {
        bank[4 + 8 * row + i] = static_cast<std::uint8_t>((offset ^ mask) >> (8 * i));
        bank[8 + 8 * row + i] = static_cast<std::uint8_t>((length ^ mask) >> (8 * i));
    }
}

// Codes below 0x1FF, 9 bits each into the low 15 bits of units, as trainer names are stored.
std::vector<std::uint16_t> Packed(const std::vector<std::uint16_t>& codes) {
    std::vector<std::uint16_t> units{0xF100};
    std::uint32_t bits = 0;
    int held = 0;
    for (std::uint16_t code : codes) {
        bits |= std::uint32_t{code} << held;
        held += 9;
        while (held >= 15) {
            units.push_back(static_cast<std::uint16_t>(bits & 0x7FFF));
            bits >>= 15;
            held -= 15;
        }
    }
    units.push_back(0xFFFF); // supplies the closing 1FF's remaining bits
    if (held > 0) {
        units.insert(units.end() - 1, static_cast<std::uint16_t>((bits | (0x7FFFu << held)) & 0x7FFF));
    }
    return units;
}

} // namespace

class TestMessageBank : public QObject {
    Q_OBJECT

private slots:
    // The English banks as the images hold them: the rows the games show, every row clean, and
    // the writer, given the decoded units and the seed, makes the same bytes again.
    void realBanksDecodeAndRebuild() {
        const struct {
            const char* Name;
            std::size_t Count;
            std::uint16_t Seed;
            std::vector<std::pair<std::size_t, const char*>> Rows;
        } banks[] = {
            {"heartgold-species",
             496,
             0x782C,
             {{0, "-----"},
              {1, "BULBASAUR"},
              {29, "NIDORAN♀"},
              {83, "FARFETCH’D"},
              {474, "PORYGON-Z"},
              {495, "Bad Egg"}}},
            {"heartgold-moves", 468, 0xF8C9, {{0, "-"}, {354, "Psycho Boost"}, {389, "Sucker Punch"}}},
            {"diamond-items", 465, 0xCAAD, {{4, "Poké Ball"}, {112, "???"}, {221, "King’s Rock"}}},
            {"platinum-items", 468, 0xCAAD, {{112, "Griseous Orb"}, {467, "Secret Key"}}},
            {"heartgold-items",
             537,
             0xCAAD,
             {{428, "???"}, {492, "Fast Ball"}, {500, "Park Ball"}, {536, "Enigma Stone"}}},
        };
        for (const auto& expected : banks) {
            const std::vector<std::uint8_t> bytes = RealBank(expected.Name);
            const auto bank = rom::MessageBank::Parse(bytes);
            QVERIFY2(bank, expected.Name);
            QCOMPARE(bank->Count(), expected.Count);
            QCOMPARE(bank->Seed(), expected.Seed);
            std::vector<std::vector<std::uint16_t>> strings;
            for (std::size_t row = 0; row < bank->Count(); ++row) {
                const rom::BankText text = bank->Text(row, 64);
                QVERIFY2(text.Clean() && !text.HasLayout, text.Problem.c_str());
                strings.push_back(*bank->Units(row));
            }
            for (const auto& [row, name] : expected.Rows) {
                QCOMPARE(QString::fromStdString(bank->Text(row).Text), QString::fromUtf8(name));
            }
            QVERIFY2(rom::BuildMessageBank(strings, bank->Seed()) == bytes, expected.Name);
        }
    }

    // Accented Latin, the gender signs, kana, full-width forms and Hangul go through a bank and
    // back; line breaks, control sequences and the packed form are read as the game reads them,
    // and a code without a character stays visible.
    void textInEveryScript() {
        const char* texts[] = {"Pokémon",    "Straße",     "Señor",        "Œuf cœur", "Nidoran♂ ♀",
                               "ピカチュウ", "ふしぎだね", "ＡＢＣ１２３", "피카츄",   "« Dé »"};
        std::vector<std::vector<std::uint16_t>> strings;
        for (const char* text : texts) {
            QVERIFY2(rom::EncodeText(text), text);
            strings.push_back(Units(text));
        }
        for (std::size_t row = 0; row < std::size(texts); ++row) {
            const rom::BankText text = TextOf(strings, row);
            QVERIFY(text.Clean() && !text.HasLayout);
            QCOMPARE(QString::fromStdString(text.Text), QString::fromUtf8(texts[row]));
        }
        QVERIFY(!rom::EncodeText("€"));
        QCOMPARE(Units("♂").front(), std::uint16_t{0x01BB}); // the English text's code, not the kana font's

        const std::vector<std::uint16_t> special[] = {
            {0x012B, 0xE000, 0x012C, 0xFFFF},                  // line break
            {0x012B, 0xFFFE, 0x0100, 2, 7, 8, 0x012C, 0xFFFF}, // placeholder skipped whole
            {0x012B, 0x01E3, 0xFFFF},                          // no character
            {0x012B, 0xFFFF, 0x012C, 0xFFFF},                  // text ends at the first end mark
            Packed({0x012B, 0x0160, 0x0003, 0x1FF}),           // "AÁあ", packed
        };
        const struct {
            const char* Text;
            bool Clean;
            bool Layout;
        } read[] = {{"A\nB", true, true},
                    {"AB", true, true},
                    {"A{01E3}", false, false},
                    {"A", true, false},
                    {"AÁあ", true, false}};
        for (std::size_t i = 0; i < std::size(special); ++i) {
            const rom::BankText text = TextOf({special[i]}, 0);
            QCOMPARE(QString::fromStdString(text.Text), QString::fromUtf8(read[i].Text));
            QCOMPARE(text.Clean(), read[i].Clean);
            QCOMPARE(text.HasLayout, read[i].Layout);
        }
    }

    // Each fault a hostile or broken bank can hold gives its own reason.
    void damagedBanksGiveReasons() {
        std::vector<std::uint8_t> bank = rom::BuildMessageBank({Units("ABC"), Units("DEF")}, 0x4321);
        const std::uint32_t strings = 4 + 8 * 2;
        const auto problem = [](const std::vector<std::uint8_t>& bytes, std::size_t row) {
            const auto parsed = rom::MessageBank::Parse(bytes);
            return parsed ? parsed->Text(row).Problem : "refused: " + parsed.Reason();
        };
        QCOMPARE(problem(bank, 1), std::string());

        std::vector<std::uint8_t> bytes = bank;
        bytes[0] = 0xFF; // count 255 against a table of two
        QVERIFY(problem(bytes, 0).find("refused: its string table (255 strings) runs past its end") == 0);
        QVERIFY(problem({1, 0}, 0).find("too short") != std::string::npos);

        const struct {
            std::uint32_t Offset;
            std::uint32_t Length;
            const char* Reason;
        } entries[] = {
            {static_cast<std::uint32_t>(bank.size()), 1, "lies outside the bank"},
            {strings - 2, 2, "lies outside the bank"},      // inside the table
            {strings, 0xFFFFFFFF, "lies outside the bank"}, // offset + length overflows 32 bits
            {strings + 1, 2, "starts at an odd offset"},
            {strings, 0, "is empty"},
            {strings, 3, "has no end mark"}, // "ABC" without its end mark
        };
        for (const auto& entry : entries) {
            bytes = bank;
            PutEntry(bytes, 0, entry.Offset, entry.Length);
            QVERIFY2(problem(bytes, 0).find(entry.Reason) != std::string::npos, entry.Reason);
        }
        QVERIFY(problem(rom::BuildMessageBank({{0x012B, 0xFFFE, 0x0100, 9, 1, 0xFFFF}}, 1), 0)
                    .find("control sequence running past its end") != std::string::npos);
        QVERIFY(problem(rom::BuildMessageBank({{0xF100, 0x012B}}, 1), 0) == "has no end mark");
        const auto parsed = rom::MessageBank::Parse(bank);
        QVERIFY(parsed->Text(2).Problem == "is missing");
        QVERIFY(parsed->Text(0, 2).Problem == "is longer than 2 units");

        // Another seed in the header turns every offset to nonsense: no row is read.
        bytes = RealBank("heartgold-species");
        bytes[2] ^= 0x01;
        const auto reseeded = rom::MessageBank::Parse(bytes);
        int clean = 0;
        for (std::size_t row = 0; row < reseeded->Count(); ++row) {
            clean += reseeded->Text(row, 64).Clean() ? 1 : 0;
        }
        QCOMPARE(clean, 0);
    }

    // Random changes to a real bank and pure noise: every row decodes or gives a reason; under
    // the sanitizers, no read leaves the bank.
    void mutatedBanksNeverCrash() {
        const std::vector<std::uint8_t> valid = RealBank("heartgold-items");
        QVERIFY(!valid.empty());
        QRandomGenerator random(20261208);
        int clean = 0;
        int damaged = 0;
        for (int round = 0; round < 1500; ++round) {
            std::vector<std::uint8_t> bytes = valid;
            // The header and table (the first 4300 bytes) most often, the strings otherwise.
            const std::size_t area = round % 3 == 0 ? bytes.size() : 4 + 8 * 537;
            for (int flips = 1 + static_cast<int>(random.bounded(6)); flips > 0; --flips) {
                bytes[random.bounded(static_cast<quint32>(area))] =
                    static_cast<std::uint8_t>(random.bounded(256));
            }
            if (round % 10 == 0) {
                bytes.resize(random.bounded(static_cast<quint32>(bytes.size())));
            }
            if (round % 25 == 0) {
                for (auto& b : bytes) {
                    b = static_cast<std::uint8_t>(random.bounded(256));
                }
            }
            const auto bank = rom::MessageBank::Parse(bytes);
            if (!bank) {
                QVERIFY(!bank.Reason().empty());
                continue;
            }
            for (std::size_t row = 0; row < bank->Count(); ++row) {
                const rom::BankText text = bank->Text(row, round % 2 ? 64 : 4096);
                ++(text.Clean() ? clean : damaged);
            }
        }
        QVERIFY(clean > 0 && damaged > 0);
    }

    // The whole way from an image: banks at the members the game reads, checked, and the first
    // fault that makes a list unusable named; another member is never taken in its place.
    void imageNamesAreCheckedBanks() {
        GameImage game = GameImage::HeartGold(0x40000);
        game.MessageMembers =
            rom::MessageArchiveMembers(rom::Game::HeartGold, RealBank("heartgold-species"),
                                       RealBank("heartgold-moves"), RealBank("heartgold-items"));
        // The header and file tables are read once, when the image is identified; the names are
        // found through the file system read then.
        int headerReads = 0;
        const auto readNames = [&headerReads](const GameImage& image) {
            const std::vector<std::uint8_t> bytes = image.Layout().Flatten();
            const CountingSource source(bytes, headerReads);
            const auto location = rom::LocateEvolutionTable(source);
            return location ? rom::ReadImageNames(source, *location) : rom::ImageNames{};
        };
        rom::ImageNames names = readNames(game);
        QCOMPARE(headerReads, 1);
        QCOMPARE(names.Language, std::string("English"));
        QCOMPARE(names.Species.Names.size(), std::size_t{494});
        QCOMPARE(names.Moves.Names.size(), std::size_t{468});
        QCOMPARE(names.Items.Names.size(), std::size_t{537});
        QCOMPARE(names.Items.Bank, std::string("a/0/2/7 member 222"));

        // Diamond's item bank is too short for HeartGold's items; the species bank in the moves'
        // place repeats no name but is too short as well; a sentence is no name.
        game.MessageMembers[222] = RealBank("diamond-items");
        game.MessageMembers[750] =
            rom::BuildMessageBank(std::vector<std::vector<std::uint16_t>>(468, Units("X")), 5);
        std::vector<std::vector<std::uint16_t>> species(494, Units("A"));
        for (std::size_t i = 0; i < species.size(); ++i) {
            species[i] = Units(("N" + std::to_string(i)).c_str());
        }
        species[7] = Units("Hello\nthere");
        game.MessageMembers[237] = rom::BuildMessageBank(species, 5);
        names = readNames(game);
        QVERIFY(names.Species.Names.empty() && names.Moves.Names.empty() && names.Items.Names.empty());
        QCOMPARE(names.Species.Problem,
                 std::string("the species bank (a/0/2/7 member 237) is not a list of names: row 7 is not a "
                             "name: it holds layout codes"));
        QCOMPARE(names.Moves.Problem,
                 std::string("the move bank (a/0/2/7 member 750) is not a list of names: row 2 repeats the "
                             "name \"X\""));
        QCOMPARE(names.Items.Problem, std::string("the item bank (a/0/2/7 member 222) holds 465 rows, fewer "
                                                  "than the 537 the list needs"));

        game.MessageMembers.resize(300);
        QVERIFY(readNames(game).Moves.Problem.find("holds 300 members, none numbered 750") !=
                std::string::npos);
        game.MessageMembers.clear();
        names = readNames(game);
        QVERIFY(!names.HasArchive);
        QCOMPARE(names.Items.Problem, std::string("the file system holds no a/0/2/7"));
    }
};

EVO_TEST_MAIN(TestMessageBank)
#include "tst_MessageBank.moc"
