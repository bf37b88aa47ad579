// The three elaborate StyledButton styles: the framed vertical gradient, the inset panel and the
// gradient panel with its highlight bars, each in the normal, pressed and disabled states.
#include "StyledButton.h"

#include <cmath>

namespace {

// The dark blue border and its corner pixels of the framed gradient style.
constexpr gdi::COLORREF FrameBorder = 0x733C00;
constexpr gdi::COLORREF FrameCorner = 0x7B4D10;

// Inner lines of the framed gradient: outline, bottom, top, second row, left, right.
constexpr gdi::COLORREF HoverLines[6] = {0x31B2FF, 0x0096E7, 0xCEF3FF, 0x8CDBFF, 0x6BCBFF, 0x6BCBFF};
constexpr gdi::COLORREF FocusLines[6] = {0xE7AE8C, 0xEF826B, 0xFFE7CE, 0xF7D7BD, 0xF0D1B5, 0xF0D1B5};

} // namespace

void StyledButton::DrawGradient(gdi::COLORREF base, float step, bool proportionalBlue, bool reversed) {
    // One line per row from row 1 down to row H (just outside the client area); row 0 keeps the face.
    for (int i = 1; i <= ClientHeight; ++i) {
        const int row = reversed ? ClientHeight - i : i;
        const auto shift = static_cast<std::int32_t>(std::nearbyint(-static_cast<double>(step) * i));
        DrawLine(0, row, ClientWidth, row, ShiftColor(base, shift, proportionalBlue));
    }
}

void StyledButton::DrawGradientFramedLines(const gdi::COLORREF (&colors)[6]) {
    const int w = ClientWidth;
    const int h = ClientHeight;
    DrawRectangle(1, 2, w - 2, h - 4, colors[0], true);
    DrawLine(2, h - 2, w - 2, h - 2, colors[1]);
    DrawLine(2, 1, w - 2, 1, colors[2]);
    DrawLine(1, 2, w - 1, 2, colors[3]);
    DrawLine(2, 3, 2, h - 3, colors[4]);
    DrawLine(w - 3, 3, w - 3, h - 3, colors[5]);
}

// The pixel one in from each corner, which rounds the framed gradient and the inset panel.
void StyledButton::DrawInnerCorners(gdi::COLORREF color) {
    const int w = ClientWidth;
    const int h = ClientHeight;
    DrawPixel(1, 1, color);
    DrawPixel(1, h - 2, color);
    DrawPixel(w - 2, 1, color);
    DrawPixel(w - 2, h - 2, color);
}

void StyledButton::DrawGradientFramed(std::uint8_t state, std::uint8_t look) {
    const int w = ClientWidth;
    const int h = ClientHeight;
    const gdi::COLORREF gb = GradientBase;
    auto shiftP = [this](gdi::COLORREF c, std::int32_t n) { return ShiftColor(c, n, true); };
    const float step = 25.0f / static_cast<float>(h);
    if (state == StateDisabled) {
        DrawRectangle(0, 0, w, h, shiftP(gb, -24));
        DrawCaption(look);
        DrawRectangle(0, 0, w, h, shiftP(gb, -84), true);
        DrawInnerCorners(shiftP(gb, -72));
        return;
    }
    if (state == StateDown) {
        const gdi::COLORREF base = shiftP(gb, -32);
        DrawGradient(base, step, true, true); // darkest at the top
        DrawCaption(look);
        DrawRectangle(0, 0, w, h, FrameBorder, true);
        DrawInnerCorners(FrameCorner);
        DrawLine(2, h - 2, w - 2, h - 2, shiftP(base, 16));
        DrawLine(1, h - 3, w - 2, h - 3, shiftP(base, 10));
        DrawLine(w - 2, 2, w - 2, h - 2, shiftP(base, 5));
        DrawLine(w - 3, 3, w - 3, h - 3, gb);
        DrawLine(2, 1, w - 2, 1, shiftP(base, -32));
        DrawLine(1, 2, w - 2, 2, shiftP(base, -24));
        DrawLine(1, 2, 1, h - 2, shiftP(base, -32));
        DrawLine(2, 2, 2, h - 2, shiftP(base, -22));
        return;
    }
    DrawGradient(gb, step, true, false);
    DrawCaption(look);
    DrawRectangle(0, 0, w, h, FrameBorder, true);
    DrawInnerCorners(FrameCorner);
    // The inner lines are this style's hover and focus indication; hover wins.
    if (IsOver) {
        DrawGradientFramedLines(HoverLines);
    } else if ((HasFocus || DefaultButton()) && Props.ShowFocusRect) {
        DrawGradientFramedLines(FocusLines);
    } else {
        DrawLine(2, h - 2, w - 2, h - 2, shiftP(gb, -48));
        DrawLine(1, h - 3, w - 2, h - 3, shiftP(gb, -32));
        DrawLine(w - 2, 2, w - 2, h - 2, shiftP(gb, -36));
        DrawLine(w - 3, 3, w - 3, h - 3, shiftP(gb, -24));
        DrawLine(2, 1, w - 2, 1, shiftP(gb, 16));
        DrawLine(1, 2, w - 2, 2, shiftP(gb, 10));
        DrawLine(1, 2, 1, h - 2, shiftP(gb, -5));
        DrawLine(2, 3, 2, h - 3, shiftP(gb, -10));
    }
}

void StyledButton::DrawInsetPanel(std::uint8_t state, std::uint8_t look) {
    const int w = ClientWidth;
    const int h = ClientHeight;
    if (state == StateDown) {
        const gdi::COLORREF dark16 = ShiftColor(ShadowColor, -16);
        const gdi::COLORREF dark32 = ShiftColor(ShadowColor, -32);
        const gdi::COLORREF dark64 = ShiftColor(ShadowColor, -64);
        DrawRectangle(1, 1, w - 2, h - 2, dark16);
        // The caption's effect copies take the pressed fill as their base for this drawing only.
        GradientBase = dark16;
        DrawCaption(look);
        GradientBase = ShiftColor(FaceColor, 48);
        DrawRectangle(0, 0, w, h, DarkShadowColor, true);
        DrawRectangle(1, 1, w - 2, h - 2, dark64, true);
        DrawRectangle(2, 2, w - 4, h - 4, dark32, true);
        DrawPixel(2, 2, dark64);
        DrawPixel(3, 3, dark32);
        DrawInnerCorners(DarkShadowColor);
        DrawLine(w - 3, 1, w - 3, h - 3, ShadowColor);
        DrawLine(1, h - 3, w - 2, h - 3, ShadowColor);
        DrawPixel(w - 4, h - 4, ShadowColor);
        DrawLine(w - 2, 3, w - 2, h - 2, dark16);
        DrawLine(3, h - 2, w - 2, h - 2, dark16);
        DrawLine(w - 2, h - 3, w - 4, h - 1, dark32);
        DrawPixel(2, h - 2, dark32);
        DrawPixel(w - 2, 2, dark32);
        return;
    }
    // Normal and disabled differ only in the caption look the caller passes.
    DrawRectangle(1, 1, w - 2, h - 2, LightColor);
    DrawCaption(look);
    DrawRectangle(0, 0, w, h, DarkShadowColor, true);
    DrawInnerCorners(DarkShadowColor);
    DrawLine(1, 2, 2, 0, FaceColor);
    DrawLine(3, 2, w - 3, 2, HighlightColor);
    DrawLine(2, 2, 2, h - 3, HighlightColor);
    DrawPixel(3, 3, HighlightColor);
    DrawLine(w - 3, 1, w - 3, h - 3, FaceColor);
    DrawLine(1, h - 3, w - 3, h - 3, FaceColor);
    DrawPixel(w - 4, h - 4, FaceColor);
    DrawLine(w - 2, 2, w - 2, h - 2, ShadowColor);
    DrawLine(2, h - 2, w - 2, h - 2, ShadowColor);
    DrawPixel(w - 3, h - 3, ShadowColor);
}

void StyledButton::DrawGradientPanel(std::uint8_t state, std::uint8_t look) {
    const int w = ClientWidth;
    const int h = ClientHeight;
    const float step = 58.0f / static_cast<float>(h);
    if (state == StateDown) {
        DrawRectangle(1, 1, w, h, ShiftColor(FaceColor, -9));
        DrawRectangle(0, 0, w, h, ShiftColor(ShadowColor, -48), true);
        DrawLine(2, h - 2, w - 2, h - 2, HighlightColor);
        DrawLine(w - 2, 2, w - 2, h - 1, HighlightColor);
        DrawCaption(look);
        DrawFocus();
        return;
    }
    if (state == StateUp && IsOver) {
        DrawRectangle(0, 0, w, h, LightColor);
    } else {
        DrawGradient(HighlightColor, step, false, false);
    }
    if (state == StateUp && DefaultButton()) {
        // The default button's caption is bold for this drawing only; the bold property's own
        // redraw is held off meanwhile. Both are put back however the caption drawing ends, so a
        // failed drawing can neither leave the button unable to redraw nor save a bold font.
        RedrawEnabled = false;
        const bool keptBold = FontBold();
        struct Restore {
            StyledButton* button;
            bool bold;
            ~Restore() {
                button->SetFontBold(bold);
                button->RedrawEnabled = true;
            }
        } restore{this, keptBold};
        SetFontBold(true);
        DrawCaption(look);
    } else {
        DrawCaption(look);
    }
    DrawRectangle(0, 0, w, h, ShiftColor(ShadowColor, -50), true);
    DrawRectangle(1, 1, w - 2, h - 2, ShiftColor(FaceColor, -9), true);
    DrawRectangle(2, 2, w - 4, 2, HighlightColor);
    DrawRectangle(2, 4, 2, h - 6, HighlightColor);
    if (state == StateUp) {
        DrawFocus();
    }
}
