// Decrypting and decoding message banks. Every offset and length read from a bank is checked
// against the bank before it is used, and every loop is bounded by the units of one string, so a
// damaged bank gives a reason instead of a crash or a hang.
#include "MessageBank.h"

#include "ByteSource.h"
#include "CharacterMap.h"

#include <cstdio>

namespace rom {
namespace {

constexpr std::uint16_t EndMark = 0xFFFF;
constexpr std::uint16_t Control = 0xFFFE;
constexpr std::uint16_t Packed = 0xF100;
constexpr std::uint16_t PackedEnd = 0x1FF;
constexpr std::uint16_t NewLine = 0xE000;
constexpr std::uint16_t ScrollLine = 0x25BC;
constexpr std::uint16_t NewPage = 0x25BD;

// The table entry of string i is masked with a key made from the bank's seed; the string's
// units with a key that starts from i alone and steps by a constant.
std::uint32_t TableMask(std::uint16_t seed, std::size_t index) {
    const auto key = static_cast<std::uint16_t>(seed * 765u * static_cast<std::uint32_t>(index + 1));
    return std::uint32_t{key} * 0x10001u;
}

std::uint16_t StringKey(std::size_t index) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(index + 1) * 596947u);
}

constexpr std::uint16_t StringKeyStep = 18749;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One character code into `result`: its character, or the code itself in braces, noted once.
void AppendCode(BankText& result, std::uint16_t code) {
    if (const std::optional<char32_t> c = CharacterForCode(code)) {
        AppendUtf8(result.Text, *c);
        return;
    }
    char text[16];
    std::snprintf(text, sizeof text, "{%04X}", static_cast<unsigned>(code));
    result.Text += text;
    if (result.Problem.empty()) {
        result.Problem = std::string("holds code ") + std::string(text + 1, 4) + ", which has no character";
    }
}

// The packed form: the low 15 bits of each unit after the first, up to and including the end
// mark, make one bit stream read 9 bits at a time; 1FF ends the text.
BankText DecodePacked(const std::vector<std::uint16_t>& units) {
    BankText result;
    std::uint32_t bits = 0;
    int held = 0;
    bool ended = false;
    for (std::size_t j = 1; j < units.size() && !ended; ++j) {
        bits |= std::uint32_t{units[j] & 0x7FFFu} << held;
        held += 15;
        while (held >= 9) {
            const auto code = static_cast<std::uint16_t>(bits & 0x1FFu);
            bits >>= 9;
            held -= 9;
            if (code == PackedEnd) {
                ended = true;
                break;
            }
            AppendCode(result, code);
        }
        if (units[j] == EndMark) {
            break;
        }
    }
    if (!ended) {
        result.Problem = "has no end mark";
    }
    return result;
}

} // namespace

Result<MessageBank> MessageBank::Parse(std::vector<std::uint8_t> bytes) {
    if (bytes.size() < 4) {
        return Failure{"it is too short to be a message bank"};
    }
    MessageBank bank;
    bank.count_ = static_cast<std::size_t>(bytes[0] | (bytes[1] << 8));
    bank.seed_ = static_cast<std::uint16_t>(bytes[2] | (bytes[3] << 8));
    if (4 + 8 * std::uint64_t{bank.count_} > bytes.size()) {
        return Failure{"its string table (" + std::to_string(bank.count_) + " strings) runs past its end"};
    }
    bank.bytes_ = std::move(bytes);
    return bank;
}

Result<std::vector<std::uint16_t>> MessageBank::Units(std::size_t index, std::size_t maxUnits) const {
    if (index >= count_) {
        return Failure{"is missing"};
    }
    LittleEndianView view(bytes_);
    const std::uint32_t mask = TableMask(seed_, index);
    const std::uint32_t offset = view.U32(4 + 8 * index) ^ mask;
    const std::uint32_t length = view.U32(8 + 8 * index) ^ mask;
    const std::uint64_t stringsStart = 4 + 8 * std::uint64_t{count_};
    if (length == 0) {
        return Failure{"is empty, without even an end mark"};
    }
    if (offset < stringsStart || offset + 2 * std::uint64_t{length} > bytes_.size()) {
        return Failure{"lies outside the bank"};
    }
    if (offset % 2 != 0) {
        return Failure{"starts at an odd offset"};
    }
    if (length > maxUnits) {
        return Failure{"is longer than " + std::to_string(maxUnits) + " units"};
    }
    std::vector<std::uint16_t> units(length);
    std::uint16_t key = StringKey(index);
    for (std::size_t j = 0; j < units.size(); ++j) {
        units[j] = static_cast<std::uint16_t>(view.U16(offset + 2 * j) ^ key);
        key = static_cast<std::uint16_t>(key + StringKeyStep);
    }
    return units;
}

BankText MessageBank::Text(std::size_t index, std::size_t maxUnits) const {
    const Result<std::vector<std::uint16_t>> units = Units(index, maxUnits);
    if (!units) {
        return BankText{{}, units.Reason()};
    }
    return DecodeUnits(*units);
}

BankText DecodeUnits(const std::vector<std::uint16_t>& units) {
    if (!units.empty() && units[0] == Packed) {
        return DecodePacked(units);
    }
    BankText result;
    bool ended = false;
    for (std::size_t j = 0; j < units.size() && !ended; ++j) {
        const std::uint16_t unit = units[j];
        switch (unit) {
        case EndMark:
            ended = true;
            break;
        case Control: {
            // Command, argument count, arguments: skipped, all of them, to stay in step.
            const std::size_t arguments = j + 2 < units.size() ? units[j + 2] : units.size();
            if (j + 3 + arguments > units.size()) {
                result.Problem = "has a control sequence running past its end";
                return result;
            }
            j += 2 + arguments;
            result.HasLayout = true;
            break;
        }
        case NewLine:
        case ScrollLine:
        case NewPage:
            result.Text += '\n';
            result.HasLayout = true;
            break;
        default:
            AppendCode(result, unit);
            break;
        }
    }
    if (!ended) {
        result.Problem = "has no end mark";
    }
    return result;
}

std::optional<std::vector<std::uint16_t>> EncodeText(std::string_view utf8) {
    std::vector<std::uint16_t> units;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t extra = lead < 0x80    ? 0
                                  : lead >= 0xF0 ? 3
                                  : lead >= 0xE0 ? 2
                                  : lead >= 0xC0 ? 1
                                                 : 4;
        if (extra > 3 || utf8.size() - i <= extra) {
            return std::nullopt;
        }
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        }
        i += extra + 1;
        if (c == U'\n') {
            units.push_back(NewLine);
            continue;
        }
        const std::optional<std::uint16_t> code = CodeForCharacter(c);
        if (!code) {
            return std::nullopt;
        }
        units.push_back(*code);
    }
    units.push_back(EndMark);
    return units;
}

std::vector<std::uint8_t> BuildMessageBank(const std::vector<std::vector<std::uint16_t>>& strings,
                                           std::uint16_t seed) {
    std::vector<std::uint8_t> bank;
    const auto put16 = [&bank](std::size_t at, std::uint16_t value) {
        bank[at] = static_cast<std::uint8_t>(value);
        bank[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    const auto put32 = [&put16](std::size_t at, std::uint32_t value) {
        put16(at, static_cast<std::uint16_t>(value));
        put16(at + 2, static_cast<std::uint16_t>(value >> 16));
    };
    std::size_t size = 4 + 8 * strings.size();
    for (const auto& units : strings) {
        size += 2 * units.size();
    }
    bank.resize(size);
    put16(0, static_cast<std::uint16_t>(strings.size()));
    put16(2, seed);
    std::size_t at = 4 + 8 * strings.size();
    for (std::size_t i = 0; i < strings.size(); ++i) {
        const std::uint32_t mask = TableMask(seed, i);
        put32(4 + 8 * i, static_cast<std::uint32_t>(at) ^ mask);
        put32(8 + 8 * i, static_cast<std::uint32_t>(strings[i].size()) ^ mask);
        std::uint16_t key = StringKey(i);
        for (const std::uint16_t unit : strings[i]) {
            put16(at, static_cast<std::uint16_t>(unit ^ key));
            key = static_cast<std::uint16_t>(key + StringKeyStep);
            at += 2;
        }
    }
    return bank;
}

} // namespace rom
