// Finding the name banks through the file system and checking them row by row.
#include "ImageNames.h"

#include "CartridgeHeader.h"
#include "MessageBank.h"
#include "Narc.h"
#include "NitroFs.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <optional>
#include <set>
#include <string_view>

namespace rom {
namespace {

std::string LanguageOf(const std::string& gameCode) {
    switch (gameCode.size() == 4 ? gameCode[3] : '?') {
    case 'E':
        return "English";
    case 'J':
        return "Japanese";
    case 'D':
        return "German";
    case 'F':
        return "French";
    case 'I':
        return "Italian";
    case 'S':
        return "Spanish";
    case 'K':
        return "Korean";
    default:
        return "of an unknown language";
    }
}

constexpr std::uint64_t MaxBankSize = 1u << 20; // the English name banks are under 16 KiB
constexpr std::size_t MaxNameUnits = 64;

const char* Noun(NameList list) {
    switch (list) {
    case NameList::Species:
        return "species";
    case NameList::Moves:
        return "move";
    case NameList::Items:
        return "item";
    }
    return "";
}

// The names of one bank: the rows the list needs, then any further rows while they are names, up
// to `wanted` rows.
NameBankRead ReadList(const ByteSource& image, const ByteRange& member, std::string bank, Game game,
                      NameList list, std::size_t wanted) {
    NameBankRead read;
    read.Bank = std::move(bank);
    const std::string what = std::string("the ") + Noun(list) + " bank (" + read.Bank + ")";
    const auto fail = [&read, &what](const std::string& why) {
        read.Names.clear();
        read.Problem = what + " " + why;
        return read;
    };
    if (member.Size > MaxBankSize) {
        return fail("is larger than any name bank");
    }
    std::vector<std::uint8_t> bytes = image.ReadVector(member.Offset, static_cast<std::size_t>(member.Size));
    if (bytes.size() != member.Size) {
        return fail("cannot be read");
    }
    const Result<MessageBank> parsed = MessageBank::Parse(std::move(bytes));
    if (!parsed) {
        return fail("is damaged: " + parsed.Reason());
    }
    const std::size_t needed = NameRowsNeeded(game, list);
    if (parsed->Count() < needed) {
        return fail("holds " + std::to_string(parsed->Count()) + " rows, fewer than the " +
                    std::to_string(needed) + " the list needs");
    }
    const std::size_t rows = std::min(parsed->Count(), std::max(needed, wanted));
    std::set<std::string> seen;
    for (std::size_t row = 0; row < rows; ++row) {
        BankText text = parsed->Text(row, MaxNameUnits);
        std::string problem = text.Problem;
        if (problem.empty() && text.HasLayout) {
            problem = "is not a name: it holds layout codes";
        }
        if (problem.empty() && row > 0 && row < needed && list != NameList::Items &&
            !IsPlaceholderName(text.Text) && !seen.insert(text.Text).second) {
            problem = "repeats the name \"" + text.Text + "\"";
        }
        if (!problem.empty()) {
            if (row < needed) {
                return fail("is not a list of names: row " + std::to_string(row) + " " + problem);
            }
            break; // rows past those needed are kept only up to the first that is no name
        }
        read.Names.push_back(std::move(text.Text));
    }
    return read;
}

// The next code point of `text` from `at`, moving `at` past it; a byte that starts no sequence
// stands for itself.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t c = extra == 0 ? lead : lead & (0x3Fu >> extra);
    for (int i = 0; i < extra && at < text.size(); ++i) {
        c = (c << 6) | (static_cast<unsigned char>(text[at++]) & 0x3Fu);
    }
    return c;
}

} // namespace

bool IsPlaceholderName(std::string_view utf8) {
    // Dashes and question marks as the games write them: ASCII, full width, the katakana long
    // vowel mark of the Japanese releases' dashes, and the dashes of typography.
    constexpr char32_t fillers[] = {U' ',      U'-',      U'?',      U'\u2010', U'\u2013', U'\u2014',
                                    U'\u2015', U'\u30FC', U'\uFF0D', U'\uFF1F', U'\u3000'};
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t c = NextCodePoint(utf8, at);
        if (std::find(std::begin(fillers), std::end(fillers), c) == std::end(fillers)) {
            return false;
        }
    }
    return true;
}

// The member numbers are those of the English releases; another language's image is taken at
// the same numbers and checked by what the banks hold.
NameBankPlaces NameBanksOf(Game game) {
    switch (game) {
    case Game::Platinum:
        return {"msgdata/pl_msg.narc", 412, 647, 392};
    case Game::HeartGold:
    case Game::SoulSilver:
        return {"a/0/2/7", 237, 750, 222};
    default:
        return {"msgdata/msg.narc", 362, 588, 344};
    }
}

const NameBankRead& ImageNames::List(NameList list) const {
    switch (list) {
    case NameList::Moves:
        return Moves;
    case NameList::Items:
        return Items;
    case NameList::Species:
        break;
    }
    return Species;
}

std::size_t NameRowsNeeded(Game game, NameList list) {
    switch (list) {
    case NameList::Species:
        return SpeciesCount;
    case NameList::Moves:
        return 468;
    case NameList::Items:
        break;
    }
    switch (game) {
    case Game::Platinum:
        return 468;
    case Game::HeartGold:
    case Game::SoulSilver:
        return 537;
    default:
        return 465;
    }
}

ImageNames ReadImageNames(const ByteSource& image, const TableLocation& location) {
    ImageNames names;
    if (!location.HasHeader()) {
        return names;
    }
    names.Language = LanguageOf(location.GameCode());
    const NameBankPlaces facts = NameBanksOf(location.Kind());
    const auto failAll = [&names](const std::string& why) {
        names.Problem = why;
        for (NameBankRead* list : {&names.Species, &names.Moves, &names.Items}) {
            list->Problem = why;
        }
        return names;
    };
    // The file system read when the image was identified serves here too; read only where the
    // location comes without it.
    std::optional<Result<NitroFs>> ownFs;
    const NitroFs* fs = location.FileSystem();
    if (!fs) {
        const Result<CartridgeHeader> header = ReadCartridgeHeader(image);
        ownFs = header ? NitroFs::Open(image, *header) : Result<NitroFs>(Failure{header.Reason()});
        if (!*ownFs) {
            return failAll(ownFs->Reason());
        }
        fs = &**ownFs;
    }
    const Result<ByteRange> archive = fs->Find(facts.Path);
    if (!archive) {
        return failAll(archive.Reason());
    }
    names.HasArchive = true;
    const std::string archiveName = "the message archive " + std::string(facts.Path);
    const Result<std::vector<ByteRange>> members = ReadNarcMembers(image, *archive, archiveName);
    if (!members) {
        return failAll(members.Reason());
    }
    const auto read = [&](NameList list, std::size_t number) {
        const std::string bank = std::string(facts.Path) + " member " + std::to_string(number);
        if (number >= members->size()) {
            NameBankRead missing;
            missing.Problem = archiveName + " holds " + std::to_string(members->size()) +
                              " members, none numbered " + std::to_string(number);
            return missing;
        }
        // Species: a row for every record of the table (forms too where it has them); moves and
        // items: every row of the bank.
        const std::size_t wanted = list == NameList::Species ? static_cast<std::size_t>(location.Records())
                                                             : std::numeric_limits<std::size_t>::max();
        return ReadList(image, (*members)[number], bank, location.Kind(), list, wanted);
    };
    names.Species = read(NameList::Species, facts.Species);
    names.Moves = read(NameList::Moves, facts.Moves);
    names.Items = read(NameList::Items, facts.Items);
    return names;
}

} // namespace rom
