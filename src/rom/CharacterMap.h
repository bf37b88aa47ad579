// The games' character map: 16-bit character codes to Unicode and back. One table serves every
// language (kana, Latin with accents, Hangul).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace rom {

// Codes First .. First + Length - 1 stand for code points Unicode .. Unicode + Length - 1.
struct CharacterRun {
    std::uint16_t First;
    std::uint32_t Unicode;
    std::uint16_t Length;
};

// In code order; the map's doubtful glyphs are given as meant (the Japanese font's male and
// female signs as ♂ and ♀, the French quotation marks as « »).
extern const CharacterRun CharacterRuns[];
extern const std::size_t CharacterRunCount;

// The character `code` stands for; nothing for a code with no character.
std::optional<char32_t> CharacterForCode(std::uint16_t code);
// The code that writes `character`; where two codes show the same character, the one the
// English text uses (♂ as 01BB, not the Japanese font's 00EE).
std::optional<std::uint16_t> CodeForCharacter(char32_t character);

} // namespace rom
