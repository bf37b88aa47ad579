// The desktop's colours for buttons and windows, taken from the application palette, and the
// translation of stored colour values that may name one of them.
#pragma once

#include "Color.h"

#include <cstdint>

// Indexes of the system colours the button control asks for.
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_3DDKSHADOW = 21;
inline constexpr int COLOR_3DLIGHT = 22;

// A stored colour with this bit set names a system colour by its index in the low byte.
inline constexpr std::uint32_t SystemColorFlag = 0x80000000u;

// The current colour of a system colour index; 0 (black) for an index we do not know.
COLORREF GetSysColor(int index);

// True when index is a system colour index that GetSysColor knows.
bool IsKnownSysColor(int index);

// Turns a stored colour into plain RGB: 0x00BBGGRR stays as it is, 0x800000nn becomes system
// colour nn. Fails (returns false, out untouched) for an unknown index or any other form.
bool TranslateOleColor(std::uint32_t ole, COLORREF& out);
