// StyledButton's style renderer: the face, frame, caption and focus outline of every style in the
// normal, pressed and disabled states, and the picture drawn over them.
#include "StyledButton.h"

#include <functional>

namespace {

// Puts the hover face of a custom-coloured button in place for one drawing and takes it away
// again, even when the drawing ends early.
class HoverFaceSwap {
public:
    HoverFaceSwap(bool active, std::uint32_t& backColor, std::uint32_t backOver,
                  std::function<void()> recompute)
        : active(active), backColor(backColor), kept(backColor), recompute(std::move(recompute)) {
        if (active) {
            backColor = backOver;
            this->recompute();
        }
    }
    ~HoverFaceSwap() {
        if (active) {
            backColor = kept;
            recompute();
        }
    }
    HoverFaceSwap(const HoverFaceSwap&) = delete;
    HoverFaceSwap& operator=(const HoverFaceSwap&) = delete;

private:
    bool active;
    std::uint32_t& backColor;
    std::uint32_t kept;
    std::function<void()> recompute;
};

} // namespace

void StyledButton::Redraw(std::uint8_t state, bool force) {
    if (Props.CheckBoxBehaviour && Props.Value) {
        state = StateDown; // a checked toggle is always drawn down
    }
    if (!(force || Props.Caption != LastCaption || state != LastState) || ClientHeight == 0 ||
        !RedrawEnabled) {
        NotifyAccessibility(); // every state change ends in a Redraw, drawn or not
        return;
    }
    LastState = state;
    LastCaption = Props.Caption;
    if (ClientWidth < width() || ClientHeight < height()) {
        Cls(); // the face below covers the whole surface otherwise
    }
    {
        HoverFaceSwap swap(IsOver && Props.ColorScheme == CustomColors, Props.BackColor, Props.BackOver,
                           [this] { ComputeColors(); });
        DrawRectangle(0, 0, ClientWidth, ClientHeight, FaceColor);
        const std::uint8_t look = IsOver ? CaptionHover : CaptionNormal;
        if (!Props.Enabled) {
            DrawDisabled();
            DrawPicture(PictureDisabled);
        } else if (state == StateUp) {
            DrawNormal(look);
            DrawPicture(PictureUp);
        } else if (state == StateDown) {
            DrawPressed();
            DrawPicture(PictureDown);
        }
    }
    update();
    NotifyAccessibility();
}

void StyledButton::DrawNormal(std::uint8_t look) {
    const int w = ClientWidth;
    const int h = ClientHeight;
    switch (Props.ButtonType) {
    case BorderedBevel:
        DrawCaption(look);
        DrawFrame(HighlightColor, ShadowColor, HighlightColor, ShadowColor, -1, false);
        DrawRectangle(0, 0, w, h, DarkShadowColor, true);
        DrawFocus();
        break;
    case ClassicBevel:
        DrawCaption(look);
        if (Props.ShowFocusRect && DefaultButton()) {
            DrawFrame(HighlightColor, DarkShadowColor, LightColor, ShadowColor, -1, false);
            DrawFocus();
            DrawRectangle(0, 0, w, h, DarkShadowColor, true);
        } else {
            DrawFrame(HighlightColor, DarkShadowColor, LightColor, ShadowColor, 0, false);
        }
        break;
    case GradientFramed:
        DrawGradientFramed(StateUp, look);
        break;
    case InsetPanel:
        DrawInsetPanel(StateUp, look);
        break;
    case GradientPanel:
        DrawGradientPanel(StateUp, look);
        break;
    case FlatPanel:
        DrawRectangle(1, 1, w - 1, h - 1, ShiftColor(FaceColor, 12));
        DrawCaption(look);
        DrawRectangle(1, 1, w - 1, h - 1, HighlightColor, true);
        DrawRectangle(0, 0, w - 1, h - 1, ShiftColor(ShadowColor, -26), true);
        DrawPixel(1, h - 2, ShiftColor(ShadowColor, 26));
        DrawPixel(w - 2, 1, ShiftColor(ShadowColor, 26));
        DrawCaptionOutline();
        break;
    case LightBevel:
        DrawCaption(look);
        DrawFrame(ShiftColor(LightColor, 8), ShadowColor, ShiftColor(LightColor, 8), ShadowColor, 0, false);
        DrawFocus();
        break;
    case FlatBevel:
        DrawCaption(look);
        DrawFrame(HighlightColor, ShadowColor, 0, 0, 0, true);
        DrawFocus();
        break;
    case HoverBevel:
        DrawCaption(look);
        if (IsOver) {
            DrawFrame(HighlightColor, ShadowColor, 0, 0, 0, true);
        }
        DrawFocus();
        break;
    case SelectionHover:
        if (IsOver) {
            DrawRectangle(1, 1, w, h, SelectionLight);
        }
        DrawCaption(look);
        if (IsOver) {
            DrawRectangle(0, 0, w, h, SelectionColor, true);
        }
        DrawFocus();
        break;
    case PlainFace:
        break;
    case ParentBackground:
        CopyBackground();
        DrawCaption(look);
        DrawFocus();
        break;
    case HoverClassicBevel:
        DrawCaption(look);
        if (IsOver) {
            DrawFrame(HighlightColor, DarkShadowColor, LightColor, ShadowColor, 0, false);
        }
        DrawFocus();
        break;
    case Elliptic:
        DrawEllipse(0, 0, w, h, IsOver ? ShadowColor : FaceColor, FaceColor);
        DrawCaption(look);
        break;
    default:
        break; // any other style shows its face and picture only
    }
}

void StyledButton::DrawPressed() {
    const int w = ClientWidth;
    const int h = ClientHeight;
    switch (Props.ButtonType) {
    case BorderedBevel:
    case PressedBorderedBevel:
        DrawCaption(CaptionPressed);
        DrawFrame(ShadowColor, HighlightColor, ShadowColor, HighlightColor, -1, false);
        DrawRectangle(0, 0, w, h, DarkShadowColor, true);
        DrawFocus();
        break;
    case ClassicBevel:
        DrawCaption(CaptionPressed);
        if (Props.ShowFocusRect && DefaultButton()) {
            DrawRectangle(0, 0, w, h, DarkShadowColor, true);
            DrawRectangle(1, 1, w - 2, h - 2, ShadowColor, true);
            DrawFocus();
        } else {
            DrawFrame(DarkShadowColor, HighlightColor, ShadowColor, LightColor, 0, false);
        }
        break;
    case GradientFramed:
        DrawGradientFramed(StateDown, CaptionPressed);
        break;
    case InsetPanel:
        DrawInsetPanel(StateDown, CaptionPressed);
        break;
    case GradientPanel:
        DrawGradientPanel(StateDown, CaptionPressedGradient);
        break;
    case FlatPanel:
        DrawRectangle(1, 1, w - 2, h - 2, ShiftColor(ShadowColor, 16));
        DrawRectangle(0, 0, w - 1, h - 1, ShiftColor(ShadowColor, -26), true);
        DrawLine(w - 1, 1, w - 1, h, HighlightColor);
        DrawLine(1, h - 1, w - 1, h - 1, HighlightColor);
        // Drawn once, in place, without the caption looks and effects.
        DrawCaptionText(CaptionRect, TextOverColor);
        DrawCaptionOutline();
        break;
    case LightBevel:
        DrawCaption(CaptionPressed);
        DrawFrame(ShadowColor, ShiftColor(LightColor, 8), ShadowColor, ShiftColor(LightColor, 8), 0, false);
        DrawFocus();
        break;
    case FlatBevel:
    case HoverBevel:
        DrawCaption(CaptionPressed);
        DrawFrame(ShadowColor, HighlightColor, 0, 0, 0, true);
        DrawFocus();
        break;
    case SelectionHover:
        if (IsOver) {
            DrawRectangle(0, 0, w, h,
                          Props.ColorScheme == CustomColors ? ShiftColor(SelectionLight, -32)
                                                            : LightenColor(SelectionColor, 128));
        }
        DrawCaption(CaptionPressed);
        DrawRectangle(0, 0, w, h, SelectionColor, true);
        DrawFocus();
        break;
    case PlainFace:
        break;
    case ParentBackground:
        CopyBackground();
        DrawCaption(CaptionPressed);
        DrawFocus();
        break;
    case HoverClassicBevel:
        DrawCaption(CaptionPressed);
        DrawFrame(DarkShadowColor, HighlightColor, ShadowColor, LightColor, 0, false);
        DrawFocus();
        break;
    case Elliptic:
        DrawEllipse(0, 0, w, h, DarkShadowColor, ShiftColor(FaceColor, -32));
        DrawCaption(CaptionPressed);
        break;
    default:
        break;
    }
}

void StyledButton::DrawDisabled() {
    const int w = ClientWidth;
    const int h = ClientHeight;
    switch (Props.ButtonType) {
    case BorderedBevel:
        DrawCaption(CaptionEngraved);
        DrawFrame(HighlightColor, ShadowColor, HighlightColor, ShadowColor, -1, false);
        DrawRectangle(0, 0, w, h, DarkShadowColor, true);
        break;
    case ClassicBevel:
        DrawCaption(CaptionEngraved);
        DrawFrame(HighlightColor, DarkShadowColor, LightColor, ShadowColor, 0, false);
        break;
    case GradientFramed:
        DrawGradientFramed(StateDisabled, CaptionGradient);
        break;
    case InsetPanel:
        DrawInsetPanel(StateDisabled, CaptionEngraved);
        break;
    case GradientPanel:
        DrawGradientPanel(StateDisabled, CaptionEmbossed);
        break;
    case FlatPanel:
        DrawCaption(CaptionFlat);
        DrawRectangle(0, 0, w, h, ShadowColor, true);
        break;
    case LightBevel:
        DrawCaption(CaptionFlat);
        DrawFrame(ShiftColor(LightColor, 8), ShadowColor, ShiftColor(LightColor, 8), ShadowColor, 0, false);
        break;
    case FlatBevel:
        DrawCaption(CaptionEngraved);
        DrawFrame(HighlightColor, ShadowColor, 0, 0, 0, true);
        break;
    case HoverBevel:
    case HoverClassicBevel:
    case Elliptic:
        DrawCaption(CaptionEngraved);
        break;
    case SelectionHover:
        DrawCaption(CaptionFlat);
        break;
    case PlainFace:
        break;
    case ParentBackground:
        CopyBackground();
        DrawCaption(CaptionEngraved);
        break;
    default:
        break;
    }
}

void StyledButton::CopyBackground() {
    if (BackgroundDC) {
        hDC().BitBlt(0, 0, ClientWidth, ClientHeight, *BackgroundDC, 0, 0);
    }
}

void StyledButton::DrawPicture(std::uint8_t pictureState) {
    const platform::Picture& normal = Props.PictureNormal;
    const platform::Picture& over = Props.PictureOver;
    if (normal.IsEmpty()) {
        return;
    }
    const int x = PictureX;
    const int y = PictureY;
    const int pw = PictureWidth;
    const int ph = PictureHeight;
    const std::int32_t type = Props.ButtonType;
    switch (pictureState) {
    case PictureUp:
        if (!IsOver) {
            DrawPictureEffect(0, normal);
            DrawTransparentPicture(x, y, pw, ph, normal, MaskRgb, -1, false, Props.UseGreyscale,
                                   type == SelectionHover);
        } else if (type == SelectionHover) {
            // The picture lifts up and left over its own shadow.
            DrawPictureEffect(-1, normal);
            DrawTransparentPicture(x + 1, y + 1, pw, ph, normal, MaskRgb,
                                   static_cast<std::int32_t>(ShadowColor), false, false, false);
            DrawTransparentPicture(x - 1, y - 1, pw, ph, normal, MaskRgb, -1, false, false, false);
        } else if (!over.IsEmpty()) {
            DrawPictureEffect(0, over);
            DrawTransparentPicture(x, y, pw, ph, over, MaskRgb, -1, false, false, false);
        } else {
            DrawPictureEffect(0, normal);
            DrawTransparentPicture(x, y, pw, ph, normal, MaskRgb, -1, false, false, false);
        }
        break;
    case PictureDown:
        if (!over.IsEmpty() && type != SelectionHover) {
            const int d = type == FlatPanel ? 0 : 1;
            DrawTransparentPicture(x + d, y + d, pw, ph, over, MaskRgb, -1, false, false, false);
        } else if (type == FlatPanel || type == SelectionHover) {
            DrawPictureEffect(0, normal);
            DrawTransparentPicture(x, y, pw, ph, normal, MaskRgb, -1, false, false, false);
        } else {
            DrawPictureEffect(1, normal);
            DrawTransparentPicture(x + 1, y + 1, pw, ph, normal, MaskRgb, -1, false, false, false);
        }
        break;
    case PictureDisabled:
        if (type == GradientFramed) {
            DrawTransparentPicture(x + 1, y + 1, pw, ph, normal, MaskRgb, -1, false, true, false);
        } else if (type == FlatPanel || type == LightBevel) {
            DrawTransparentPicture(x, y, pw, ph, normal, MaskRgb, static_cast<std::int32_t>(ShadowColor),
                                   true, false, false);
        } else if (type == SelectionHover) {
            DrawTransparentPicture(x, y, pw, ph, normal, MaskRgb,
                                   static_cast<std::int32_t>(ShiftColor(ShadowColor, 13)), true, false,
                                   false);
        } else {
            // Engraved: a highlight copy below-right under the shadow copy.
            DrawTransparentPicture(x + 1, y + 1, pw, ph, normal, MaskRgb,
                                   static_cast<std::int32_t>(HighlightColor), true, false, false);
            DrawTransparentPicture(x, y, pw, ph, normal, MaskRgb, static_cast<std::int32_t>(ShadowColor),
                                   true, false, false);
        }
        break;
    default:
        break;
    }
    if (Props.PicturePosition == PictureBehind) {
        DrawCaption(CaptionLook); // the caption lies over the picture
    }
}

void StyledButton::DrawPictureEffect(std::int32_t offset, const platform::Picture& picture) {
    if (Props.SpecialEffect <= EffectNone) {
        return;
    }
    gdi::COLORREF base = FaceColor;
    if (Props.ButtonType == GradientFramed) {
        base = GradientBase;
    } else if (offset == -1 && Props.ColorScheme != CustomColors) {
        base = SelectionLight;
    }
    const bool sunken = Props.SpecialEffect == EffectSunken;
    const int x = PictureX + offset;
    const int y = PictureY + offset;
    DrawTransparentPicture(x + 1, y + 1, PictureWidth, PictureHeight, picture, MaskRgb,
                           static_cast<std::int32_t>(ShiftColor(base, sunken ? 40 : -40)), false, false,
                           false);
    if (Props.SpecialEffect == EffectRaised || sunken) {
        DrawTransparentPicture(x - 1, y - 1, PictureWidth, PictureHeight, picture, MaskRgb,
                               static_cast<std::int32_t>(ShiftColor(base, sunken ? -40 : 40)), false, false,
                               false);
    }
}
