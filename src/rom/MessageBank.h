// The games' message banks: a count, a key seed, an encrypted table of string offsets and
// lengths, then the encrypted strings, each a run of 16-bit units ending in FFFF. A bank is one
// member of the game's message archive; its species, move and item names are strings of a bank.
#pragma once

#include "Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rom {

// One string decoded to UTF-8.
struct BankText {
    std::string Text;
    // Why the string is not sound (no end mark, a code with no character, a control sequence
    // running past its end); empty when it is.
    std::string Problem;
    // Whether the string held control sequences (placeholders, colours) or line breaks, which
    // a name never holds.
    bool HasLayout = false;
    bool Clean() const { return Problem.empty(); }
};

class MessageBank {
public:
    // Takes the bank's bytes; refuses a bank too short for its own string table.
    static Result<MessageBank> Parse(std::vector<std::uint8_t> bytes);

    std::size_t Count() const { return count_; }
    std::uint16_t Seed() const { return seed_; }

    // String `index` decrypted, up to `maxUnits` units: its entry checked against the bank (inside
    // the strings' area, even, at least one unit). The end mark is kept when the string has one.
    Result<std::vector<std::uint16_t>> Units(std::size_t index, std::size_t maxUnits = 4096) const;
    // String `index` as text: control sequences left out, line breaks as "\n", the packed form
    // unpacked, a code with no character written "{01E3}".
    BankText Text(std::size_t index, std::size_t maxUnits = 4096) const;

private:
    MessageBank() = default;
    std::vector<std::uint8_t> bytes_;
    std::size_t count_ = 0;
    std::uint16_t seed_ = 0;
};

// Decrypted units as text, by the rules of MessageBank::Text.
BankText DecodeUnits(const std::vector<std::uint16_t>& units);

// The units that write `utf8`, end mark included; nothing when a character has no code.
std::optional<std::vector<std::uint16_t>> EncodeText(std::string_view utf8);

// A bank holding `strings` (units, end marks included), encrypted with `seed`, as the games
// write one; for demo images and tests.
std::vector<std::uint8_t> BuildMessageBank(const std::vector<std::vector<std::uint16_t>>& strings,
                                           std::uint16_t seed);

} // namespace rom
