// StyledButton's drawing primitives, colour arithmetic and colour schemes, window outline per
// style, access key, and the layout and looks of the caption next to the picture.
#include "StyledButton.h"

#include "OverflowError.h"
#include "Regions.h"
#include "SysColors.h"

#include <QApplication>
#include <cmath>

void StyledButton::DrawRectangle(int x, int y, int width, int height, gdi::COLORREF color, bool frameOnly) {
    const gdi::Rect r{x, y, x + width, y + height};
    if (frameOnly) {
        hDC().FrameRect(r, color);
    } else {
        hDC().FillRect(r, color);
    }
}

void StyledButton::DrawEllipse(int x, int y, int width, int height, gdi::COLORREF borderColor,
                               gdi::COLORREF fillColor) {
    gdi::DeviceContext& dc = hDC();
    const gdi::Brush oldBrush = dc.SelectBrush({fillColor, false});
    const gdi::Pen oldPen = dc.SelectPen({borderColor, 2, false});
    dc.Ellipse({x, y, x + width, y + height});
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

void StyledButton::DrawLine(int x1, int y1, int x2, int y2, gdi::COLORREF color) {
    gdi::DeviceContext& dc = hDC();
    const gdi::Pen oldPen = dc.SelectPen({color, 1, false});
    dc.MoveToEx(x1, y1);
    dc.LineTo(x2, y2);
    dc.SelectPen(oldPen);
}

void StyledButton::DrawPixel(int x, int y, gdi::COLORREF color) {
    hDC().SetPixelV(x, y, color);
}

void StyledButton::DrawFrame(gdi::COLORREF outerLight, gdi::COLORREF outerDark, gdi::COLORREF innerLight,
                             gdi::COLORREF innerDark, std::int16_t inset, bool singleRing) {
    // inset -1 draws the rings one pixel inside the edge, leaving room for an outer border.
    const int e = std::abs(inset);
    const int r = ClientWidth - 1 + inset;
    const int b = ClientHeight - 1 + inset;
    gdi::DeviceContext& dc = hDC();
    dc.SelectPen({outerLight, 1, false});
    dc.MoveToEx(e, b);
    dc.LineTo(e, e);
    dc.LineTo(r, e);
    dc.SelectPen({outerDark, 1, false});
    dc.LineTo(r, b);
    dc.LineTo(e - 1, b);
    dc.MoveToEx(e + 1, b - 1);
    if (singleRing) {
        return;
    }
    dc.SelectPen({innerLight, 1, false});
    dc.LineTo(e + 1, e + 1);
    dc.LineTo(r - 1, e + 1);
    dc.SelectPen({innerDark, 1, false});
    dc.LineTo(r - 1, b - 1);
    dc.LineTo(e, b - 1);
}

void StyledButton::DrawFocus() {
    if (!Props.ShowFocusRect || !HasFocus) {
        return;
    }
    hDC().SetTextColor(TextColor);
    hDC().DrawFocusRect(FocusRect);
}

void StyledButton::DrawCaptionOutline() {
    // FlatPanel's focus look: a plain outline around the caption instead of the dotted one.
    constexpr gdi::COLORREF OutlineColor = 0xCC9999;
    if (HasFocus && Props.ShowFocusRect) {
        DrawRectangle(CaptionRect.left - 2, CaptionRect.top - 1, CaptionWidth + 4, CaptionHeight + 2,
                      OutlineColor, true);
    }
}

gdi::COLORREF StyledButton::TranslateColor(std::uint32_t color) {
    gdi::COLORREF rgb = 0; // a colour that cannot be translated draws black
    gdi::TranslateOleColor(color, rgb);
    return rgb;
}

gdi::COLORREF StyledButton::ShiftColor(gdi::COLORREF color, std::int32_t amount,
                                       bool proportionalBlue) const {
    if (Props.SoftBevel) {
        amount /= 2; // a soft bevel halves every shade
    }
    // The arithmetic of a signed 32-bit colour value, in a wider type so that overflow is caught.
    const std::int64_t c = static_cast<std::int32_t>(color);
    std::int64_t red = c & 0xFF;
    std::int64_t green = (c / 256) % 256;
    std::int64_t blue = (c / 65536) % 256;
    red += amount;
    green += amount;
    blue += proportionalBlue ? (blue * amount) / 192 : amount;
    if (amount > 0) {
        red = std::min<std::int64_t>(red, 255);
        green = std::min<std::int64_t>(green, 255);
        blue = std::min<std::int64_t>(blue, 255);
    } else if (amount < 0) {
        red = std::max<std::int64_t>(red, 0);
        green = std::max<std::int64_t>(green, 0);
        blue = std::max<std::int64_t>(blue, 0);
    }
    return static_cast<gdi::COLORREF>(
        platform::NarrowChecked<std::int32_t>(red + 256 * green + 65536 * blue, "ShiftColor"));
}

gdi::COLORREF StyledButton::LightenColor(gdi::COLORREF color, std::int32_t amount) {
    const std::int64_t c = static_cast<std::int32_t>(color);
    auto wash = [amount](std::int64_t channel) {
        return std::min<std::int64_t>(amount + ((255 - std::int64_t(amount)) * channel) / 255, 255);
    };
    const std::int64_t red = wash(c & 0xFF);
    const std::int64_t green = wash((c / 256) % 256);
    const std::int64_t blue = wash((c / 65536) % 256);
    return static_cast<gdi::COLORREF>(
        platform::NarrowChecked<std::int32_t>(red + 256 * green + 65536 * blue, "LightenColor"));
}

void StyledButton::ComputeColors() {
    switch (Props.ColorScheme) {
    case CustomColors:
        FaceColor = TranslateColor(Props.BackColor);
        TextColor = TranslateColor(Props.ForeColor);
        TextOverColor = TranslateColor(Props.ForeOver);
        ShadowColor = ShiftColor(FaceColor, -64);
        LightColor = ShiftColor(FaceColor, 31);
        HighlightColor = ShiftColor(FaceColor, 47);
        DarkShadowColor = ShiftColor(FaceColor, -192);
        SelectionColor = ShiftColor(FaceColor, -128);
        SelectionLight = FaceColor;
        break;
    case FixedColors:
        FaceColor = 0xC0C0C0;
        TextColor = 0x000000;
        TextOverColor = 0x000000;
        ShadowColor = 0x808080;
        LightColor = 0xDFDFDF;
        HighlightColor = 0xFFFFFF;
        DarkShadowColor = 0x000000;
        SelectionColor = 0x800000;
        SelectionLight = 0xD1ADAD;
        break;
    case ContainerColors: {
        // The container's own background and text colours, as it paints them.
        const QWidget* container = parentWidget();
        const QPalette palette = container != nullptr ? container->palette() : QApplication::palette();
        FaceColor = gdi::FromQColor(
            palette.color(container != nullptr ? container->backgroundRole() : QPalette::Window));
        TextColor = gdi::FromQColor(
            palette.color(container != nullptr ? container->foregroundRole() : QPalette::WindowText));
        TextOverColor = TextColor;
        ShadowColor = ShiftColor(FaceColor, -64);
        LightColor = ShiftColor(FaceColor, 31);
        HighlightColor = ShiftColor(FaceColor, 47);
        DarkShadowColor = ShiftColor(FaceColor, -192);
        SelectionColor = gdi::GetSysColor(gdi::ColorHighlight);
        SelectionLight = LightenColor(SelectionColor, 176);
        break;
    }
    default:
        FaceColor = gdi::GetSysColor(gdi::ColorBtnFace);
        TextColor = gdi::GetSysColor(gdi::ColorBtnText);
        TextOverColor = TextColor;
        ShadowColor = gdi::GetSysColor(gdi::ColorBtnShadow);
        LightColor = gdi::GetSysColor(gdi::Color3dLight);
        HighlightColor = gdi::GetSysColor(gdi::ColorBtnHighlight);
        DarkShadowColor = gdi::GetSysColor(gdi::Color3dDkShadow);
        SelectionColor = gdi::GetSysColor(gdi::ColorHighlight);
        SelectionLight = LightenColor(SelectionColor, 176);
        break;
    }
    MaskRgb = TranslateColor(Props.MaskColor);
    GradientBase = ShiftColor(FaceColor, 48, Props.ButtonType == GradientFramed);
}

QRegion StyledButton::BuildRegion() const {
    const int w = ClientWidth;
    const int h = ClientHeight;
    QRegion region = gdi::CreateRectRgn(0, 0, w, h);
    switch (Props.ButtonType) {
    case BorderedBevel:
    case GradientPanel:
        region -= gdi::CreateRectRgn(0, h - 1, 1, h);
        region -= gdi::CreateRectRgn(w - 1, 0, w, 1);
        region -= gdi::CreateRectRgn(0, 0, 1, 1);
        region -= gdi::CreateRectRgn(w - 1, h - 1, w, h);
        break;
    case FlatPanel:
        region -= gdi::CreateRectRgn(0, h - 1, 1, h);
        region -= gdi::CreateRectRgn(w - 1, 0, w, 1);
        break;
    case GradientFramed:
    case InsetPanel:
        // Two pixels along the top and bottom edge and one more down the side at each corner.
        region -= gdi::CreateRectRgn(0, 0, 2, 1);
        region -= gdi::CreateRectRgn(0, h - 1, 2, h);
        region -= gdi::CreateRectRgn(w - 2, 0, w, 1);
        region -= gdi::CreateRectRgn(w - 2, h - 1, w, h);
        region -= gdi::CreateRectRgn(0, 1, 1, 2);
        region -= gdi::CreateRectRgn(0, h - 2, 1, h - 1);
        region -= gdi::CreateRectRgn(w - 1, 1, w, 2);
        region -= gdi::CreateRectRgn(w - 1, h - 2, w, h - 1);
        break;
    case Elliptic:
        region = gdi::CreateEllipticRgn(0, 0, w, h);
        break;
    default:
        break;
    }
    return region;
}

void StyledButton::SetAccessKeys() {
    platform::UserControl::SetAccessKeys(QString());
    const QString& caption = Props.Caption;
    if (caption.size() <= 1) {
        return;
    }
    // Positions are 0-based here; the marker must stand before the last character.
    const qsizetype a = caption.indexOf(QLatin1Char('&'));
    if (a < 0 || a >= caption.size() - 1) {
        return;
    }
    if (caption.at(a + 1) != QLatin1Char('&')) {
        platform::UserControl::SetAccessKeys(caption.at(a + 1).toLower());
        return;
    }
    // "&&" is a literal ampersand: the key is marked by the next single "&".
    const qsizetype c = caption.indexOf(QLatin1Char('&'), a + 2);
    if (c < 0 || c + 1 >= caption.size() || caption.at(c + 1) == QLatin1Char('&')) {
        return;
    }
    platform::UserControl::SetAccessKeys(caption.at(c + 1).toLower());
}

void StyledButton::MeasurePicture() {
    if (Props.PictureNormal.IsEmpty()) {
        PictureWidth = 0;
        PictureHeight = 0;
        return;
    }
    // Stored in HIMETRIC; whole pixels, halves to even.
    PictureWidth = static_cast<std::int32_t>(
        std::nearbyint(platform::Picture::HimetricToPixels(Props.PictureNormal.Width())));
    PictureHeight = static_cast<std::int32_t>(
        std::nearbyint(platform::Picture::HimetricToPixels(Props.PictureNormal.Height())));
}

void StyledButton::LayoutCaption() {
    const int w = ClientWidth;
    const int h = ClientHeight;
    const int pw = PictureWidth;
    const int ph = PictureHeight;
    // The measuring rectangle leaves room for the picture on its side.
    switch (Props.PicturePosition) {
    case PictureLeft:
        CaptionRectPressed = {pw + 1, 1, w - 2, h - 2};
        break;
    case PictureRight:
        CaptionRectPressed = {1, 1, w - 2 - pw, h - 2};
        break;
    case PictureAbove:
        CaptionRectPressed = {1, ph + 1, w - 2, h - 2};
        break;
    case PictureBelow:
        CaptionRectPressed = {1, 1, w - 2, h - 2 - ph};
        break;
    case PictureBehind:
        CaptionRectPressed = {1, 1, w - 2, h - 2};
        break;
    default:
        break;
    }
    hDC().SetFont(font());
    hDC().DrawTextA(Props.Caption, CaptionRectPressed, gdi::DtCalcRect | gdi::DtWordBreak);
    CaptionRect = CaptionRectPressed;
    CaptionWidth = CaptionRect.right - CaptionRect.left;
    CaptionHeight = CaptionRect.bottom - CaptionRect.top;
    const int right = CaptionRectPressed.right;
    const int bottom = CaptionRectPressed.bottom;
    switch (Props.PicturePosition) {
    case PictureRight:
        gdi::OffsetRect(CaptionRect, (w - right - pw - 4) / 2, (h - bottom) / 2);
        break;
    case PictureBelow:
        gdi::OffsetRect(CaptionRect, (w - right) / 2, (h - bottom - ph - 4) / 2);
        break;
    case PictureLeft:
    case PictureAbove:
    case PictureBehind:
        gdi::OffsetRect(CaptionRect, (w - right) / 2, (h - bottom) / 2);
        break;
    default:
        break;
    }
    CaptionRectPressed = CaptionRect;
    gdi::OffsetRect(CaptionRectPressed, 1, 1);
    PlacePicture();
}

void StyledButton::PlacePicture() {
    if (Props.PictureNormal.IsEmpty() && Props.PictureOver.IsEmpty()) {
        return;
    }
    const int w = ClientWidth;
    const int h = ClientHeight;
    const int pw = PictureWidth;
    const int ph = PictureHeight;
    // Only spaces count as blank, as the caption is trimmed of spaces alone.
    QString trimmed = Props.Caption;
    while (trimmed.startsWith(QLatin1Char(' '))) {
        trimmed.remove(0, 1);
    }
    while (trimmed.endsWith(QLatin1Char(' '))) {
        trimmed.chop(1);
    }
    if (!trimmed.isEmpty() && Props.PicturePosition != PictureBehind) {
        switch (Props.PicturePosition) {
        case PictureLeft:
            PictureX = CaptionRect.left - pw - 4;
            PictureY = (h - ph) / 2;
            break;
        case PictureRight:
            PictureX = CaptionRect.right + 4;
            PictureY = (h - ph) / 2;
            break;
        case PictureAbove:
            PictureX = (w - pw) / 2;
            PictureY = CaptionRect.top - ph - 2;
            break;
        case PictureBelow:
            PictureX = (w - pw) / 2;
            PictureY = CaptionRect.bottom + 2;
            break;
        default:
            break;
        }
    } else {
        PictureX = (w - pw) / 2;
        PictureY = (h - ph) / 2;
    }
}

void StyledButton::DrawCaptionText(const gdi::Rect& rect, gdi::COLORREF color) {
    constexpr unsigned format = gdi::DtCenter | gdi::DtVCenter | gdi::DtWordBreak;
    gdi::DeviceContext& dc = hDC();
    dc.SetFont(font());
    dc.SetTextColor(color);
    // Every look draws the caption into rectangles of one width, often more than once: it is
    // broken and shaped once for each caption, font, width and screen resolution.
    KeptCaption& kept = CaptionShape;
    const int width = rect.right - rect.left;
    if (kept.width != width || kept.ratio != dc.Ratio() || kept.caption != Props.Caption ||
        kept.font != font()) {
        kept.layout = dc.LayoutText(Props.Caption, width, format);
        kept.caption = Props.Caption;
        kept.font = font();
        kept.width = width;
        kept.ratio = dc.Ratio();
    }
    dc.DrawTextLayout(kept.layout, rect, format);
}

void StyledButton::DrawCaption(std::uint8_t look) {
    CaptionLook = look;
    switch (look) {
    case CaptionNormal:
        DrawCaptionEffect(CaptionRect);
        DrawCaptionText(CaptionRect, TextColor);
        break;
    case CaptionHover:
        DrawCaptionEffect(CaptionRect);
        DrawCaptionText(CaptionRect, TextOverColor);
        break;
    case CaptionPressed:
        DrawCaptionEffect(CaptionRectPressed);
        DrawCaptionText(CaptionRectPressed, Props.ButtonType == InsetPanel ? LightColor : TextOverColor);
        break;
    case CaptionEngraved:
        DrawCaptionText(CaptionRectPressed, HighlightColor);
        DrawCaptionText(CaptionRect, ShadowColor);
        break;
    case CaptionFlat:
        DrawCaptionText(CaptionRect, ShadowColor);
        break;
    case CaptionGradient:
        DrawCaptionText(CaptionRect, ShiftColor(GradientBase, -104, true));
        break;
    case CaptionEmbossed:
        DrawCaptionText(CaptionRectPressed, HighlightColor);
        DrawCaptionText(CaptionRect, FaceColor);
        break;
    case CaptionPressedGradient:
        DrawCaptionText(CaptionRectPressed, ShiftColor(ShadowColor, -50));
        DrawCaptionText(CaptionRect, HighlightColor);
        break;
    default:
        break;
    }
}

void StyledButton::DrawCaptionEffect(const gdi::Rect& rect) {
    if (Props.SpecialEffect <= EffectNone) {
        return;
    }
    gdi::COLORREF base = FaceColor;
    const std::int32_t type = Props.ButtonType;
    if (type == GradientFramed || type == InsetPanel || type == GradientPanel) {
        base = GradientBase;
    } else if (LastState == StateUp && IsOver && Props.ColorScheme != CustomColors &&
               type == SelectionHover) {
        base = SelectionLight;
    }
    const bool sunken = Props.SpecialEffect == EffectSunken;
    gdi::Rect below = rect;
    gdi::OffsetRect(below, 1, 1);
    DrawCaptionText(below, ShiftColor(base, sunken ? 40 : -40));
    if (Props.SpecialEffect == EffectRaised || sunken) {
        gdi::Rect above = rect;
        gdi::OffsetRect(above, -1, -1);
        DrawCaptionText(above, ShiftColor(base, sunken ? -40 : 40));
    }
}
