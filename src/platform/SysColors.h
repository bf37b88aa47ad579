// The desktop's colours for buttons and windows, taken from the application palette, and the
// translation of stored colour values that may name one of them.
#pragma once

#include "Color.h"

#include <cstdint>

namespace gdi {

// Indexes of the system colours the button control asks for.
inline constexpr int ColorWindow = 5;
inline constexpr int ColorWindowText = 8;
inline constexpr int ColorHighlight = 13;
inline constexpr int ColorBtnFace = 15;
inline constexpr int ColorBtnShadow = 16;
inline constexpr int ColorBtnText = 18;
inline constexpr int ColorBtnHighlight = 20;
inline constexpr int Color3dDkShadow = 21;
inline constexpr int Color3dLight = 22;

// A stored colour with this bit set names a system colour by its index in the low byte.
inline constexpr std::uint32_t SystemColorFlag = 0x80000000u;

// The current colour of a system colour index; 0 (black) for an index we do not know.
COLORREF GetSysColor(int index);

// True when index is a system colour index that GetSysColor knows.
bool IsKnownSysColor(int index);

// Turns a stored colour into plain RGB: 0x00BBGGRR stays as it is, 0x800000nn becomes system
// colour nn. Fails (returns false, out untouched) for an unknown index or any other form.
bool TranslateOleColor(std::uint32_t ole, COLORREF& out);

} // namespace gdi
