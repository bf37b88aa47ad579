// A device context over a caller-owned QImage that draws with the desktop's GDI pixel rules:
// exclusive right/bottom edges, lines without their end point, XOR focus dots, DrawText layout,
// and plain bit blits.
#pragma once

#include "Color.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QTextLayout;

namespace gdi {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline void OffsetRect(Rect& r, int dx, int dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}
inline void InflateRect(Rect& r, int dx, int dy) {
    r.left -= dx;
    r.right += dx;
    r.top -= dy;
    r.bottom += dy;
}

// DrawText format flags (the values the desktop uses, so stored flag words keep their meaning).
inline constexpr unsigned DtTop = 0x0;
inline constexpr unsigned DtLeft = 0x0;
inline constexpr unsigned DtCenter = 0x1;
inline constexpr unsigned DtRight = 0x2;
inline constexpr unsigned DtVCenter = 0x4;
inline constexpr unsigned DtBottom = 0x8;
inline constexpr unsigned DtWordBreak = 0x10;
inline constexpr unsigned DtSingleLine = 0x20;
inline constexpr unsigned DtCalcRect = 0x400;
inline constexpr unsigned DtNoPrefix = 0x800;

struct Pen {
    COLORREF color = 0;
    int width = 1; // 0 draws like 1
    bool null = false;
};

struct Brush {
    COLORREF color = 0xFFFFFF;
    bool null = false;
};

// A text broken into lines and shaped by DrawTextA's rules for one width, format, font and
// surface, kept so that drawing it again, at any place, shapes nothing.
class TextLayout {
public:
    TextLayout();
    ~TextLayout();
    TextLayout(TextLayout&&) noexcept;
    TextLayout& operator=(TextLayout&&) noexcept;

    bool IsEmpty() const { return lines.empty(); }
    int Height() const { return static_cast<int>(lines.size()) * lineHeight; }
    int Width() const; // the widest line

private:
    friend class DeviceContext;
    struct Line {
        std::unique_ptr<QTextLayout> shaped;
        int width = 0;
        int underlineX = 0; // the access-key underline, from the line's start; width 0 for none
        int underlineWidth = 0;
    };
    std::vector<Line> lines;
    int lineHeight = 0;
    int ascent = 0;
    int underlinePos = 0;
    int underlineThickness = 1;
};

class DeviceContext {
public:
    // Draws into image, which must outlive the context; an image of another format is converted
    // to Format_RGB32 in place. The default pen is black 1 pixel, the default brush white, text
    // black on a white background colour, drawn transparently.
    //
    // Coordinates are logical pixels. On an image with a device pixel ratio above 1 every logical
    // pixel that a fill, frame, line, dot or blit touches becomes a block of device pixels of one
    // colour, so the drawing keeps its geometry, while text is drawn at the full resolution.
    explicit DeviceContext(QImage& image);

    QImage& Image() { return *image_; }
    const QImage& Image() const { return *image_; }
    // The size in logical pixels.
    int Width() const;
    int Height() const;
    qreal Ratio() const { return image_->devicePixelRatio(); }

    // [left, right) x [top, bottom); empty or inverted rectangles paint nothing.
    void FillRect(const Rect& rect, COLORREF color);
    // The one-pixel border just inside the rectangle.
    void FrameRect(const Rect& rect, COLORREF color);

    Pen SelectPen(const Pen& pen); // returns the pen it replaces
    Brush SelectBrush(const Brush& brush);

    // Returns the previous current position.
    QPoint MoveToEx(int x, int y);
    // Draws with the selected pen up to, not including, (x, y), which becomes the current position.
    void LineTo(int x, int y);
    QPoint CurrentPosition() const { return position_; }

    // Filled with the brush, outlined with the pen, inscribed in [left, right) x [top, bottom).
    void Ellipse(const Rect& rect);

    void SetPixelV(int x, int y, COLORREF color);
    COLORREF GetPixel(int x, int y) const; // ClrInvalid outside the image
    // On a true-colour surface every colour is its own nearest colour.
    COLORREF GetNearestColor(COLORREF color) const { return color & 0xFFFFFF; }

    // Inverts the pixels of the rectangle's one-pixel outline whose (x + y) is odd; drawing it
    // twice restores the image.
    void DrawFocusRect(const Rect& rect);

    COLORREF SetTextColor(COLORREF color); // return the previous colour
    void SetFont(const QFont& font) { font_ = font; }
    const QFont& Font() const { return font_; }

    // Lays text out by the Dt* flags and draws it in the text colour with a transparent
    // background (or, with DtCalcRect, only sets rect's right and bottom to the text's extent).
    // Returns the height of the text.
    int DrawTextA(const QString& text, Rect& rect, unsigned format);

    // DrawTextA in two steps, for a text drawn again and again: LayoutText breaks and shapes it for
    // a rectangle of the given width with the current font; DrawTextLayout draws that in the text
    // colour into rect, as DrawTextA would with the same format, and returns the text's height.
    // A layout stays valid for this surface's resolution and the font it was made with.
    TextLayout LayoutText(const QString& text, int width, unsigned format) const;
    int DrawTextLayout(const TextLayout& layout, const Rect& rect, unsigned format);

    // Plain copy (SRCCOPY) of width x height pixels from src at (xSrc, ySrc) to (x, y); parts
    // outside either image are skipped.
    void BitBlt(int x, int y, int width, int height, const DeviceContext& src, int xSrc, int ySrc);

private:
    void Plot(int x, int y, QRgb pixel);
    // The device pixels of logical [left, right) x [top, bottom), clipped to the image.
    QRect DeviceRect(int left, int top, int right, int bottom) const;

    QImage* image_;
    Pen pen_;
    Brush brush_;
    QPoint position_;
    COLORREF textColor_ = 0x000000;
    QFont font_;
};

// The text as DrawTextA shows it: "&x" marks x as the access key, "&&" stands for "&", a lone "&"
// at the end is dropped. underline receives the index of the marked character in the result (the
// last one when several are marked), -1 for none.
QString StripPrefixes(const QString& text, int& underline);

} // namespace gdi
