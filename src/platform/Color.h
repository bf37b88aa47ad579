// Colour values as the drawing code sees them: 0x00BBGGRR with red in the low byte, and the
// conversions to and from Qt's colour types.
#pragma once

#include <QColor>
#include <QRgb>
#include <cstdint>

namespace gdi {

using COLORREF = std::uint32_t;

// The "no colour" answer of a failed pixel read.
inline constexpr COLORREF ClrInvalid = 0xFFFFFFFFu;

inline constexpr COLORREF Rgb(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline constexpr int RedOf(COLORREF c) {
    return static_cast<int>(c & 0xFF);
}
inline constexpr int GreenOf(COLORREF c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline constexpr int BlueOf(COLORREF c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

inline QColor ToQColor(COLORREF c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}
inline COLORREF FromQColor(const QColor& c) {
    return Rgb(c.red(), c.green(), c.blue());
}

// Pixels of a Format_RGB32 image are 0xFFRRGGBB; these swap the channel order.
inline constexpr QRgb ToQRgb(COLORREF c) {
    return 0xFF000000u | (static_cast<QRgb>(RedOf(c)) << 16) | (static_cast<QRgb>(GreenOf(c)) << 8) |
           static_cast<QRgb>(BlueOf(c));
}
inline constexpr COLORREF FromQRgb(QRgb p) {
    return Rgb(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
               static_cast<int>(p & 0xFF));
}

} // namespace gdi
